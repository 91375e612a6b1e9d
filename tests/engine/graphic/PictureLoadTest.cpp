// Loading picture files: the four decoders, the choice among them, bad files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PictureTestSupport.h"
#include "graphic/KGraphic.h"

namespace {

using namespace picturetest;

using PictureLoad = PictureScreen;

constexpr int32_t kSide = 16;
constexpr int32_t kHalf = kSide / 2;

// A 16 x 16 picture in four 8 x 8 blocks: red, green on top; blue, and the
// given colour below.
std::vector<uint32_t> Blocks(uint32_t bottomRight) {
  std::vector<uint32_t> pixels(kSide * kSide);
  for (int32_t y = 0; y < kSide; ++y)
    for (int32_t x = 0; x < kSide; ++x)
      pixels[y * kSide + x] = y < kHalf ? (x < kHalf ? kRed : kGreen) : (x < kHalf ? kBlue : bottomRight);
  return pixels;
}

// The four blocks of a picture drawn at (left, top), at their corners (exact
// formats) or centres (tolerance > 0).
void ExpectBlocks(int32_t left, int32_t top, uint32_t bottomRight, int32_t tolerance) {
  const int32_t inset = tolerance > 0 ? 2 : 0;
  const int32_t far = tolerance > 0 ? kHalf - 3 : kHalf - 1;
  struct Block {
    int32_t x, y;
    uint32_t colour;
  };
  for (const Block& block : {Block{0, 0, kRed}, {kHalf, 0, kGreen}, {0, kHalf, kBlue}, {kHalf, kHalf, bottomRight}}) {
    EXPECT_TRUE(ColourNear(ScreenRgb(left + block.x + inset, top + block.y + inset), block.colour, tolerance));
    EXPECT_TRUE(ColourNear(ScreenRgb(left + block.x + far, top + block.y + far), block.colour, tolerance));
  }
  EXPECT_EQ(ScreenRgb(left + kSide, top), Rgb(kWhite));
  EXPECT_EQ(ScreenRgb(left, top + kSide), Rgb(kWhite));
}

TEST_F(PictureLoad, EachDecoderShowsItsPicture) {
  tafutest::TempFolder folder;
  const std::vector<uint32_t> opaque = Blocks(kYellow);
  ASSERT_TRUE(WritePicture(folder / "opaque.png", "png", kSide, kSide, opaque, false));
  ASSERT_TRUE(WritePicture(folder / "photo.jpg", "jpg", kSide, kSide, opaque, false));
  ASSERT_TRUE(WritePicture(folder / "bitmap.bmp", "bmp", kSide, kSide, opaque, false));
  ASSERT_TRUE(WritePicture(folder / "targa.tga", "tga", kSide, kSide, opaque, true));

  struct Case {
    std::string name;
    int32_t tolerance;
  };
  const Case files[] = {{"opaque.png", 0}, {"photo.jpg", 12}, {"bitmap.bmp", 0}, {"targa.tga", 0}};
  // Read as they are loaded, then read ahead on the reader's thread.
  for (const int16_t top : {20, 60}) {
    if (top == 60)
      ReadPicturesAhead({folder / "opaque.png", folder / "photo.jpg", folder / "bitmap.bmp", folder / "targa.tga"});
    int16_t left = 10;
    for (const Case& file : files) {
      SCOPED_TRACE(file.name + (top == 60 ? " read ahead" : ""));
      KGraphicGL picture;
      ASSERT_TRUE(picture.LoadPicture(folder / file.name, true, true));
      EXPECT_EQ(picture.GetWidth(), static_cast<float>(kSide));
      EXPECT_EQ(picture.GetHeight(), static_cast<float>(kSide));
      picture.BlitAlpha(0, 0, kSide, kSide, left, top, false, false);
      ExpectBlocks(left, top, kYellow, file.tolerance);
      left += 30;
    }
  }
}

TEST_F(PictureLoad, AlphaOfTheFileIsKeptOrDropped) {
  tafutest::TempFolder folder;
  const uint32_t clearYellow = kYellow & 0x00FFFFFF;
  ASSERT_TRUE(WritePicture(folder / "alpha.png", "png", kSide, kSide, Blocks(clearYellow), true));

  KGraphicGL kept;
  ASSERT_TRUE(kept.LoadPicture(folder / "alpha.png", true, true));
  kept.BlitAlpha(0, 0, kSide, kSide, 10, 10, false, false);
  ExpectBlocks(10, 10, kWhite, 0);

  KGraphicGL dropped;
  ASSERT_TRUE(dropped.LoadPicture(folder / "alpha.png", false, false));
  dropped.BlitAlpha(0, 0, kSide, kSide, 40, 10, false, false);
  ExpectBlocks(40, 10, kYellow, 0);
}

// A loaded picture with every pixel opaque is copied without blending, with the frame
// blending gives; drawn from beyond its edge, where its texture is see-through, it blends.
TEST_F(PictureLoad, AnOpaqueFileIsCopiedWithoutBlendingOnlyFromWithinIt) {
  // 12 x 10: its texture is 16 a side.
  constexpr int32_t kWidth = 12;
  constexpr int32_t kHeight = 10;
  tafutest::TempFolder folder;
  ASSERT_TRUE(WritePicture(folder / "opaque.png", "png", kWidth, kHeight,
                           std::vector<uint32_t>(kWidth * kHeight, kYellow), true));
  KGraphicGL picture;
  ASSERT_TRUE(picture.LoadPicture(folder / "opaque.png", true, true));
  const auto frame = [&](bool opaqueCopies) {
    KGraphicGL::SetOpaqueCopies(opaqueCopies);
    ClearScreen();
    picture.BlitAlpha(0, 0, kWidth, kHeight, 10, 10, false, false);
    picture.BlitAlpha(0, 0, kWidth + 3, kHeight, 40, 10, false, false);
    std::vector<uint32_t> shown;
    for (int32_t x = 40 + kWidth; x < 43 + kWidth; ++x) shown.push_back(ScreenRgb(x, 11));
    for (int32_t y = 10; y < 10 + kHeight; ++y)
      for (int32_t x = 10; x < 10 + kWidth; ++x) shown.push_back(ScreenRgb(x, y));
    KGraphicGL::SetOpaqueCopies(true);
    return shown;
  };
  const uint64_t before = KGraphicGL::GetOpaqueCopies();
  const std::vector<uint32_t> copied = frame(true);
  EXPECT_EQ(KGraphicGL::GetOpaqueCopies(), before + 1);
  EXPECT_EQ(copied, frame(false));
  EXPECT_EQ(copied.front(), Rgb(kWhite));
  EXPECT_EQ(copied.back(), Rgb(kYellow));
}

// A 2 x 2 uncompressed 24-bit TGA (blue, green, red bytes), its rows stored top
// first or bottom first as the header's origin bit says.
std::string HandMadeTga(bool topFirst) {
  std::string bytes(18, '\0');
  bytes[2] = 2;  // true colour, uncompressed
  bytes[12] = 2;
  bytes[14] = 2;
  bytes[16] = 24;
  bytes[17] = topFirst ? 0x20 : 0x00;
  const std::string top = std::string("\x00\x00\xFF", 3) + std::string("\x00\xFF\x00", 3);     // red, green
  const std::string bottom = std::string("\xFF\x00\x00", 3) + std::string("\x00\xFF\xFF", 3);  // blue, yellow
  return bytes + (topFirst ? top + bottom : bottom + top);
}

TEST_F(PictureLoad, TgaRowsFollowTheOriginOfTheFile) {
  tafutest::TempFolder folder;
  int16_t left = 10;
  for (bool topFirst : {true, false}) {
    tafutest::WriteFile(folder / "corner.tga", HandMadeTga(topFirst));
    KGraphicGL picture;
    ASSERT_TRUE(picture.LoadPicture(folder / "corner.tga", true, true));
    picture.Blit(0, 0, 2, 2, left, 10, false, false);
    EXPECT_EQ(ScreenRgb(left, 10), Rgb(kRed)) << topFirst;
    EXPECT_EQ(ScreenRgb(left + 1, 10), Rgb(kGreen)) << topFirst;
    EXPECT_EQ(ScreenRgb(left, 11), Rgb(kBlue)) << topFirst;
    EXPECT_EQ(ScreenRgb(left + 1, 11), Rgb(kYellow)) << topFirst;
    left += 10;
  }
}

TEST_F(PictureLoad, DecoderIsChosenByTheWholePathInAnyCase) {
  tafutest::TempFolder folder;
  const std::vector<uint32_t> pixels = Blocks(kYellow);
  ASSERT_TRUE(WritePicture(folder / "LOUD.PNG", "png", kSide, kSide, pixels, false));
  std::filesystem::create_directory(folder.Path() / "holiday.jpg");
  ASSERT_TRUE(WritePicture(folder / "holiday.jpg/beach.png", "png", kSide, kSide, pixels, false));

  for (const std::string name : {"LOUD.PNG", "holiday.jpg/beach.png"}) {
    KGraphicGL picture;
    ASSERT_TRUE(picture.LoadPicture(folder / name, true, true)) << name;
    EXPECT_EQ(picture.GetWidth(), static_cast<float>(kSide)) << name;
  }
  // Opened as given: the lower-cased name is another file.
  KGraphicGL missing;
  EXPECT_FALSE(missing.LoadPicture(folder / "loud.png", true, true));
}

TEST_F(PictureLoad, ColourKeyMakesKeyPixelsTransparentAndKeepsTheirColour) {
  tafutest::TempFolder folder;
  ASSERT_TRUE(WritePicture(folder / "keyed.png", "png", kSide, kSide, Blocks(kMagenta), false));
  KGraphicGL picture;
  picture.SetColorKey(true, 255, 0, 255);
  ASSERT_TRUE(picture.LoadPicture(folder / "keyed.png", true, true));
  picture.BlitAlpha(0, 0, kSide, kSide, 10, 10, false, false);
  ExpectBlocks(10, 10, kWhite, 0);
  picture.Blit(0, 0, kSide, kSide, 40, 10, false, false);
  ExpectBlocks(40, 10, kMagenta, 0);
}

TEST_F(PictureLoad, ScreenSizedPictureCoversTheScreen) {
  tafutest::TempFolder folder;
  std::vector<uint32_t> pixels(kScreenWidth * kScreenHeight, kGreen);
  pixels.front() = kRed;
  pixels[kScreenWidth - 1] = kBlue;
  pixels[(kScreenHeight - 1) * kScreenWidth] = kYellow;
  pixels.back() = kMagenta;
  ASSERT_TRUE(WritePicture(folder / "menu.png", "png", kScreenWidth, kScreenHeight, pixels, false));
  KGraphicGL background;
  ASSERT_TRUE(background.LoadPicture(folder / "menu.png", true, true));
  background.Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false);
  EXPECT_EQ(ScreenRgb(0, 0), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(799, 0), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(0, 599), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(799, 599), Rgb(kMagenta));
  EXPECT_EQ(ScreenRgb(400, 300), Rgb(kGreen));
}

TEST_F(PictureLoad, FilesThatCannotBeReadOrNamedFail) {
  tafutest::TempFolder folder;
  const std::vector<uint32_t> pixels = Blocks(kYellow);
  ASSERT_TRUE(WritePicture(folder / "good.png", "png", kSide, kSide, pixels, false));
  std::filesystem::copy_file(folder / "good.png", folder / "good.gif");
  tafutest::WriteFile(folder / "empty.png", "");

  KGraphicGL picture;
  ASSERT_TRUE(picture.LoadPicture(folder / "good.png", true, true));
  EXPECT_FALSE(picture.LoadPicture(folder / "missing.png", true, true));
  // A failed load leaves no picture behind.
  EXPECT_EQ(picture.GetWidth(), 0.0f);
  EXPECT_FALSE(picture.LoadPicture(folder / "empty.png", true, true));
  EXPECT_FALSE(picture.LoadPicture(folder / "good.gif", true, true));
  EXPECT_FALSE(picture.LoadPicture(folder / "noextension", true, true));
  std::filesystem::create_directories(folder.Path() / "menu.png");
  EXPECT_FALSE(picture.LoadPicture(folder / "menu.png", true, true));
  tafutest::WriteHugeFile(folder / "huge.png", 200 << 20);
  EXPECT_FALSE(picture.LoadPicture(folder / "huge.png", true, true));
  picture.Blit(0, 0, kSide, kSide, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kWhite));
}

TEST_F(PictureLoad, FilesTheDecoderRejectsGiveAnEmptyPicture) {
  tafutest::TempFolder folder;
  ASSERT_TRUE(WritePicture(folder / "good.png", "png", kSide, kSide, Blocks(kYellow), false));
  const std::string png = tafutest::ReadFile(folder / "good.png");
  tafutest::WriteFile(folder / "truncated.png", png.substr(0, png.size() / 2));
  tafutest::WriteFile(folder / "garbage.tga", std::string(200, '\x7F'));
  // A PNG under a JPEG name goes to the JPEG decoder, which refuses it.
  tafutest::WriteFile(folder / "misnamed.jpg", png);
  // A header claiming a picture wider than any texture may be.
  std::string huge = png;
  constexpr size_t kWidthOffset = 16;
  huge[kWidthOffset] = '\x00';
  huge[kWidthOffset + 1] = '\x10';
  tafutest::WriteFile(folder / "huge.png", huge);

  // Read ahead, each is refused as when it is read on loading.
  ReadPicturesAhead({folder / "truncated.png", folder / "garbage.tga", folder / "misnamed.jpg", folder / "huge.png"});
  for (const std::string name : {"truncated.png", "garbage.tga", "misnamed.jpg", "huge.png"}) {
    KGraphicGL picture;
    ASSERT_TRUE(picture.LoadPicture(folder / name, true, true)) << name;
    EXPECT_EQ(picture.GetWidth(), 0.0f) << name;
    EXPECT_EQ(picture.GetHeight(), 0.0f) << name;
    picture.Blit(0, 0, kSide, kSide, 10, 10, false, false);
    picture.BlitAlpha(0, 0, kSide, kSide, 10, 10, false, false);
    EXPECT_EQ(ScreenRgb(10, 10), Rgb(kWhite)) << name;
  }
}

TEST_F(PictureLoad, MemoryPathDecodesLikeTheFile) {
  tafutest::TempFolder folder;
  ASSERT_TRUE(WritePicture(folder / "good.png", "png", kSide, kSide, Blocks(kYellow), false));
  const std::string png = tafutest::ReadFile(folder / "good.png");
  KGraphicGL picture;
  EXPECT_FALSE(picture.LoadPictureFromMemory(png.data(), png.size(), KPictureFormat::None, true, true));
  EXPECT_FALSE(picture.LoadPictureFromMemory(nullptr, 0, KPictureFormat::Png, true, true));
  ASSERT_TRUE(picture.LoadPictureFromMemory(png.data(), png.size(), KPictureFormat::Png, true, true));
  picture.Blit(0, 0, kSide, kSide, 10, 10, false, false);
  ExpectBlocks(10, 10, kYellow, 0);
}

}  // namespace
