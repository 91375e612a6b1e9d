// The copy-drawing game: the child draws a copy of the small picture on the left, cell
// by cell, with a pen and a bucket, on a board that starts with bands of rows given.
#pragma once

#include <vector>

#include "app/AssetCache.h"
#include "app/ScreenCodes.h"
#include "app/Widgets.h"
#include "puzzles/CopyGames.h"
#include "puzzles/PuzzleFrame.h"
#include "puzzles/PuzzlePictures.h"

class CopyDrawingGame : public PuzzleGame {
 public:
  // Needs the window open and SharedAssets loaded. Plays the paintings in turn, or with
  // none shipped pictures at random.
  explicit CopyDrawingGame(Difficulty difficulty, std::vector<OwnPainting> paintings = {});
  // The puzzle frame this game runs in: its background, the keys read before drawing.
  PuzzleFrameSettings FrameSettings() const;

  // A new picture and the rows given at this difficulty; the current colour becomes white.
  void SetUpRound() override;
  // The picture, the board and the swatch.
  void DrawBoard(PuzzleFrame& frame) override;
  // The cursor over the boards; drawing, filling and picking, whether input is enabled or not.
  void HandleBoardInput(PuzzleFrame& frame) override;
  // Every cell must hold the picture's colour; wrong cells get crossed.
  bool CheckBoard() override;
  // The pen button, then the bucket button.
  void HandleToolButtons(PuzzleFrame& frame) override;

  const CopyBoard& Board() const { return board_; }
  uint32_t CurrentColour() const { return colour_; }
  CopyTool Tool() const { return tool_; }

 private:
  Difficulty difficulty_;
  PuzzlePictures pictures_;
  PainterBadge badge_;
  AssetCache assets_;
  CopyBoard board_{};
  uint32_t colour_;
  CopyTool tool_ = CopyTool::Pen;
  PenStroke stroke_;
  CopyBoards boards_;
  ColourSwatch swatch_;
  ImageButton penButton_;
  ImageButton bucketButton_;
};
