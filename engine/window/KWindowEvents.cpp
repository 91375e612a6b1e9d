// The window's events: what they change in the window (size, exposure, quit) and the
// engine events they are translated into for an event handler.
#include "KScreenGL.h"
#include "input/KControls.h"
#include "input/KControlsEvents.h"

// The window shows the frame again after anything that may have spoilt or moved it.
void KScreenGL::FollowWindowEvent(uint8_t windowEvent) {
  switch (windowEvent) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      FollowWindowSize();
      presentPending_ = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      presentPending_ = true;
      break;
    default:
      break;
  }
}

void KScreenGL::RequestQuit() {
  quitRequested_ = true;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PushEvent(&quit);
}

void KScreenGL::IgnoreCloseRequests(bool ignore) {
  closeIgnored_ = ignore;
  // Otherwise SDL turns the close of its last window into a quit of its own.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, ignore ? "0" : "1");
}

bool KScreenGL::IsForeground() {
  return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void KScreenGL::PumpMessage() {
  SDL_Event event;
  if (SDL_PollEvent(&event)) HandleEvent(event);
}

void KScreenGL::HandleEvent(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT) FollowWindowEvent(event.window.event);
  ControlsHandleEvent(event);
  if (messageHook_ && !messageHook_(&event)) return;
  if (eventHandler_ && !eventHandler_(TranslateEvent(event))) return;
  if (event.type == SDL_QUIT) {
    quitRequested_ = true;
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE && !closeIgnored_) {
    quitRequested_ = true;  // closing asks the game to end; the window stays
  }
}

namespace {

int32_t ButtonNumber(uint8_t button) {
  return button == SDL_BUTTON_LEFT ? 1 : button == SDL_BUTTON_RIGHT ? 2 : button == SDL_BUTTON_MIDDLE ? 3 : 0;
}

// A key or character event; false for any other.
bool TranslateKeyEvent(const SDL_Event& event, KEvent& translated) {
  switch (event.type) {
    case SDL_KEYDOWN:
      translated.type = KEVENT_KEY_PRESSED;
      translated.character = static_cast<uint8_t>(event.key.keysym.scancode);
      break;
    case SDL_KEYUP:
      translated.type = KEVENT_KEY_RELEASED;
      translated.character = static_cast<uint8_t>(event.key.keysym.sym & 0xFF);
      break;
    case SDL_TEXTINPUT:
      translated.type = KEVENT_CHARACTER;
      translated.character = static_cast<uint8_t>(event.text.text[0]);
      return true;
    default:
      return false;
  }
  translated.virtualKey = event.key.keysym.sym;
  translated.key = KeyCodeOfScancode(event.key.keysym.scancode);
  return true;
}

void TranslateMouseEvent(const SDL_Event& event, KEvent& translated) {
  switch (event.type) {
    case SDL_MOUSEMOTION:
      translated.type = KEVENT_MOUSE_MOVED;
      break;
    case SDL_MOUSEBUTTONDOWN:
      translated.type = event.button.clicks == 2 ? KEVENT_DOUBLE_CLICKED : KEVENT_BUTTON_PRESSED;
      translated.button = ButtonNumber(event.button.button);
      break;
    case SDL_MOUSEBUTTONUP:
      translated.type = KEVENT_BUTTON_RELEASED;
      translated.button = ButtonNumber(event.button.button);
      break;
    case SDL_MOUSEWHEEL:
      translated.type = KEVENT_WHEEL;
      translated.wheel = static_cast<int16_t>(event.wheel.y * 120);
      break;
    default:
      break;
  }
}

}  // namespace

KEvent KScreenGL::TranslateEvent(const SDL_Event& event) const {
  KEvent translated;
  translated.x = GetMouseX();
  translated.y = GetMouseY();
  translated.message = static_cast<int32_t>(event.type);
  if (!TranslateKeyEvent(event, translated)) TranslateMouseEvent(event, translated);
  return translated;
}
