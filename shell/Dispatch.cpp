#include "shell/Screens.h"

namespace {

bool InRange(ScreenCode code, ScreenCode base) { return code >= base && code < base + 3; }

}  // namespace

ScreenCode DispatchScreen(const GrownUpSettings& grownUps, const Animal* player) {
  const ScreenCode code = RunMainMenu(grownUps, player);
  if (code == kCodeBigStudio) return PaintingScreen(CanvasSize::Big);
  if (code == kCodeSmallStudio) return PaintingScreen(CanvasSize::Small);
  if (InRange(code, kCodeSlideBase)) return SlidePuzzleScreen(code - kCodeSlideBase + 1);
  if (InRange(code, kCodeSwapBase)) return SwapPuzzleScreen(code - kCodeSwapBase + 1);
  if (InRange(code, kCodeCopyDrawingBase)) return CopyDrawingScreen(code - kCodeCopyDrawingBase + 1);
  if (InRange(code, kCodeCopyColoursBase)) return CopyColoursScreen(code - kCodeCopyColoursBase + 1);
  if (code == kCodeQuit || code == kCodeChangePlayer) return code;
  return 0;
}
