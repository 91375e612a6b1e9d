#include "KMessage.h"

#include <SDL.h>

#include <cstdio>

namespace {
KMessageHandler handler = nullptr;
}

void ShowMessage(const std::string& caption, const std::string& text) {
  if (handler) {
    handler(caption, text);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  SDL_Window* owner = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), owner);
}

KMessageHandler SetMessageHandler(KMessageHandler newHandler) {
  const KMessageHandler previous = handler;
  handler = newHandler;
  return previous;
}
