// Joysticks polled by device number, for the game's joystick calls (game controllers, which
// play as the keyboard, are KGamepads.cpp's).
#include <SDL.h>

#include <algorithm>

#include "KControls.h"

namespace {

constexpr int kMaxJoysticks = 16;

// Joystick axes read 0..65535; these are the edges where a direction counts as pushed.
constexpr uint32_t kJoystickLow = 10;
constexpr uint32_t kJoystickHigh = 65500;
constexpr int32_t kAxisOffset = 32768;

SDL_Joystick* joysticks[kMaxJoysticks] = {};

SDL_Joystick* CapturedJoystick(int32_t id) {
  if (id < 0 || id >= kMaxJoysticks) return nullptr;
  SDL_Joystick* joystick = joysticks[id];
  if (joystick) SDL_JoystickUpdate();
  return joystick;
}

uint32_t AxisValue(SDL_Joystick* joystick, int axis) {
  return static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + kAxisOffset);
}

}  // namespace

bool CaptureJoystick(int32_t id) {
  if (id < 0 || id >= kMaxJoysticks) return false;
  ReleaseJoystick(id);
  if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
  joysticks[id] = SDL_JoystickOpen(id);
  return joysticks[id] != nullptr;
}

void ReleaseJoystick(int32_t id) {
  if (id < 0 || id >= kMaxJoysticks || !joysticks[id]) return;
  SDL_JoystickClose(joysticks[id]);
  joysticks[id] = nullptr;
}

bool IsJoystickLeft(int32_t id) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  return joystick && AxisValue(joystick, 0) <= kJoystickLow;
}

bool IsJoystickRight(int32_t id) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  return joystick && AxisValue(joystick, 0) > kJoystickHigh;
}

bool IsJoystickUp(int32_t id) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  return joystick && AxisValue(joystick, 1) <= kJoystickLow;
}

bool IsJoystickDown(int32_t id) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  return joystick && AxisValue(joystick, 1) > kJoystickHigh;
}

uint32_t GetJoystickX(int32_t id, bool alternate) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  return joystick ? AxisValue(joystick, alternate ? 2 : 0) : kJoystickNeutral;
}

uint32_t GetJoystickY(int32_t id, bool alternate) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  return joystick ? AxisValue(joystick, alternate ? 3 : 1) : kJoystickNeutral;
}

uint32_t GetJoystickPov(int32_t id) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  if (!joystick) return kJoystickNeutral;
  if (SDL_JoystickNumHats(joystick) < 1) return kJoystickPovCentred;
  switch (SDL_JoystickGetHat(joystick, 0)) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return kJoystickPovCentred;
  }
}

bool IsJoystickButtonDown(int32_t id, uint32_t mask) {
  SDL_Joystick* joystick = CapturedJoystick(id);
  if (!joystick) return false;
  const int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
  for (int button = 0; button < buttons; ++button)
    if ((mask & (1u << button)) && SDL_JoystickGetButton(joystick, button)) return true;
  return false;
}

void WaitJoystickButtonRelease(int32_t id, uint32_t mask) {
  while (IsJoystickButtonDown(id, mask)) SDL_PumpEvents();
}
