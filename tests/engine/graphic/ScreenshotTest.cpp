// Screenshots written in the four formats and read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "PictureTestSupport.h"
#include "graphic/KGraphic.h"

namespace {

using namespace picturetest;

using Screenshot = PictureScreen;

// A known frame: four coloured quarters and a black square in the middle.
void DrawKnownFrame() {
  KGraphicGL pen;
  pen.FillRect(0, 0, 400, 300, 1, 0, 0, 1);
  pen.FillRect(400, 0, 800, 300, 0, 1, 0, 1);
  pen.FillRect(0, 300, 400, 600, 0, 0, 1, 1);
  pen.FillRect(400, 300, 800, 600, 1, 1, 0, 1);
  pen.FillRect(384, 284, 416, 316, 0, 0, 0, 1);
}

uint32_t KnownFrameAt(int32_t x, int32_t y) {
  if (x >= 384 && x < 416 && y >= 284 && y < 316) return kBlack;
  if (y < 300) return x < 400 ? kRed : kGreen;
  return x < 400 ? kBlue : kYellow;
}

bool NearAnEdge(int32_t x, int32_t y) {
  constexpr int32_t kMargin = 8;
  const auto near = [](int32_t value, std::initializer_list<int32_t> edges) {
    for (int32_t edge : edges)
      if (value > edge - kMargin && value < edge + kMargin) return true;
    return false;
  };
  return near(x, {384, 400, 416}) || near(y, {284, 300, 316});
}

TEST_F(Screenshot, EachFormatHoldsTheFrame) {
  tafutest::TempFolder folder;
  DrawKnownFrame();
  struct Case {
    uint32_t type;
    std::string name;
    int32_t tolerance;
  };
  for (const Case& file : {Case{0, "shot.bmp", 0}, {1, "shot.jpg", 12}, {2, "shot.tga", 0}, {3, "shot.png", 0}}) {
    SCOPED_TRACE(file.name);
    ASSERT_TRUE(screen_->SaveScreenshot(folder / file.name, file.type, 0, 0));
    int32_t width = 0;
    int32_t height = 0;
    const std::vector<uint32_t> pixels = ReadPicture(folder / file.name, width, height);
    ASSERT_EQ(width, kScreenWidth);
    ASSERT_EQ(height, kScreenHeight);
    // Lossless formats match everywhere; JPEG away from the edges between colours.
    const bool lossy = file.tolerance > 0;
    int32_t mismatches = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        if (!(lossy && NearAnEdge(x, y)) && !ColourNear(pixels[y * width + x], KnownFrameAt(x, y), file.tolerance))
          ++mismatches;
    EXPECT_EQ(mismatches, 0);
    // Screenshots are opaque.
    EXPECT_EQ(pixels[0] >> 24, 0xFFu);
  }
  // The frame itself is left as it was.
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(790, 590), Rgb(kYellow));
}

TEST_F(Screenshot, ThumbnailIsTheFrameScaledDown) {
  tafutest::TempFolder folder;
  DrawKnownFrame();
  ASSERT_TRUE(screen_->SaveScreenshot(folder / "small.png", 3, 200, 150));
  int32_t width = 0;
  int32_t height = 0;
  const std::vector<uint32_t> pixels = ReadPicture(folder / "small.png", width, height);
  ASSERT_EQ(width, 200);
  ASSERT_EQ(height, 150);
  EXPECT_EQ(Rgb(pixels[0]), Rgb(kRed));
  EXPECT_EQ(Rgb(pixels[199]), Rgb(kGreen));
  EXPECT_EQ(Rgb(pixels[149 * 200]), Rgb(kBlue));
  EXPECT_EQ(Rgb(pixels[149 * 200 + 199]), Rgb(kYellow));
  EXPECT_EQ(Rgb(pixels[75 * 200 + 100]), Rgb(kBlack));
  // The corner the thumbnail was drawn into shows the frame again.
  EXPECT_EQ(ScreenRgb(10, 590), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(199, 450), Rgb(kBlue));
}

TEST_F(Screenshot, NothingWrittenIsReportedAsFailure) {
  tafutest::TempFolder folder;
  DrawKnownFrame();
  EXPECT_FALSE(screen_->SaveScreenshot(folder / "shot.gif", 4, 0, 0));
  EXPECT_FALSE(std::filesystem::exists(folder / "shot.gif"));
  EXPECT_FALSE(screen_->SaveScreenshot(folder / "no/such/folder/shot.png", 3, 0, 0));
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kRed));
}

}  // namespace
