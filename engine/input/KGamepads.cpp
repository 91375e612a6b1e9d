// Game controllers: any pad SDL knows, plugged in or out at any time. A pad plays as the
// keyboard does: the d-pad and the left stick are the arrow keys, A is Space (held, a
// stroke) and X is Enter. B is a press of Escape marked as the pad's, which the game takes
// as the way out of the screen; it holds no key. What the pads do goes to the sink the
// input gave, as keys. The joystick calls (KJoysticks.cpp) stay as they are beside it.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>

#include "KControls.h"
#include "KControlsEvents.h"

namespace {

// How far the stick must lean to count as an arrow, and how far back to let it go again.
constexpr int32_t kStickPress = 16000;
constexpr int32_t kStickRelease = 8000;

struct PadKey {
  uint8_t button;
  int32_t keyCode;
};
constexpr PadKey kPadKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, KEY_UP},       {SDL_CONTROLLER_BUTTON_DPAD_DOWN, KEY_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, KEY_LEFT},   {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, KEY_RIGHT},
    {SDL_CONTROLLER_BUTTON_A, KEY_SPACE},          {SDL_CONTROLLER_BUTTON_X, KEY_RETURN},
    {SDL_CONTROLLER_BUTTON_B, KEY_ESCAPE},
};

// Which way each stick axis leans now: -1, 0 or 1.
struct StickState {
  int32_t leanX = 0;
  int32_t leanY = 0;
};
StickState stick;
KPadKeySink padKeys = nullptr;

void HandPadKey(int32_t keyCode, bool down, bool holds) {
  if (padKeys) padKeys(keyCode, down, holds);
}

int32_t KeyOfButton(uint8_t button) {
  for (const PadKey& key : kPadKeys)
    if (key.button == button) return key.keyCode;
  return KEY_UNKNOWN;
}

// A lean past kStickPress presses the arrow once; the stick must come back nearly to the
// middle before it presses again.
void FollowStick(int32_t& lean, int32_t value, int32_t lessKey, int32_t moreKey) {
  if (lean != 0 && std::abs(value) < kStickRelease) lean = 0;
  if (lean != 0 || std::abs(value) < kStickPress) return;
  lean = value < 0 ? -1 : 1;
  HandPadKey(lean < 0 ? lessKey : moreKey, true, false);
}

}  // namespace

void StartGamepads(KPadKeySink sink) {
  padKeys = sink;
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
  // Pads present at the start come as added devices too, and are opened then.
  SDL_GameControllerEventState(SDL_ENABLE);
}

void GamepadsHandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      SDL_GameControllerOpen(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (SDL_GameController* pad = SDL_GameControllerFromInstanceID(event.cdevice.which)) SDL_GameControllerClose(pad);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const int32_t keyCode = KeyOfButton(event.cbutton.button);
      if (keyCode == KEY_UNKNOWN) break;
      HandPadKey(keyCode, event.type == SDL_CONTROLLERBUTTONDOWN, keyCode != KEY_ESCAPE);
      break;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) FollowStick(stick.leanX, event.caxis.value, KEY_LEFT, KEY_RIGHT);
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) FollowStick(stick.leanY, event.caxis.value, KEY_UP, KEY_DOWN);
      break;
    default:
      break;
  }
}
