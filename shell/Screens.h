// Every screen the dispatcher can run; each returns the code it ends with.
#pragma once

#include "app/ScreenCodes.h"
#include "puzzles/PuzzleScreens.h"
#include "studio/StudioScreens.h"

ScreenCode RunMainMenu();

// Runs the menu, then the screen it chose; returns what that screen returned,
// 100 to end the program, or 0 to come back to the menu.
ScreenCode DispatchScreen();
