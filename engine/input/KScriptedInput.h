// Input given by a test instead of the platform, so that a test can play a screen function
// frame by frame: point, press, release and hold keys, then check what the screen did.
#pragma once

#include <cstdint>
#include <functional>

enum KMouseButton : int32_t { MOUSE_LEFT = 0, MOUSE_RIGHT = 1, MOUSE_MIDDLE = 2 };

// From now on the pointer, the mouse buttons and the keys read only what is set below
// (pointer at 0, 0, nothing held); the platform's mouse and key events are ignored.
// The wheel and joysticks stay live.
void UseScriptedInput();
// Back to the platform's input; the frame script is dropped.
void UseRealInput();
bool IsInputScripted();

void SetScriptedPointer(int32_t x, int32_t y);
// A press and a release given within one frame read as down for that frame, like a quick
// real click between two frames.
void SetScriptedButton(int32_t button, bool down);
void SetScriptedKey(int32_t keyCode, bool down);

// Called once by every Flip, as it starts the next frame's input, with the number of
// frames since the script was set (0 first). This is where a test moves the scripted
// input on, steps the clock, or asks the window to quit. An empty script removes it.
using KFrameScript = std::function<void(uint32_t frame)>;
void SetFrameScript(KFrameScript script);
