#include "puzzles/CopyRules.h"

#include "board/CellColours.h"
#include "board/PictureBuffer.h"

namespace {

constexpr uint32_t kColourMask = 0x00FFFFFFu;

uint32_t WithAlpha(uint32_t value, uint32_t alpha) { return (value & kColourMask) | alpha << 24; }

int32_t GivenRowsBand(Difficulty difficulty) {
  if (difficulty == kEasy) return kGivenRowsEasyBand;
  if (difficulty == kMedium) return kGivenRowsMediumBand;
  return 0;
}

}  // namespace

void MakeColouringTemplate(CopyBoard& board, Difficulty difficulty) {
  for (int32_t x = 0; x < kCopySide; ++x) {
    for (int32_t y = 0; y < kCopySide; ++y) {
      const uint32_t cell = PictureBuffer.At(x, y);
      if (difficulty == kEasy)
        board.At(x, y) = ColourLift(cell, kVeryPaleLift);
      else if (difficulty == kMedium)
        board.At(x, y) = ColourLift(cell, kPaleLift);
      else
        board.At(x, y) = WithAlpha(ColourGrey(cell), kUncolouredMark);
    }
  }
}

bool IsGivenRow(int32_t y, Difficulty difficulty) {
  const int32_t band = GivenRowsBand(difficulty);
  return band > 0 && y % band < kGivenRowsInBand;
}

void CopyGivenRows(CopyBoard& board, Difficulty difficulty) {
  for (int32_t y = 0; y < kCopySide; ++y) {
    if (!IsGivenRow(y, difficulty)) continue;
    for (int32_t x = 0; x < kCopySide; ++x) board.At(x, y) = PictureBuffer.At(x, y);
  }
}
