// The keyboard: which keys are down, the presses kept for the frame, and a pad's buttons that
// hold keys.
#include <SDL.h>

#include <utility>

#include "KControls.h"
#include "KControlsEvents.h"
#include "KInputState.h"

namespace {

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

bool IsKeyDown(int32_t keyCode) {
  if (!IsKeyCode(keyCode)) return false;
  TakePendingKeyEvents();
  KInputState& input = CONTROLS.input;
  const SDL_Scancode scancode = ScancodeOf(keyCode);
  // A press that came and went between two reads is reported once, then the key reads as it is.
  if (input.keyLatched[scancode]) {
    input.keyLatched[scancode] = false;
    return true;
  }
  if (input.keyHeldByPad[keyCode]) return true;
  if (CONTROLS.script.on) return CONTROLS.script.keyDown[keyCode];
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  return state && state[scancode];
}

void KeepKeyPress(const KKeyPress& press) {
  std::vector<KKeyPress>& presses = CONTROLS.input.keyPresses;
  if (presses.size() == kKeptKeyPresses) presses.erase(presses.begin());
  presses.push_back(press);
}

void HoldKeyFromPad(int32_t keyCode, bool held) {
  if (IsKeyCode(keyCode)) CONTROLS.input.keyHeldByPad[keyCode] = held;
}

std::vector<KKeyPress> TakeKeyPresses() { return std::exchange(CONTROLS.input.keyPresses, {}); }

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
