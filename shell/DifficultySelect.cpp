#include "app/AssetCache.h"
#include "puzzles/FramedPainting.h"
#include "shell/MenuScreens.h"

namespace {

enum DifficultyPicture : size_t { kBackground, kEasyPicture, kMediumPicture, kHardPicture };

// The button of the players' paintings stands on the grass below the three difficulties.
constexpr int32_t kPaintingsX = 600;
constexpr int32_t kPaintingsY = 445;

// Copy drawing copies small pictures; the strip puzzles are played on big ones.
CanvasSize PuzzleSize(ScreenCode base) { return base == kCodeCopyDrawingBase ? CanvasSize::Small : CanvasSize::Big; }

}  // namespace

ScreenCode RunDifficultySelect(ScreenCode base, const std::vector<PaintingsFolder>& shelf) {
  AssetCache cache;
  cache.AddPicture("img\\bg\\difficulty.png", false);
  cache.AddPicture("img\\ico\\diff_easy.png", true);
  cache.AddPicture("img\\ico\\diff_medium.png", true);
  cache.AddPicture("img\\ico\\diff_hard.png", true);

  std::vector<Choice> choices = {
      {MakeMenuButton(cache.Picture(kEasyPicture), 145, 147, 100, 227), base},
      {MakeMenuButton(cache.Picture(kMediumPicture), 153, 161, 300, 220), base + 1},
      {MakeMenuButton(cache.Picture(kHardPicture), 188, 195, 500, 203), base + 2},
  };
  FramedPainting newest;
  if (newest.Create(FindOwnPaintings(shelf, PuzzleSize(base)), PuzzleSize(base)))
    choices.push_back({MakeMenuButton(newest.Picture(), kFramedPaintingWidth, kFramedPaintingHeight, kPaintingsX,
                                      kPaintingsY),
                       base + kCodeOwnPaintings});
  choices.push_back({MakeMenuButton(SharedAssets.Picture(kSharedExit), 103, 138, 32, 446), kCodeStayInMenu});
  return RunSelection(cache.Picture(kBackground), choices);
}
