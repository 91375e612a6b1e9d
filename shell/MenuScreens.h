// The screens the main menu runs on top of itself, and what they share.
#pragma once

#include <cstdint>
#include <vector>

#include "app/ScreenCodes.h"
#include "app/Widgets.h"
#include "puzzles/PuzzlePictures.h"

class KGraphic;

// A menu button: pulses while hovered and plays the shared click sound before it reports
// the click.
ImageButton MakeMenuButton(KGraphic* picture, int32_t width, int32_t height, int32_t x, int32_t y);

// A button of a selection screen and the code the screen returns when it is clicked.
struct Choice {
  ImageButton button;
  ScreenCode code;
};

// The loop of a selection screen: runs frames until a button is clicked (its code; that
// frame is not presented) or the window is asked to quit (100). Buttons are asked and
// drawn in the given order.
ScreenCode RunSelection(KGraphic* background, std::vector<Choice>& choices);

// Easy, medium or hard for the activity whose codes start at base (2 slide, 5 swap,
// 8 copy drawing): returns base, base + 1 or base + 2; 95 for back; 100 when the window
// is closing. When shelf's folders hold a painting of the activity's size (small for copy
// drawing, big for the others), a fourth button shows the newest framed and returns
// base + 20, the game on the paintings.
ScreenCode RunDifficultySelect(ScreenCode base, const std::vector<PaintingsFolder>& shelf = {});
// The big or the small canvas: returns 0 or 1; 95 for back; 100 when the window is closing.
ScreenCode RunPaintingSizeSelect();
// Window mode and the two volumes, each change applied and saved at once. Returns 0.
ScreenCode RunOptions();
