#include "puzzles/CopyColoursScreen.h"

#include "app/Frame.h"
#include "puzzles/PuzzleScreens.h"
#include "input/KControls.h"
#include "puzzles/CopyRules.h"
#include "puzzles/PuzzlePictures.h"
#include "board/PictureBuffer.h"

namespace {

constexpr size_t kBackground = 0;

constexpr int32_t kBucketButtonX = 698;
constexpr int32_t kBucketButtonY = 155;
constexpr int32_t kBucketButtonWidth = 89;
constexpr int32_t kBucketButtonHeight = 151;

}  // namespace

CopyColoursGame::CopyColoursGame(Difficulty difficulty) : difficulty_(difficulty), colour_(kWhite) {
  boards_.Create(ColouringBoardTile);
  swatch_.Create();
  assets_.AddPicture("img\\bg\\copycolors.png", false);
  bucketButton_ = MakePuzzleButton(SharedAssets.Picture(kSharedBucketCursor), kBucketButtonWidth,
                                   kBucketButtonHeight, kBucketButtonX, kBucketButtonY,
                                   SharedAssets.Sound(kSharedToolSound));
  board_.cells.fill(kWhite);
}

PuzzleFrameSettings CopyColoursGame::FrameSettings() const {
  return {assets_.Picture(kBackground), PuzzleKeys::BeforeDrawing, false};
}

void CopyColoursGame::SetUpRound() {
  ClearSmallBoards(board_);
  colour_ = kWhite;
  LoadRandomPuzzlePicture(PictureKind::Game, CanvasSize::Small, kCopySide, kCopySide);
  MakeColouringTemplate(board_, difficulty_);
}

void CopyColoursGame::DrawBoard(PuzzleFrame& frame) {
  boards_.DrawPicture(frame.Opacity());
  boards_.DrawBoard(board_, frame.Opacity(), false);
  swatch_.Draw(colour_, frame.Opacity());
}

void CopyColoursGame::HandleBoardInput(PuzzleFrame&) {
  AddCopyTargets();
  const int32_t mx = GetMouseX();
  const int32_t my = GetMouseY();
  ChooseCopyCursor(CursorKind, kCursorBucket, mx, my);
  PourOrPick(board_, colour_, mx, my, IsLeftButtonDown());
}

bool CopyColoursGame::CheckBoard() { return CheckCopyBoard(board_); }

void CopyColoursGame::HandleToolButtons(PuzzleFrame& frame) {
  bucketButton_.Update(frame.Elapsed());
  // Asked only so that a click plays its sound: the bucket is always the tool here.
  if (frame.IsInputEnabled()) bucketButton_.WasClicked();
}

PuzzleRound CopyColoursScreen(Difficulty difficulty) {
  CopyColoursGame game(difficulty);
  PuzzleFrame frame(game, game.FrameSettings());
  return frame.Run();
}
