// Where the child clicks in the painting studios and their galleries, in window pixels.
#pragma once

#include <cstdint>

#include "TestSupport.h"

namespace tafutest {

// The buttons' centres, and for Save and Next their first pixel inside the top-left corner.
constexpr Point kStudioExit = {61, 534};
constexpr Point kPickerButton = {757, 80};
constexpr Point kPenButton = {756, 225};
constexpr Point kEraserButton = {758, 361};
constexpr Point kBucketButton = {757, 495};
constexpr Point kSaveButton = {333, 493};  // the button at (332, 492)
constexpr Point kSaveMiddle = {392, 536};
constexpr Point kLoadButton = {247, 530};
constexpr Point kGalleryPrevious = {220, 535};
constexpr Point kGalleryNext = {283, 506};  // the button at (282, 505)
constexpr Point kGalleryTake = {476, 528};
constexpr Point kGalleryDelete = {606, 529};
constexpr Point kGalleryExit = {61, 534};
constexpr Point kUndoButton = {528, 536};
constexpr Point kRedoButton = {642, 536};

// The centre of the palette swatch in column c, row r, and of cell (c, r) of the big canvas.
constexpr Point PaletteSwatch(int32_t column, int32_t row) { return {11 + 15 * column + 7, 39 + 15 * row + 7}; }
constexpr Point BigCanvasCell(int32_t column, int32_t row) { return {168 + 10 * column + 5, 40 + 10 * row + 5}; }
constexpr Point SmallCanvasCell(int32_t column, int32_t row) { return {307 + 15 * column + 7, 119 + 15 * row + 7}; }

// The red palette entry in column 4, row 3, and the first swatch (column 0, row 0), with the
// colours they show (0xBBGGRR).
constexpr Point kRedSwatch = PaletteSwatch(4, 3);
constexpr uint32_t kRed = 0x2F2BEF;
constexpr Point kFirstSwatch = PaletteSwatch(0, 0);
constexpr uint32_t kFirstSwatchColour = 0xD1F9FE;

// A stroke along one row of the big canvas, from one column to another.
constexpr int32_t kStrokeRow = 5;
constexpr int32_t kStrokeFirst = 5;
constexpr int32_t kStrokeLast = 20;

}  // namespace tafutest
