// The real game under the test's X server, played with real X mouse and keyboard events:
// from the menu into the copy-colours game, one colour picked and poured, and
// Escape back to the menu.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "TestAssets.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;

constexpr int32_t kSide = 15;
// Cell colours of the test's picture, 0xAABBGGRR, and as the window shows them.
constexpr uint32_t kOrange = 0xFF2080F0u;
constexpr uint32_t kRed = 0xFF2020E0u;
uint32_t Shown(uint32_t cell) { return cell & 0x00FFFFFFu; }

// Where the child clicks, in window pixels: the middle of a cell of the left picture and of
// the board, and the swatch.
int32_t PictureX(int32_t x) { return 122 + 15 * x + 7; }
int32_t BoardX(int32_t x) { return 374 + 15 * x + 7; }
int32_t CellY(int32_t y) { return 161 + 15 * y + 7; }
constexpr int32_t kSwatchX = 360, kSwatchY = 90;

// An orange picture with a red bar in row 2, as the one shipped small picture, TGA top row first.
std::string PictureFile() {
  return tafutest::GamePictureBytes(kSide, kSide,
                                    [](int32_t x, int32_t y) { return y == 2 && x >= 2 && x <= 6 ? kRed : kOrange; });
}

// The built game in a folder of its own with the real pictures and sounds and the test's
// one small puzzle picture.
class GameCopy : public tafutest::GameLauncher {
 public:
  GameCopy() : GameLauncher({"img", "snd"}) {
    fs::create_directories(Folder().Path() / "game" / "small");
    tafutest::WriteFile(File("game/small/1.tga"), PictureFile());
    tafutest::WriteFile(File("setup.ini"), "[DEBUG]\r\nSHOWFPS=0\r\n[SMALL_IMAGES]\r\nCOUNT=1\r\n");
  }
  using GameLauncher::WaitForPixel;
  bool WaitForPixel(int32_t x, int32_t y, uint32_t shown) const {
    return GameLauncher::WaitForPixel(x, y, [shown](uint32_t now) { return now == shown; }, 5s);
  }
};

TEST(CopyColoursClicks, FromTheMenuPickAndPourARegionThenEscapeBackToTheMenu) {
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish, 10s)) << "no menu";

  ASSERT_TRUE(game.Click(tafutest::kCopyColours));
  ASSERT_TRUE(game.WaitForPixel(PictureX(0), CellY(0), Shown(kOrange))) << "no copy-colours picture";

  ASSERT_TRUE(game.Click(PictureX(3), CellY(2)));
  ASSERT_TRUE(game.WaitForPixel(kSwatchX, kSwatchY, Shown(kRed))) << "the swatch did not take the picked colour";

  ASSERT_TRUE(game.Click(BoardX(6), CellY(2)));
  ASSERT_TRUE(game.WaitForPixel(BoardX(2), CellY(2), Shown(kRed))) << "the bar was not poured";
  EXPECT_EQ(game.Pixel(BoardX(4), CellY(2)), Shown(kRed));
  EXPECT_NE(game.Pixel(BoardX(1), CellY(2)), Shown(kRed)) << "the pour left its region";
  EXPECT_NE(game.Pixel(BoardX(4), CellY(3)), Shown(kRed)) << "the pour left its region";

  ASSERT_TRUE(game.Key("Escape"));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish, 5s)) << "Escape did not lead to the menu";
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
