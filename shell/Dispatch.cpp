#include "shell/Screens.h"

#include "board/PictureFiles.h"

namespace {

bool InRange(ScreenCode code, ScreenCode base) { return code >= base && code < base + 3; }

// The activity the menu chose, if the code names one.
void RunActivity(ScreenCode code, const std::vector<PaintingsFolder>& shelf) {
  if (code == kCodeSlideBase + kCodeOwnPaintings) SlidePuzzleScreen(kMedium, FindOwnPaintings(shelf, CanvasSize::Big));
  if (code == kCodeSwapBase + kCodeOwnPaintings) SwapPuzzleScreen(kMedium, FindOwnPaintings(shelf, CanvasSize::Big));
  if (code == kCodeCopyDrawingBase + kCodeOwnPaintings)
    CopyDrawingScreen(kMedium, FindOwnPaintings(shelf, CanvasSize::Small));
  if (code == kCodeBigStudio) PaintingScreen(CanvasSize::Big);
  if (code == kCodeSmallStudio) PaintingScreen(CanvasSize::Small);
  if (InRange(code, kCodeSlideBase)) SlidePuzzleScreen(code - kCodeSlideBase + 1);
  if (InRange(code, kCodeSwapBase)) SwapPuzzleScreen(code - kCodeSwapBase + 1);
  if (InRange(code, kCodeCopyDrawingBase)) CopyDrawingScreen(code - kCodeCopyDrawingBase + 1);
  if (InRange(code, kCodeCopyColoursBase)) CopyColoursScreen(code - kCodeCopyColoursBase + 1);
}

}  // namespace

ScreenCode DispatchScreen(const GrownUpSettings& grownUps, const Animal* player,
                          const std::vector<PaintingsFolder>& shelf) {
  const std::vector<PaintingsFolder> folders = shelf.empty() ? std::vector<PaintingsFolder>{{GetPaintingsFolder()}} : shelf;
  const ScreenCode code = RunMainMenu(grownUps, player, folders);
  if (code == kCodeQuit || code == kCodeChangePlayer) return code;
  RunActivity(code, folders);
  return kCodeBackToMenu;
}
