// Choosing the shipped picture a puzzle round is played on.
#pragma once

#include <cstdint>

#include "board/PictureTypes.h"

// How many shipped pictures of that size "setup.ini" announces (key "COUNT" of
// section "BIG_IMAGES" or "SMALL_IMAGES"); 0 when the file or the key is missing.
int32_t PuzzlePictureCount(CanvasSize size);

// A picture number from 1 to count for a 15-bit random value r; a count below 1 gives 1.
int32_t PuzzlePictureNumber(int32_t count, int32_t r);

// Draws a picture number of that size at random and reads it into the top-left
// columns x rows cells of PictureBuffer.
void LoadRandomPuzzlePicture(PictureKind kind, CanvasSize size, int32_t columns, int32_t rows);
