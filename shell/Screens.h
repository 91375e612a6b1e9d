// Every screen the dispatcher can run; each returns the code it ends with.
#pragma once

#include <vector>

#include "app/ScreenCodes.h"
#include "shell/GrownUpSettings.h"
#include "shell/Players.h"
#include "puzzles/PuzzleScreens.h"
#include "studio/StudioScreens.h"

// The menu's answer when the child clicks the player's animal: back to the animals screen.
constexpr ScreenCode kCodeChangePlayer = 96;

// The menu without its exit door in a kiosk, and without its options button when the
// options are locked; with a player, the player's animal small in the top-left corner.
// The difficulty choices offer the puzzles on the paintings of shelf's folders.
ScreenCode RunMainMenu(const GrownUpSettings& grownUps = {}, const Animal* player = nullptr,
                       const std::vector<PaintingsFolder>& shelf = {});
// Reads the menu's pictures while the window opens, for the menu to find them decoded:
// the drawings of them for a frame drawn scale times the world's size.
void ReadMenuAhead(float scale);

// Runs the menu, then the screen it chose; returns 100 to end the program, 96 to choose
// another player, or 0 to come back to the menu. The puzzles can be played on the paintings
// of shelf's folders; with none given, on those of the paintings folder.
ScreenCode DispatchScreen(const GrownUpSettings& grownUps = {}, const Animal* player = nullptr,
                          const std::vector<PaintingsFolder>& shelf = {});

// The six animals, one a player, and the exit door (none in a kiosk): the animal clicked,
// once its sound has played, or null when the game is to end.
const Animal* RunAnimalsScreen(const GrownUpSettings& grownUps);
