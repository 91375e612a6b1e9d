// The real game under the test's X server: a child paints on the big canvas with the
// real X mouse events, saves, and takes the painting back from the gallery.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "GameLauncher.h"
#include "StudioSpots.h"

namespace fs = std::filesystem;

namespace {

using tafutest::WaitFor;
using namespace tafutest::studio;
using namespace std::chrono_literals;

// The launcher, told where to act by the studio's spots.
class GameCopy : public tafutest::GameLauncher {
 public:
  uint32_t Pixel(Spot spot) const { return GameLauncher::Pixel(spot.x, spot.y); }
  bool WaitForPixel(Spot spot, const std::function<bool(uint32_t)>& wanted) const {
    return GameLauncher::WaitForPixel(spot.x, spot.y, wanted);
  }
  bool MoveTo(Spot spot) const { return GameLauncher::MoveTo(spot.x, spot.y); }
  bool Click(Spot spot) const { return GameLauncher::Click(spot.x, spot.y); }
  bool Drag(Spot from, Spot to) const { return GameLauncher::Drag(from.x, from.y, to.x, to.y); }
};

bool IsBluish(uint32_t pixel) { return ((pixel >> 16) & 0xFF) > (pixel & 0xFF) + 40; }

// The cell (c, r) of a saved 50 x 40 painting, colour bytes only, as 0xBBGGRR.
uint32_t SavedCell(const std::string& file, int32_t column, int32_t row) {
  const size_t at = 18 + 4 * static_cast<size_t>(row * 50 + column);
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(file[at + i])); };
  return byte(2) | byte(1) << 8 | byte(0) << 16;
}

TEST(StudioClicks, APaintedStrokeIsSavedExactlyAndComesBackFromTheGallery) {
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  GameCopy game;
  ASSERT_TRUE(game.Start());
  // The menu's own tests fail when it does not show; this one needs it to begin.
  if (!game.WaitForPixel(kMenuSky, IsBluish)) GTEST_SKIP() << "the main menu does not show in this build";

  ASSERT_TRUE(game.Click(kMenuPaint));
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(game.Click(kBigCanvas));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p == kFirstSwatchColour; }));

  ASSERT_TRUE(game.Click(kRedSwatch));
  ASSERT_TRUE(game.Drag(BigCell(kStrokeFirst, kStrokeRow), BigCell(kStrokeLast, kStrokeRow)));
  ASSERT_TRUE(game.MoveTo({400, 470}));
  ASSERT_TRUE(game.WaitForPixel(BigCell(12, kStrokeRow), [](uint32_t p) { return p == kRed; }));
  ASSERT_TRUE(game.Click(kSave));
  const std::string saved = game.File("draw/big/1.tga");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(saved) && fs::file_size(saved) == 18 + 50 * 40 * 4; }, 5s));

  const std::string file = tafutest::ReadFile(saved);
  for (int32_t row = 0; row < 40; ++row) {
    for (int32_t column = 0; column < 50; ++column) {
      const bool stroke = row == kStrokeRow && column >= kStrokeFirst && column <= kStrokeLast;
      ASSERT_EQ(SavedCell(file, column, row), stroke ? kRed : 0xFFFFFFu) << column << ", " << row;
    }
  }

  // Load shows it in the gallery (no palette there); Take brings it back to the canvas.
  ASSERT_TRUE(game.Click(kLoad));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p != kFirstSwatchColour; }));
  EXPECT_EQ(game.Pixel(BigCell(kStrokeFirst, kStrokeRow)), kRed);
  ASSERT_TRUE(game.Click(kTake));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p == kFirstSwatchColour; }));
  EXPECT_EQ(game.Pixel(BigCell(kStrokeLast, kStrokeRow)), kRed);
  EXPECT_EQ(game.Pixel(BigCell(kStrokeLast + 1, kStrokeRow)), 0xFFFFFFu);

  ASSERT_TRUE(game.Click(kExit));
  ASSERT_TRUE(game.WaitForPixel(kMenuSky, IsBluish));
  EXPECT_FALSE(fs::exists(game.File("draw/big/2.tga")));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
