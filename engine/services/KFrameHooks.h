// Work that must be done once a frame by a part of the engine the window does not know:
// the window runs every hook at the end of each frame, after the frame's events.
#pragma once

#include <cstdint>

// Does the hook's work; returns the longest the window may rest before the hook must run
// again (UINT32_MAX: not until the window wakes for something else).
using KFrameHook = uint32_t (*)();

// Adds a hook, once: adding one already there changes nothing. A hook added is due before
// the window next rests.
void AddFrameHook(KFrameHook hook);
void RunFrameHooks();
// The longest a window may rest before its hooks are due, as they said when they last ran
// (UINT32_MAX without hooks).
uint32_t LongestRestForHooks();
