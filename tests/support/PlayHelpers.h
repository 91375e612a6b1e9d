// Steps and looks that several end-to-end tests share: what the options screen's bars show,
// whether a part of the menu shows only its background picture, and a painting saved.
#pragma once

#include <cstdint>

#include "GameLauncher.h"

namespace tafutest {

// How many LEDs of the options screen's music bar (or effects bar) are lit.
int32_t LitMusicLeds(const GameLauncher& game);
int32_t LitEffectsLeds(const GameLauncher& game);

// Whether the window shows the menu's background picture all over box: no button there.
bool ShowsMenuBackground(const GameLauncher& game, const Box& box);

// From the main menu to the big canvas: true once it shows.
bool OpenBigCanvas(const GameLauncher& game);
// On the big canvas: a red stroke along a row, and a click on Save.
bool PaintAStrokeAndSave(const GameLauncher& game);

}  // namespace tafutest
