// Work that must be done once a frame by a part of the engine the window does not know:
// the window runs every hook at the end of each frame, after the frame's events.
#pragma once

#include <cstdint>

using KFrameHook = void (*)();

// Adds a hook, once: adding one already there changes nothing. A window at rest still runs
// it at least every longestGapMs.
void AddFrameHook(KFrameHook hook, uint32_t longestGapMs);
void RunFrameHooks();
// The longest a window may rest before its hooks are due (UINT32_MAX without hooks).
uint32_t LongestRestForHooks();
