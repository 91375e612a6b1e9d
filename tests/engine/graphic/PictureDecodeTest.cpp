// Picture files in memory, decoded without a window: the choice of decoder and
// what damaged files do.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "PictureTestSupport.h"
#include "graphic/KPictureDecode.h"

namespace {

using namespace picturetest;

constexpr int32_t kMaxSide = 1024;

TEST(PictureFormat, LastExtensionFoundInTheLowerCasedPathWins) {
  const std::map<std::string, KPictureFormat> cases = {
      {"img/bg/menu.png", KPictureFormat::Png},
      {"IMG/BG/MENU.PNG", KPictureFormat::Png},
      {"game/big/1.tga", KPictureFormat::Tga},
      {"shot.JPG", KPictureFormat::Jpeg},
      {"old.Bmp", KPictureFormat::Bmp},
      {"holiday.jpg/beach.png", KPictureFormat::Png},
      // The tests go .tga, .jpg, .bmp, .png; where they stand in the path does not matter.
      {"beach.png.tga", KPictureFormat::Png},
      {"beach.tga.jpg", KPictureFormat::Jpeg},
      {"beach.jpg.tga", KPictureFormat::Jpeg},
      {"picture.gif", KPictureFormat::None},
      {"png", KPictureFormat::None},
      {"", KPictureFormat::None},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(PictureFormatOfPath(path), format) << path;
}

// The same 5 x 3 picture in each format, as stb_image_write makes it.
std::map<KPictureFormat, std::string> SampleFiles(tafutest::TempFolder& folder) {
  std::vector<uint32_t> pixels(15);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x110D07u);
  const std::map<KPictureFormat, std::string> kinds = {
      {KPictureFormat::Png, "png"}, {KPictureFormat::Jpeg, "jpg"}, {KPictureFormat::Bmp, "bmp"}, {KPictureFormat::Tga, "tga"}};
  std::map<KPictureFormat, std::string> files;
  for (const auto& [format, kind] : kinds) {
    const std::string path = folder / ("sample." + kind);
    EXPECT_TRUE(WritePicture(path, kind, 5, 3, pixels, kind == "png"));
    files[format] = tafutest::ReadFile(path);
  }
  return files;
}

TEST(PictureDecode, EachDecoderReadsOnlyItsOwnKindOfFile) {
  tafutest::TempFolder folder;
  const auto files = SampleFiles(folder);
  for (const auto& [fileFormat, bytes] : files) {
    for (const auto& [decoder, unused] : files) {
      KDecodedPicture picture;
      const bool decoded = DecodePicture(bytes.data(), bytes.size(), decoder, kMaxSide, picture);
      EXPECT_EQ(decoded, decoder == fileFormat) << static_cast<int>(fileFormat) << " by " << static_cast<int>(decoder);
      if (!decoded) continue;
      EXPECT_EQ(picture.width, 5);
      EXPECT_EQ(picture.height, 3);
      EXPECT_EQ(picture.hasAlpha, fileFormat == KPictureFormat::Png);
      ASSERT_TRUE(picture.rgba);
      if (fileFormat != KPictureFormat::Jpeg) {
        // The last pixel of the top row, then the first of the bottom row.
        EXPECT_EQ(picture.rgba.get()[4 * 4 + 0], static_cast<uint8_t>(4 * 0x07));
        EXPECT_EQ(picture.rgba.get()[4 * 10 + 1], static_cast<uint8_t>(10 * 0x0D));
      }
    }
  }
}

TEST(PictureDecode, PicturesLargerThanTheLimitAreRefused) {
  tafutest::TempFolder folder;
  const auto files = SampleFiles(folder);
  for (const auto& [format, bytes] : files) {
    KDecodedPicture picture;
    EXPECT_FALSE(DecodePicture(bytes.data(), bytes.size(), format, 4, picture)) << static_cast<int>(format);
    EXPECT_FALSE(picture.rgba);
    EXPECT_TRUE(DecodePicture(bytes.data(), bytes.size(), format, 5, picture)) << static_cast<int>(format);
  }
}

// Every cut and many scrambled copies of every file: refused or decoded to a
// sane size, never a crash (run under the sanitizers to see stray reads).
TEST(PictureDecode, DamagedFilesAreRefusedOrDecodedSafely) {
  tafutest::TempFolder folder;
  const auto files = SampleFiles(folder);
  std::mt19937 random(12345);
  int32_t refused = 0;
  for (const auto& [format, bytes] : files) {
    std::vector<std::string> damaged;
    for (size_t length = 0; length < bytes.size(); ++length) damaged.push_back(bytes.substr(0, length));
    for (int copy = 0; copy < 300; ++copy) {
      std::string scrambled = bytes;
      for (int hit = 0; hit < 4; ++hit) scrambled[random() % scrambled.size()] = static_cast<char>(random());
      damaged.push_back(scrambled);
    }
    for (const std::string& data : damaged) {
      KDecodedPicture picture;
      if (DecodePicture(data.data(), data.size(), format, kMaxSide, picture)) {
        EXPECT_GE(picture.width, 1);
        EXPECT_LE(picture.width, kMaxSide);
        EXPECT_GE(picture.height, 1);
        EXPECT_LE(picture.height, kMaxSide);
        EXPECT_TRUE(picture.rgba);
      } else {
        ++refused;
        EXPECT_EQ(picture.width, 0);
        EXPECT_FALSE(picture.rgba);
      }
    }
  }
  // At the least every cut before the end of a header is refused.
  EXPECT_GT(refused, 4 * 8);
}

}  // namespace
