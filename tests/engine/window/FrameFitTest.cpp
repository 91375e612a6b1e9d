#include <gtest/gtest.h>

#include "window/KFrameFit.h"

namespace {

void ExpectRect(const KFrameRect& rect, int32_t left, int32_t top, int32_t width, int32_t height) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.width, width);
  EXPECT_EQ(rect.height, height);
}

TEST(FrameFit, TheFrameKeepsItsShapeCentredBetweenBars) {
  ExpectRect(FitFrame(1920, 1080, 800, 600), 240, 0, 1440, 1080);
  ExpectRect(FitFrame(1000, 600, 800, 600), 100, 0, 800, 600);
  ExpectRect(FitFrame(800, 1000, 800, 600), 0, 200, 800, 600);
  ExpectRect(FitFrame(2400, 1800, 800, 600), 0, 0, 2400, 1800);
  EXPECT_TRUE(IsWholeMultiple(FitFrame(2400, 1800, 800, 600), 800, 600));
  EXPECT_TRUE(IsWholeMultiple(FitFrame(800, 600, 800, 600), 800, 600));
  EXPECT_FALSE(IsWholeMultiple(FitFrame(1920, 1080, 800, 600), 800, 600));
  EXPECT_FALSE(IsWholeMultiple(FitFrame(400, 300, 800, 600), 800, 600));
}

TEST(FrameFit, TheFrameIsDrawnAtTheOutputsSizeButNeverWithTheWorldBelowItsOwn) {
  ExpectRect(FrameTargetSize(800, 600, 800, 600), 0, 0, 800, 600);
  ExpectRect(FrameTargetSize(1920, 1080, 800, 600), 0, 0, 1920, 1080);
  ExpectRect(FrameTargetSize(3840, 2160, 800, 600), 0, 0, 3840, 2160);
  ExpectRect(FrameTargetSize(2400, 1800, 800, 600), 0, 0, 2400, 1800);
  ExpectRect(FrameTargetSize(1000, 2000, 800, 600), 0, 0, 1000, 2000);
  ExpectRect(FrameTargetSize(640, 480, 800, 600), 0, 0, 800, 600);
  ExpectRect(FrameTargetSize(1000, 599, 800, 600), 0, 0, 800, 600);
}

TEST(FrameFit, ANewWindowIsTheLargestWholeMultipleInsideNinetyPercent) {
  EXPECT_EQ(WindowScale(1366, 768, 800, 600), 1);
  EXPECT_EQ(WindowScale(1920, 1080, 800, 600), 1);
  EXPECT_EQ(WindowScale(2560, 1600, 800, 600), 2);
  EXPECT_EQ(WindowScale(3840, 2160, 800, 600), 3);
  EXPECT_EQ(WindowScale(800, 600, 800, 600), 1);
  // Twice the world is 1600 x 1200: nine tenths of 1778 x 1334 holds it, of 1777 x 1334 not.
  EXPECT_EQ(WindowScale(1778, 1334, 800, 600), 2);
  EXPECT_EQ(WindowScale(1777, 1334, 800, 600), 1);
}

TEST(FrameFit, WindowPositionsMapBackIntoTheWorldWithTheBarsOutside) {
  // 1920 x 1080: the world starts at 240 and each of its pixels is 1.8 wide.
  EXPECT_EQ(WindowToFrame(239, 240, 1440, 800), -1);
  EXPECT_EQ(WindowToFrame(240, 240, 1440, 800), 0);
  EXPECT_EQ(WindowToFrame(1679, 240, 1440, 800), 799);
  EXPECT_EQ(WindowToFrame(1680, 240, 1440, 800), 800);
  EXPECT_EQ(WindowToFrame(1625, 240, 1440, 800), 769);
  EXPECT_EQ(WindowToFrame(-5, 0, 800, 800), -5);
  for (int32_t x = 0; x < 800; ++x) EXPECT_EQ(WindowToFrame(FrameToWindow(x, 240, 1440, 800), 240, 1440, 800), x);
}

}  // namespace
