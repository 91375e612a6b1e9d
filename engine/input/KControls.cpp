// The frame's input events: each platform event the window hands over goes to the part of
// the input it moves (the wheel, a game controller, the pointer and its buttons, a key), and
// what was latched for one frame is let go as the next begins. A read of a key takes the key
// events pending first.
#include "KControls.h"

#include <SDL.h>

#include <utility>

#include "KControlsEvents.h"
#include "KInputState.h"

KControlsData CONTROLS;

namespace {

int ButtonIndex(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return MOUSE_LEFT;
    case SDL_BUTTON_RIGHT: return MOUSE_RIGHT;
    case SDL_BUTTON_MIDDLE: return MOUSE_MIDDLE;
    default: return -1;
  }
}

// A pad plays as the keyboard: what it presses is kept as a key press marked as the pad's,
// and a button that holds its key holds it as long as it is down.
void TakePadKey(int32_t keyCode, bool down, bool holds) {
  if (holds) HoldKeyFromPad(keyCode, down);
  if (down) KeepKeyPress({.keyCode = keyCode, .pad = true});
}

// A screen may read the keyboard twice without presenting a frame in between (the menu
// leaves on F1 before its frame is shown and is built again at once), so the keyboard is
// brought up to date from the pending key events at every read.
void TakePendingKeyEvents() {
  if (CONTROLS.script.on || !SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_PumpEvents();
  SDL_Event events[16];
  int count = 0;
  while ((count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP)) > 0) {
    for (int i = 0; i < count; ++i) {
      if (CONTROLS.keyEventSink)
        CONTROLS.keyEventSink(events[i]);
      else
        ControlsHandleEvent(events[i]);
    }
  }
}

}  // namespace

void SetKeyEventSink(std::function<void(const SDL_Event&)> sink) { CONTROLS.keyEventSink = std::move(sink); }

void InitControls(void* window) {
  CONTROLS.input = KInputState{};
  CONTROLS.input.window = static_cast<SDL_Window*>(window);
  StartGamepads(TakePadKey);
}

void ControlsBeginFrame() {
  KInputState& input = CONTROLS.input;
  for (bool& latched : input.buttonLatched) latched = false;
  for (bool& latched : input.keyLatched) latched = false;
  KInputScript& script = CONTROLS.script;
  if (script.frameScript) script.frameScript(script.frame++);
}

void ControlsHandleEvent(const SDL_Event& event) {
  if (event.type == SDL_MOUSEWHEEL) {
    SetWheel(static_cast<int16_t>(event.wheel.y * 120));
    return;
  }
  GamepadsHandleEvent(event);
  if (CONTROLS.script.on) return;
  if (CONTROLS.input.mouseAsSwitch && TakeMouseAsSwitch(event)) return;
  switch (event.type) {
    case SDL_MOUSEMOTION:
      CONTROLS.input.pointerPlaced = false;
      SetPointerFromWindow(event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      SetPointerFromWindow(event.button.x, event.button.y);
      const int index = ButtonIndex(event.button.button);
      if (index >= 0) SetMouseButton(index, event.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      FeedKey({KeyCodeOfScancode(event.key.keysym.scancode), (event.key.keysym.mod & KMOD_CTRL) != 0,
               (event.key.keysym.mod & KMOD_SHIFT) != 0, event.key.repeat != 0},
              event.type == SDL_KEYDOWN);
      break;
    default:
      break;
  }
}

bool IsKeyDown(int32_t keyCode) {
  if (!IsKeyCode(keyCode)) return false;
  TakePendingKeyEvents();
  return KeyboardShowsDown(keyCode);
}

void WaitKeyRelease(int32_t keyCode) {
  while (IsKeyDown(keyCode)) {
    if (CONTROLS.script.on) {
      // A scripted key comes up only by a step of the frame script.
      if (!CONTROLS.script.frameScript) return;
      ControlsBeginFrame();
    } else if (SDL_WasInit(SDL_INIT_VIDEO)) {
      SDL_PumpEvents();
    }
    for (bool& latched : CONTROLS.input.keyLatched) latched = false;
  }
}
