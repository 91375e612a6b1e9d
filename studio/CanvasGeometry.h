// Where a studio's canvas lies on screen and how it is drawn: the big canvas of 50 x 40
// cells of 10 pixels, or the small one of 15 x 15 cells of 15 pixels. The canvas is the
// top-left columns x rows region of PictureBuffer; the studio and its gallery show it in
// the same place.
#pragma once

#include <cstdint>
#include <optional>

#include "board/BoardPicture.h"
#include "board/PictureTypes.h"

struct CanvasGeometry {
  CanvasSize size;
  int32_t columns;
  int32_t rows;
  int32_t cellSize;
  int32_t left;
  int32_t top;
  const char* studioBackground;
  const char* galleryBackground;
};

const CanvasGeometry& GetCanvasGeometry(CanvasSize size);

struct CanvasCell {
  int32_t column = 0;
  int32_t row = 0;
  bool operator==(const CanvasCell&) const = default;
};

// The cell under the pointer when it is strictly inside the canvas: for the big canvas
// 168 < x < 668 and 40 < y < 440.
std::optional<CanvasCell> CanvasCellAt(const CanvasGeometry& canvas, int32_t x, int32_t y);

// The canvas on screen: every cell a bevelled tile cellSize + 1 pixels wide and cellSize
// high, cellSize pixels apart, so that each cell's last column is covered by its right
// neighbour and shows only right of the last column.
class CanvasView {
 public:
  // False when the picture cannot be made (the canvas then draws nothing).
  bool Create(const CanvasGeometry& canvas);
  // Shows the canvas region of PictureBuffer as it is now, opaque.
  void Draw();

 private:
  const CanvasGeometry* canvas_ = nullptr;
  BoardPicture board_;
};
