// The state the input files share (engine only): what the keyboard, the mouse, the game's own
// hand and a test's script hold, in one struct, as raylib keeps its CORE.Input. Each file
// does one job on it: the key table (KKeyTable.cpp), the keyboard (KKeyboard.cpp), the
// pointer and its buttons (KPointer.cpp), joysticks (KJoysticks.cpp), game controllers
// (KGamepads.cpp), scripted input (KScriptedInput.cpp), and the frame's events, which the
// others are fed from (KControls.cpp).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "KControls.h"
#include "KScriptedInput.h"
#include "window/KFrameFit.h"

constexpr int kMouseButtons = 3;  // left, right, middle

struct KInputState {
  SDL_Window* window = nullptr;
  int32_t mouseX = 0;
  int32_t mouseY = 0;
  bool buttonDown[kMouseButtons] = {};
  bool buttonLatched[kMouseButtons] = {};  // pressed since the frame began
  bool keyLatched[SDL_NUM_SCANCODES] = {};
  bool keyDown[KEY_COUNT] = {};  // as the key events handled, or the script, left them
  std::vector<KKeyPress> keyPresses;
  // The game placed the pointer; the mouse takes it back by moving.
  bool pointerPlaced = false;
  bool leftHeldByGame = false;
  bool keyHeldByPad[KEY_COUNT] = {};
  bool mouseAsSwitch = false;
  int16_t wheel = 0;
};

// A test's input, fed instead of the platform's.
struct KInputScript {
  bool on = false;
  KFrameScript frameScript;
  uint32_t frame = 0;
};

// Where the frame lies on the window; empty until the window has a frame to show.
struct KPointerArea {
  KFrameRect rect;
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
};

struct KControlsData {
  KInputState input;
  KInputScript script;
  KPointerArea pointerArea;
  // Where key events taken between two frames go (see SetKeyEventSink).
  std::function<void(const SDL_Event&)> keyEventSink;
};

extern KControlsData CONTROLS;

// A key went down or up, from the platform's events or a test's script alike: the one way
// into the keyboard's state. A press is kept for TakeKeyPresses and latched for the frame.
void FeedKey(const KKeyPress& press, bool down);
// Whether the key is down (by the keyboard, a pad or a test's script), as far as the events
// fed tell; a press latched since the frame began is reported once.
bool KeyboardShowsDown(int32_t keyCode);
// Keeps a press for TakeKeyPresses, as a key of the keyboard would.
void KeepKeyPress(const KKeyPress& press);
// A pad's button that stands for a key holds that key down.
void HoldKeyFromPad(int32_t keyCode, bool held);
// The key table's scancode of a key code.
SDL_Scancode ScancodeOf(int32_t keyCode);
// A key code of the table, the unknown key excluded.
bool IsKeyCode(int32_t keyCode);
// A mouse button goes down (latched for the frame) or up.
void SetMouseButton(int index, bool down);
// The pointer, from window pixels into the frame's.
void SetPointerFromWindow(int32_t windowX, int32_t windowY);
// A switch user's mouse: true when the event was taken as a switch's press.
bool TakeMouseAsSwitch(const SDL_Event& event);
