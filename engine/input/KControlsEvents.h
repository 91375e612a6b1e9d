// How the window feeds platform events into the input state (engine only).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>

#include "input/KControls.h"
#include "window/KFrameFit.h"

// Starts a new frame of input: presses latched during the last frame are released.
void ControlsBeginFrame();
// Takes one platform event into the input state.
void ControlsHandleEvent(const SDL_Event& event);
// Reads the pointer position from SDL after the pending events were handled.
void ControlsEndFrame();
int32_t KeyCodeOfScancode(SDL_Scancode scancode);
// What a game controller does, as keys: keyCode went down or up; holds tells whether the
// button holds its key while down (the stick's leans and B only press).
using KPadKeySink = void (*)(int32_t keyCode, bool down, bool holds);
// Game controllers: opened as they are plugged in, their buttons and stick handed to sink.
void StartGamepads(KPadKeySink sink);
void GamepadsHandleEvent(const SDL_Event& event);
// The part of the window that shows the frame, and the frame's size: pointer positions are
// taken from window pixels into frame pixels. An empty area leaves them as window pixels.
void SetPointerArea(const KFrameRect& area, int32_t frameWidth, int32_t frameHeight);
// Where key events that IsKeyDown takes from the queue between two frames are handled (the
// window's own event handling, so its hooks see them too); without one, the input state
// takes them directly.
void SetKeyEventSink(std::function<void(const SDL_Event&)> sink);
