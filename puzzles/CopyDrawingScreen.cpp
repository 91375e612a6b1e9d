#include "puzzles/CopyDrawingScreen.h"

#include "app/Frame.h"
#include "puzzles/PuzzleScreens.h"
#include "input/KControls.h"
#include "puzzles/CopyRules.h"
#include "puzzles/PuzzlePictures.h"
#include "board/PictureBuffer.h"

namespace {

constexpr size_t kBackground = 0;

constexpr int32_t kPenButtonX = 694;
constexpr int32_t kPenButtonY = 35;
constexpr int32_t kPenButtonWidth = 85;
constexpr int32_t kPenButtonHeight = 160;
constexpr int32_t kBucketButtonX = 698;
constexpr int32_t kBucketButtonY = 227;
constexpr int32_t kBucketButtonWidth = 89;
constexpr int32_t kBucketButtonHeight = 151;
// A player's painting shows its painter on the wall beside the picture's top-left corner.
constexpr float kBadgeX = 64;
constexpr float kBadgeY = kCopyBoardsTop;

}  // namespace

CopyDrawingGame::CopyDrawingGame(Difficulty difficulty, std::vector<OwnPainting> paintings)
    : difficulty_(difficulty), pictures_(CanvasSize::Small, std::move(paintings)), colour_(kWhite) {
  boards_.Create(DrawingBoardTile);
  swatch_.Create();
  assets_.AddPicture("img\\bg\\copy.png", false);
  penButton_ = MakePuzzleButton(SharedAssets.Picture(kSharedPenCursor), kPenButtonWidth, kPenButtonHeight,
                                kPenButtonX, kPenButtonY, SharedAssets.Sound(kSharedToolSound));
  bucketButton_ = MakePuzzleButton(SharedAssets.Picture(kSharedBucketCursor), kBucketButtonWidth,
                                   kBucketButtonHeight, kBucketButtonX, kBucketButtonY,
                                   SharedAssets.Sound(kSharedToolSound));
  board_.cells.fill(kWhite);
}

PuzzleFrameSettings CopyDrawingGame::FrameSettings() const {
  return {assets_.Picture(kBackground), PuzzleKeys::BeforeDrawing, false};
}

void CopyDrawingGame::SetUpRound() {
  ClearSmallBoards(board_);
  colour_ = kWhite;
  pictures_.LoadNext();
  CopyGivenRows(board_, difficulty_);
}

void CopyDrawingGame::DrawBoard(PuzzleFrame& frame) {
  boards_.DrawPicture(frame.Opacity());
  badge_.Draw(pictures_.Painter(), kBadgeX, kBadgeY, frame.Opacity());
  boards_.DrawBoard(board_, frame.Opacity(), true);
  swatch_.Draw(colour_, frame.Opacity());
}

void CopyDrawingGame::HandleBoardInput(PuzzleFrame&) {
  AddCopyTargets();
  const int32_t mx = GetMouseX();
  const int32_t my = GetMouseY();
  ChooseCopyCursor(CursorKind, tool_ == CopyTool::Pen ? kCursorPen : kCursorBucket, mx, my);
  DrawOrPick(board_, stroke_, tool_, colour_, mx, my, IsLeftButtonDown());
}

bool CopyDrawingGame::CheckBoard() { return CheckCopyBoard(board_); }

void CopyDrawingGame::HandleToolButtons(PuzzleFrame& frame) {
  penButton_.Update(frame.Elapsed());
  if (frame.IsInputEnabled() && penButton_.WasClicked()) tool_ = CopyTool::Pen;
  bucketButton_.Update(frame.Elapsed());
  if (frame.IsInputEnabled() && bucketButton_.WasClicked()) tool_ = CopyTool::Bucket;
}

PuzzleRound CopyDrawingScreen(Difficulty difficulty, std::vector<OwnPainting> paintings) {
  CopyDrawingGame game(difficulty, std::move(paintings));
  PuzzleFrame frame(game, game.FrameSettings());
  return frame.Run();
}
