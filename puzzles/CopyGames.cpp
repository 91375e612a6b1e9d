#include "puzzles/CopyGames.h"

#include <algorithm>

#include "app/Frame.h"
#include "app/Targets.h"
#include "board/PictureBuffer.h"

namespace {

uint32_t AlphaOf(uint32_t value) { return value >> 24; }

// The cell of a 15 x 15 board whose top-left corner is at (left, kCopyBoardsTop); the board's
// outer edge counts as outside.
std::optional<CopyCell> CellAt(int32_t left, int32_t mx, int32_t my) {
  if (mx <= left || mx >= left + kCopyBoardSide || my <= kCopyBoardsTop || my >= kCopyBoardsTop + kCopyBoardSide)
    return std::nullopt;
  return CopyCell{(mx - left) / kCopyCellPitch, (my - kCopyBoardsTop) / kCopyCellPitch};
}

}  // namespace

std::optional<CopyCell> CopyPictureCellAt(int32_t mx, int32_t my) { return CellAt(kCopyPictureLeft, mx, my); }

std::optional<CopyCell> CopyBoardCellAt(int32_t mx, int32_t my) { return CellAt(kCopyBoardLeft, mx, my); }

void AddCopyTargets() {
  for (const int32_t left : {kCopyPictureLeft, kCopyBoardLeft})
    AddTarget({left, kCopyBoardsTop, kCopyBoardSide, kCopyBoardSide, kCopySide, kCopySide});
}

void ColouringBoardTile(TileBuffer& tile, uint32_t value, int32_t cellSize) {
  if (AlphaOf(value) == kWrongCellMark)
    CrossedTile(tile, value, kWrongCross);
  else if (AlphaOf(value) == kUncolouredMark)
    CrossedTile(tile, value, kUncolouredCross);
  else
    BevelTile(tile, value, cellSize);
}

void DrawingBoardTile(TileBuffer& tile, uint32_t value, int32_t cellSize) {
  if (AlphaOf(value) == kWrongCellMark)
    CrossedTile(tile, value, kClearWrongCross);
  else
    BevelTile(tile, value, cellSize);
}

void PickColour(uint32_t& colour, int32_t mx, int32_t my, bool down) {
  if (!down) return;
  if (const std::optional<CopyCell> cell = CopyPictureCellAt(mx, my)) colour = PictureBuffer.At(cell->x, cell->y);
}

void PourOrPick(CopyBoard& board, uint32_t& colour, int32_t mx, int32_t my, bool down) {
  if (!down) return;
  if (const std::optional<CopyCell> cell = CopyBoardCellAt(mx, my))
    SourceRegionFill(board, cell->x, cell->y, colour, kCopySide, kCopySide);
  PickColour(colour, mx, my, down);
}

void DrawOrPick(CopyBoard& board, PenStroke& stroke, CopyTool tool, uint32_t& colour, int32_t mx, int32_t my,
                bool down) {
  if (!down) {
    stroke.mouseWasDownOnBoard = false;
    return;
  }
  if (const std::optional<CopyCell> cell = CopyBoardCellAt(mx, my)) {
    if (tool == CopyTool::Bucket)
      BoardFill(board, cell->x, cell->y, colour, kCopySide, kCopySide);
    else if (stroke.mouseWasDownOnBoard)
      BoardLine(board, cell->x, cell->y, stroke.lastBoardCell.x, stroke.lastBoardCell.y, colour);
    stroke.mouseWasDownOnBoard = true;
    stroke.lastBoardCell = *cell;
    return;
  }
  PickColour(colour, mx, my, down);
}

void ChooseCopyCursor(int32_t& cursor, int32_t boardCursor, int32_t mx, int32_t my) {
  if (CopyPictureCellAt(mx, my))
    cursor = kCursorPicker;
  else if (CopyBoardCellAt(mx, my))
    cursor = boardCursor;
}

bool CopyBoards::Create(TilePainter boardPainter) {
  return picture_.Create(kCopySide, kCopySide, kCopyCellPitch, kCopyTileWidth, BevelTile) &&
         board_.Create(kCopySide, kCopySide, kCopyCellPitch, kCopyTileWidth, boardPainter);
}

void CopyBoards::DrawPicture(float opacity) {
  picture_.ShowGrid(PictureBuffer);
  if (opacity > kOpaqueAbove)
    picture_.DrawOpaque(kCopyPictureLeft, kCopyBoardsTop);
  else
    picture_.DrawBlended(kCopyPictureLeft, kCopyBoardsTop, opacity);
}

void CopyBoards::DrawBoard(const CopyBoard& board, float opacity, bool opaqueWhenShown) {
  board_.ShowCopyBoard(board);
  if (opaqueWhenShown && opacity > kOpaqueAbove)
    board_.DrawOpaque(kCopyBoardLeft, kCopyBoardsTop);
  else
    board_.DrawBlended(kCopyBoardLeft, kCopyBoardsTop, opacity);
}

bool ColourSwatch::Create() {
  pixels_.assign(static_cast<size_t>(kSwatchBufferSide * kSwatchBufferSide), kWhite);
  shown_ = kWhite;
  picture_ = CreateGraphic();
  if (!picture_ || !picture_->CreateFromPixels(pixels_.data(), kSwatchBufferSide, kSwatchBufferSide, true)) {
    picture_.reset();
    return false;
  }
  picture_->SetFiltering(false);
  return true;
}

void ColourSwatch::Draw(uint32_t colour, float opacity) {
  if (!picture_) return;
  if (colour != shown_) {
    std::fill(pixels_.begin(), pixels_.end(), colour);
    picture_->UpdateFromPixels();
    shown_ = colour;
  }
  picture_->BlitAlphaRotoZoom(0, 0, kSwatchSide, kSwatchSide, kSwatchX, kSwatchY, 0.0f, 1.0f, opacity, kNoFlip, kNoFlip);
}
