// A game controller in the studio: SDL's virtual pad, plugged in while the screen runs,
// moves the pointer cell by cell with its d-pad, paints while A is held and leaves by B.
#include "StudioFixture.h"
#include "VirtualPad.h"

namespace studiotest {
namespace {

using tafutest::InputScript;
using tafutest::PlugVirtualPad;
using tafutest::SetPadButton;

TEST_F(StudioTest, APadMovesPaintsAndLeaves) {
  const Spot start = CellSpot(CanvasSize::Big, 2, 2);
  InputScript script;
  SDL_Joystick* pad = PlugVirtualPad();
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  const auto press = [&](SDL_GameControllerButton button) { tafutest::PressPadButton(script, pad, button); };
  script.MoveTo(start.x, start.y).Wait(2);
  press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // the first move shows the cell under the pointer
  script.Do(SetPadButton(pad, SDL_CONTROLLER_BUTTON_A, true)).Wait(3);
  for (int i = 0; i < 3; ++i) press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  script.Do(SetPadButton(pad, SDL_CONTROLLER_BUTTON_A, false)).Wait(3);
  std::vector<std::pair<int32_t, int32_t>> painted;
  script.Do([&painted] { painted = PaintedCells(); });
  press(SDL_CONTROLLER_BUTTON_B);

  EXPECT_EQ(RunStudio(CanvasSize::Big, script, 200), StudioEnd::Left);
  SDL_JoystickClose(pad);
  // B chose the exit door: the studio ended long before the frame limit.
  EXPECT_TRUE(script.Finished());
  EXPECT_LT(script.FramesPlayed(), 100u);
  EXPECT_EQ(painted, (std::vector<std::pair<int32_t, int32_t>>{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));
}

}  // namespace
}  // namespace studiotest
