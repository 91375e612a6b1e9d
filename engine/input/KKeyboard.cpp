// The keyboard: which keys are down, the presses kept for the frame, and a pad's buttons that
// hold keys.
#include <SDL.h>

#include <utility>

#include "KControls.h"
#include "KInputState.h"

void FeedKey(const KKeyPress& press, bool down) {
  if (down) KeepKeyPress(press);
  if (!IsKeyCode(press.keyCode)) return;
  KInputState& input = CONTROLS.input;
  input.keyDown[press.keyCode] = down;
  if (down) input.keyLatched[ScancodeOf(press.keyCode)] = true;
}

bool KeyboardShowsDown(int32_t keyCode) {
  KInputState& input = CONTROLS.input;
  const SDL_Scancode scancode = ScancodeOf(keyCode);
  // A press that came and went between two reads is reported once, then the key reads as it is.
  if (input.keyLatched[scancode]) {
    input.keyLatched[scancode] = false;
    return true;
  }
  return input.keyHeldByPad[keyCode] || input.keyDown[keyCode];
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
