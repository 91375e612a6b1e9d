// Every screen a child rests on, reached on the real game with real X clicks and compared
// pixel for pixel with its picture in tests/e2e/reference, so that a button, a board or a
// light moved or resized by one pixel is seen. The puzzles play on pictures of this test whose
// four strips are alike and whose rows are each one colour, so that any shuffle or slide of
// the strips shows the same board. TAFU_UPDATE_REFERENCES=1 writes the pictures anew (look at
// each before keeping it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "MenuPlaces.h"
#include "ScreenPictures.h"
#include "StudioPlaces.h"
#include "TestAssets.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

using namespace tafutest;

// How far a colour channel may stray from the reference: software GL rounds alike on every
// machine within this, and an edge that moves changes far more.
constexpr int32_t kTolerance = 8;
constexpr int32_t kStripRows = 10;

uint32_t RowColour(int32_t, int32_t row) {
  return 0xFF000000u | static_cast<uint32_t>(0x153A60 + 0x241B11 * (row % kStripRows));
}
uint32_t PaintingColour(int32_t column, int32_t row) { return (column / 5 + row / 5) % 2 ? 0xFF2B2FEFu : 0xFFD1F9FEu; }

// Points of the paint and Load buttons that no button of the screen they open covers: a
// button the pointer was over when its screen began keeps a zoom a little off its size.
constexpr Point kPaintAside = {150, 300};
constexpr Point kLoadAside = {268, 500};

// The copy-colours game's swatch, 67 pixels square, and a cell of its picture to pick from.
constexpr size_t kSwatchPixels = 67 * 67;
constexpr Point kPictureCell = {122 + 15 * 3 + 7, 161 + 15 * 5 + 7};

struct RestingScreen {
  const char* name;
  std::vector<Point> clicks;
  Point pick{};             // then a colour picked there, on the same screen
  bool noPaintings = false;  // no painting saved before the game starts
};

// Names each case's parameter in the test's name by the screen.
void PrintTo(const RestingScreen& screen, std::ostream* out) { *out << screen.name; }

const RestingScreen kScreens[] = {
    {"menu", {}},
    {"options", {kOptions}},
    {"difficulty", {kSwap}, {}, true},
    {"difficulty_painting", {kSwap}},
    {"canvas_size", {kPaintAside}},
    {"swap_puzzle", {kSwap, kEasyButton}},
    {"slide_puzzle", {kSlide, kEasyButton}},
    {"copy_drawing", {kCopyDrawing, kEasyButton}},
    {"copy_colours", {kCopyColours}},
    {"copy_colours_picked", {kCopyColours}, kPictureCell},
    {"big_studio", {kPaintAside, kBig}},
    {"small_studio", {kPaintAside, kSmall}},
    {"big_gallery", {kPaintAside, kBig, kLoadAside}},
    {"small_gallery", {kPaintAside, kSmall, kLoadAside}},
};

class RestingScreens : public ::testing::TestWithParam<RestingScreen> {};

TEST_P(RestingScreens, LookExactlyAsTheirReference) {
  if (const std::string unavailable = EndToEndUnavailable(); !unavailable.empty()) GTEST_SKIP() << unavailable;
  const RestingScreen& screen = GetParam();
  // The built game with the test's puzzle pictures and, unless the case says not, one saved
  // painting of each size.
  GameLauncher game({"img", "snd"});
  WritePuzzlePictures(game.Folder(), RowColour, RowColour);
  for (const auto& [size, columns, rows] : {std::tuple{"big", 50, 40}, {"small", 15, 15}}) {
    if (screen.noPaintings) continue;
    fs::create_directories(game.File("draw/") + size);
    WriteFile(game.File("draw/") + size + "/1.tga", GamePictureBytes(columns, rows, PaintingColour));
  }
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForPixel(kMenuSky, IsBluish)) << "no menu";
  ASSERT_TRUE(game.MoveTo(kNowhere));
  WindowPicture shown = WaitForRest(game);
  for (const Point spot : screen.clicks) {
    shown = ClickAndWaitForRest(game, spot, kNowhere);
    ASSERT_FALSE(shown.empty()) << "no screen at rest after the click at " << spot.x << ", " << spot.y;
  }
  if (screen.pick.x != 0) {
    shown = ClickAndWaitForRest(game, screen.pick, kNowhere, kSwatchPixels / 2);
    ASSERT_FALSE(shown.empty()) << "no colour picked";
  }

  const std::string reference = std::string(tafutest::SourceDir()) + "/tests/e2e/reference/" + screen.name + ".png";
  if (std::getenv("TAFU_UPDATE_REFERENCES")) {
    ASSERT_TRUE(WritePicturePng(reference, shown)) << reference;
    return;
  }
  const WindowPicture wanted = ReadPicturePng(reference);
  ASSERT_FALSE(wanted.empty()) << "no reference picture " << reference;
  const std::string difference = PictureDifference(shown, wanted, kTolerance);
  if (difference.empty()) return;
  const std::string kept = fs::absolute(std::string(screen.name) + "-shown.png").string();
  WritePicturePng(kept, shown);
  ADD_FAILURE() << "the " << screen.name << " screen differs from its reference in " << difference
                << "; what it showed is in " << kept;
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, RestingScreens, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<RestingScreen>& info) { return std::string(info.param.name); });

}  // namespace
