#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "PictureFileFixture.h"
#include "puzzles/PuzzlePictures.h"
#include "services/KRandom.h"

using namespace picturetest;

namespace {

class PuzzlePictureFiles : public PictureFileTest {
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

TEST_F(PuzzlePictureFiles, NumbersCoverOneToCountEvenly) {
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

TEST_F(PuzzlePictureFiles, CountOfOneAlwaysGivesPictureOne) {
  Ship(CanvasSize::Small, 3);
  Setup("[SMALL_IMAGES]\r\nCOUNT=1\r\n");
  SeedRandom(77);
  for (int i = 0; i < 30; ++i) ASSERT_EQ(Load(CanvasSize::Small), 1);
}

TEST_F(PuzzlePictureFiles, CountOfFiveShowsEveryPictureFromOneToFive) {
  Ship(CanvasSize::Small, 5);
  Setup("[BIG_IMAGES]\nCOUNT=2\n[SMALL_IMAGES]\nCOUNT=5\n");
  SeedRandom(5);
  std::set<int> seen;
  for (int i = 0; i < 200; ++i) seen.insert(Load(CanvasSize::Small));
  EXPECT_EQ(seen, std::set<int>({1, 2, 3, 4, 5}));
}

TEST_F(PuzzlePictureFiles, BigAndSmallPicturesAreCountedSeparately) {
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

TEST_F(PuzzlePictureFiles, MissingSetupOrKeyGivesPictureOne) {
  Ship(CanvasSize::Big, 4);
  EXPECT_EQ(PuzzlePictureCount(CanvasSize::Big), 0);
  SeedRandom(3);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Load(CanvasSize::Big), 1);
  Setup("[DEBUG]\nSHOWFPS=1\n");
  EXPECT_EQ(PuzzlePictureCount(CanvasSize::Big), 0);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Load(CanvasSize::Big), 1);
}

}  // namespace

namespace {

// Big painting number n of one colour, 0xFF00nn00, in a paintings folder, written at second `when`.
void Paint(const std::string& folder, int n, int when, bool broken = false) {
  Header h;
  h.width = 50;
  h.height = 40;
  std::string bytes = HeaderBytes(h);
  for (int i = 0; i < 50 * 40; ++i) bytes += PixelBytes(kOpaque | static_cast<uint32_t>(n) << 8, 32);
  const std::string path = folder + "/draw/big/" + std::to_string(n) + ".tga";
  std::filesystem::create_directories(folder + "/draw/big");
  tafutest::WriteFile(path, broken ? bytes.substr(0, 100) : bytes);
  std::filesystem::last_write_time(path, std::filesystem::file_time_type() + std::chrono::seconds(when));
}

// The newest first (8, broken, passed over), round after round; with only a broken one, a
// shipped picture.
TEST_F(PuzzlePictureFiles, PaintingsArePlayedNewestFirstInTurnPassingOverBrokenOnes) {
  const std::string cat = (folder_.Path() / "cat").string();
  const std::string dog = (folder_.Path() / "dog").string();
  Paint(cat, 1, 100);
  Paint(cat, 2, 300);
  Paint(dog, 7, 200);
  Paint(dog, 8, 400, true);
  Paint(dog, 9, 300);
  // Neither is a painting the gallery shows.
  tafutest::WriteFile(dog + "/draw/big/notes.tga", "x");
  tafutest::WriteFile(dog + "/draw/big/300.tga", "x");
  const auto paintings = FindOwnPaintings({{cat, "cat.png"}, {dog, "dog.png"}, {(folder_.Path() / "pig").string()}},
                                          CanvasSize::Big);
  PuzzlePictures pictures(CanvasSize::Big, paintings);
  const std::pair<int, std::string> expected[] = {{9, "dog.png"}, {2, "cat.png"}, {7, "dog.png"}, {1, "cat.png"}, {9, "dog.png"}};
  for (const auto& [number, painter] : expected) {
    pictures.LoadNext();
    EXPECT_EQ(static_cast<int>(PictureBuffer.At(49, 39) >> 8 & 0xFF), number);
    EXPECT_EQ(pictures.Painter(), painter);
  }

  Ship(CanvasSize::Big, 1);
  PuzzlePictures broken(CanvasSize::Big, {paintings.front()});
  broken.LoadNext();
  EXPECT_EQ(PictureBuffer.At(49, 39), kOpaque | 1u);
  EXPECT_EQ(broken.Painter(), nullptr);
}

}  // namespace
