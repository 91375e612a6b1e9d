// The pointer and the mouse's buttons and wheel, in the frame's pixels; the game's own hand
// (a pointer it placed, a left button it holds); the mouse as a switch; the system cursor.
#include <SDL.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "KControls.h"
#include "KControlsEvents.h"
#include "KInputState.h"

namespace {

bool ButtonDown(int index) { return CONTROLS.input.buttonDown[index] || CONTROLS.input.buttonLatched[index]; }

int32_t FrameX(int32_t windowX) {
  const KPointerArea& area = CONTROLS.pointerArea;
  return WindowToFrame(windowX, area.rect.left, area.rect.width, area.frameWidth);
}

int32_t FrameY(int32_t windowY) {
  const KPointerArea& area = CONTROLS.pointerArea;
  return WindowToFrame(windowY, area.rect.top, area.rect.height, area.frameHeight);
}

}  // namespace

void SetMouseButton(int index, bool down) {
  CONTROLS.input.buttonDown[index] = down;
  if (down) CONTROLS.input.buttonLatched[index] = true;
}

void SetPointerFromWindow(int32_t windowX, int32_t windowY) {
  CONTROLS.input.mouseX = FrameX(windowX);
  CONTROLS.input.mouseY = FrameY(windowY);
}

// Its left button stands for Space, its right one for Enter, and the pointer stays where the
// game put it.
bool TakeMouseAsSwitch(const SDL_Event& event) {
  if (event.type == SDL_MOUSEMOTION || event.type == SDL_MOUSEBUTTONUP) return true;
  if (event.type != SDL_MOUSEBUTTONDOWN) return false;
  if (event.button.button == SDL_BUTTON_LEFT) KeepKeyPress({KEY_SPACE});
  if (event.button.button == SDL_BUTTON_RIGHT) KeepKeyPress({KEY_RETURN});
  return true;
}

int16_t GetMouseX() { return static_cast<int16_t>(CONTROLS.input.mouseX); }
int16_t GetMouseY() { return static_cast<int16_t>(CONTROLS.input.mouseY); }

void SetMousePosition(int32_t x, int32_t y) {
  KInputState& input = CONTROLS.input;
  const KPointerArea& area = CONTROLS.pointerArea;
  if (input.window && !CONTROLS.script.on)
    SDL_WarpMouseInWindow(input.window, FrameToWindow(x, area.rect.left, area.rect.width, area.frameWidth),
                          FrameToWindow(y, area.rect.top, area.rect.height, area.frameHeight));
  input.mouseX = x;
  input.mouseY = y;
}

bool IsLeftButtonDown() { return ButtonDown(MOUSE_LEFT) || CONTROLS.input.leftHeldByGame; }
bool IsRightButtonDown() { return ButtonDown(MOUSE_RIGHT); }
bool IsMiddleButtonDown() { return ButtonDown(MOUSE_MIDDLE); }

void PlacePointer(int32_t x, int32_t y) {
  CONTROLS.input.mouseX = x;
  CONTROLS.input.mouseY = y;
  CONTROLS.input.pointerPlaced = true;
}

bool IsPointerPlaced() { return CONTROLS.input.pointerPlaced; }

void HoldLeftButton(bool down) { CONTROLS.input.leftHeldByGame = down; }
void UseMouseAsSwitch(bool on) { CONTROLS.input.mouseAsSwitch = on; }

bool IsAnythingHeld() {
  const KInputState& input = CONTROLS.input;
  if (input.leftHeldByGame || std::any_of(std::begin(input.keyHeldByPad), std::end(input.keyHeldByPad), std::identity{}))
    return true;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  if (SDL_GetMouseState(nullptr, nullptr) != 0) return true;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  return keys && std::any_of(keys, keys + count, [](Uint8 down) { return down != 0; });
}

void SetWheel(int16_t delta) { CONTROLS.input.wheel = delta; }

int16_t TakeWheel() { return std::exchange(CONTROLS.input.wheel, int16_t{0}); }

void ShowSystemCursor() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

void HideSystemCursor() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void ReleaseCursorClip(bool keep) {
  SDL_Window* window = CONTROLS.input.window;
  if (keep || !window) return;
  SDL_SetWindowGrab(window, SDL_FALSE);
  SDL_SetWindowMouseRect(window, nullptr);
}

void ControlsEndFrame() {
  const KInputState& input = CONTROLS.input;
  if (CONTROLS.script.on || input.pointerPlaced || input.mouseAsSwitch || !input.window || !SDL_WasInit(SDL_INIT_VIDEO))
    return;
  // SDL keeps following the pointer outside the window while a button is held.
  if (SDL_GetMouseFocus() == input.window || SDL_GetMouseState(nullptr, nullptr) != 0) {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    SetPointerFromWindow(x, y);
  }
}

void SetPointerArea(const KFrameRect& area, int32_t frameWidth, int32_t frameHeight) {
  CONTROLS.pointerArea = {area, frameWidth, frameHeight};
}
