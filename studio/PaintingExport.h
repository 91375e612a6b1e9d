// The child's saved paintings copied out as PNG files that a parent can open, print or send.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/PictureTypes.h"

// Pixels per side of one cell in an exported picture: the big canvas comes out at
// 800 x 640 pixels, the small one at 480 x 480.
constexpr int32_t kBigExportCell = 16;
constexpr int32_t kSmallExportCell = 32;

struct ExportCount {
  int32_t written = 0;
  // Paintings that could not be read or whose PNG could not be written.
  int32_t failed = 0;
  // False when the target folder could not be made; nothing was written then.
  bool folderReady = true;
};

// Writes every saved painting of both sizes into folder (made when missing) as "big-N.png"
// and "small-N.png", N being the painting's number. A painting that cannot be read, or
// whose PNG cannot be written, is skipped with its file named on standard error. Only
// reads the paintings folder; PictureBuffer is left holding the last painting read.
ExportCount ExportPaintings(const std::string& folder);

// The numbers of the paintings of that size in the paintings folder, lowest first: every
// file named by a number, read or not.
std::vector<int32_t> SavedPaintings(CanvasSize size);
