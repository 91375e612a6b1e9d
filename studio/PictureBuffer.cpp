#include "studio/PictureBuffer.h"

CellGrid PictureBuffer;

void ClearPictureBuffer() { PictureBuffer.cells.fill(kWhite); }
