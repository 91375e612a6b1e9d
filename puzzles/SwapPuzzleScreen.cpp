// The swap puzzle: a big picture cut into four strips shown out of order; three arrows
// exchange neighbouring strips until the picture is whole.
#include <array>
#include <cmath>

#include "app/AssetCache.h"
#include "puzzles/PuzzleScreens.h"
#include "board/BoardPicture.h"
#include "puzzles/PuzzleFrame.h"
#include "puzzles/PuzzlePictures.h"
#include "puzzles/StripRules.h"

namespace {

constexpr float kMsPerSecond = 1000.0f;

constexpr int32_t kCellPixels = 10;
constexpr int32_t kBoardLeft = 170;
constexpr int32_t kBoardTop = 41;
constexpr int32_t kStripPixels = kStripRows * kCellPixels;
// A player's painting shows its painter on the wall beyond the board's top-right corner.
constexpr float kBadgeX = 706;
constexpr float kBadgeY = 14;

// An exchange moves both strips one strip height at this speed, drawn at this opacity.
constexpr float kSwapPixelsPerSecond = 130.0f;
constexpr float kSwapOpacity = 0.8f;

// Arrow k (1 to 3) exchanges screen strips k - 1 and k.
constexpr int32_t kArrowCount = 3;
constexpr int32_t kArrowX = 688;
constexpr int32_t kArrowSpacing = 100;
constexpr int32_t kArrowRaise = 5;
constexpr int32_t kArrowWidth = 61;
constexpr int32_t kArrowHeight = 103;

int32_t ExchangesFor(Difficulty difficulty) {
  if (difficulty <= kEasy) return 1;
  if (difficulty == kMedium) return 3;
  return 13;
}

class SwapGame : public PuzzleGame {
 public:
  SwapGame(Difficulty difficulty, std::vector<OwnPainting> paintings)
      : difficulty_(difficulty), pictures_(CanvasSize::Big, std::move(paintings)) {
    for (int32_t k = 1; k <= kArrowCount; ++k)
      arrows_[static_cast<size_t>(k - 1)] =
          MakePuzzleButton(assets_.Picture(arrowPicture_), kArrowWidth, kArrowHeight, kArrowX,
                           kArrowSpacing * k - kArrowRaise, nullptr);
    board_.Create(kGridColumns, kGridRows, kCellPixels, kCellPixels);
    ClearPictureBuffer();
  }

  KGraphic* Background() const { return assets_.Picture(background_); }

  void SetUpRound() override {
    ShuffleStrips(order_, ExchangesFor(difficulty_));
    pictures_.LoadNext();
  }

  void DrawBoard(PuzzleFrame& frame) override {
    board_.ShowGrid(PictureBuffer);
    badge_.Draw(pictures_.Painter(), kBadgeX, kBadgeY, frame.Opacity());
    const auto shift = static_cast<int32_t>(swapTravel_);
    for (int32_t s = 0; s < kStripCount; ++s) {
      const bool upper = swapping_ && s == swapUpper_;
      const bool lower = swapping_ && s == swapUpper_ + 1;
      const int32_t dy = upper ? shift : lower ? -shift : 0;
      const float opacity = upper || lower ? kSwapOpacity : frame.Opacity();
      board_.DrawCellsBlended(0, order_[static_cast<size_t>(s)] * kStripRows, kGridColumns, kStripRows,
                              static_cast<int16_t>(kBoardLeft),
                              static_cast<int16_t>(kBoardTop + kStripPixels * s + dy), opacity);
    }
    if (swapping_) AdvanceSwap(frame);
  }

  void HandleBoardInput(PuzzleFrame& frame) override {
    for (int32_t k = 1; k <= kArrowCount; ++k) {
      ImageButton& arrow = arrows_[static_cast<size_t>(k - 1)];
      arrow.Update(frame.Elapsed());
      if (frame.IsInputEnabled() && arrow.WasClicked()) {
        PlaySharedSound(kSharedSwapSound);
        swapUpper_ = k - 1;
        swapping_ = true;
        frame.SetInputEnabled(false);
      }
    }
  }

  bool CheckBoard() override { return IsOrderSolved(order_); }

 private:
  // Once both strips have travelled a strip height, they change places.
  void AdvanceSwap(PuzzleFrame& frame) {
    swapTravel_ += frame.Elapsed() * kSwapPixelsPerSecond / kMsPerSecond;
    if (std::abs(static_cast<int32_t>(swapTravel_)) < kStripPixels) return;
    std::swap(order_[static_cast<size_t>(swapUpper_)], order_[static_cast<size_t>(swapUpper_) + 1]);
    swapping_ = false;
    swapTravel_ = 0.0f;
    frame.SetInputEnabled(true);
  }

  AssetCache assets_;
  const size_t background_ = assets_.AddPicture("img\\bg\\swap.png", false);
  const size_t arrowPicture_ = assets_.AddPicture("img\\ico\\swap_arrow.png", true);
  Difficulty difficulty_;
  PuzzlePictures pictures_;
  PainterBadge badge_;
  StripOrder order_{0, 1, 2, 3};
  bool swapping_ = false;
  int32_t swapUpper_ = 0;
  float swapTravel_ = 0.0f;
  std::array<ImageButton, kArrowCount> arrows_{};
  BoardPicture board_;
};

}  // namespace

PuzzleRound SwapPuzzleScreen(Difficulty difficulty, std::vector<OwnPainting> paintings) {
  SwapGame game(difficulty, std::move(paintings));
  PuzzleFrame frame(game, {game.Background(), PuzzleKeys::AfterFlip, false});
  return frame.Run();
}
