// A program folder of its own for each picture-file test, and TGA files made by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GameState.h"
#include "TestSupport.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"

namespace picturetest {

// Fields of an 18-byte TGA header.
struct Header {
  uint8_t idLength = 0;
  uint8_t colourMapType = 0;
  uint8_t imageType = 2;
  uint16_t colourMapLength = 0;
  uint8_t colourMapBits = 0;
  int16_t width = 0;
  int16_t height = 0;
  uint8_t depth = 32;
  uint8_t descriptor = 0;
};

inline std::string HeaderBytes(const Header& h) {
  std::string out(18, '\0');
  out[0] = static_cast<char>(h.idLength);
  out[1] = static_cast<char>(h.colourMapType);
  out[2] = static_cast<char>(h.imageType);
  out[5] = static_cast<char>(h.colourMapLength & 0xFF);
  out[6] = static_cast<char>(h.colourMapLength >> 8);
  out[7] = static_cast<char>(h.colourMapBits);
  out[12] = static_cast<char>(h.width & 0xFF);
  out[13] = static_cast<char>((h.width >> 8) & 0xFF);
  out[14] = static_cast<char>(h.height & 0xFF);
  out[15] = static_cast<char>((h.height >> 8) & 0xFF);
  out[16] = static_cast<char>(h.depth);
  out[17] = static_cast<char>(h.descriptor);
  return out;
}

// A cell value as the bytes of one pixel of the given depth (24 or 32).
inline std::string PixelBytes(uint32_t cell, int depth) {
  std::string out;
  out.push_back(static_cast<char>((cell >> 16) & 0xFF));
  out.push_back(static_cast<char>((cell >> 8) & 0xFF));
  out.push_back(static_cast<char>(cell & 0xFF));
  if (depth == 32) out.push_back(static_cast<char>(0x7F));
  return out;
}

// A fixed pattern of opaque cells, different for every cell and seed.
inline uint32_t PatternCell(int column, int row, uint32_t seed) {
  uint32_t x = static_cast<uint32_t>(column * 7919 + row * 104729) ^ (seed * 2654435761u);
  x ^= x >> 13;
  x *= 0x5bd1e995u;
  x ^= x >> 15;
  return kOpaque | (x & 0x00FFFFFFu);
}

inline void FillPattern(uint32_t seed) {
  for (int c = 0; c < kGridColumns; ++c)
    for (int r = 0; r < kGridRows; ++r) PictureBuffer.At(c, r) = PatternCell(c, r, seed);
}

class PictureFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetModuleFolder(folder_.Path().string()); }
  void TearDown() override { tafutest::ResetGameState(); }

  // Writes bytes as a game file name such as "game\small\1.tga", making its folder.
  void WriteGameFile(const std::string& name, const std::string& bytes) {
    const std::string path = MakePath(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    tafutest::WriteFile(path, bytes);
  }

  tafutest::TempFolder folder_;
  tafutest::MessageCapture messages_;
};

}  // namespace picturetest
