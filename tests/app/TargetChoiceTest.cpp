// Play without a mouse, as rules: where the keys take the ring, and how one switch scans,
// on a small screen of two buttons above a grid of three cells, the scan on a stepped clock.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/Navigation.h"
#include "app/Scanner.h"

namespace {

// Listed out of reading order, as screens add them: the grid, then B, then A (the door).
const TargetList kScreen = {
    {.x = 0, .y = 300, .width = 300, .height = 100, .columns = 3, .rows = 1},
    {.x = 400, .y = 0, .width = 100, .height = 100},
    {.x = 0, .y = 0, .width = 100, .height = 100, .door = true},
};
constexpr Box kA = {0, 0, 100, 100}, kB = {400, 0, 100, 100}, kGrid = {0, 300, 300, 100};
constexpr Box kCell0 = {0, 300, 100, 100}, kCell1 = {100, 300, 100, 100}, kCell2 = {200, 300, 100, 100};

KKeyPress Press(int32_t key, bool shift = false) { return {.keyCode = key, .shift = shift}; }

TEST(Navigation, ArrowsGoToTheNearestCellAheadAndTabStepsInReadingOrder) {
  struct Case {
    KKeyPress press;
    Box from;
    std::optional<Box> to;
  };
  const Case cases[] = {
      {Press(KEY_RIGHT), kA, kB},
      {Press(KEY_DOWN), kA, kCell0},
      {Press(KEY_DOWN), kB, kCell2},        // as far ahead as the others, least aside
      {Press(KEY_RIGHT), kCell0, kCell1},   // within the grid, the next cell
      {Press(KEY_UP), kCell0, kA},
      {Press(KEY_LEFT), kA, std::nullopt},  // nothing ahead
      {Press(KEY_UP), kA, std::nullopt},
      {Press(KEY_TAB), kA, kB},
      {Press(KEY_TAB), kB, kCell0},         // a grid is entered at its first cell
      {Press(KEY_TAB), kCell2, kA},         // round again
      {Press(KEY_TAB, true), kA, kCell0},   // Shift+Tab goes back
      {Press(KEY_TAB), {900, 900, 1, 1}, kA},
      {Press(KEY_SPACE), kA, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<Box> to = CellForKey(kScreen, c.press, c.from);
    EXPECT_EQ(to.has_value(), c.to.has_value()) << c.press.keyCode << " from " << c.from.x << "," << c.from.y;
    if (to && c.to) {
      EXPECT_EQ(*to, *c.to) << c.press.keyCode << " from " << c.from.x << "," << c.from.y;
    }
  }
}

TEST(Navigation, TheGameStartsUnderThePointerAndFindsTheNearestCellAndTheDoor) {
  EXPECT_EQ(FirstCell(kScreen, 150, 350), kCell1);
  EXPECT_EQ(FirstCell(kScreen, 700, 500), kA);  // nothing under the pointer: reading order
  EXPECT_EQ(FirstCell({}, 150, 350), std::nullopt);
  EXPECT_EQ(CellNearest(kScreen, 290, 390), kCell2);
  EXPECT_EQ(CellNearest(kScreen, 390, 60), kB);
  EXPECT_EQ(DoorOf(kScreen), kA);
  EXPECT_EQ(DoorOf({kScreen[0]}), std::nullopt);
}

// The ring's moves in stepped time, each Wait one frame of elapsedMs.
std::optional<Box> LeadAfter(Scanner& scan, int32_t elapsedMs) { return scan.Wait(kScreen, elapsedMs).lead; }

TEST(Scanner, StepsThroughTheTargetsInReadingOrderOnceEachStepTimeHasPassed) {
  Scanner scan(1500);
  EXPECT_TRUE(scan.On());
  EXPECT_FALSE(Scanner(0).On());
  EXPECT_EQ(LeadAfter(scan, 1499), std::nullopt);
  EXPECT_EQ(LeadAfter(scan, 1), kA);
  EXPECT_EQ(LeadAfter(scan, 1000), std::nullopt);
  EXPECT_EQ(scan.Step(kScreen).lead, kB);  // the second switch steps at once and starts the time anew
  EXPECT_EQ(LeadAfter(scan, 1000), std::nullopt);
  EXPECT_EQ(LeadAfter(scan, 500), kGrid);
  EXPECT_EQ(LeadAfter(scan, 1500), kA);
  // With nothing on the screen there is nothing to step to.
  EXPECT_EQ(scan.Wait({}, 1500).lead, std::nullopt);
}

TEST(Scanner, AButtonIsClickedAGridByRowAndCellAndTheScanGoesOnFromTheGrid) {
  Scanner scan(1000);
  EXPECT_FALSE(scan.Choose(kScreen).press);  // nothing ringed yet
  ASSERT_EQ(LeadAfter(scan, 1000), kA);
  ScanAnswer answer = scan.Choose(kScreen);
  EXPECT_TRUE(answer.press);
  EXPECT_EQ(answer.lead, std::nullopt);
  EXPECT_TRUE(scan.Choose(kScreen).press);  // again: the same button

  ASSERT_EQ(LeadAfter(scan, 1000), kB);
  ASSERT_EQ(LeadAfter(scan, 1000), kGrid);
  answer = scan.Choose(kScreen);  // the grid: its only row at once
  EXPECT_FALSE(answer.press);
  EXPECT_EQ(answer.lead, kGrid);
  EXPECT_EQ(scan.Choose(kScreen).lead, kCell0);  // the row: its first cell at once
  EXPECT_EQ(LeadAfter(scan, 1000), kCell1);
  answer = scan.Choose(kScreen);
  EXPECT_TRUE(answer.press);
  EXPECT_EQ(answer.lead, std::nullopt);  // the pointer stays on the cell for the click
  EXPECT_EQ(answer.ring, kGrid);
  EXPECT_FALSE(scan.FollowScreen(kScreen, kGrid).restart);
  EXPECT_EQ(LeadAfter(scan, 1000), kA);  // after the grid, round to the first target
}

TEST(Scanner, AScreenThatChangedUnderTheRingStartsTheScanAgain) {
  Scanner scan(1000);
  ASSERT_EQ(LeadAfter(scan, 1000), kA);
  EXPECT_FALSE(scan.FollowScreen(kScreen, kA).restart);
  const TargetList other = {{.x = 50, .y = 50, .width = 80, .height = 80}};
  EXPECT_TRUE(scan.FollowScreen(other, kA).restart);
  EXPECT_FALSE(scan.Choose(other).press);  // nothing ringed after the restart
  EXPECT_EQ(scan.Wait(other, 1000).lead, (Box{50, 50, 80, 80}));
}

}  // namespace
