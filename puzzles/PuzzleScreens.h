// The puzzle screens the dispatcher runs; each returns the code it ends with.
#pragma once

#include "app/ScreenCodes.h"

ScreenCode SlidePuzzleScreen(Difficulty difficulty);
ScreenCode SwapPuzzleScreen(Difficulty difficulty);
ScreenCode CopyDrawingScreen(Difficulty difficulty);
ScreenCode CopyColoursScreen(Difficulty difficulty);
