#include "studio/PaintingBook.h"

#include <algorithm>
#include <cstdio>

#include "services/KPaths.h"
#include "studio/PaintingExport.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kMarginMm = 10.0;

// One page: the painting's rows as runs of one colour, each run one rectangle, so that
// neighbouring cells of a colour show no seam between them.
void DrawPage(KPdfDocument& book, const PageLayout& layout, int32_t columns, int32_t rows) {
  for (int32_t row = 0; row < rows; ++row) {
    int32_t start = 0;
    for (int32_t column = 1; column <= columns; ++column) {
      const uint32_t colour = PictureBuffer.At(start, row);
      if (column < columns && PictureBuffer.At(column, row) == colour) continue;
      const double run = (column - start) * layout.cell;
      if (layout.turned)
        book.FillRect(layout.left + (rows - 1 - row) * layout.cell, layout.top + start * layout.cell, layout.cell, run,
                      colour);
      else
        book.FillRect(layout.left + start * layout.cell, layout.top + row * layout.cell, run, layout.cell, colour);
      start = column;
    }
  }
  book.EndPage();
}

}  // namespace

PageLayout LayOutPainting(const KPaperSize& paper, int32_t columns, int32_t rows) {
  const double margin = kMarginMm * kPointsPerMm;
  const double width = paper.width - 2 * margin;
  const double height = paper.height - 2 * margin;
  PageLayout layout;
  const double upright = std::min(width / columns, height / rows);
  const double turned = std::min(width / rows, height / columns);
  layout.turned = turned > upright;
  layout.cell = std::max(upright, turned);
  const double across = (layout.turned ? rows : columns) * layout.cell;
  const double down = (layout.turned ? columns : rows) * layout.cell;
  layout.left = (paper.width - across) / 2;
  layout.top = (paper.height - down) / 2;
  return layout;
}

BookCount MakePaintingBook(const std::string& path, const KPaperSize& paper) {
  BookCount count;
  KPdfDocument book;
  for (const CanvasSize size : {CanvasSize::Big, CanvasSize::Small}) {
    const int32_t columns = CanvasColumns(size);
    const int32_t rows = CanvasRows(size);
    for (const int32_t number : SavedPaintings(size)) {
      if (!ReadPictureFile(PictureKind::Drawing, size, number, columns, rows)) {
        std::fprintf(stderr, "tafu: left out of the book: %s is not a painting the game can read\n",
                     MakePaintingPath(PictureFileName(PictureKind::Drawing, size, number)).c_str());
        ++count.skipped;
        continue;
      }
      // The file is begun with its first page: no book is made of nothing.
      if (count.pages == 0 && !book.Open(path, paper)) return count;
      DrawPage(book, LayOutPainting(paper, columns, rows), columns, rows);
      ++count.pages;
    }
  }
  count.written = count.pages > 0 && book.Close();
  return count;
}
