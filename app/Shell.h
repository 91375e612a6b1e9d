// What the whole game shares: the window and the start-up switches.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "window/KScreen.h"

// The one window every screen draws into and polls.
extern std::unique_ptr<KScreen> MainScreen;
// "setup.ini" asks for the frame rate in the window title.
extern bool ShowFps;

// A program folder the player may write keeps settings and paintings beside the game;
// an installed copy, or one whose drawing folders cannot be written, keeps them in the
// player's own data folder instead.
void ChooseUserFolder();

// The whole program, given the arguments after its name: answers the command line, or
// plays (start-up, the screen loop and shut-down). Returns the exit status: 0 when all went
// well, 1 without a display or when a painting could not be exported, 2 for a mistake on
// the command line.
int RunTafu(const std::vector<std::string>& arguments);
