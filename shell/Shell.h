// The program itself: the command line, the player's folder, start-up, the screen loop and
// shut-down.
#pragma once

#include <string>
#include <vector>

// A program folder the player may write keeps settings and paintings beside the game;
// an installed copy, or one whose drawing folders cannot be written, keeps them in the
// player's own data folder instead.
void ChooseUserFolder();

// The whole program, given the arguments after its name: answers the command line, or
// plays (start-up, the screen loop and shut-down). Returns the exit status: 0 when all went
// well, 1 without a display or when a painting could not be exported, 2 for a mistake on
// the command line.
int RunTafu(const std::vector<std::string>& arguments);
