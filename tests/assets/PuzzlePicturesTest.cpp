// The shipped puzzle pictures: counted in setup.ini, the right size, readable as the
// game reads them, and fit for their puzzles.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "AssetFiles.h"
#include "services/KIniFile.h"

using assettest::LoadTga;
using assettest::Tga;

namespace {

constexpr int kTopLeftOrigin = 0x20;

int CountOf(const char* section) {
  KIniFile ini;
  if (!ini.LoadIni(assettest::RuntimePath("setup.ini"))) return -1;
  return ini.GetIniInt(section, "COUNT", -1);
}

std::string PictureName(const char* size, int number) {
  return std::string("game/") + size + "/" + std::to_string(number) + ".tga";
}

Tga LoadPicture(const char* size, int number) { return LoadTga(assettest::RuntimePath(PictureName(size, number))); }

// Strip k of a big picture, picture rows 10k to 10k + 9, shifted right by shift cells as
// the slide puzzle shows it.
std::vector<uint32_t> Strip(const Tga& picture, int k, int shift) {
  std::vector<uint32_t> cells;
  for (int y = 10 * k; y < 10 * k + 10; ++y)
    for (int x = 0; x < 50; ++x) cells.push_back(picture.At((x - shift + 50) % 50, y));
  return cells;
}

}  // namespace

TEST(PuzzlePictures, SetupIniCountsEveryPictureAndNoMore) {
  const int big = CountOf("BIG_IMAGES");
  const int small = CountOf("SMALL_IMAGES");
  EXPECT_GE(big, 12);
  EXPECT_GE(small, 30);
  for (auto [size, count] : {std::pair{"big", big}, std::pair{"small", small}}) {
    for (int n = 1; n <= count; ++n) EXPECT_TRUE(std::filesystem::exists(assettest::RuntimePath(PictureName(size, n)))) << n;
    EXPECT_FALSE(std::filesystem::exists(assettest::RuntimePath(PictureName(size, count + 1))));
  }
  KIniFile ini;
  ASSERT_TRUE(ini.LoadIni(assettest::RuntimePath("setup.ini")));
  EXPECT_EQ(ini.GetIniInt("DEBUG", "SHOWFPS", -1), 0);
  const std::string text = [] {
    std::ifstream in(assettest::RuntimePath("setup.ini"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "line end without CR at " << i;
    }
  }
}

TEST(PuzzlePictures, EveryPictureIsReadableTopRowFirstInBothStorageKinds) {
  std::set<int> kinds;
  for (auto [size, section, side, rows] : {std::tuple{"big", "BIG_IMAGES", 50, 40}, std::tuple{"small", "SMALL_IMAGES", 15, 15}}) {
    const int count = CountOf(section);
    for (int n = 1; n <= count; ++n) {
      SCOPED_TRACE(PictureName(size, n));
      const Tga picture = LoadPicture(size, n);
      ASSERT_TRUE(picture.ok);
      EXPECT_EQ(picture.width, side);
      EXPECT_EQ(picture.height, rows);
      EXPECT_TRUE(picture.descriptor & kTopLeftOrigin);
      EXPECT_TRUE((picture.imageType == 2 && picture.depth == 32) || (picture.imageType == 10 && picture.depth == 24));
      kinds.insert(picture.imageType);
    }
  }
  EXPECT_EQ(kinds, (std::set<int>{2, 10}));
}

TEST(PuzzlePictures, BigPictureStripsCanBeToldApartAndShowEveryShift) {
  const int count = CountOf("BIG_IMAGES");
  for (int n = 1; n <= count; ++n) {
    SCOPED_TRACE(PictureName("big", n));
    const Tga picture = LoadPicture("big", n);
    ASSERT_TRUE(picture.ok);
    ASSERT_EQ(picture.width, 50);
    ASSERT_EQ(picture.height, 40);
    for (int a = 0; a < 4; ++a) {
      for (int b = a + 1; b < 4; ++b) EXPECT_NE(Strip(picture, a, 0), Strip(picture, b, 0)) << a << " and " << b;
      // Every even shift a slide can leave must look wrong, not just the first step.
      for (int shift = 2; shift < 50; shift += 2)
        EXPECT_NE(Strip(picture, a, shift), Strip(picture, a, 0)) << "strip " << a << " shifted " << shift;
    }
  }
}

TEST(PuzzlePictures, SmallPicturesHaveThreeToEightColours) {
  const int count = CountOf("SMALL_IMAGES");
  for (int n = 1; n <= count; ++n) {
    SCOPED_TRACE(PictureName("small", n));
    const Tga picture = LoadPicture("small", n);
    ASSERT_TRUE(picture.ok);
    const std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
    EXPECT_GE(colours.size(), 3u);
    EXPECT_LE(colours.size(), 8u);
  }
}
