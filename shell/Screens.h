// Every screen the dispatcher can run; each returns the code it ends with.
#pragma once

#include "app/ScreenCodes.h"
#include "shell/GrownUpSettings.h"
#include "puzzles/PuzzleScreens.h"
#include "studio/StudioScreens.h"

// The menu without its exit door in a kiosk, and without its options button when the
// options are locked.
ScreenCode RunMainMenu(const GrownUpSettings& grownUps = {});

// Runs the menu, then the screen it chose; returns what that screen returned,
// 100 to end the program, or 0 to come back to the menu.
ScreenCode DispatchScreen(const GrownUpSettings& grownUps = {});
