// A game controller plays as the keyboard: its buttons and its stick, as the keys they hand on.
#include <gtest/gtest.h>

#include <SDL.h>

#include <tuple>
#include <vector>

#include "input/KControls.h"
#include "input/KControlsEvents.h"

namespace {

using PadKey = std::tuple<int32_t, bool, bool>;  // key code, down, holds
std::vector<PadKey> handed;

SDL_Event Button(uint8_t button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
  event.cbutton.button = button;
  return event;
}

SDL_Event Stick(uint8_t axis, int16_t value) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERAXISMOTION;
  event.caxis.axis = axis;
  event.caxis.value = value;
  return event;
}

TEST(PadKeys, ButtonsHoldTheirKeysBPressesEscapeAndTheStickPressesAnArrowOncePerLean) {
  StartGamepads([](int32_t keyCode, bool down, bool holds) { handed.push_back({keyCode, down, holds}); });
  struct Case {
    SDL_Event event;
    std::vector<PadKey> keys;
  };
  const Case cases[] = {
      {Button(SDL_CONTROLLER_BUTTON_A, true), {{KEY_SPACE, true, true}}},
      {Button(SDL_CONTROLLER_BUTTON_A, false), {{KEY_SPACE, false, true}}},
      {Button(SDL_CONTROLLER_BUTTON_X, true), {{KEY_RETURN, true, true}}},
      {Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true), {{KEY_LEFT, true, true}}},
      {Button(SDL_CONTROLLER_BUTTON_B, true), {{KEY_ESCAPE, true, false}}},
      {Button(SDL_CONTROLLER_BUTTON_Y, true), {}},
      {Stick(SDL_CONTROLLER_AXIS_LEFTX, 16000), {{KEY_RIGHT, true, false}}},
      {Stick(SDL_CONTROLLER_AXIS_LEFTX, 9000), {}},  // still leaning
      {Stick(SDL_CONTROLLER_AXIS_LEFTX, 7999), {}},  // back near the middle
      {Stick(SDL_CONTROLLER_AXIS_LEFTX, -16000), {{KEY_LEFT, true, false}}},
      {Stick(SDL_CONTROLLER_AXIS_LEFTY, 15999), {}},
      {Stick(SDL_CONTROLLER_AXIS_LEFTY, 20000), {{KEY_DOWN, true, false}}},
      {Stick(SDL_CONTROLLER_AXIS_RIGHTX, 30000), {}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    handed.clear();
    GamepadsHandleEvent(cases[i].event);
    EXPECT_EQ(handed, cases[i].keys) << "case " << i;
  }
}

}  // namespace
