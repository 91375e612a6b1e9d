#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PictureFileFixture.h"
#include "services/KPaths.h"
#include "board/PictureFiles.h"

using namespace picturetest;

namespace {

using PictureFiles = PictureFileTest;

uint8_t Byte(const std::string& bytes, size_t at) { return static_cast<uint8_t>(bytes.at(at)); }

// The four bytes a saved painting holds for cell (c, r) of a columns-wide picture.
std::string SavedPixel(const std::string& file, int columns, int c, int r) {
  return file.substr(18 + 4 * static_cast<size_t>(r * columns + c), 4);
}

TEST_F(PictureFiles, SmallPaintingSavesInTheFileLayoutAndReadsBack) {
  ClearPictureBuffer();
  PictureBuffer.At(3, 0) = 0xFF0000FFu;
  PictureBuffer.At(14, 14) = 0xFF123456u;
  PictureBuffer.At(0, 14) = kBlack;
  PictureBuffer.At(20, 20) = 0xFF00FF00u;  // outside the small canvas

  ASSERT_TRUE(SavePainting(CanvasSize::Small, 15, 15));
  const std::string file = tafutest::ReadFile(folder_ / "draw/small/1.tga");
  ASSERT_EQ(file.size(), 918u);
  EXPECT_EQ(file.substr(0, 12), std::string("\0\0\x02\0\0\0\0\0\0\0\0\0", 12));
  EXPECT_EQ(file.substr(12, 4), std::string("\x0F\0\x0F\0", 4));
  EXPECT_EQ(Byte(file, 16), 32);
  EXPECT_EQ(Byte(file, 17), 0);
  EXPECT_EQ(SavedPixel(file, 15, 0, 0), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(SavedPixel(file, 15, 3, 0), std::string("\0\0\xFF\xFF", 4));
  EXPECT_EQ(SavedPixel(file, 15, 14, 14), "\x12\x34\x56\xFF");
  EXPECT_EQ(SavedPixel(file, 15, 0, 14), std::string("\0\0\0\xFF", 4));
  EXPECT_TRUE(messages_.Messages().empty());

  const CellGrid saved = PictureBuffer;
  FillPattern(1);
  const CellGrid before = PictureBuffer;
  ASSERT_TRUE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Small, 1, 15, 15));
  for (int c = 0; c < kGridColumns; ++c) {
    for (int r = 0; r < kGridRows; ++r) {
      const bool inside = c < 15 && r < 15;
      ASSERT_EQ(PictureBuffer.At(c, r), inside ? saved.At(c, r) : before.At(c, r)) << c << "," << r;
    }
  }
}

TEST_F(PictureFiles, BigPaintingsSaveUnderRisingNumbersAndReadBackCellForCell) {
  FillPattern(7);
  const CellGrid first = PictureBuffer;
  ASSERT_TRUE(SavePainting(CanvasSize::Big, 50, 40));
  FillPattern(8);
  ASSERT_TRUE(SavePainting(CanvasSize::Big, 50, 40));

  const std::string file = tafutest::ReadFile(folder_ / "draw/big/1.tga");
  ASSERT_EQ(file.size(), 18u + 4u * 50u * 40u);
  EXPECT_EQ(file.substr(12, 4), std::string("\x32\0\x28\0", 4));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "draw/big/2.tga"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "draw/big/saving.tmp"));

  ClearPictureBuffer();
  ASSERT_TRUE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 1, 50, 40));
  EXPECT_EQ(PictureBuffer.cells, first.cells);
}

TEST_F(PictureFiles, PaintingsLiveInThePlayersFolderWhenItIsNotTheProgramFolder) {
  tafutest::TempFolder player;
  SetUserFolder(player.Path().string());
  FillPattern(3);
  const CellGrid painted = PictureBuffer;
  const bool saved = SavePainting(CanvasSize::Big, 50, 40);
  const bool listed = NextPaintingNumber(CanvasSize::Big) == 2 && FindNextPainting(CanvasSize::Big, 0) == 1;
  FillPattern(4);
  const bool read = ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 1, 50, 40);
  const CellGrid reread = PictureBuffer;
  DeletePainting(CanvasSize::Big, 1);
  const bool deleted = !std::filesystem::exists(player / "draw/big/1.tga");
  SetUserFolder("");

  EXPECT_TRUE(saved);
  EXPECT_TRUE(listed);
  EXPECT_TRUE(read);
  EXPECT_EQ(reread.cells, painted.cells);
  EXPECT_TRUE(deleted);
  EXPECT_TRUE(std::filesystem::is_directory(player / "draw/big"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "draw"));
}

TEST_F(PictureFiles, SaveThatCannotCreateItsFileReportsFailureAndKeepsGoing) {
  std::filesystem::create_directories(folder_ / "draw");
  tafutest::WriteFile(folder_ / "draw/small", "not a folder");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(SavePainting(CanvasSize::Small, 15, 15));
  const std::string error = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(error.find("Failed to open outputfile"), std::string::npos) << error;
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].caption, "draw\\small\\1.tga");
  EXPECT_EQ(messages_.Messages()[0].text, "Image could not be open for writing.");
}

TEST_F(PictureFiles, SaveIgnoresAnAbandonedTemporaryFileAndLeavesNoneOfItsOwn) {
  std::filesystem::create_directories(folder_ / "draw/small");
  tafutest::WriteFile(folder_ / "draw/small/3.tga", "existing painting");
  tafutest::WriteFile(folder_ / "draw/small/saving.tmp", "half a painting from a crash");
  ClearPictureBuffer();
  ASSERT_TRUE(SavePainting(CanvasSize::Small, 15, 15));
  EXPECT_EQ(tafutest::ReadFile(folder_ / "draw/small/3.tga"), "existing painting");
  EXPECT_EQ(tafutest::ReadFile(folder_ / "draw/small/4.tga").size(), 918u);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_ / "draw/small")) ++files;
  EXPECT_EQ(files, 3u);
}

TEST_F(PictureFiles, SaveRejectsARegionLargerThanTheGrid) {
  EXPECT_FALSE(SavePainting(CanvasSize::Big, 51, 40));
  EXPECT_FALSE(SavePainting(CanvasSize::Big, 50, 0));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "draw/big/1.tga"));
}

// A one-row picture of six cells read through the game path "game\small\1.tga".
class PixelDecoding : public PictureFileTest {
 protected:
  void Read(const std::string& bytes, int columns = 6, int rows = 1) {
    WriteGameFile("game\\small\\1.tga", bytes);
    ClearPictureBuffer();
    ASSERT_TRUE(ReadPictureFile(PictureKind::Game, CanvasSize::Small, 1, columns, rows));
  }
  std::string Header6(uint8_t type, uint8_t depth) {
    Header h;
    h.imageType = type;
    h.depth = depth;
    h.width = 6;
    h.height = 1;
    return HeaderBytes(h);
  }
};

TEST_F(PixelDecoding, RunPacketRepeatsItsPixelAndRawPacketTakesLiteralPixels) {
  Read(Header6(10, 32) + "\x85" + PixelBytes(0xFF112233u, 32));
  for (int c = 0; c < 6; ++c) EXPECT_EQ(PictureBuffer.At(c, 0), 0xFF112233u) << c;
  EXPECT_EQ(PictureBuffer.At(6, 0), kWhite);

  std::string raw = Header6(10, 24) + "\x05";
  for (int c = 0; c < 6; ++c) raw += PixelBytes(PatternCell(c, 0, 3), 24);
  Read(raw);
  for (int c = 0; c < 6; ++c) EXPECT_EQ(PictureBuffer.At(c, 0), PatternCell(c, 0, 3)) << c;
}

TEST_F(PixelDecoding, MixedPacketsFillRowsInFileOrder) {
  // Two rows of three: a run of four crosses the end of the first row.
  Header h;
  h.imageType = 10;
  h.depth = 24;
  h.width = 3;
  h.height = 2;
  Read(HeaderBytes(h) + "\x83" + PixelBytes(0xFF0000AAu, 24) + "\x01" + PixelBytes(0xFF00BB00u, 24) +
           PixelBytes(0xFFCC0000u, 24),
       3, 2);
  EXPECT_EQ(PictureBuffer.At(0, 0), 0xFF0000AAu);
  EXPECT_EQ(PictureBuffer.At(2, 0), 0xFF0000AAu);
  EXPECT_EQ(PictureBuffer.At(0, 1), 0xFF0000AAu);
  EXPECT_EQ(PictureBuffer.At(1, 1), 0xFF00BB00u);
  EXPECT_EQ(PictureBuffer.At(2, 1), 0xFFCC0000u);
}

TEST_F(PixelDecoding, SixteenBitPixelsKeepFiveBitsPerChannel) {
  // FF 7F is white; 00 7C pure red, E0 03 pure green, 1F 00 pure blue.
  Read(Header6(2, 16) + std::string("\xFF\x7F\x00\x7C\xE0\x03\x1F\x00\x21\x04\x00\x00", 12));
  EXPECT_EQ(PictureBuffer.At(0, 0), 0xFFF8F8F8u);
  EXPECT_EQ(PictureBuffer.At(1, 0), 0xFF0000F8u);
  EXPECT_EQ(PictureBuffer.At(2, 0), 0xFF00F800u);
  EXPECT_EQ(PictureBuffer.At(3, 0), 0xFFF80000u);
  EXPECT_EQ(PictureBuffer.At(4, 0), 0xFF080808u);
  EXPECT_EQ(PictureBuffer.At(5, 0), kBlack);
}

TEST_F(PixelDecoding, IdFieldAndColourMapAreSkippedWhateverTheDescriptorSays) {
  for (uint8_t type : {uint8_t{2}, uint8_t{10}}) {
    Header h;
    h.imageType = type;
    h.depth = 32;
    h.width = 6;
    h.height = 1;
    h.idLength = 5;
    h.colourMapType = 1;
    h.colourMapLength = 3;
    h.colourMapBits = 15;  // two bytes per entry
    h.descriptor = 0x28;
    std::string bytes = HeaderBytes(h) + "ident" + std::string(6, '\x99');
    if (type == 10) bytes += "\x05";
    for (int c = 0; c < 6; ++c) bytes += PixelBytes(PatternCell(c, 0, 9), 32);
    Read(bytes);
    for (int c = 0; c < 6; ++c) EXPECT_EQ(PictureBuffer.At(c, 0), PatternCell(c, 0, 9)) << int(type) << " " << c;
  }
}

// Pictures written by ImageMagick from a plain pixel map read as the same cells.
TEST_F(PictureFiles, PicturesWrittenByImageMagickReadAsTheSameCells) {
  const uint32_t palette[4] = {0xFF0000FFu, 0xFF20C040u, 0xFFFFFFFFu, 0xFF803010u};
  std::string ppm = "P6\n15 15\n255\n";
  uint32_t expected[15][15];
  for (int r = 0; r < 15; ++r) {
    for (int c = 0; c < 15; ++c) {
      // Runs of one colour and single cells, so both packet kinds are written.
      const uint32_t cell = c < 6 ? palette[r % 4] : (c % 2 ? PatternCell(c, r, 5) : palette[(c + r) % 4]);
      expected[r][c] = cell;
      ppm.push_back(static_cast<char>(cell & 0xFF));
      ppm.push_back(static_cast<char>((cell >> 8) & 0xFF));
      ppm.push_back(static_cast<char>((cell >> 16) & 0xFF));
    }
  }
  std::filesystem::create_directories(folder_ / "game/small");
  tafutest::WriteFile(folder_ / "source.ppm", ppm);
  const std::string variants[4][3] = {{"1", "TrueColor", "None"},
                                      {"2", "TrueColor", "RLE"},
                                      {"3", "TrueColorAlpha", "None"},
                                      {"4", "TrueColorAlpha", "RLE"}};
  for (const auto& variant : variants) {
    const std::string target = folder_ / ("game/small/" + variant[0] + ".tga");
    const std::string command = "convert '" + (folder_ / "source.ppm") + "' -type " + variant[1] + " -compress " +
                                variant[2] + " 'tga:" + target + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string file = tafutest::ReadFile(target);
    ASSERT_GE(file.size(), 18u);
    EXPECT_EQ(Byte(file, 2), variant[2] == "RLE" ? 10 : 2) << variant[0];
    EXPECT_EQ(Byte(file, 16), variant[1] == "TrueColor" ? 24 : 32) << variant[0];

    ClearPictureBuffer();
    ASSERT_TRUE(ReadPictureFile(PictureKind::Game, CanvasSize::Small, std::stoi(variant[0]), 15, 15));
    for (int r = 0; r < 15; ++r)
      for (int c = 0; c < 15; ++c) ASSERT_EQ(PictureBuffer.At(c, r), expected[r][c]) << variant[0] << " " << c << "," << r;
  }
}

}  // namespace
