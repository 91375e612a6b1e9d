#include <gtest/gtest.h>

#include <set>

#include "PictureFileFixture.h"
#include "puzzles/PuzzlePictures.h"
#include "services/KRandom.h"

using namespace picturetest;

namespace {

class PuzzlePictures : public PictureFileTest {
 protected:
  // Shipped pictures 1 to count of a size, each of one colour: 0xFF0000nn for number nn.
  void Ship(CanvasSize size, int count) {
    const bool big = size == CanvasSize::Big;
    Header h;
    h.width = static_cast<int16_t>(big ? 50 : 15);
    h.height = static_cast<int16_t>(big ? 40 : 15);
    for (int n = 1; n <= count; ++n) {
      std::string bytes = HeaderBytes(h);
      for (int i = 0; i < h.width * h.height; ++i) bytes += PixelBytes(kOpaque | static_cast<uint32_t>(n), 32);
      WriteGameFile(std::string(big ? "game\\big\\" : "game\\small\\") + std::to_string(n) + ".tga", bytes);
    }
  }
  void Setup(const std::string& text) { tafutest::WriteFile(folder_ / "setup.ini", text); }
  int Load(CanvasSize size) {
    const int side = size == CanvasSize::Big ? 50 : 15;
    LoadRandomPuzzlePicture(PictureKind::Game, size, side, size == CanvasSize::Big ? 40 : 15);
    return static_cast<int>(PictureBuffer.At(side - 1, 0) & 0xFF);
  }
};

TEST_F(PuzzlePictures, NumbersCoverOneToCountEvenly) {
  EXPECT_EQ(PuzzlePictureNumber(5, 0), 1);
  EXPECT_EQ(PuzzlePictureNumber(5, 32767), 5);
  EXPECT_EQ(PuzzlePictureNumber(0, 32767), 1);
  EXPECT_EQ(PuzzlePictureNumber(-4, 32767), 1);
  EXPECT_EQ(PuzzlePictureNumber(100000, 32767), 99997);
  int hits[6] = {};
  for (int r = 0; r < 32768; ++r) {
    const int n = PuzzlePictureNumber(5, r);
    ASSERT_TRUE(n >= 1 && n <= 5) << r;
    ++hits[n];
  }
  for (int n = 1; n <= 5; ++n) EXPECT_NEAR(hits[n], 32768 / 5, 2) << n;
}

TEST_F(PuzzlePictures, CountOfOneAlwaysGivesPictureOne) {
  Ship(CanvasSize::Small, 3);
  Setup("[SMALL_IMAGES]\r\nCOUNT=1\r\n");
  SeedRandom(77);
  for (int i = 0; i < 30; ++i) ASSERT_EQ(Load(CanvasSize::Small), 1);
}

TEST_F(PuzzlePictures, CountOfFiveShowsEveryPictureFromOneToFive) {
  Ship(CanvasSize::Small, 5);
  Setup("[BIG_IMAGES]\nCOUNT=2\n[SMALL_IMAGES]\nCOUNT=5\n");
  SeedRandom(5);
  std::set<int> seen;
  for (int i = 0; i < 200; ++i) seen.insert(Load(CanvasSize::Small));
  EXPECT_EQ(seen, std::set<int>({1, 2, 3, 4, 5}));
}

TEST_F(PuzzlePictures, BigAndSmallPicturesAreCountedSeparately) {
  Setup("[BIG_IMAGES]\r\nCOUNT=12\r\n[SMALL_IMAGES]\r\nCOUNT=30\r\n");
  EXPECT_EQ(PuzzlePictureCount(CanvasSize::Big), 12);
  EXPECT_EQ(PuzzlePictureCount(CanvasSize::Small), 30);
  Ship(CanvasSize::Big, 12);
  SeedRandom(9);
  std::set<int> seen;
  for (int i = 0; i < 300; ++i) seen.insert(Load(CanvasSize::Big));
  EXPECT_EQ(seen.size(), 12u);
  EXPECT_EQ(*seen.begin(), 1);
  EXPECT_EQ(*seen.rbegin(), 12);
}

TEST_F(PuzzlePictures, MissingSetupOrKeyGivesPictureOne) {
  Ship(CanvasSize::Big, 4);
  EXPECT_EQ(PuzzlePictureCount(CanvasSize::Big), 0);
  SeedRandom(3);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Load(CanvasSize::Big), 1);
  Setup("[DEBUG]\nSHOWFPS=1\n");
  EXPECT_EQ(PuzzlePictureCount(CanvasSize::Big), 0);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Load(CanvasSize::Big), 1);
}

}  // namespace
