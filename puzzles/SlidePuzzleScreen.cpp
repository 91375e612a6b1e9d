// The slide puzzle: a big picture cut into four strips, the upper three shifted sideways
// round a ring; arrows beside them slide them two cells at a time while held, until the
// picture is whole. The bottom strip never moves.
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
constexpr int32_t kBoardLeft = 168;
constexpr int32_t kBoardTop = 41;
constexpr int32_t kStripPixels = kStripRows * kCellPixels;
// A player's painting shows its painter on the wall beyond the board's top-right corner.
constexpr float kBadgeX = 706;
constexpr float kBadgeY = 14;

// A slide moves the strip two cells at this speed.
constexpr float kSlidePixelsPerSecond = 76.0f;
constexpr int32_t kSlidePixels = kSlideStepCells * kCellPixels;

// The panes beside the board hide the cells a slide carries past its edges.
constexpr float kPaneWidth = 35;
constexpr float kPaneHeight = 404;
constexpr int16_t kLeftPaneX = 133;
constexpr int16_t kRightPaneX = 668;
constexpr int16_t kPaneY = 39;

// Arrow pair k (0 to 2) slides screen strip k; the bottom strip has none.
constexpr int32_t kArrowPairs = 3;
constexpr int32_t kArrowTop = 68;
constexpr int32_t kArrowSpacing = 100;
constexpr int32_t kLeftArrowX = 94;
constexpr int32_t kLeftArrowWidth = 70;
constexpr int32_t kRightArrowX = 684;
constexpr int32_t kRightArrowWidth = 69;
constexpr int32_t kArrowHeight = 60;

class SlideGame : public PuzzleGame {
 public:
  SlideGame(Difficulty difficulty, std::vector<OwnPainting> paintings)
      : difficulty_(difficulty), pictures_(CanvasSize::Big, std::move(paintings)) {
    for (int32_t k = 0; k < kArrowPairs; ++k) {
      const int32_t y = kArrowTop + kArrowSpacing * k;
      leftArrows_[static_cast<size_t>(k)] =
          MakePuzzleButton(assets_.Picture(leftArrowPicture_), kLeftArrowWidth, kArrowHeight, kLeftArrowX, y, nullptr);
      rightArrows_[static_cast<size_t>(k)] = MakePuzzleButton(assets_.Picture(rightArrowPicture_), kRightArrowWidth,
                                                              kArrowHeight, kRightArrowX, y, nullptr);
    }
    board_.Create(kGridColumns, kGridRows, kCellPixels, kCellPixels);
    ClearPictureBuffer();
  }

  KGraphic* Background() const { return assets_.Picture(background_); }

  void SetUpRound() override {
    DisplaceStrips(offsets_, difficulty_, kGridColumns);
    pictures_.LoadNext();
  }

  void DrawBoard(PuzzleFrame& frame) override {
    board_.ShowGrid(PictureBuffer);
    badge_.Draw(pictures_.Painter(), kBadgeX, kBadgeY, frame.Opacity());
    for (int32_t s = 0; s < kStripCount; ++s) {
      const bool sliding = direction_ != SlideDirection::None && s == slideStrip_;
      if (sliding) AdvanceSlide(frame);
      DrawStrip(s, sliding ? static_cast<int32_t>(slideTravel_) : 0, frame.Opacity());
    }
    assets_.Picture(leftPane_)->BlitAlpha(0, 0, kPaneWidth, kPaneHeight, kLeftPaneX, kPaneY, kNoFlip, kNoFlip);
    assets_.Picture(rightPane_)->BlitAlpha(0, 0, kPaneWidth, kPaneHeight, kRightPaneX, kPaneY, kNoFlip, kNoFlip);
  }

  void HandleBoardInput(PuzzleFrame& frame) override {
    for (int32_t k = 0; k < kArrowPairs; ++k) {
      ImageButton& left = leftArrows_[static_cast<size_t>(k)];
      ImageButton& right = rightArrows_[static_cast<size_t>(k)];
      left.Update(frame.Elapsed());
      right.Update(frame.Elapsed());
      if (!frame.IsInputEnabled()) continue;
      if (left.WasPressed()) StartSlide(frame, k, SlideDirection::Left);
      if (right.WasPressed()) StartSlide(frame, k, SlideDirection::Right);
    }
  }

  bool CheckBoard() override { return AreOffsetsSolved(offsets_); }

 private:
  void StartSlide(PuzzleFrame& frame, int32_t strip, SlideDirection direction) {
    PlaySharedSound(kSharedSlideSound);
    slideStrip_ = strip;
    direction_ = direction;
    frame.SetInputEnabled(false);
  }

  // Once the strip has travelled two cells its offset takes the step.
  void AdvanceSlide(PuzzleFrame& frame) {
    const float step = frame.Elapsed() * kSlidePixelsPerSecond / kMsPerSecond;
    slideTravel_ += direction_ == SlideDirection::Right ? step : -step;
    if (std::abs(static_cast<int32_t>(slideTravel_)) < kSlidePixels) return;
    int32_t& offset = offsets_[static_cast<size_t>(slideStrip_)];
    offset = StepOffset(offset, direction_, kGridColumns);
    direction_ = SlideDirection::None;
    slideTravel_ = 0.0f;
    frame.SetInputEnabled(true);
  }

  // Screen strip s: picture column x shows in screen column x + offset round the ring,
  // moved dx pixels. While the strip slides, the cells about to come round are drawn a
  // second time beyond the other edge, where they enter from under a pane.
  void DrawStrip(int32_t s, int32_t dx, float opacity) {
    const int32_t offset = offsets_[static_cast<size_t>(s)];
    const int32_t row = s * kStripRows;
    const auto y = static_cast<int16_t>(kBoardTop + kStripPixels * s);
    const auto drawColumns = [&](int32_t x, int32_t count, int32_t c) {
      board_.DrawCellsBlended(x, row, count, kStripRows, static_cast<int16_t>(kBoardLeft + kCellPixels * c + dx), y,
                              opacity);
    };
    // The ring cut where the screen wraps: two runs of picture columns.
    const int32_t firstRun = kGridColumns - ShiftedColumn(0, offset, kGridColumns);
    drawColumns(0, firstRun, ShiftedColumn(0, offset, kGridColumns));
    if (firstRun < kGridColumns) drawColumns(firstRun, kGridColumns - firstRun, 0);

    if (s != slideStrip_ || direction_ == SlideDirection::None) return;
    for (int32_t x = 0; x < kGridColumns; ++x) {
      const int32_t c = ShiftedColumn(x, offset, kGridColumns);
      if (direction_ == SlideDirection::Right && c >= kGridColumns - kSlideStepCells)
        drawColumns(x, 1, c - kGridColumns);
      else if (direction_ == SlideDirection::Left && c < kSlideStepCells)
        drawColumns(x, 1, c + kGridColumns);
    }
  }

  AssetCache assets_;
  const size_t background_ = assets_.AddPicture("img\\bg\\slide.png", false);
  const size_t leftPane_ = assets_.AddPicture("img\\bg\\slide_leftpane.png", false);
  const size_t rightPane_ = assets_.AddPicture("img\\bg\\slide_rightpane.png", false);
  const size_t leftArrowPicture_ = assets_.AddPicture("img\\ico\\slide_left.png", true);
  const size_t rightArrowPicture_ = assets_.AddPicture("img\\ico\\slide_right.png", true);
  Difficulty difficulty_;
  PuzzlePictures pictures_;
  PainterBadge badge_;
  StripOffsets offsets_{};
  SlideDirection direction_ = SlideDirection::None;
  int32_t slideStrip_ = 0;
  float slideTravel_ = 0.0f;
  std::array<ImageButton, kArrowPairs> leftArrows_{};
  std::array<ImageButton, kArrowPairs> rightArrows_{};
  BoardPicture board_;
};

}  // namespace

PuzzleRound SlidePuzzleScreen(Difficulty difficulty, std::vector<OwnPainting> paintings) {
  SlideGame game(difficulty, std::move(paintings));
  PuzzleFrame frame(game, {game.Background(), PuzzleKeys::AfterFlip, true});
  return frame.Run();
}
