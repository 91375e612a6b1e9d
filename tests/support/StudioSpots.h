// Where a child clicks to paint on the big canvas, save, and look at the paintings again in
// the gallery, in pixels of the game's 800 x 600 world; what those places show.
#pragma once

#include <cstdint>

namespace tafutest::studio {

struct Spot {
  int32_t x;
  int32_t y;
};

// Centres of what the child clicks.
constexpr Spot kMenuPaint = {218, 275};
constexpr Spot kBigCanvas = {291, 300};
constexpr Spot kSave = {392, 536};
constexpr Spot kLoad = {247, 530};
constexpr Spot kTake = {476, 528};
constexpr Spot kExit = {61, 534};
// The gallery's Delete button: 67 x 102 at (573, 478).
constexpr Spot kGalleryDelete = {573 + 67 / 2, 478 + 102 / 2};
// The red palette entry in column 4, row 3, and the first swatch (column 0, row 0).
constexpr Spot kRedSwatch = {11 + 15 * 4 + 7, 39 + 15 * 3 + 7};
constexpr uint32_t kRed = 0x2F2BEF;
constexpr Spot kFirstSwatch = {18, 46};
constexpr uint32_t kFirstSwatchColour = 0xD1F9FE;
// A point of open sky in the menu.
constexpr Spot kMenuSky = {200, 200};

// A stroke along one row of the big canvas, from one column to another.
constexpr int32_t kStrokeRow = 5;
constexpr int32_t kStrokeFirst = 5;
constexpr int32_t kStrokeLast = 20;

// The centre of the big canvas's cell (column, row): 10-pixel cells from (168, 40).
constexpr Spot BigCell(int32_t column, int32_t row) { return {168 + 10 * column + 5, 40 + 10 * row + 5}; }

}  // namespace tafutest::studio
