#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "GameLauncher.h"
#include "InputScript.h"
#include "TestSupport.h"
#include "XWindows.h"
#include "input/KControls.h"
#include "input/KControlsEvents.h"
#include "input/KScriptedInput.h"

namespace {

SDL_Event MouseButtonEvent(Uint32 type, Uint8 button, int32_t x, int32_t y) {
  SDL_Event event{};
  event.type = type;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return event;
}

SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.scancode = scancode;
  return event;
}

TEST(KeyTable, VirtualKeysAndKeyCodesRoundTrip) {
  EXPECT_EQ(VirtualKeyToKeyCode(0x70), KEY_F1);
  EXPECT_EQ(KEY_F1, 10);
  EXPECT_EQ(VirtualKeyToKeyCode(0x1B), KEY_ESCAPE);
  EXPECT_EQ(KEY_ESCAPE, 24);
  EXPECT_EQ(VirtualKeyToKeyCode('C'), KEY_C);
  EXPECT_EQ(VirtualKeyToKeyCode('N'), KEY_N);
  EXPECT_EQ(VirtualKeyToKeyCode(0x7C), KEY_UNKNOWN);  // F13 is not in the table
  EXPECT_EQ(VirtualKeyToKeyCode(9999), KEY_UNKNOWN);
  EXPECT_EQ(KeyCodeToVirtualKey(KEY_UNKNOWN), 9999);
  for (int32_t code = 0; code < KEY_UNKNOWN; ++code)
    EXPECT_EQ(VirtualKeyToKeyCode(KeyCodeToVirtualKey(code)), code) << "key code " << code;
}

TEST(KeyTable, ScancodesFindTheirKeyCodes) {
  EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_ESCAPE), KEY_ESCAPE);
  EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_F1), KEY_F1);
  EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_C), KEY_C);
  EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_N), KEY_N);
  EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_KP_9), KEY_PAD9);
  EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_F13), KEY_UNKNOWN);
}

TEST(Wheel, TakeWheelGivesTheDeltaOnce) {
  SetWheel(-240);
  EXPECT_EQ(TakeWheel(), -240);
  EXPECT_EQ(TakeWheel(), 0);
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = 2;
  ControlsHandleEvent(wheel);
  EXPECT_EQ(TakeWheel(), 240);
}

TEST(MouseEvents, AClickBetweenTwoFramesReadsAsDownForOneFrame) {
  UseRealInput();
  InitControls(nullptr);
  ControlsBeginFrame();
  ControlsHandleEvent(MouseButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 40));
  ControlsHandleEvent(MouseButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 31, 41));
  ControlsEndFrame();
  EXPECT_TRUE(IsLeftButtonDown());
  EXPECT_FALSE(IsRightButtonDown());
  EXPECT_EQ(GetMouseX(), 31);
  EXPECT_EQ(GetMouseY(), 41);
  ControlsBeginFrame();
  ControlsEndFrame();
  EXPECT_FALSE(IsLeftButtonDown());
}

TEST(MouseEvents, AHeldButtonStaysDownUntilItsRelease) {
  UseRealInput();
  InitControls(nullptr);
  ControlsBeginFrame();
  ControlsHandleEvent(MouseButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 5));
  for (int frame = 0; frame < 3; ++frame) {
    ControlsBeginFrame();
    EXPECT_TRUE(IsRightButtonDown());
  }
  ControlsHandleEvent(MouseButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 5, 5));
  EXPECT_FALSE(IsRightButtonDown());
}

TEST(ScriptedInput, ReplacesPlatformEventsUntilRealInputComesBack) {
  UseScriptedInput();
  SetScriptedPointer(-15, 620);
  EXPECT_EQ(GetMouseX(), -15);
  EXPECT_EQ(GetMouseY(), 620);
  ControlsHandleEvent(MouseButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 300, 300));
  ControlsHandleEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE));
  EXPECT_FALSE(IsLeftButtonDown());
  EXPECT_FALSE(IsKeyDown(KEY_ESCAPE));
  EXPECT_EQ(GetMouseX(), -15);

  SetScriptedKey(KEY_C, true);
  SetScriptedKey(KEY_N, true);
  EXPECT_TRUE(IsKeyDown(KEY_C) && IsKeyDown(KEY_N));
  SetScriptedKey(KEY_N, false);
  ControlsBeginFrame();
  EXPECT_TRUE(IsKeyDown(KEY_C));
  EXPECT_FALSE(IsKeyDown(KEY_N));
  EXPECT_FALSE(IsKeyDown(KEY_UNKNOWN));

  UseRealInput();
  ControlsHandleEvent(MouseButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 300, 300));
  EXPECT_TRUE(IsLeftButtonDown());
  EXPECT_EQ(GetMouseX(), 300);
  ControlsHandleEvent(MouseButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 300, 300));
}

TEST(ScriptedInput, AQuickTapReadsAsDownForOneFrame) {
  UseScriptedInput();
  SetScriptedButton(MOUSE_LEFT, true);
  SetScriptedButton(MOUSE_LEFT, false);
  EXPECT_TRUE(IsLeftButtonDown());
  ControlsBeginFrame();
  EXPECT_FALSE(IsLeftButtonDown());
  SetScriptedButton(MOUSE_MIDDLE, true);
  ControlsBeginFrame();
  EXPECT_TRUE(IsMiddleButtonDown());
  UseRealInput();
}

TEST(ScriptedInput, TheFrameScriptRunsOncePerFrameWithItsFrameNumber) {
  UseScriptedInput();
  std::vector<uint32_t> frames;
  SetFrameScript([&frames](uint32_t frame) {
    frames.push_back(frame);
    SetScriptedPointer(static_cast<int32_t>(frame) * 10, 0);
  });
  ControlsBeginFrame();
  ControlsBeginFrame();
  ControlsBeginFrame();
  EXPECT_EQ(frames, (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_EQ(GetMouseX(), 20);
  SetFrameScript({});
  ControlsBeginFrame();
  EXPECT_EQ(frames.size(), 3u);
  UseRealInput();
}

TEST(ScriptedInput, WaitKeyReleaseStepsTheScriptUntilTheKeyIsUp) {
  UseScriptedInput();
  SetScriptedKey(KEY_ESCAPE, true);
  uint32_t steps = 0;
  SetFrameScript([&steps](uint32_t frame) {
    ++steps;
    if (frame == 4) SetScriptedKey(KEY_ESCAPE, false);
  });
  WaitKeyRelease(KEY_ESCAPE);
  EXPECT_FALSE(IsKeyDown(KEY_ESCAPE));
  EXPECT_EQ(steps, 5u);
  UseRealInput();
}

TEST(InputScriptHelper, GivesOneStepPerFrameAndQuitsAtTheFrameLimit) {
  auto screen = tafutest::OpenTestWindow();
  ASSERT_TRUE(screen);
  tafutest::InputScript script;
  std::vector<bool> leftDown;
  script.MoveTo(100, 200).Press().Release().Tap().Wait(2);
  script.Play(*screen, 8);
  leftDown.push_back(IsLeftButtonDown());
  EXPECT_EQ(GetMouseX(), 100);
  int flips = 0;
  while (!screen->IsQuitRequested() && flips < 50) {
    screen->Flip(false, true);
    ++flips;
    leftDown.push_back(IsLeftButtonDown());
  }
  EXPECT_EQ(flips, 8);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(script.FramesPlayed(), 8u);
  EXPECT_EQ(std::vector<bool>(leftDown.begin(), leftDown.begin() + 6),
            (std::vector<bool>{false, true, false, true, false, false}));
}

TEST(Joystick, UncapturedJoysticksReadNeutral) {
  ReleaseJoystick(3);
  EXPECT_FALSE(IsJoystickLeft(3));
  EXPECT_FALSE(IsJoystickRight(3));
  EXPECT_FALSE(IsJoystickUp(3));
  EXPECT_FALSE(IsJoystickDown(3));
  EXPECT_EQ(GetJoystickX(3, false), 32767u);
  EXPECT_EQ(GetJoystickY(3, true), 32767u);
  EXPECT_EQ(GetJoystickPov(3), 32767u);
  EXPECT_FALSE(IsJoystickButtonDown(3, 0xFFFFFFFF));
  EXPECT_FALSE(CaptureJoystick(-1));
  EXPECT_FALSE(CaptureJoystick(99));
}

TEST(Joystick, DirectionsUseTheEdgesOfTheAxes) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 4, 3, 1);
  ASSERT_GE(device, 0) << SDL_GetError();
  ASSERT_TRUE(CaptureJoystick(device));
  SDL_Joystick* virtualStick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
  ASSERT_TRUE(virtualStick);
  const auto setAxis = [&](int axis, int32_t value) {
    SDL_JoystickSetVirtualAxis(virtualStick, axis, static_cast<Sint16>(value - 32768));
  };

  setAxis(0, 10);
  setAxis(1, 11);
  EXPECT_TRUE(IsJoystickLeft(device));
  EXPECT_FALSE(IsJoystickUp(device));
  EXPECT_EQ(GetJoystickX(device, false), 10u);
  setAxis(0, 65500);
  setAxis(1, 65501);
  EXPECT_FALSE(IsJoystickLeft(device));
  EXPECT_FALSE(IsJoystickRight(device));
  EXPECT_TRUE(IsJoystickDown(device));
  setAxis(0, 65535);
  setAxis(1, 0);
  EXPECT_TRUE(IsJoystickRight(device));
  EXPECT_TRUE(IsJoystickUp(device));

  setAxis(2, 1234);
  setAxis(3, 40000);
  EXPECT_EQ(GetJoystickX(device, true), 1234u);
  EXPECT_EQ(GetJoystickY(device, true), 40000u);

  SDL_JoystickSetVirtualHat(virtualStick, 0, SDL_HAT_CENTERED);
  EXPECT_EQ(GetJoystickPov(device), 0xFFFFu);
  SDL_JoystickSetVirtualHat(virtualStick, 0, SDL_HAT_LEFT);
  EXPECT_EQ(GetJoystickPov(device), 27000u);
  SDL_JoystickSetVirtualHat(virtualStick, 0, SDL_HAT_RIGHTUP);
  EXPECT_EQ(GetJoystickPov(device), 4500u);

  SDL_JoystickSetVirtualButton(virtualStick, 2, SDL_PRESSED);
  EXPECT_TRUE(IsJoystickButtonDown(device, 0b100));
  EXPECT_FALSE(IsJoystickButtonDown(device, 0b011));
  SDL_JoystickSetVirtualButton(virtualStick, 2, SDL_RELEASED);
  WaitJoystickButtonRelease(device, 0b100);
  EXPECT_FALSE(IsJoystickButtonDown(device, 0b100));

  ReleaseJoystick(device);
  EXPECT_FALSE(IsJoystickRight(device));
  EXPECT_EQ(GetJoystickX(device, false), 32767u);
  SDL_JoystickDetachVirtual(device);
}

// The pointer dragged out of the window to its left reads negative.
TEST(MouseOnX, APointerDraggedLeftOfTheWindowHasANegativeX) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  UseRealInput();
  auto screen = tafutest::OpenTestWindow();
  ASSERT_TRUE(screen);
  screen->SetTitle("TAFU input test");
  auto* window = static_cast<SDL_Window*>(screen->GetWindowHandle());
  for (int i = 0; i < 5; ++i) screen->Flip(false, true);
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window, &left, &top);
  ASSERT_GE(left, 60) << "the window must leave room on its left";

  ASSERT_TRUE(tafutest::Xdotool("mousemove " + std::to_string(left + 50) + " " + std::to_string(top + 60)));
  ASSERT_TRUE(tafutest::Xdotool("mousedown 1"));
  // The X server delivers the press in its own time: wait for it, up to two seconds.
  for (int i = 0; i < 200 && !IsLeftButtonDown(); ++i) {
    SDL_Delay(10);
    screen->Flip(false, true);
  }
  ASSERT_TRUE(IsLeftButtonDown());
  ASSERT_TRUE(tafutest::Xdotool("mousemove " + std::to_string(left - 40) + " " + std::to_string(top + 70)));
  for (int i = 0; i < 200 && GetMouseX() >= 0; ++i) {
    SDL_Delay(10);
    screen->Flip(false, true);
  }
  EXPECT_EQ(GetMouseX(), -40);
  EXPECT_EQ(GetMouseY(), 70);
  tafutest::Xdotool("mouseup 1");
  for (int i = 0; i < 5; ++i) screen->Flip(false, true);
}

}  // namespace
