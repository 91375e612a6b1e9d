// The real game under the test's X server: a child paints on the big canvas with the
// real X mouse events, saves, and takes the painting back from the gallery.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "PlayHelpers.h"
#include "StudioPlaces.h"

namespace fs = std::filesystem;

namespace {

using tafutest::WaitFor;
using namespace std::chrono_literals;

using tafutest::kFirstSwatch;
using tafutest::kFirstSwatchColour;
using tafutest::kRed;
using tafutest::kRedSwatch;
using tafutest::kStrokeFirst;
using tafutest::kStrokeLast;
using tafutest::kStrokeRow;

TEST(StudioClicks, APaintedStrokeIsSavedExactlyAndComesBackFromTheGallery) {
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  tafutest::GameLauncher game;
  ASSERT_TRUE(game.Start());
  // The menu's own tests fail when it does not show; this one needs it to begin.
  if (!game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish))
    GTEST_SKIP() << "the main menu does not show in this build";

  ASSERT_TRUE(tafutest::OpenBigCanvas(game));

  ASSERT_TRUE(game.Click(kRedSwatch));
  ASSERT_TRUE(game.Drag(tafutest::BigCanvasCell(kStrokeFirst, kStrokeRow), tafutest::BigCanvasCell(kStrokeLast, kStrokeRow)));
  ASSERT_TRUE(game.MoveTo({400, 470}));
  ASSERT_TRUE(game.WaitForPixel(tafutest::BigCanvasCell(12, kStrokeRow), [](uint32_t p) { return p == kRed; }));
  ASSERT_TRUE(game.Click(tafutest::kSaveMiddle));
  const std::string saved = game.File("draw/big/1.tga");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(saved) && fs::file_size(saved) == 18 + 50 * 40 * 4; }, 5s));

  const std::vector<uint32_t> cells = tafutest::SavedPaintingCells(saved, 50, 40);
  ASSERT_EQ(cells.size(), 50u * 40u);
  for (int32_t row = 0; row < 40; ++row) {
    for (int32_t column = 0; column < 50; ++column) {
      const bool stroke = row == kStrokeRow && column >= kStrokeFirst && column <= kStrokeLast;
      ASSERT_EQ(cells[static_cast<size_t>(row * 50 + column)], stroke ? kRed : 0xFFFFFFu) << column << ", " << row;
    }
  }

  // Load shows it in the gallery (no palette there); Take brings it back to the canvas.
  ASSERT_TRUE(game.Click(tafutest::kLoadButton));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p != kFirstSwatchColour; }));
  EXPECT_EQ(game.Pixel(tafutest::BigCanvasCell(kStrokeFirst, kStrokeRow)), kRed);
  ASSERT_TRUE(game.Click(tafutest::kGalleryTake));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p == kFirstSwatchColour; }));
  EXPECT_EQ(game.Pixel(tafutest::BigCanvasCell(kStrokeLast, kStrokeRow)), kRed);
  EXPECT_EQ(game.Pixel(tafutest::BigCanvasCell(kStrokeLast + 1, kStrokeRow)), 0xFFFFFFu);

  ASSERT_TRUE(game.Click(tafutest::kStudioExit));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
  EXPECT_FALSE(fs::exists(game.File("draw/big/2.tga")));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
