// What the whole game shares: the window and the start-up switches.
#pragma once

#include <memory>

#include "window/KScreen.h"

// The one window every screen draws into and polls.
extern std::unique_ptr<KScreen> MainScreen;
// "setup.ini" asks for the frame rate in the window title.
extern bool ShowFps;

// The whole program: start-up, the screen loop and shut-down. Returns the exit code.
int RunGame();
