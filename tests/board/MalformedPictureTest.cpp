#include <gtest/gtest.h>

#include <cstdio>

#include "PictureFileFixture.h"
#include "services/KMessage.h"
#include "board/PictureFiles.h"

using namespace picturetest;

namespace {

std::string Picture15(uint8_t type, uint8_t depth, uint8_t colourMapType = 0, int16_t width = 15,
                      int16_t height = 15) {
  Header h;
  h.imageType = type;
  h.depth = depth;
  h.colourMapType = colourMapType;
  h.width = width;
  h.height = height;
  return HeaderBytes(h);
}

std::string Pixels(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += PixelBytes(PatternCell(i, 0, 2), 32);
  return out;
}

struct Malformed {
  const char* name;
  std::string bytes;
  const char* error;    // what standard error must say
  const char* boxText;  // the message box of a shipped picture, or null
};

std::vector<Malformed> MalformedFiles() {
  std::string runOverrun = Picture15(10, 32);
  for (int i = 0; i < 14; ++i) runOverrun += "\x8F" + PixelBytes(0xFF00FF00u, 32);  // 224 cells
  runOverrun += "\x81" + PixelBytes(0xFF00FF00u, 32);                                 // two more: one too many
  std::string rawOverrun = Picture15(10, 32) + "\x7F" + Pixels(128) + "\x7F" + Pixels(128);
  return {
      {"empty", "", "Unexpected end of file in the header", nullptr},
      {"truncated header", Picture15(2, 32).substr(0, 11), "Unexpected end of file in the header", nullptr},
      {"truncated pixels", Picture15(2, 32) + Pixels(224) + "\x01\x02", "Unexpected end of file at pixel 224\n",
       nullptr},
      {"no pixels", Picture15(2, 24), "Unexpected end of file at pixel 0\n", nullptr},
      {"truncated packet", Picture15(10, 32) + "\x8F" + PixelBytes(0, 32) + "\x05\x01",
       "Unexpected end of file at pixel 16\n", "Unexpected end of file."},
      {"truncated raw packet", Picture15(10, 32) + "\x03" + Pixels(2), "Unexpected end of file at pixel 2\n",
       "Unexpected end of file."},
      {"ID field past the end", [] {
         Header h;
         h.width = h.height = 15;
         h.idLength = 200;
         return HeaderBytes(h) + Pixels(20);
       }(),
       "Unexpected end of file at pixel 0\n", nullptr},
      {"run past the last pixel", runOverrun, "runs past the last pixel", nullptr},
      {"raw packet past the last pixel", rawOverrun, "runs past the last pixel", nullptr},
      {"wrong width", Picture15(2, 32, 0, 16, 15) + Pixels(16 * 15), "Image is 16 x 15, expected 15 x 15\n", nullptr},
      {"too few rows", Picture15(2, 32, 0, 15, 14) + Pixels(15 * 14), "Image is 15 x 14, expected 15 x 15\n", nullptr},
      {"negative size", Picture15(2, 32, 0, -15, -15) + Pixels(225), "Image is -15 x -15, expected 15 x 15\n",
       nullptr},
      {"bad type", Picture15(1, 32) + Pixels(225), "Can only handle image type 2 and 10\n", nullptr},
      {"bad depth", Picture15(2, 8) + Pixels(225), "Can only handle pixel depths of 16, 24, and 32\n", nullptr},
      {"bad colour-map type", Picture15(2, 32, 2) + Pixels(225), "Can only handle colour map types of 0 and 1\n",
       nullptr},
  };
}

using MalformedPictures = PictureFileTest;

// A painting that cannot be read is reported on standard error only; the grid keeps
// the child's painting and the caller hears false.
TEST_F(MalformedPictures, PaintingIsReportedAndLeavesTheGridAsItWas) {
  std::filesystem::create_directories(folder_ / "draw/small");
  for (const Malformed& file : MalformedFiles()) {
    tafutest::WriteFile(folder_ / "draw/small/4.tga", file.bytes);
    FillPattern(11);
    const CellGrid before = PictureBuffer;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Small, 4, 15, 15)) << file.name;
    const std::string error = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find(file.error), std::string::npos) << file.name << ": " << error;
    if (file.boxText) {
      EXPECT_NE(error.find(file.boxText), std::string::npos) << file.name << ": " << error;
    }
    EXPECT_EQ(PictureBuffer.cells, before.cells) << file.name;
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(MalformedPictures, MissingFolderLikeOrHugePaintingAndImpossibleRegionReturnFalse) {
  std::filesystem::create_directories(folder_.Path() / "draw/big/18.tga");
  tafutest::WriteFile(folder_ / "draw/big/19.tga", Picture15(2, 32, 0, 50, 40) + std::string(2 << 20, '\0'));
  FillPattern(12);
  const CellGrid before = PictureBuffer;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 17, 50, 40));
  EXPECT_FALSE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 18, 50, 40));
  EXPECT_FALSE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 19, 50, 40));
  EXPECT_FALSE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 17, 51, 40));
  EXPECT_FALSE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 17, 50, -1));
  const std::string error = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(error.find("draw\\big\\17.tga: Image could not be open for reading."), std::string::npos) << error;
  EXPECT_NE(error.find("draw\\big\\18.tga: Image could not be open for reading."), std::string::npos) << error;
  EXPECT_NE(error.find("Image file is too large"), std::string::npos) << error;
  EXPECT_NE(error.find("does not fit the grid"), std::string::npos) << error;
  EXPECT_EQ(PictureBuffer.cells, before.cells);
  EXPECT_TRUE(messages_.Messages().empty());
}

// Message boxes of the dying child process go to standard error, where the death
// test can see them.
void PrintBox(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "BOX[%s|%s]\n", caption.c_str(), text.c_str());
}

using MalformedGamePictureDeathTest = PictureFileTest;

std::string EscapeRegex(const std::string& text) {
  std::string out;
  for (char ch : text) {
    if (std::string("\\^$.|?*+()[]{}").find(ch) != std::string::npos) out.push_back('\\');
    out.push_back(ch);
  }
  return out;
}

TEST_F(MalformedGamePictureDeathTest, ShippedPictureThatCannotBeReadEndsTheGame) {
  for (const Malformed& file : MalformedFiles()) {
    WriteGameFile("game\\small\\2.tga", file.bytes);
    std::string expected = EscapeRegex(file.error);
    if (file.boxText) expected = EscapeRegex(std::string("BOX[game\\small\\2.tga|") + file.boxText + "]") + ".*" + expected;
    EXPECT_EXIT(
        {
          SetMessageHandler(PrintBox);
          ReadPictureFile(PictureKind::Game, CanvasSize::Small, 2, 15, 15);
        },
        ::testing::ExitedWithCode(255), expected)
        << file.name;
  }
  EXPECT_EXIT(
      {
        SetMessageHandler(PrintBox);
        ReadPictureFile(PictureKind::Game, CanvasSize::Big, 9, 50, 40);
      },
      ::testing::ExitedWithCode(255), EscapeRegex("BOX[game\\big\\9.tga|Image could not be open for reading.]"));
}

}  // namespace
