// Work that must be done once a frame by a part of the engine the window does not know:
// the window runs every hook at the end of each frame, after the frame's events.
#pragma once

using KFrameHook = void (*)();

// Adds a hook, once: adding one already there changes nothing.
void AddFrameHook(KFrameHook hook);
void RunFrameHooks();
// Whether any hook needs every frame (then the window never rests).
bool HasFrameHooks();
