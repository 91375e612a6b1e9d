// A game controller in the studio: SDL's virtual pad, plugged in while the screen runs,
// moves the pointer cell by cell with its d-pad, paints while A is held and leaves by B.
#include <SDL.h>

#include "StudioFixture.h"

namespace studiotest {
namespace {

using tafutest::InputScript;

// SDL's virtual pad, plugged in for the test: its device is opened to press its buttons.
SDL_Joystick* PlugVirtualPad() {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  return device < 0 ? nullptr : SDL_JoystickOpen(device);
}

TEST_F(StudioTest, APadMovesPaintsAndLeaves) {
  const Spot start = CellSpot(CanvasSize::Big, 2, 2);
  InputScript script;
  SDL_Joystick* pad = PlugVirtualPad();
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  const auto set = [pad](SDL_GameControllerButton button, bool down) {
    return [=] { SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0); };
  };
  const auto press = [&](SDL_GameControllerButton button) { script.Do(set(button, true)).Wait(2).Do(set(button, false)).Wait(2); };
  script.MoveTo(start.x, start.y).Wait(2);
  press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // the first move shows the cell under the pointer
  script.Do(set(SDL_CONTROLLER_BUTTON_A, true)).Wait(3);
  for (int i = 0; i < 3; ++i) press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  script.Do(set(SDL_CONTROLLER_BUTTON_A, false)).Wait(3);
  std::vector<std::pair<int32_t, int32_t>> painted;
  script.Do([&painted] { painted = PaintedCells(); });
  press(SDL_CONTROLLER_BUTTON_B);

  EXPECT_EQ(RunStudio(CanvasSize::Big, script, 200), 4);
  SDL_JoystickClose(pad);
  // B chose the exit door: the studio ended long before the frame limit.
  EXPECT_TRUE(script.Finished());
  EXPECT_LT(script.FramesPlayed(), 100u);
  EXPECT_EQ(painted, (std::vector<std::pair<int32_t, int32_t>>{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));
}

}  // namespace
}  // namespace studiotest
