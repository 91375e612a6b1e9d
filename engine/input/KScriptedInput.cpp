// A test's input in place of the platform's: the pointer, the buttons and the keys it sets,
// and the script that moves them on frame by frame.
#include <utility>

#include "KControls.h"
#include "KInputState.h"
#include "KScriptedInput.h"

namespace {

// Nothing the game placed or held, and no key the script held, outlives a change of input.
void ForgetGameHand() {
  KInputState& input = CONTROLS.input;
  input.pointerPlaced = false;
  input.leftHeldByGame = false;
  for (bool& held : input.keyHeldByPad) held = false;
  for (bool& down : input.keyDown) down = false;
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

// Fed as the platform's key events are, with the modifiers the script holds.
void SetScriptedKey(int32_t keyCode, bool down) {
  if (!IsKeyCode(keyCode)) return;
  const bool* keyDown = CONTROLS.input.keyDown;
  if (down && keyDown[keyCode]) return;
  const auto held = [&](int32_t a, int32_t b) { return keyDown[a] || keyDown[b]; };
  FeedKey({keyCode, held(KEY_LCONTROL, KEY_RCONTROL), held(KEY_LSHIFT, KEY_RSHIFT)}, down);
}

void SetFrameScript(KFrameScript frameScript) {
  CONTROLS.script.frameScript = std::move(frameScript);
  CONTROLS.script.frame = 0;
}
