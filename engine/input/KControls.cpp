#include "KControls.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "KControlsEvents.h"
#include "KScriptedInput.h"

namespace {

struct KeyEntry {
  int32_t virtualKey;
  SDL_Scancode scancode;
};

// In key-code order; the unknown key ends the table.
constexpr std::array<KeyEntry, KEY_COUNT> kKeyTable = {{
    {0x25, SDL_SCANCODE_LEFT}, {0x26, SDL_SCANCODE_UP}, {0x28, SDL_SCANCODE_DOWN}, {0x27, SDL_SCANCODE_RIGHT},
    {0x20, SDL_SCANCODE_SPACE}, {0xA0, SDL_SCANCODE_LSHIFT}, {0xA1, SDL_SCANCODE_RSHIFT},
    {0x0D, SDL_SCANCODE_RETURN}, {0xA3, SDL_SCANCODE_RCTRL}, {0xA2, SDL_SCANCODE_LCTRL},
    {0x70, SDL_SCANCODE_F1}, {0x71, SDL_SCANCODE_F2}, {0x72, SDL_SCANCODE_F3}, {0x73, SDL_SCANCODE_F4},
    {0x74, SDL_SCANCODE_F5}, {0x75, SDL_SCANCODE_F6}, {0x76, SDL_SCANCODE_F7}, {0x77, SDL_SCANCODE_F8},
    {0x78, SDL_SCANCODE_F9}, {0x79, SDL_SCANCODE_F10}, {0x7A, SDL_SCANCODE_F11}, {0x7B, SDL_SCANCODE_F12},
    {0x08, SDL_SCANCODE_BACKSPACE}, {0x09, SDL_SCANCODE_TAB}, {0x1B, SDL_SCANCODE_ESCAPE},
    {0x41, SDL_SCANCODE_A}, {0x42, SDL_SCANCODE_B}, {0x43, SDL_SCANCODE_C}, {0x44, SDL_SCANCODE_D},
    {0x45, SDL_SCANCODE_E}, {0x46, SDL_SCANCODE_F}, {0x47, SDL_SCANCODE_G}, {0x48, SDL_SCANCODE_H},
    {0x49, SDL_SCANCODE_I}, {0x4A, SDL_SCANCODE_J}, {0x4B, SDL_SCANCODE_K}, {0x4C, SDL_SCANCODE_L},
    {0x4D, SDL_SCANCODE_M}, {0x4E, SDL_SCANCODE_N}, {0x4F, SDL_SCANCODE_O}, {0x50, SDL_SCANCODE_P},
    {0x51, SDL_SCANCODE_Q}, {0x52, SDL_SCANCODE_R}, {0x53, SDL_SCANCODE_S}, {0x54, SDL_SCANCODE_T},
    {0x55, SDL_SCANCODE_U}, {0x56, SDL_SCANCODE_V}, {0x57, SDL_SCANCODE_W}, {0x58, SDL_SCANCODE_X},
    {0x59, SDL_SCANCODE_Y}, {0x5A, SDL_SCANCODE_Z},
    {0x30, SDL_SCANCODE_0}, {0x31, SDL_SCANCODE_1}, {0x32, SDL_SCANCODE_2}, {0x33, SDL_SCANCODE_3},
    {0x34, SDL_SCANCODE_4}, {0x35, SDL_SCANCODE_5}, {0x36, SDL_SCANCODE_6}, {0x37, SDL_SCANCODE_7},
    {0x38, SDL_SCANCODE_8}, {0x39, SDL_SCANCODE_9},
    {0x60, SDL_SCANCODE_KP_0}, {0x61, SDL_SCANCODE_KP_1}, {0x62, SDL_SCANCODE_KP_2}, {0x63, SDL_SCANCODE_KP_3},
    {0x64, SDL_SCANCODE_KP_4}, {0x65, SDL_SCANCODE_KP_5}, {0x66, SDL_SCANCODE_KP_6}, {0x67, SDL_SCANCODE_KP_7},
    {0x68, SDL_SCANCODE_KP_8}, {0x69, SDL_SCANCODE_KP_9},
    {0x6A, SDL_SCANCODE_KP_MULTIPLY}, {0x6B, SDL_SCANCODE_KP_PLUS}, {0x6D, SDL_SCANCODE_KP_MINUS},
    {0x6E, SDL_SCANCODE_KP_PERIOD}, {0x6F, SDL_SCANCODE_KP_DIVIDE},
    {0x0C, SDL_SCANCODE_CLEAR}, {0x12, SDL_SCANCODE_LALT}, {0x5B, SDL_SCANCODE_LGUI}, {0x5C, SDL_SCANCODE_RGUI},
    {0x90, SDL_SCANCODE_NUMLOCKCLEAR}, {0x91, SDL_SCANCODE_SCROLLLOCK},
    {0xBA, SDL_SCANCODE_SEMICOLON}, {0xBB, SDL_SCANCODE_EQUALS}, {0xBC, SDL_SCANCODE_COMMA},
    {0xBD, SDL_SCANCODE_MINUS}, {0xBE, SDL_SCANCODE_PERIOD}, {0xBF, SDL_SCANCODE_SLASH},
    {0xC0, SDL_SCANCODE_GRAVE},
    {0xDB, SDL_SCANCODE_LEFTBRACKET}, {0xDC, SDL_SCANCODE_BACKSLASH}, {0xDD, SDL_SCANCODE_RIGHTBRACKET},
    {0xDE, SDL_SCANCODE_APOSTROPHE},
    {9999, SDL_SCANCODE_UNKNOWN},
}};

constexpr int kButtons = 3;  // left, right, middle
constexpr int kMaxJoysticks = 16;

// Joystick axes read 0..65535; these are the edges where a direction counts as pushed.
constexpr uint32_t kJoystickLow = 10;
constexpr uint32_t kJoystickHigh = 65500;
constexpr int32_t kAxisOffset = 32768;

struct InputState {
  SDL_Window* window = nullptr;
  int32_t mouseX = 0;
  int32_t mouseY = 0;
  bool buttonDown[kButtons] = {};
  bool buttonLatched[kButtons] = {};  // pressed since the frame began
  bool keyLatched[SDL_NUM_SCANCODES] = {};
  std::vector<KKeyPress> keyPresses;
  // The game placed the pointer; the mouse takes it back by moving.
  bool pointerPlaced = false;
  bool leftHeldByGame = false;
  bool keyHeldByPad[KEY_COUNT] = {};
  bool mouseAsSwitch = false;
  int16_t wheel = 0;
};

struct Script {
  bool on = false;
  bool keyDown[KEY_COUNT] = {};
  KFrameScript frameScript;
  uint32_t frame = 0;
};

// Where the frame lies on the window; empty until the window has a frame to show.
struct PointerArea {
  KFrameRect rect;
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
};

InputState input;
PointerArea pointerArea;
Script script;
std::function<void(const SDL_Event&)> keyEventSink;
SDL_Joystick* joysticks[kMaxJoysticks] = {};

int ButtonIndex(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
  }
}

bool ButtonDown(int index) { return input.buttonDown[index] || input.buttonLatched[index]; }

void SetButton(int index, bool down) {
  input.buttonDown[index] = down;
  if (down) input.buttonLatched[index] = true;
}

int32_t FrameX(int32_t windowX) {
  return WindowToFrame(windowX, pointerArea.rect.left, pointerArea.rect.width, pointerArea.frameWidth);
}

int32_t FrameY(int32_t windowY) {
  return WindowToFrame(windowY, pointerArea.rect.top, pointerArea.rect.height, pointerArea.frameHeight);
}

void SetPointerFromWindow(int32_t windowX, int32_t windowY) {
  input.mouseX = FrameX(windowX);
  input.mouseY = FrameY(windowY);
}

SDL_Scancode ScancodeOf(int32_t keyCode) { return kKeyTable[static_cast<size_t>(keyCode)].scancode; }

bool IsKeyCode(int32_t keyCode) { return keyCode >= 0 && keyCode < KEY_UNKNOWN; }


SDL_Joystick* CapturedJoystick(int32_t id) {
  if (id < 0 || id >= kMaxJoysticks) return nullptr;
  SDL_Joystick* joystick = joysticks[id];
  if (joystick) SDL_JoystickUpdate();
  return joystick;
}

uint32_t AxisValue(SDL_Joystick* joystick, int axis) {
  return static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + kAxisOffset);
}

// A screen may read the keyboard twice without presenting a frame in between (the menu
// leaves on F1 before its frame is shown and is built again at once), so the keyboard is
// brought up to date from the pending key events at every read.
void TakePendingKeyEvents() {
  if (script.on || !SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_PumpEvents();
  SDL_Event events[16];
  int count = 0;
  while ((count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP)) > 0) {
    for (int i = 0; i < count; ++i) {
      if (keyEventSink)
        keyEventSink(events[i]);
      else
        ControlsHandleEvent(events[i]);
    }
  }
}

// Nothing the game placed or held outlives a change of input.
void ForgetGameHand() {
  input.pointerPlaced = false;
  input.leftHeldByGame = false;
  for (bool& held : input.keyHeldByPad) held = false;
}

// A switch user's mouse: its left button stands for Space, its right one for Enter, and
// the pointer stays where the game put it.
bool TakeMouseAsSwitch(const SDL_Event& event) {
  if (event.type == SDL_MOUSEMOTION || event.type == SDL_MOUSEBUTTONUP) return true;
  if (event.type != SDL_MOUSEBUTTONDOWN) return false;
  if (event.button.button == SDL_BUTTON_LEFT) KeepKeyPress({KEY_SPACE});
  if (event.button.button == SDL_BUTTON_RIGHT) KeepKeyPress({KEY_RETURN});
  return true;
}

}  // namespace

void SetKeyEventSink(std::function<void(const SDL_Event&)> sink) { keyEventSink = std::move(sink); }

void InitControls(void* window) {
  input = InputState{};
  input.window = static_cast<SDL_Window*>(window);
  StartGamepads();
}

bool IsKeyDown(int32_t keyCode) {
  if (!IsKeyCode(keyCode)) return false;
  TakePendingKeyEvents();
  const SDL_Scancode scancode = ScancodeOf(keyCode);
  // A press that came and went between two reads is reported once, then the key reads as it is.
  if (input.keyLatched[scancode]) {
    input.keyLatched[scancode] = false;
    return true;
  }
  if (input.keyHeldByPad[keyCode]) return true;
  if (script.on) return script.keyDown[keyCode];
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  return state && state[scancode];
}

void KeepKeyPress(const KKeyPress& press) {
  if (input.keyPresses.size() == kKeptKeyPresses) input.keyPresses.erase(input.keyPresses.begin());
  input.keyPresses.push_back(press);
}

void HoldKeyFromPad(int32_t keyCode, bool held) {
  if (IsKeyCode(keyCode)) input.keyHeldByPad[keyCode] = held;
}

std::vector<KKeyPress> TakeKeyPresses() {
  return std::exchange(input.keyPresses, {});
}

void WaitKeyRelease(int32_t keyCode) {
  while (IsKeyDown(keyCode)) {
    if (script.on) {
      // A scripted key comes up only by a step of the frame script.
      if (!script.frameScript) return;
      ControlsBeginFrame();
    } else if (SDL_WasInit(SDL_INIT_VIDEO)) {
      SDL_PumpEvents();
    }
    for (bool& latched : input.keyLatched) latched = false;
  }
}

int32_t VirtualKeyToKeyCode(int32_t virtualKey) {
  for (int32_t code = 0; code < KEY_UNKNOWN; ++code)
    if (kKeyTable[static_cast<size_t>(code)].virtualKey == virtualKey) return code;
  return KEY_UNKNOWN;
}

int32_t KeyCodeToVirtualKey(int32_t keyCode) {
  if (keyCode < 0 || keyCode > KEY_UNKNOWN) keyCode = KEY_UNKNOWN;
  return kKeyTable[static_cast<size_t>(keyCode)].virtualKey;
}

int32_t KeyCodeOfScancode(SDL_Scancode scancode) {
  for (int32_t code = 0; code < KEY_UNKNOWN; ++code)
    if (ScancodeOf(code) == scancode) return code;
  return KEY_UNKNOWN;
}

int16_t GetMouseX() { return static_cast<int16_t>(input.mouseX); }
int16_t GetMouseY() { return static_cast<int16_t>(input.mouseY); }

void SetMousePosition(int32_t x, int32_t y) {
  if (input.window && !script.on)
    SDL_WarpMouseInWindow(input.window,
                          FrameToWindow(x, pointerArea.rect.left, pointerArea.rect.width, pointerArea.frameWidth),
                          FrameToWindow(y, pointerArea.rect.top, pointerArea.rect.height, pointerArea.frameHeight));
  input.mouseX = x;
  input.mouseY = y;
}

bool IsLeftButtonDown() { return ButtonDown(MOUSE_LEFT) || input.leftHeldByGame; }

void PlacePointer(int32_t x, int32_t y) {
  input.mouseX = x;
  input.mouseY = y;
  input.pointerPlaced = true;
}

bool IsPointerPlaced() { return input.pointerPlaced; }

void HoldLeftButton(bool down) { input.leftHeldByGame = down; }
void UseMouseAsSwitch(bool on) { input.mouseAsSwitch = on; }

bool IsAnythingHeld() {
  if (input.leftHeldByGame || std::any_of(std::begin(input.keyHeldByPad), std::end(input.keyHeldByPad), std::identity{}))
    return true;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  if (SDL_GetMouseState(nullptr, nullptr) != 0) return true;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  return keys && std::any_of(keys, keys + count, [](Uint8 down) { return down != 0; });
}
bool IsRightButtonDown() { return ButtonDown(MOUSE_RIGHT); }
bool IsMiddleButtonDown() { return ButtonDown(MOUSE_MIDDLE); }

void SetWheel(int16_t delta) { input.wheel = delta; }

int16_t TakeWheel() {
  const int16_t delta = input.wheel;
  input.wheel = 0;
  return delta;
}

void ShowSystemCursor() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

void HideSystemCursor() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void ReleaseCursorClip(bool keep) {
  if (keep || !input.window) return;
  SDL_SetWindowGrab(input.window, SDL_FALSE);
  SDL_SetWindowMouseRect(input.window, nullptr);
}

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

void UseScriptedInput() {
  script = Script{};
  script.on = true;
  SDL_Window* window = input.window;
  input = InputState{};
  input.window = window;
}

void UseRealInput() {
  script = Script{};
  ForgetGameHand();
}

bool IsInputScripted() { return script.on; }

void SetScriptedPointer(int32_t x, int32_t y) {
  input.mouseX = x;
  input.mouseY = y;
}

void SetScriptedButton(int32_t button, bool down) {
  if (button >= 0 && button < kButtons) SetButton(button, down);
}

void SetScriptedKey(int32_t keyCode, bool down) {
  if (!IsKeyCode(keyCode)) return;
  if (down && !script.keyDown[keyCode]) {
    const auto held = [](int32_t a, int32_t b) { return script.keyDown[a] || script.keyDown[b]; };
    KeepKeyPress({keyCode, held(KEY_LCONTROL, KEY_RCONTROL), held(KEY_LSHIFT, KEY_RSHIFT)});
  }
  script.keyDown[keyCode] = down;
  if (down) input.keyLatched[ScancodeOf(keyCode)] = true;
}

void SetFrameScript(KFrameScript frameScript) {
  script.frameScript = std::move(frameScript);
  script.frame = 0;
}

void ControlsBeginFrame() {
  for (bool& latched : input.buttonLatched) latched = false;
  for (bool& latched : input.keyLatched) latched = false;
  if (script.frameScript) script.frameScript(script.frame++);
}

void ControlsHandleEvent(const SDL_Event& event) {
  if (event.type == SDL_MOUSEWHEEL) {
    SetWheel(static_cast<int16_t>(event.wheel.y * 120));
    return;
  }
  GamepadsHandleEvent(event);
  if (script.on) return;
  if (input.mouseAsSwitch && TakeMouseAsSwitch(event)) return;
  switch (event.type) {
    case SDL_MOUSEMOTION:
      input.pointerPlaced = false;
      SetPointerFromWindow(event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      SetPointerFromWindow(event.button.x, event.button.y);
      const int index = ButtonIndex(event.button.button);
      if (index >= 0) SetButton(index, event.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    case SDL_KEYDOWN:
      input.keyLatched[event.key.keysym.scancode] = true;
      KeepKeyPress({KeyCodeOfScancode(event.key.keysym.scancode), (event.key.keysym.mod & KMOD_CTRL) != 0,
                    (event.key.keysym.mod & KMOD_SHIFT) != 0, event.key.repeat != 0});
      break;
    default:
      break;
  }
}

void ControlsEndFrame() {
  if (script.on || input.pointerPlaced || input.mouseAsSwitch || !input.window || !SDL_WasInit(SDL_INIT_VIDEO)) return;
  // SDL keeps following the pointer outside the window while a button is held.
  if (SDL_GetMouseFocus() == input.window || SDL_GetMouseState(nullptr, nullptr) != 0) {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    SetPointerFromWindow(x, y);
  }
}

void SetPointerArea(const KFrameRect& area, int32_t frameWidth, int32_t frameHeight) {
  pointerArea = {area, frameWidth, frameHeight};
}
