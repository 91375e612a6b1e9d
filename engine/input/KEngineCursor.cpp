// The pointer picture the window can draw itself at the end of a frame.
#include <memory>
#include <vector>

#include "KControls.h"
#include "graphic/KGraphic.h"

namespace {

// The built-in arrow: W opaque white, B opaque black, . clear.
constexpr int32_t kArrowSize = 16;
constexpr const char* kArrowRows[kArrowSize] = {
    "WW..............", "WBW.............", "WBBW............", "WBBBW...........",
    "WBBBBW..........", "WBBBBBW.........", "WBBBBBBW........", "WBBBBBBBW.......",
    "WBBBBBBBBW......", "WBBBBBBBW.......", "WBBBBBWW........", "WBBBBBW.........",
    "WBBWBW..........", "WBW.W...........", "WW..............", "................",
};
// Whatever the picture's size, this much of its top-left corner is drawn.
constexpr float kEngineCursorSize = 16;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr uint32_t kClear = 0x00000000;

const std::vector<uint32_t>& BuiltInArrow() {
  static const std::vector<uint32_t> pixels = [] {
    std::vector<uint32_t> arrow;
    arrow.reserve(kArrowSize * kArrowSize);
    for (const char* row : kArrowRows)
      for (int x = 0; x < kArrowSize; ++x)
        arrow.push_back(row[x] == 'W' ? kOpaqueWhite : row[x] == 'B' ? kOpaqueBlack : kClear);
    return arrow;
  }();
  return pixels;
}

// What the engine cursor shows: a copy of the image given last.
struct CursorSource {
  int32_t width = kArrowSize;
  int32_t height = kArrowSize;
  std::vector<uint32_t> pixels = BuiltInArrow();
};

CursorSource cursorSource;

std::unique_ptr<KGraphic> cursorPicture;

}  // namespace

KCursorImage GetBuiltInCursor() { return {kArrowSize, kArrowSize, BuiltInArrow().data()}; }

void SetCursorImage(const KCursorImage& image) {
  if (!image.pixels || image.width <= 0 || image.height <= 0) return;
  FreeEngineCursor();
  cursorSource.width = image.width;
  cursorSource.height = image.height;
  cursorSource.pixels.assign(image.pixels, image.pixels + static_cast<size_t>(image.width) * image.height);
}

void DrawEngineCursor() {
  if (!cursorPicture) {
    cursorPicture = CreateGraphic();
    if (!cursorPicture) return;
    cursorPicture->CreateFromPixels(cursorSource.pixels.data(), cursorSource.width, cursorSource.height, false);
  }
  cursorPicture->BlitAlpha(0, 0, kEngineCursorSize, kEngineCursorSize, GetMouseX(), GetMouseY(), false, false);
}

void FreeEngineCursor() { cursorPicture.reset(); }
