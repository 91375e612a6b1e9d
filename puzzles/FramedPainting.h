// A painting drawn from its cells in a small wooden frame, as the gallery hangs paintings,
// with its painter's animal in the corner: the picture of the button that starts a puzzle
// on the players' paintings.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphic/KGraphic.h"
#include "puzzles/PuzzlePictures.h"

constexpr int32_t kFramedPaintingWidth = 170;
constexpr int32_t kFramedPaintingHeight = 140;

class FramedPainting {
 public:
  // Frames the first of paintings that can be read; false when none can, or when the
  // picture cannot be made. Needs the window open; PictureBuffer is left as it was.
  bool Create(const std::vector<OwnPainting>& paintings, CanvasSize size);
  KGraphic* Picture() const { return picture_.get(); }

 private:
  std::vector<uint32_t> pixels_;
  std::unique_ptr<KGraphic> picture_;
};
