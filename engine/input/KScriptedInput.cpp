// A test's input in place of the platform's: the pointer, the buttons and the keys it sets,
// and the script that moves them on frame by frame.
#include <utility>

#include "KControls.h"
#include "KInputState.h"
#include "KScriptedInput.h"

namespace {

// Nothing the game placed or held outlives a change of input.
void ForgetGameHand() {
  KInputState& input = CONTROLS.input;
  input.pointerPlaced = false;
  input.leftHeldByGame = false;
  for (bool& held : input.keyHeldByPad) held = false;
}

}  // namespace

void UseScriptedInput() {
  CONTROLS.script = KInputScript{};
  CONTROLS.script.on = true;
  SDL_Window* window = CONTROLS.input.window;
  CONTROLS.input = KInputState{};
  CONTROLS.input.window = window;
}

void UseRealInput() {
  CONTROLS.script = KInputScript{};
  ForgetGameHand();
}

bool IsInputScripted() { return CONTROLS.script.on; }

void SetScriptedPointer(int32_t x, int32_t y) {
  CONTROLS.input.mouseX = x;
  CONTROLS.input.mouseY = y;
}

void SetScriptedButton(int32_t button, bool down) {
  if (button >= 0 && button < kMouseButtons) SetMouseButton(button, down);
}

void SetScriptedKey(int32_t keyCode, bool down) {
  if (!IsKeyCode(keyCode)) return;
  KInputScript& script = CONTROLS.script;
  if (down && !script.keyDown[keyCode]) {
    const auto held = [&](int32_t a, int32_t b) { return script.keyDown[a] || script.keyDown[b]; };
    KeepKeyPress({keyCode, held(KEY_LCONTROL, KEY_RCONTROL), held(KEY_LSHIFT, KEY_RSHIFT)});
  }
  script.keyDown[keyCode] = down;
  if (down) CONTROLS.input.keyLatched[ScancodeOf(keyCode)] = true;
}

void SetFrameScript(KFrameScript frameScript) {
  CONTROLS.script.frameScript = std::move(frameScript);
  CONTROLS.script.frame = 0;
}
