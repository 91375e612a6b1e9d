#include "studio/CanvasGeometry.h"

#include "board/PictureBuffer.h"

namespace {

constexpr CanvasGeometry kBigCanvas = {
    CanvasSize::Big, kBigCanvasColumns, kBigCanvasRows, 10, 168, 40, "img\\bg\\draw.png", "img\\bg\\draw_load.png",
};
constexpr CanvasGeometry kSmallCanvas = {
    CanvasSize::Small, kSmallCanvasColumns, kSmallCanvasRows, 15, 307, 119, "img\\bg\\smalldraw.png", "img\\bg\\smalldraw_load.png",
};

}  // namespace

const CanvasGeometry& GetCanvasGeometry(CanvasSize size) {
  return size == CanvasSize::Big ? kBigCanvas : kSmallCanvas;
}

std::optional<CanvasCell> CanvasCellAt(const CanvasGeometry& canvas, int32_t x, int32_t y) {
  const int32_t right = canvas.left + canvas.columns * canvas.cellSize;
  const int32_t bottom = canvas.top + canvas.rows * canvas.cellSize;
  if (x <= canvas.left || x >= right || y <= canvas.top || y >= bottom) return std::nullopt;
  return CanvasCell{(x - canvas.left) / canvas.cellSize, (y - canvas.top) / canvas.cellSize};
}

bool CanvasView::Create(const CanvasGeometry& canvas) {
  canvas_ = &canvas;
  return board_.Create(canvas.columns, canvas.rows, canvas.cellSize, canvas.cellSize + 1);
}

void CanvasView::Draw() {
  if (!canvas_) return;
  board_.ShowGrid(PictureBuffer);
  board_.DrawOpaque(static_cast<int16_t>(canvas_->left), static_cast<int16_t>(canvas_->top));
}
