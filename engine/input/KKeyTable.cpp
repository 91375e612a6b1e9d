// The key table: the engine's key codes, the Windows virtual keys the game's files name and
// SDL's scancodes, in one row a key.
#include <SDL.h>

#include <array>

#include "KControls.h"
#include "KControlsEvents.h"
#include "KInputState.h"

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

}  // namespace

SDL_Scancode ScancodeOf(int32_t keyCode) { return kKeyTable[static_cast<size_t>(keyCode)].scancode; }

bool IsKeyCode(int32_t keyCode) { return keyCode >= 0 && keyCode < KEY_UNKNOWN; }

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
