// The real game played without a mouse, through one journey: every activity visited, both
// picture puzzles solved, a copy-colours round won, a painting in three colours saved, found
// in the gallery, taken back and deleted, the options changed and the game ended. Once with
// the keyboard (Tab and the arrows bring the ring, Space chooses, Space held paints), once
// with switches (Enter steps the ring, Space chooses); and the ring stepping by itself until
// a mouse click ends the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "PlayHelpers.h"
#include "StudioPlaces.h"
#include "TestAssets.h"

namespace {

using namespace std::chrono_literals;
using namespace tafutest;

constexpr uint32_t kRingYellow = 0x3FD2FF;  // 0xBBGGRR
constexpr Box kEasy = {100, 227, 145, 147};
constexpr Box kBigCanvas = {172, 198, 238, 204}, kSave = {332, 492, 120, 88}, kLoad = {176, 492, 142, 77};
constexpr Box kTake = {405, 490, 142, 77}, kDelete = {573, 478, 67, 102}, kActivityDoor = {10, 465, 103, 138};
constexpr Box kTest = {662, 478, 89, 94};
constexpr Box kPalette = {11, 39, 105, 285}, kCanvas = {168, 40, 500, 400};
constexpr Box kCopyPicture = {122, 161, 225, 225}, kCopyBoard = {374, 161, 225, 225};
constexpr Box SwapArrow(int32_t k) { return {688, 100 * k - 5, 61, 103}; }
constexpr Box SlideArrow(int32_t k, bool right) { return {right ? 684 : 94, 68 + 100 * k, right ? 69 : 70, 60}; }
constexpr Box MusicLedBox(int32_t i) { return {397 + 28 * i, 312, 34, 26}; }

// The test's big puzzle picture tells each cell's strip by its green and its column by its
// red, so the strips' order and shifts are read off the screen.
constexpr uint32_t BigCell(int32_t column, int32_t row) {
  return 0xFF800000u | static_cast<uint32_t>(40 + 50 * (row / 10)) << 8 | static_cast<uint32_t>(5 * column);
}
int32_t StripShown(uint32_t pixel) { return (static_cast<int32_t>((pixel >> 8) & 0xFF) - 40) / 50; }
int32_t ColumnShown(uint32_t pixel) { return static_cast<int32_t>(pixel & 0xFF) / 5; }
// The small one: orange with a red bar in row 2, two regions to pour.
constexpr uint32_t kOrange = 0xFF2080F0u, kBarRed = 0xFF2020E0u;
constexpr uint32_t SmallCell(int32_t column, int32_t row) { return row == 2 && column >= 2 && column <= 6 ? kBarRed : kOrange; }

class WithoutAMouse : public ::testing::Test {
 protected:
  WithoutAMouse() : game_({"img", "snd"}) { WritePuzzlePictures(game_.Folder(), BigCell, SmallCell); }

  void SetUp() override {
    if (const std::string unavailable = EndToEndUnavailable(); !unavailable.empty()) GTEST_SKIP() << unavailable;
  }
  void Start(const std::vector<std::string>& arguments) {
    ASSERT_TRUE(game_.Start({.arguments = arguments, .variables = {{"XDG_DATA_HOME", game_.File("data")}}}));
    ASSERT_TRUE(game_.WaitForPixel(kMenuSky, IsBluish));
  }

  // The ring's yellow band shows on one side of the box and above or below it (the game's
  // own pointer may hide the others); read in one look, to see it as soon as it comes.
  bool Ringed(const Box& box) const {
    const int32_t left = std::max(box.x - 5, 0), top = std::max(box.y - 5, 0);
    const int32_t width = std::min(box.x + box.width + 5, 800) - left, height = std::min(box.y + box.height + 5, 600) - top;
    const std::vector<uint32_t> around = game_.Area(left, top, width, height);
    const auto yellow = [&](int32_t x, int32_t y) {
      x += box.x - left, y += box.y - top;
      return x >= 0 && x < width && y >= 0 && y < height && !around.empty() &&
             around[static_cast<size_t>(y * width + x)] == kRingYellow;
    };
    return (yellow(-5, box.height / 2) || yellow(box.width + 4, box.height / 2)) &&
           (yellow(box.width / 2, -5) || yellow(box.width / 2, box.height + 4));
  }

  // The ring brought to a button, or to a cell of a grid of square cells.
  virtual bool Bring(const Box& box) = 0;
  virtual bool BringCell(const Box& grid, int32_t cell, int32_t column, int32_t row) = 0;

  bool Choose() { return game_.Key("space"); }
  bool Choose(const Box& box) { return Bring(box) && Choose(); }
  bool ChooseCell(const Box& grid, int32_t cell, int32_t column, int32_t row) {
    return BringCell(grid, cell, column, row) && Choose();
  }
  bool ChooseAndSeeScreenChange(const Box& box) { return Bring(box) && game_.ActAndSeeScreenChange([&] { return Choose(); }); }
  bool StarShown() const {
    const uint32_t pixel = game_.Pixel(134 + 33, 530);
    return (pixel & 0xFF) > 200 && ((pixel >> 8) & 0xFF) > 170 && ((pixel >> 16) & 0xFF) < 150;
  }
  bool TestEarnsAStar() { return Choose(kTest) && WaitFor([&] { return StarShown(); }, 5s); }
  uint32_t BoardPixel(int32_t left, int32_t column, int32_t strip) const {
    return game_.Pixel(left + 10 * column + 5, 41 + 100 * strip + 55);
  }

  // A cell at rest shows its own colour, not one mixed with the wall or another strip.
  static bool AtRest(uint32_t pixel) {
    return (pixel >> 16) == 0x80 && ColumnShown(pixel) * 5 == static_cast<int32_t>(pixel & 0xFF) &&
           StripShown(pixel) * 50 + 40 == static_cast<int32_t>((pixel >> 8) & 0xFF);
  }
  bool FadedIn(int32_t left) const { return AtRest(BoardPixel(left, 25, 3)); }
  // An easy swap round has two neighbouring strips exchanged: their lower arrow puts them back.
  void SolveSwap() {
    ASSERT_TRUE(WaitFor([&] { return FadedIn(170); }, 5s));
    int32_t upper = 0;
    while (upper < 3 && StripShown(BoardPixel(170, 25, upper)) == upper) ++upper;
    ASSERT_LT(upper, 3) << "the round started solved";
    ASSERT_TRUE(Choose(SwapArrow(upper + 1)));
    ASSERT_TRUE(WaitFor([&] { return AtRest(BoardPixel(170, 25, upper)) && StripShown(BoardPixel(170, 25, upper)) == upper; }, 5s));
    ASSERT_TRUE(TestEarnsAStar());
  }
  // An easy slide round has one strip shifted: it is slid back the shorter way, step by step.
  // Screen column 25 shows the picture's column 25 less the shift.
  void SolveSlide() {
    const auto shift = [&](int32_t strip) { return (75 - ColumnShown(BoardPixel(168, 25, strip))) % 50; };
    ASSERT_TRUE(WaitFor([&] { return FadedIn(168); }, 5s));
    int32_t strip = 0;
    while (strip < 3 && shift(strip) == 0) ++strip;
    ASSERT_LT(strip, 3) << "the round started solved";
    const bool right = shift(strip) > 25;
    while (const int32_t now = shift(strip)) {
      const int32_t next = (now + (right ? 2 : 48)) % 50;
      ASSERT_TRUE(Choose(SlideArrow(strip, right)));
      // A step of two cells takes 20 / 76 of a second.
      std::this_thread::sleep_for(350ms);
      ASSERT_TRUE(WaitFor([&] { return shift(strip) == next; }, 5s)) << now;
    }
    ASSERT_TRUE(TestEarnsAStar());
  }
  // The bar's red, then the orange round it, picked from the picture and poured.
  void ColourTheCopy() {
    ASSERT_TRUE(game_.WaitForPixel(kCopyPicture.x + 7, kCopyPicture.y + 7, [](uint32_t p) { return p == (kOrange & 0xFFFFFF); }));
    for (const auto& [column, row] : {std::pair{3, 2}, std::pair{0, 0}}) {
      ASSERT_TRUE(ChooseCell(kCopyPicture, 15, column, row));
      ASSERT_TRUE(ChooseCell(kCopyBoard, 15, column, row));
    }
    ASSERT_TRUE(TestEarnsAStar());
  }

  // Into an activity by its easy choice, played, and out by its door.
  void Visit(const Box& button, const std::function<void()>& play) {
    ASSERT_TRUE(ChooseAndSeeScreenChange(button));
    ASSERT_TRUE(button.x == kMenuCopyColours.x || ChooseAndSeeScreenChange(kEasy)) << "no easy choice";
    play();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ChooseAndSeeScreenChange(kActivityDoor) && game_.WaitForPixel(kMenuSky, IsBluish));
  }

  // Red on a first cell (and, held, along a stroke of strokeCells), then two more colours.
  void PaintSaveAndFindInTheGallery(int32_t strokeCells) {
    ASSERT_TRUE(ChooseAndSeeScreenChange(kMenuPaint) && ChooseAndSeeScreenChange(kBigCanvas));
    ASSERT_TRUE(ChooseCell(kPalette, 15, 4, 3) && BringCell(kCanvas, 10, 5, 5));
    ASSERT_TRUE(game_.KeyDown("space"));
    for (int32_t column = 6; column < 6 + strokeCells; ++column)
      ASSERT_TRUE(game_.Key("Right") && WaitFor([&] { return Ringed({168 + 10 * column, 90, 10, 10}); }, 2s));
    ASSERT_TRUE(game_.KeyUp("space"));
    ASSERT_TRUE(ChooseCell(kPalette, 15, 0, 0) && ChooseCell(kCanvas, 10, 0, 0));
    ASSERT_TRUE(ChooseCell(kPalette, 15, 4, 4) && ChooseCell(kCanvas, 10, 1, 0));
    ASSERT_TRUE(Choose(kSave));
    const std::string saved = game_.File("draw/big/1.tga");
    std::vector<uint32_t> cells;
    ASSERT_TRUE(WaitFor([&] { return !(cells = SavedPaintingCells(saved, 50, 40)).empty(); }, 10s));
    for (int32_t column = 0; column < 50; ++column)
      EXPECT_EQ(cells[static_cast<size_t>(5 * 50 + column)], column >= 5 && column <= 5 + strokeCells ? kRed : 0xFFFFFFu)
          << column;
    EXPECT_EQ(cells[0], kFirstSwatchColour);
    EXPECT_EQ(cells[1], 0x4436BAu);

    const Point painted = BigCanvasCell(5, 5);
    ASSERT_TRUE(ChooseAndSeeScreenChange(kLoad) && game_.WaitForPixel(painted, [](uint32_t p) { return p == kRed; }));
    ASSERT_TRUE(ChooseAndSeeScreenChange(kTake) && game_.WaitForPixel(painted, [](uint32_t p) { return p == kRed; }));
    ASSERT_TRUE(ChooseAndSeeScreenChange(kLoad) && Choose(kDelete));
    ASSERT_TRUE(game_.WaitForPixel(painted, [](uint32_t p) { return p == 0xFFFFFFu; }));
    EXPECT_FALSE(std::filesystem::exists(saved));
    ASSERT_TRUE(ChooseAndSeeScreenChange(kActivityDoor) && ChooseAndSeeScreenChange(kActivityDoor));
  }

  // Every activity, the painting, and the music turned to its fourth light.
  void PlayTheJourney(int32_t strokeCells) {
    Visit(kMenuSwap, [&] { SolveSwap(); });
    Visit(kMenuSlide, [&] { SolveSlide(); });
    Visit(kMenuCopyDrawing, [] {});
    Visit(kMenuCopyColours, [&] { ColourTheCopy(); });
    if (HasFatalFailure()) return;
    PaintSaveAndFindInTheGallery(strokeCells);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ChooseAndSeeScreenChange(kMenuOptions) && Choose(MusicLedBox(3)));
    ASSERT_TRUE(WaitFor([&] { return ReadFile(game_.File("options.raw")).find("\x1E") == 4; }, 5s));
    ASSERT_TRUE(ChooseAndSeeScreenChange(kMenuExit));
  }

  GameLauncher game_;
};

// Tab until the ring is round the box; within a grid the arrows go from its first cell.
class WithTheKeyboard : public WithoutAMouse {
 protected:
  bool Bring(const Box& box) override {
    for (int32_t presses = 0; presses < 30; ++presses) {
      if (WaitFor([&] { return Ringed(box); }, 300ms)) return true;
      game_.Key("Tab");
    }
    return false;
  }
  bool BringCell(const Box& grid, int32_t cell, int32_t column, int32_t row) override {
    if (!Bring({grid.x, grid.y, cell, cell})) return false;
    for (int32_t i = 0; i < column; ++i) game_.Key("Right");
    for (int32_t i = 0; i < row; ++i) game_.Key("Down");
    return WaitFor([&] { return Ringed({grid.x + cell * column, grid.y + cell * row, cell, cell}); }, 2s);
  }
};

// The journey is played with two switches: the ring steps by itself only once a minute,
// Enter steps it at once, and Space chooses; how the ring steps by itself is the scanner's
// rule, held by its unit test. A grid is chosen by its row and then by its cell.
class WithOneSwitch : public WithoutAMouse {
 protected:
  bool Bring(const Box& box) override {
    for (int32_t steps = 0; steps < 40; ++steps) {
      if (WaitFor([&] { return Ringed(box); }, 300ms)) return true;
      game_.Key("Return");
    }
    return false;
  }
  bool BringCell(const Box& grid, int32_t cell, int32_t column, int32_t row) override {
    // Entering a grid, or a row, puts the ring on its first item at once.
    return Choose(grid) && Bring({grid.x, grid.y + cell * row, grid.width, cell}) && Choose() &&
           Bring({grid.x + cell * column, grid.y + cell * row, cell, cell});
  }
};

TEST_F(WithTheKeyboard, EveryScreenIsPlayedWithTheKeyboardAlone) {
  ASSERT_NO_FATAL_FAILURE(Start({}));
  PlayTheJourney(10);
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(Choose(kMenuExit));
  EXPECT_EQ(game_.Wait(5s), 0);
}

TEST_F(WithOneSwitch, EveryScreenIsPlayedWithTheSwitches) {
  ASSERT_NO_FATAL_FAILURE(Start({"--scanning", "--scan-seconds", "60"}));
  PlayTheJourney(0);
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(Choose(kMenuExit));
  EXPECT_EQ(game_.Wait(5s), 0);
}

// The ring steps by itself, every 1.2 s (time enough for a look at the screen and a press to
// reach the game on a loaded machine), and the mouse's left button chooses as a switch wired
// as a mouse would: the button is chosen as the ring comes to it.
TEST_F(WithOneSwitch, TheRingStepsByItselfAndAClickEndsTheGame) {
  ASSERT_NO_FATAL_FAILURE(Start({"--scanning", "--scan-seconds", "1.2"}));
  ASSERT_TRUE(WaitFor([&] { return Ringed(kMenuOptions); }, 5s));
  ASSERT_TRUE(WaitFor([&] { return Ringed(kMenuExit); }, 20s));
  ASSERT_TRUE(game_.Click(400, 300));
  EXPECT_EQ(game_.Wait(5s), 0);
}

// Two switches: with a scan too slow to step by itself, Enter and the mouse's right button
// step the ring, and Space chooses.
TEST_F(WithOneSwitch, EnterAndTheRightButtonStepTheRing) {
  ASSERT_NO_FATAL_FAILURE(Start({"--scanning", "--scan-seconds", "60"}));
  ASSERT_TRUE(game_.Key("Return") && WaitFor([&] { return Ringed(kMenuOptions); }, 5s));
  // The mouse's moves are not followed: only its buttons count.
  ASSERT_TRUE(game_.MoveTo(400, 300) && Xdotool("click 3") && WaitFor([&] { return Ringed(kMenuCopyDrawing); }, 5s));
  ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return Choose(); }));
  EXPECT_TRUE(IsBluish(game_.Pixel(kMenuSky))) << "not the copy-drawing game's difficulty choice";
}

}  // namespace
