#include "board/BoardPicture.h"

#include <algorithm>

#include "board/CellColours.h"

bool BoardPixels::Create(int32_t columns, int32_t rows, int32_t cellSize, int32_t cellWidth, TilePainter painter) {
  *this = BoardPixels();
  if (columns < 1 || rows < 1 || cellSize < 1 || cellSize > kTileSide || cellWidth < cellSize ||
      cellWidth > kTileSide || !painter)
    return false;
  columns_ = columns;
  rows_ = rows;
  cellSize_ = cellSize;
  cellWidth_ = cellWidth;
  width_ = columns * cellSize + cellWidth - cellSize;
  height_ = rows * cellSize;
  painter_ = painter;
  values_.assign(static_cast<size_t>(columns * rows), kNoCellValue);
  pixels_.assign(static_cast<size_t>(width_ * height_), kWhite);
  changed_ = true;
  return true;
}

void BoardPixels::SetCell(int32_t column, int32_t row, uint32_t value) {
  if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return;
  uint32_t& shown = values_[static_cast<size_t>(row * columns_ + column)];
  if (shown == value) return;
  shown = value;
  PaintCell(column, row, value);
}

void BoardPixels::ShowGrid(const CellGrid& grid) {
  const int32_t columns = std::min(columns_, kGridColumns);
  const int32_t rows = std::min(rows_, kGridRows);
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t column = 0; column < columns; ++column) SetCell(column, row, grid.At(column, row));
}

void BoardPixels::ShowCopyBoard(const CopyBoard& board) {
  const int32_t columns = std::min(columns_, kCopySide);
  const int32_t rows = std::min(rows_, kCopySide);
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t column = 0; column < columns; ++column) SetCell(column, row, board.At(column, row));
}

void BoardPixels::Invalidate() {
  std::fill(values_.begin(), values_.end(), kNoCellValue);
  tileValue_ = kNoCellValue;
}

bool BoardPixels::TakeChanges() {
  const bool changed = changed_;
  changed_ = false;
  return changed;
}

// A cell covers cellSize columns of pixels; the last cell of a row also its extra
// columns, which elsewhere belong to the next cell's left edge. Bevelled cells are
// written straight into the board by BevelTile's rules; other painters go through
// the tile.
void BoardPixels::PaintCell(int32_t column, int32_t row, uint32_t value) {
  const int32_t width = column == columns_ - 1 ? cellWidth_ : cellSize_;
  uint32_t* target = pixels_.data() + static_cast<size_t>(row * cellSize_ * width_ + column * cellSize_);
  changed_ = true;
  if (painter_ == BevelTile) {
    const uint32_t light = ColourBrighten(value, kBevelFactor);
    const uint32_t dark = ColourDarken(value, kBevelFactor);
    const int32_t lightColumn = cellSize_ - 1;
    for (int32_t j = 0; j < cellSize_; ++j, target += width_) {
      if (j == cellSize_ - 1) {
        std::fill_n(target, width, dark);
        continue;
      }
      std::fill_n(target, width, j == 0 ? light : value);
      target[0] = dark;
      if (lightColumn > 0 && lightColumn < width) target[lightColumn] = light;
    }
    return;
  }
  if (value != tileValue_) {
    painter_(tile_, value, cellSize_);
    tileValue_ = value;
  }
  for (int32_t j = 0; j < cellSize_; ++j, target += width_) std::copy_n(tile_.data() + j * kTileSide, width, target);
}

bool BoardPicture::Create(int32_t columns, int32_t rows, int32_t cellSize, int32_t cellWidth, TilePainter painter) {
  picture_.reset();
  if (!pixels_.Create(columns, rows, cellSize, cellWidth, painter)) return false;
  picture_ = CreateGraphic();
  if (!picture_ || !picture_->CreateFromPixels(pixels_.Pixels(), pixels_.Width(), pixels_.Height(), true)) {
    picture_.reset();
    return false;
  }
  picture_->SetFiltering(false);
  pixels_.TakeChanges();
  return true;
}

bool BoardPicture::Prepare(int32_t column, int32_t row, int32_t count, int32_t rowCount, Source& source) {
  if (!picture_) return false;
  const int32_t firstColumn = std::clamp(column, 0, pixels_.Columns());
  const int32_t lastColumn = std::clamp(column + count, firstColumn, pixels_.Columns());
  const int32_t firstRow = std::clamp(row, 0, pixels_.Rows());
  const int32_t lastRow = std::clamp(row + rowCount, firstRow, pixels_.Rows());
  if (lastColumn == firstColumn || lastRow == firstRow) return false;
  if (pixels_.TakeChanges()) picture_->UpdateFromPixels();
  const int32_t size = pixels_.CellSize();
  const int32_t extra = lastColumn == pixels_.Columns() ? pixels_.CellWidth() - size : 0;
  source = {static_cast<float>(firstColumn * size), static_cast<float>(firstRow * size),
            static_cast<float>(lastColumn * size + extra), static_cast<float>(lastRow * size)};
  return true;
}

void BoardPicture::DrawCellsBlended(int32_t column, int32_t row, int32_t count, int32_t rowCount, int16_t x, int16_t y,
                                    float opacity) {
  Source source{};
  if (!Prepare(column, row, count, rowCount, source)) return;
  picture_->BlitAlphaRotoZoom(source.x1, source.y1, source.x2, source.y2, x, y, 0.0f, 1.0f, opacity, kNoFlip, kNoFlip);
}

void BoardPicture::DrawCellsOpaque(int32_t column, int32_t row, int32_t count, int32_t rowCount, int16_t x, int16_t y) {
  Source source{};
  if (!Prepare(column, row, count, rowCount, source)) return;
  picture_->Blit(source.x1, source.y1, source.x2, source.y2, x, y, kNoFlip, kNoFlip);
}

void BoardPicture::DrawBlended(int16_t x, int16_t y, float opacity) {
  DrawCellsBlended(0, 0, pixels_.Columns(), pixels_.Rows(), x, y, opacity);
}

void BoardPicture::DrawOpaque(int16_t x, int16_t y) { DrawCellsOpaque(0, 0, pixels_.Columns(), pixels_.Rows(), x, y); }
