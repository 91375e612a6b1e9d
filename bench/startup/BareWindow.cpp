// The floor TAFU is measured against: an SDL2 window with an OpenGL (compatibility)
// context that clears to white and swaps at 80 frames a second until it is closed.
#include <SDL.h>
#include <SDL_opengl.h>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr Uint32 kFrameMs = 1000 / 80;

}  // namespace

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("TAFU bare window", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                                        kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
  if (!window) return 1;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return 1;
  SDL_GL_SetSwapInterval(0);

  bool running = true;
  Uint32 next = SDL_GetTicks();
  while (running) {
    SDL_Event event;
    while (SDL_PollEvent(&event))
      if (event.type == SDL_QUIT) running = false;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    next += kFrameMs;
    const Uint32 now = SDL_GetTicks();
    if (static_cast<Sint32>(next - now) > 0) SDL_Delay(next - now);
    else next = now;
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
