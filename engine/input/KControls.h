// Keyboard, mouse and joystick state, read by the game once per frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Engine key codes (contiguous from 0; 93 is the unknown key).
enum KeyCode : int32_t {
  KEY_LEFT = 0, KEY_UP = 1, KEY_DOWN = 2, KEY_RIGHT = 3,
  KEY_SPACE = 4, KEY_LSHIFT = 5, KEY_RSHIFT = 6, KEY_RETURN = 7,
  KEY_RCONTROL = 8, KEY_LCONTROL = 9,
  KEY_F1 = 10, KEY_F12 = 21,
  KEY_BACKSPACE = 22, KEY_TAB = 23, KEY_ESCAPE = 24,
  KEY_A = 25, KEY_C = 27, KEY_N = 38, KEY_Y = 49, KEY_Z = 50,
  KEY_0 = 51, KEY_9 = 60,
  KEY_PAD0 = 61, KEY_PAD9 = 70,
  KEY_PAD_MULTIPLY = 71, KEY_PAD_ADD = 72, KEY_PAD_SUBTRACT = 73, KEY_PAD_DECIMAL = 74, KEY_PAD_DIVIDE = 75,
  KEY_CLEAR = 76, KEY_ALT = 77, KEY_LWIN = 78, KEY_RWIN = 79, KEY_NUMLOCK = 80, KEY_SCROLLLOCK = 81,
  KEY_UNKNOWN = 93,
};
constexpr int32_t KEY_COUNT = 94;

// Takes the window (an SDL_Window) the pointer position is measured in.
void InitControls(void* window);

bool IsKeyDown(int32_t keyCode);
// Returns once the key is up.
void WaitKeyRelease(int32_t keyCode);
// A key that went down, with the modifiers held as it did.
struct KKeyPress {
  int32_t keyCode = KEY_UNKNOWN;
  bool control = false;
  bool shift = false;
  bool repeat = false;  // sent again by the keyboard while the key stays down
  bool pad = false;     // a game controller's button or stick, standing for the key
};
// The last presses kept for TakeKeyPresses; older ones are dropped.
constexpr size_t kKeptKeyPresses = 16;
// The keys pressed since the last call, oldest first (a key held down repeats), as far as
// the window's events have been handled (Flip handles them all; nothing is pumped here, so a
// frame at rest costs nothing more). Each press carries its own modifiers, so a quick Ctrl+Z
// reads as one even when Ctrl was let go before the game looked.
std::vector<KKeyPress> TakeKeyPresses();
// The engine key code of a Windows virtual-key number, 93 when the table has none.
int32_t VirtualKeyToKeyCode(int32_t virtualKey);
// The Windows virtual-key number the table gives a key code.
int32_t KeyCodeToVirtualKey(int32_t keyCode);

// Pointer position in client pixels; negative or beyond the window when outside it.
int16_t GetMouseX();
int16_t GetMouseY();
void SetMousePosition(int32_t x, int32_t y);
bool IsLeftButtonDown();
// Play without a mouse: the game puts the pointer on what is chosen, where it stays until the
// mouse itself moves, and holds the left button down as a hand on the mouse would.
void PlacePointer(int32_t x, int32_t y);
bool IsPointerPlaced();
void HoldLeftButton(bool down);
// One switch: the mouse's left button is read as a Space press and its right one as an Enter
// press, and its moves are ignored, so a switch wired as a mouse button chooses.
void UseMouseAsSwitch(bool on);
// A mouse button, a key, a pad's button or the game's own hand is down: the game is in the
// middle of something and does not rest.
bool IsAnythingHeld();
bool IsRightButtonDown();
bool IsMiddleButtonDown();

void SetWheel(int16_t delta);
// The last wheel delta, once; then 0.
int16_t TakeWheel();

void ShowSystemCursor();
void HideSystemCursor();
// false frees the pointer from any confinement; true does nothing.
void ReleaseCursorClip(bool keep);

// Joysticks, by device number from 0. Axes read 0..65535 with the centre near 32767; a
// joystick that was not captured reads neutral (centred axes and hat, no buttons).
constexpr uint32_t kJoystickNeutral = 32767;
constexpr uint32_t kJoystickPovCentred = 0xFFFF;
bool CaptureJoystick(int32_t id);
void ReleaseJoystick(int32_t id);
bool IsJoystickLeft(int32_t id);
bool IsJoystickRight(int32_t id);
bool IsJoystickUp(int32_t id);
bool IsJoystickDown(int32_t id);
// The x axis, or with alternate the z axis.
uint32_t GetJoystickX(int32_t id, bool alternate);
// The y axis, or with alternate the r (fourth) axis.
uint32_t GetJoystickY(int32_t id, bool alternate);
// The first hat in hundredths of a degree clockwise from up, 0xFFFF when centred.
uint32_t GetJoystickPov(int32_t id);
// Any button of the mask (bit n = button n) is held.
bool IsJoystickButtonDown(int32_t id, uint32_t mask);
// Returns once none of the masked buttons is held.
void WaitJoystickButtonRelease(int32_t id, uint32_t mask);

// The picture the window draws as its own pointer when asked to (rows top first, RGBA
// pixels as 0xAABBGGRR). The engine keeps a copy; a built-in 16 x 16 arrow is the default.
struct KCursorImage {
  int32_t width = 0;
  int32_t height = 0;
  const uint32_t* pixels = nullptr;
};
void SetCursorImage(const KCursorImage& image);
// The built-in arrow.
KCursorImage GetBuiltInCursor();
// Draws the cursor picture's top-left 16 x 16 pixels at the pointer.
void DrawEngineCursor();
void FreeEngineCursor();
