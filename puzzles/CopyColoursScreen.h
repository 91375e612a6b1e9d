// The copy-colours game: the child picks colours from the small picture on the left and
// pours them with the bucket into the regions of the uncoloured copy on the right.
#pragma once

#include "app/AssetCache.h"
#include "app/ScreenCodes.h"
#include "app/Widgets.h"
#include "puzzles/CopyGames.h"
#include "puzzles/PuzzleFrame.h"

class CopyColoursGame : public PuzzleGame {
 public:
  // Needs the window open and SharedAssets loaded.
  explicit CopyColoursGame(Difficulty difficulty);
  // The puzzle frame this game runs in: its background, the keys read before drawing.
  PuzzleFrameSettings FrameSettings() const;

  // A new picture and its uncoloured copy; the current colour becomes white.
  void SetUpRound() override;
  // The picture, the board and the swatch.
  void DrawBoard(PuzzleFrame& frame) override;
  // The cursor over the boards; picking and pouring, whether input is enabled or not.
  void HandleBoardInput(PuzzleFrame& frame) override;
  // Every cell must hold the picture's colour; wrong cells get crossed in red.
  bool CheckBoard() override;
  // The bucket button: a click only plays its sound, the bucket being the one tool.
  void HandleToolButtons(PuzzleFrame& frame) override;

  const CopyBoard& Board() const { return board_; }
  uint32_t CurrentColour() const { return colour_; }

 private:
  Difficulty difficulty_;
  AssetCache assets_;
  CopyBoard board_{};
  uint32_t colour_;
  CopyBoards boards_;
  ColourSwatch swatch_;
  ImageButton bucketButton_;
};
