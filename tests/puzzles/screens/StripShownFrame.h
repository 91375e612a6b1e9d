// Reading back what the window shows: the strip puzzles' cells and the test button's face in
// the frame the X server has, recognised by their colours.
#pragma once

#include <cstdint>
#include <utility>

#include "FrameCapture.h"

namespace puzzletest {

constexpr int32_t kCell = 10;
constexpr int32_t kSwapLeft = 170;
constexpr int32_t kSlideLeft = 168;
constexpr int32_t kBoardTop = 41;

// Every cell of a test picture has a colour of its own: red tells the column, green the
// strip, blue the row within the strip (and the picture number).
inline uint32_t TestCell(int32_t column, int32_t row, int32_t picture = 1) {
  const uint32_t red = 40 + 4 * static_cast<uint32_t>(column);
  const uint32_t green = 20 + 60 * static_cast<uint32_t>(row / 10);
  const uint32_t blue = 30 + 20 * static_cast<uint32_t>(row % 10) + static_cast<uint32_t>(picture - 1);
  return 0xFF000000u | blue << 16 | green << 8 | red;
}

struct CellName {
  int32_t column = -1;
  int32_t strip = -1;
  int32_t row = -1;  // within the strip
};

// Which test cell a colour shows (colour bytes only); -1 fields when it is none.
inline CellName NameCell(uint32_t colour) {
  const int32_t red = static_cast<int32_t>(colour & 0xFF);
  const int32_t green = static_cast<int32_t>((colour >> 8) & 0xFF);
  const int32_t blue = static_cast<int32_t>((colour >> 16) & 0xFF);
  CellName name;
  if ((red - 40) % 4 == 0 && red >= 40 && red < 240) name.column = (red - 40) / 4;
  if ((green - 20) % 60 == 0 && green >= 20 && green <= 200) name.strip = (green - 20) / 60;
  if (blue >= 30 && (blue - 30) % 20 <= 1 && blue < 232) name.row = (blue - 30) / 20;
  return name;
}

// Pixel (i, j) of a bevelled 10-pixel cell of colour v (colour bytes): a light edge along
// the top and the right, a dark one along the left and the bottom.
inline uint32_t BevelPixel(uint32_t v, int32_t i, int32_t j) {
  const auto scale = [v](bool brighten) {
    uint32_t out = 0;
    for (int32_t shift : {0, 8, 16}) {
      const double value = (v >> shift) & 0xFF;
      const double channel = brighten ? value * 1.3 : value / 1.3;
      out |= static_cast<uint32_t>(channel > 255 ? 255 : channel) << shift;
    }
    return out;
  };
  if (j >= kCell - 1 || i == 0) return scale(false);
  if (i == kCell - 1 || j == 0) return scale(true);
  return v & 0x00FFFFFFu;
}

// The frame the window shows, with the board's cells named.
class ShownFrame : public tafutest::ShownFrame {
 public:
  ShownFrame() = default;
  static ShownFrame Read() { return ShownFrame(tafutest::ShownFrame::Read()); }
  // The inside of the board cell whose top-left corner is at (x, y).
  CellName CellAt(int32_t x, int32_t y) const { return NameCell(Pixel(x + kCell / 2, y + kCell / 2)); }
  // Every pixel of the cell whose top-left corner is at (x, y) is that of a bevelled
  // cell of colour v.
  bool ShowsCell(int32_t x, int32_t y, uint32_t v) const {
    for (int32_t j = 0; j < kCell; ++j)
      for (int32_t i = 0; i < kCell; ++i)
        if (Pixel(x + i, y + j) != BevelPixel(v, i, j)) return false;
    return true;
  }

 private:
  explicit ShownFrame(tafutest::ShownFrame frame) : tafutest::ShownFrame(std::move(frame)) {}
};

enum class ButtonFace { Test, Right, Wrong, Unknown };

// The test button's face by its ring's colour: blue, green or orange.
inline ButtonFace TestButtonFace(const ShownFrame& frame) {
  int32_t red = 0, green = 0, blue = 0;
  for (int32_t y = 500; y < 550; y += 5)
    for (int32_t x = 680; x < 735; x += 5) {
      const uint32_t pixel = frame.Pixel(x, y);
      red += static_cast<int32_t>(pixel & 0xFF);
      green += static_cast<int32_t>((pixel >> 8) & 0xFF);
      blue += static_cast<int32_t>((pixel >> 16) & 0xFF);
    }
  if (blue > red && blue > green) return ButtonFace::Test;
  if (green > red && green > blue) return ButtonFace::Right;
  if (red > green && red > blue) return ButtonFace::Wrong;
  return ButtonFace::Unknown;
}

}  // namespace puzzletest
