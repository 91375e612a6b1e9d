// A book of paintings for the grown-ups: every saved painting, the big ones then the small
// ones in number order, one a page, as large as the page allows, every cell a filled square.
#pragma once

#include <cstdint>
#include <string>

#include "services/KPdf.h"

// Where a painting of columns x rows cells goes on a page of paper: the side of its cells,
// the top-left corner of the painting as placed on the page, and whether it is turned a
// quarter clockwise (its top along the page's right edge), as it is when that makes it
// larger. A margin of 10 mm is kept on every side.
struct PageLayout {
  double cell = 0;
  double left = 0;
  double top = 0;
  bool turned = false;
};
PageLayout LayOutPainting(const KPaperSize& paper, int32_t columns, int32_t rows);

struct BookCount {
  int32_t pages = 0;
  // Paintings that could not be read, left out of the book.
  int32_t skipped = 0;
  // False when the file could not be written; none is left then.
  bool written = false;
};

// Writes the book of the paintings folder to path on paper. With no painting that can be
// read, no file is made (written stays false, pages 0). PictureBuffer is left holding the
// last painting read.
BookCount MakePaintingBook(const std::string& path, const KPaperSize& paper);
