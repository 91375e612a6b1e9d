// What one menu-like frame costs the process in CPU time (all its threads, Mesa's software
// renderer included), with no frame limit, in an 800 x 600 window and full screen on the
// whole display, where the frame is scaled to fit between black bars; and, as the floor the
// game's frames are held against, what the bare program costs: SDL2 and GL alone drawing one
// 800 x 600 picture over its whole window each frame.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "MenuLikeFrame.h"
#include "window/KScreen.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kSettlingFrames = 20;

// range(0): 0 windowed, 1 full screen.
void BM_MenuFrameOnDisplay(benchmark::State& state) {
  const bool fullScreen = state.range(0) != 0;
  std::unique_ptr<KScreen> screen = CreateScreen(true, false);
  if (!screen || !screen->OpenWindow(kScreenWidth, kScreenHeight, -1, !fullScreen, "TAFU display bench")) {
    state.SkipWithError("no GL window");
    return;
  }
  screen->SetFrameRate(0);
  tafubench::MenuLikeFrame menu;
  if (!menu.Load()) {
    state.SkipWithError("the game's pictures are missing (build the game first)");
    return;
  }
  // Let the window reach its final size before timing.
  for (int i = 0; i < kSettlingFrames; ++i) screen->Flip(false, true);
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(screen->GetWindowHandle()), &width, &height);

  int32_t frame = 0;
  for (auto _ : state) menu.Draw(*screen, frame++);
  state.counters["window_width"] = width;
  state.counters["window_height"] = height;
}
BENCHMARK(BM_MenuFrameOnDisplay)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

void DrawWholeWindowPicture() {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(-1, -1);
  glTexCoord2f(1, 1);
  glVertex2f(1, -1);
  glTexCoord2f(1, 0);
  glVertex2f(1, 1);
  glTexCoord2f(0, 0);
  glVertex2f(-1, 1);
  glEnd();
}

void BM_BareProgramWholeRedraw(benchmark::State& state) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return state.SkipWithError("no video");
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("TAFU bare bench", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        kScreenWidth, kScreenHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) {
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return state.SkipWithError("no GL window");
  }
  SDL_GL_SetSwapInterval(0);
  std::vector<uint32_t> pixels(static_cast<size_t>(kScreenWidth) * kScreenHeight);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u) >> 8;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kScreenWidth, kScreenHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glEnable(GL_TEXTURE_2D);
  glViewport(0, 0, kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    DrawWholeWindowPicture();
    SDL_GL_SwapWindow(window);
  }
  glDeleteTextures(1, &texture);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
BENCHMARK(BM_BareProgramWholeRedraw)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
