// SDL's virtual game controller, plugged in for a test and played from an input script.
#pragma once

#include <SDL.h>

#include "InputScript.h"

namespace tafutest {

// Plugs in a virtual pad and opens it to press its buttons; null when SDL cannot.
inline SDL_Joystick* PlugVirtualPad() {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  return device < 0 ? nullptr : SDL_JoystickOpen(device);
}

// A step that holds one of the pad's buttons down, or lets it go.
inline std::function<void()> SetPadButton(SDL_Joystick* pad, SDL_GameControllerButton button, bool down) {
  return [=] { SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0); };
}

// A button pressed for two frames and let go for two.
inline void PressPadButton(InputScript& script, SDL_Joystick* pad, SDL_GameControllerButton button) {
  script.Do(SetPadButton(pad, button, true)).Wait(2).Do(SetPadButton(pad, button, false)).Wait(2);
}

}  // namespace tafutest
