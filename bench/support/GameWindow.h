// The game's 800 x 600 window the screen benchmarks play in.
#pragma once

#include <cstdint>
#include <string>

namespace tafubench {

// Opens the window on the program folder given, with the game's shared pictures and sounds
// loaded, input scripted by the benchmark and frames held to frameRate a second (-1: no hold).
// False when no window opens.
bool OpenGameWindow(const std::string& folder, const char* title, int32_t frameRate);

}  // namespace tafubench
