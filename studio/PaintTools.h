// The studio's tools and the two ways they change the canvas in PictureBuffer.
#pragma once

#include <cstdint>

// The numbers are also the cursor shown over the canvas while the tool is chosen.
enum class PaintTool : int32_t { Picker = 1, Pen = 2, Eraser = 3, Bucket = 4 };

// Colours cell (x1, y1), cell (x0, y0) and between them one cell in every column and
// every row the line spans; no cell outside the rectangle of the two ends is touched.
void StrokeLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);

// Recolours the 4-connected region of cells holding the value of cell (x, y), within the
// top-left columns x rows cells. Nothing happens when that cell has the colour already
// or lies outside.
void BucketFill(int32_t x, int32_t y, uint32_t colour, int32_t columns, int32_t rows);
