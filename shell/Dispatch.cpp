#include "shell/Screens.h"

namespace {

bool InRange(ScreenCode code, ScreenCode base) { return code >= base && code < base + 3; }

// The activity the menu chose, if the code names one.
void RunActivity(ScreenCode code) {
  if (code == kCodeBigStudio) PaintingScreen(CanvasSize::Big);
  if (code == kCodeSmallStudio) PaintingScreen(CanvasSize::Small);
  if (InRange(code, kCodeSlideBase)) SlidePuzzleScreen(code - kCodeSlideBase + 1);
  if (InRange(code, kCodeSwapBase)) SwapPuzzleScreen(code - kCodeSwapBase + 1);
  if (InRange(code, kCodeCopyDrawingBase)) CopyDrawingScreen(code - kCodeCopyDrawingBase + 1);
  if (InRange(code, kCodeCopyColoursBase)) CopyColoursScreen(code - kCodeCopyColoursBase + 1);
}

}  // namespace

ScreenCode DispatchScreen(const GrownUpSettings& grownUps, const Animal* player) {
  const ScreenCode code = RunMainMenu(grownUps, player);
  if (code == kCodeQuit || code == kCodeChangePlayer) return code;
  RunActivity(code);
  return kCodeBackToMenu;
}
