// What the two copy games share on screen: the small picture on the left, the child's
// board on the right, the swatch of the current colour, and what the mouse does over the
// two boards.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "graphic/KGraphic.h"
#include "board/BoardPicture.h"
#include "board/CopyBoard.h"

// Screen layout: cell (x, y) of the picture at (122 + 15x, 161 + 15y), of the board at
// (374 + 15x, 161 + 15y). Each cell shows the top-left 16 x 15 pixels of its tile.
constexpr int16_t kCopyPictureLeft = 122;
constexpr int16_t kCopyBoardLeft = 374;
constexpr int16_t kCopyBoardsTop = 161;
constexpr int32_t kCopyCellPitch = 15;
constexpr int32_t kCopyTileWidth = 16;
constexpr int32_t kCopyBoardSide = kCopySide * kCopyCellPitch;

// The swatch shows the top-left 67 x 67 pixels of a 128 x 128 picture at (328, 58).
constexpr int16_t kSwatchX = 328;
constexpr int16_t kSwatchY = 58;
constexpr int32_t kSwatchSide = 67;
constexpr int32_t kSwatchBufferSide = 128;

// The boards are drawn opaque once the round's opacity has passed this.
constexpr float kOpaqueAbove = 0.99f;

// Diagonals of crossed cells: a wrong cell in red, an uncoloured template cell in grey
// green; the copy-drawing game's red has alpha 0, so it shows only once the board is
// drawn opaque.
constexpr uint32_t kWrongCross = 0xFF0000EEu;
constexpr uint32_t kUncolouredCross = 0xFF668866u;
constexpr uint32_t kClearWrongCross = 0x000000EEu;

struct CopyCell {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const CopyCell&) const = default;
};

// The picture cell or board cell under the point (mx, my); nothing on the boards'
// edges and outside them.
std::optional<CopyCell> CopyPictureCellAt(int32_t mx, int32_t my);
std::optional<CopyCell> CopyBoardCellAt(int32_t mx, int32_t my);
// Without a mouse, the picture and the board are chosen cell by cell.
void AddCopyTargets();

// Tiles of the children's boards: wrong cells crossed in red and uncoloured ones in
// grey green (copy colours), wrong cells crossed with the clear red (copy drawing);
// every other cell bevelled.
void ColouringBoardTile(TileBuffer& tile, uint32_t value, int32_t cellSize);
void DrawingBoardTile(TileBuffer& tile, uint32_t value, int32_t cellSize);

// The left button held over the picture picks the colour under it.
void PickColour(uint32_t& colour, int32_t mx, int32_t my, bool down);

// Copy colours: the left button held over the board pours the colour into the
// picture's region under it, in every frame it is held; over the picture it picks.
void PourOrPick(CopyBoard& board, uint32_t& colour, int32_t mx, int32_t my, bool down);

enum class CopyTool : int32_t { Pen = 2, Bucket = 4 };

// Copy drawing: the pen stroke in progress.
struct PenStroke {
  bool mouseWasDownOnBoard = false;  // in an earlier frame of this press
  CopyCell lastBoardCell;            // under the mouse the last time it was down on the board
};

// Copy drawing, one frame of the mouse: the pen joins the last board cell of the press
// to the one under the mouse (nothing in the press's first frame), the bucket fills
// the child's own region; over the picture the colour is picked and the stroke goes on
// from its last board cell when the mouse comes back.
void DrawOrPick(CopyBoard& board, PenStroke& stroke, CopyTool tool, uint32_t& colour, int32_t mx, int32_t my,
                bool down);

// The cursor over the boards: the picker over the picture, boardCursor over the board;
// elsewhere cursor stays as it is.
void ChooseCopyCursor(int32_t& cursor, int32_t boardCursor, int32_t mx, int32_t my);

// The left picture (the top-left 15 x 15 cells of PictureBuffer) and the child's board,
// each one board picture.
class CopyBoards {
 public:
  // False when a picture cannot be made.
  bool Create(TilePainter boardPainter);
  // The picture blended at opacity, opaque once opacity has passed 0.99.
  void DrawPicture(float opacity);
  // The board blended at opacity; with opaqueWhenShown, opaque like the picture.
  void DrawBoard(const CopyBoard& board, float opacity, bool opaqueWhenShown);
  const BoardPixels& PicturePixels() const { return picture_.Cells(); }
  const BoardPixels& BoardCells() const { return board_.Cells(); }

 private:
  BoardPicture picture_;
  BoardPicture board_;
};

// The square that shows the current colour.
class ColourSwatch {
 public:
  // White; false when its picture cannot be made.
  bool Create();
  // Shows colour (uploaded only when it changed) and draws it at opacity.
  void Draw(uint32_t colour, float opacity);

 private:
  std::vector<uint32_t> pixels_;
  std::unique_ptr<KGraphic> picture_;
  uint32_t shown_ = kNoCellValue;
};
