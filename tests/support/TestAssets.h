// Small picture and sound files that tests write into a temporary program folder.
#pragma once

#include <stb_image_write.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tafutest {

// A w x h picture, rows top first, pixels 0xAABBGGRR; all clear unless set.
struct TestPicture {
  int32_t width;
  int32_t height;
  std::vector<uint32_t> pixels;

  TestPicture(int32_t w, int32_t h, uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  void Set(int32_t x, int32_t y, uint32_t colour) { pixels[static_cast<size_t>(y) * width + x] = colour; }
};

inline void WritePng(const std::string& path, const TestPicture& picture) {
  stbi_write_png(path.c_str(), picture.width, picture.height, 4, picture.pixels.data(), picture.width * 4);
}

// A picture file as the game writes its paintings: the 18-byte header, then each cell as
// blue, green, red and alpha, the top row first; cellAt(column, row) gives the cells.
template <typename CellAt>
std::string GamePictureBytes(int32_t columns, int32_t rows, CellAt cellAt) {
  std::string bytes(18, '\0');
  bytes[2] = 2;
  bytes[12] = static_cast<char>(columns);
  bytes[14] = static_cast<char>(rows);
  bytes[16] = 32;
  for (int32_t row = 0; row < rows; ++row) {
    for (int32_t column = 0; column < columns; ++column) {
      const uint32_t cell = cellAt(column, row);
      for (const int shift : {16, 8, 0, 24}) bytes.push_back(static_cast<char>((cell >> shift) & 0xFF));
    }
  }
  return bytes;
}

// The test's own puzzle pictures in the program folder, one big (50 x 40) and one small
// (15 x 15) with their cells from bigCell and smallCell, and a setup.ini that counts one of
// each and shows no frame counter.
template <typename BigCell, typename SmallCell>
void WritePuzzlePictures(const TempFolder& folder, BigCell bigCell, SmallCell smallCell) {
  for (const char* size : {"big", "small"}) std::filesystem::create_directories(folder.Path() / "game" / size);
  WriteFile(folder / "game/big/1.tga", GamePictureBytes(50, 40, bigCell));
  WriteFile(folder / "game/small/1.tga", GamePictureBytes(15, 15, smallCell));
  WriteFile(folder / "setup.ini", "[DEBUG]\r\nSHOWFPS=0\r\n[BIG_IMAGES]\r\nCOUNT=1\r\n[SMALL_IMAGES]\r\nCOUNT=1\r\n");
}

// A mono 16-bit PCM wave of a soft tone lasting ms milliseconds.
inline void WriteWave(const std::string& path, uint32_t ms, uint32_t rate = 22050) {
  const uint32_t samples = rate * ms / 1000;
  const uint32_t dataBytes = samples * 2;
  std::string bytes;
  const auto u32 = [&bytes](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(v >> (8 * i)));
  };
  const auto u16 = [&bytes](uint16_t v) {
    bytes.push_back(static_cast<char>(v));
    bytes.push_back(static_cast<char>(v >> 8));
  };
  bytes += "RIFF";
  u32(36 + dataBytes);
  bytes += "WAVEfmt ";
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  bytes += "data";
  u32(dataBytes);
  for (uint32_t i = 0; i < samples; ++i)
    u16(static_cast<uint16_t>(static_cast<int16_t>(4000 * std::sin(i * 2 * M_PI * 440 / rate))));
  WriteFile(path, bytes);
}

}  // namespace tafutest
