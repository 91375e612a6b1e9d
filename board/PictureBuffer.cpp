#include "board/PictureBuffer.h"

CellGrid PictureBuffer;

void ClearPictureBuffer() { PictureBuffer.cells.fill(kWhite); }
