// The game's process-wide state as a fresh start has it, for fixtures to begin and end with.
#pragma once

namespace tafutest {

// Real input and clock, no shared assets, the program folder beside the executable and no
// user folder, the default settings at full master volumes, both galleries at their start.
void ResetGameState();

}  // namespace tafutest
