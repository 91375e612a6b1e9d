// The real game played with the keyboard alone, the mouse never moving: Tab and the arrows
// bring the ring to a target, Space chooses it, Space held while the arrows move paints.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "StudioPlaces.h"

namespace {

using namespace std::chrono_literals;
using namespace tafutest;

// A target's place on screen, as the Parts give it.
struct Box {
  int32_t x, y, width, height;
};

constexpr uint32_t kRingYellow = 0x3FD2FF;  // 0xBBGGRR
constexpr Box kMenuPaint = {136, 205, 165, 141}, kMenuSwap = {624, 437, 146, 148}, kMenuSlide = {605, 249, 152, 129};
constexpr Box kMenuCopyDrawing = {507, 45, 193, 171}, kMenuCopyColours = {335, 350, 187, 168};
constexpr Box kMenuOptions = {739, 5, 61, 61}, kMenuExit = {32, 446, 103, 138}, kEasy = {100, 227, 145, 147};
constexpr Box kBigCanvas = {172, 198, 238, 204}, kSave = {332, 492, 120, 88}, kLoad = {176, 492, 142, 77};
constexpr Box kTake = {405, 490, 142, 77}, kDelete = {573, 478, 67, 102}, kActivityDoor = {10, 465, 103, 138};
constexpr Box Swatch(int32_t column, int32_t row) { return {11 + 15 * column, 39 + 15 * row, 15, 15}; }
constexpr Box Cell(int32_t column, int32_t row) { return {168 + 10 * column, 40 + 10 * row, 10, 10}; }
constexpr Box MusicLedBox(int32_t i) { return {397 + 28 * i, 312, 34, 26}; }

class WithoutAMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string unavailable = EndToEndUnavailable(); !unavailable.empty()) GTEST_SKIP() << unavailable;
    ASSERT_TRUE(game_.Start({.variables = {{"XDG_DATA_HOME", game_.File("data")}}}));
    ASSERT_TRUE(game_.WaitForPixel(kMenuSky, IsBluish));
  }

  // The ring's yellow band shows left of the box and above it.
  bool Ringed(const Box& box) const {
    return game_.Pixel(box.x - 5, box.y + box.height / 2) == kRingYellow &&
           game_.Pixel(box.x + box.width / 2, box.y - 5) == kRingYellow;
  }
  bool SeeRing(const Box& box) const { return WaitFor([&] { return Ringed(box); }, 2s); }
  // Tab (or Shift+Tab) until the ring is round the box.
  bool TabTo(const Box& box, const std::string& tab = "Tab") {
    for (int32_t presses = 0; presses < 30; ++presses) {
      if (WaitFor([&] { return Ringed(box); }, 150ms)) return true;
      game_.Key(tab);
    }
    return false;
  }
  bool ChooseAndSeeScreenChange(const Box& box) {
    return TabTo(box) && game_.ActAndSeeScreenChange([&] { return game_.Key("space"); });
  }
  // Into an activity and out again by its exit door.
  bool Visit(const Box& button, bool selection) {
    return ChooseAndSeeScreenChange(button) && (!selection || ChooseAndSeeScreenChange(kEasy)) &&
           ChooseAndSeeScreenChange(kActivityDoor) && game_.WaitForPixel(kMenuSky, IsBluish);
  }

  GameLauncher game_;
};

TEST_F(WithoutAMouse, EveryScreenIsPlayedWithTheKeyboardAlone) {
  for (const Box& activity : {kMenuSwap, kMenuSlide, kMenuCopyDrawing})
    ASSERT_TRUE(Visit(activity, true)) << activity.x << ", " << activity.y;
  ASSERT_TRUE(Visit(kMenuCopyColours, false));

  // Red from the palette, then a stroke along row 5 from column 5 to 15 with Space held.
  ASSERT_TRUE(ChooseAndSeeScreenChange(kMenuPaint) && ChooseAndSeeScreenChange(kBigCanvas));
  ASSERT_TRUE(TabTo(Swatch(0, 0), "shift+Tab") && game_.Key("Right Right Right Right Down Down Down") &&
              SeeRing(Swatch(4, 3)) && game_.Key("space"));
  ASSERT_TRUE(TabTo(Cell(0, 0)) && game_.Key("--delay 40 Down Down Down Down Down Right Right Right Right Right") &&
              SeeRing(Cell(5, 5)));
  ASSERT_TRUE(game_.KeyDown("space") && game_.Key("--delay 60 Right Right Right Right Right Right Right Right Right Right") &&
              SeeRing(Cell(15, 5)) && game_.KeyUp("space"));
  // Two more colours, the first swatch and the one in column 4, row 4, each dabbed by a tap.
  ASSERT_TRUE(TabTo(Swatch(0, 0), "shift+Tab") && game_.Key("space") && TabTo(Cell(0, 0)) && game_.Key("space"));
  ASSERT_TRUE(TabTo(Swatch(0, 0), "shift+Tab") && game_.Key("--delay 40 Right Right Right Right Down Down Down Down") &&
              SeeRing(Swatch(4, 4)) && game_.Key("space"));
  ASSERT_TRUE(TabTo(Cell(0, 0)) && game_.Key("Right") && SeeRing(Cell(1, 0)) && game_.Key("space"));
  ASSERT_TRUE(TabTo(kSave) && game_.Key("space"));
  const std::string saved = game_.File("draw/big/1.tga");
  std::vector<uint32_t> cells;
  ASSERT_TRUE(WaitFor([&] { return !(cells = SavedPaintingCells(saved, 50, 40)).empty(); }, 5s));
  for (int32_t column = 0; column < 50; ++column)
    EXPECT_EQ(cells[static_cast<size_t>(5 * 50 + column)], column >= 5 && column <= 15 ? kRed : 0xFFFFFFu) << column;
  EXPECT_EQ(cells[0], kFirstSwatchColour);
  EXPECT_EQ(cells[1], 0x4436BAu);

  // Found in the gallery, taken back, then deleted there.
  const Point painted = BigCanvasCell(10, 5);
  ASSERT_TRUE(ChooseAndSeeScreenChange(kLoad) && game_.WaitForPixel(painted, [](uint32_t p) { return p == kRed; }));
  ASSERT_TRUE(ChooseAndSeeScreenChange(kTake) && game_.WaitForPixel(painted, [](uint32_t p) { return p == kRed; }));
  ASSERT_TRUE(ChooseAndSeeScreenChange(kLoad) && TabTo(kDelete) && game_.Key("space"));
  ASSERT_TRUE(game_.WaitForPixel(painted, [](uint32_t p) { return p == 0xFFFFFFu; }));
  EXPECT_FALSE(std::filesystem::exists(saved));
  ASSERT_TRUE(ChooseAndSeeScreenChange(kActivityDoor) && ChooseAndSeeScreenChange(kActivityDoor));

  // The music at the fourth light, then the game ended from its own exit door.
  ASSERT_TRUE(ChooseAndSeeScreenChange(kMenuOptions) && TabTo(MusicLedBox(3)) && game_.Key("space"));
  ASSERT_TRUE(WaitFor([&] { return ReadFile(game_.File("options.raw")).find("\x1E") == 4; }, 5s));
  ASSERT_TRUE(ChooseAndSeeScreenChange(kMenuExit) && TabTo(kMenuExit) && game_.Key("space"));
  EXPECT_EQ(game_.Wait(5s), 0);
}

// One switch: the ring steps by itself, Space chooses; a grid by its row, then its cell.
TEST(OneSwitch, ThePaletteTheCanvasAndTheButtonsAreChosenWithSpaceAlone) {
  if (const std::string unavailable = EndToEndUnavailable(); !unavailable.empty()) GTEST_SKIP() << unavailable;
  GameLauncher game;
  ASSERT_TRUE(game.Start({.arguments = {"--scanning", "--scan-seconds", "0.3"}}));
  const auto choose = [&](const Box& box) {
    const auto ringed = [&] {
      return game.Pixel(box.x - 5, box.y + box.height / 2) == kRingYellow &&
             game.Pixel(box.x + box.width / 2, box.y - 5) == kRingYellow;
    };
    return WaitFor(ringed, 10s) && game.Key("space");
  };
  const auto chooseInGrid = [&](const Box& grid, int32_t column, int32_t row, int32_t cell) {
    return choose(grid) && choose({grid.x, grid.y + cell * row, grid.width, cell}) &&
           choose({grid.x + cell * column, grid.y + cell * row, cell, cell});
  };
  ASSERT_TRUE(choose(kMenuPaint) && choose(kBigCanvas));
  ASSERT_TRUE(chooseInGrid({11, 39, 105, 285}, 4, 3, 15) && chooseInGrid({168, 40, 500, 400}, 5, 5, 10));
  ASSERT_TRUE(choose(kSave));
  std::vector<uint32_t> cells;
  ASSERT_TRUE(WaitFor([&] { return !(cells = SavedPaintingCells(game.File("draw/big/1.tga"), 50, 40)).empty(); }, 10s));
  for (size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i], i == 5 * 50 + 5 ? kRed : 0xFFFFFFu) << i;
  ASSERT_TRUE(choose(kActivityDoor) && choose(kMenuExit));
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
