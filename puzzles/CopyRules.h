// The rules of the two copy games: the board a round starts from, made from the small
// picture in PictureBuffer.
#pragma once

#include <cstdint>

#include "app/ScreenCodes.h"
#include "board/CopyBoard.h"

// Copy colours: how much the pale templates of the easy and medium rounds are lifted.
constexpr double kVeryPaleLift = 170;
constexpr double kPaleLift = 100;

// Copy drawing: the rows given at the easy and medium difficulties are those with
// y mod k below kGivenRowsInBand.
constexpr int32_t kGivenRowsEasyBand = 4;
constexpr int32_t kGivenRowsMediumBand = 6;
constexpr int32_t kGivenRowsInBand = 3;

// Copy colours: the uncoloured copy of the picture in PictureBuffer a round starts
// from: lifted by 170 (easy) or 100 (medium), or grey and marked uncoloured (hard).
void MakeColouringTemplate(CopyBoard& board, Difficulty difficulty);

// Copy drawing: whether row y is given at that difficulty, and the board a round
// starts from: the given rows copied from the picture in PictureBuffer.
bool IsGivenRow(int32_t y, Difficulty difficulty);
void CopyGivenRows(CopyBoard& board, Difficulty difficulty);
