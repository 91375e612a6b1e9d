// The frame's input events: each platform event the window hands over goes to the part of
// the input it moves (the wheel, a game controller, the pointer and its buttons, a key), and
// what was latched for one frame is let go as the next begins.
#include "KControls.h"

#include <SDL.h>

#include "KControlsEvents.h"
#include "KInputState.h"
#include "KScriptedInput.h"

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

}  // namespace

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
      CONTROLS.input.keyLatched[event.key.keysym.scancode] = true;
      KeepKeyPress({KeyCodeOfScancode(event.key.keysym.scancode), (event.key.keysym.mod & KMOD_CTRL) != 0,
                    (event.key.keysym.mod & KMOD_SHIFT) != 0, event.key.repeat != 0});
      break;
    default:
      break;
  }
}
