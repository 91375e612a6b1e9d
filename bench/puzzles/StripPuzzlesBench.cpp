// Frames of the swap and slide puzzles at their heaviest: a picture that changes colour
// in every cell each frame, drawn while strips are exchanged or slid; next to the frame
// that draws only the background. all_blended:1 draws the same frames with opaque boards
// blended too, as the game did before it copied them without blending. Runs the real screens on the built game's files, with
// no frame-rate hold. Each reports the wall-clock time of a frame and, as cpu_ms, the
// CPU time of the whole process per frame: Mesa's software renderer draws in threads of
// its own, which the benchmark's CPU time leaves out. Needs a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>

#include "GameWindow.h"
#include "ProcessCpu.h"
#include "app/AssetCache.h"
#include "app/Frame.h"
#include "shell/Screens.h"
#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "input/KScriptedInput.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"

namespace {

using tafubench::ProcessCpuMs;
using tafubench::ReportCpuPerFrame;

constexpr uint32_t kFramesPerRun = 200;
// A round fades in over a second of the game's own frame time, which frames drawn without a
// hold each count as a millisecond or two; play starts once the frames' times add up to
// more than that.
constexpr int32_t kWarmUpMs = 1100;

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

bool GameReady() {
  static const bool opened = tafubench::OpenGameWindow(TAFU_RUNTIME_DIR, "TAFU puzzles bench", -1);
  if (!opened) std::fprintf(stderr, "No window for the puzzles benchmark\n");
  return opened;
}

// Every cell takes a colour it did not have the frame before.
void RecolourPicture(uint32_t frame) {
  for (int32_t column = 0; column < kGridColumns; ++column)
    for (int32_t row = 0; row < kGridRows; ++row)
      PictureBuffer.At(column, row) = 0xFF000000u | ((frame * 7919u + static_cast<uint32_t>(column * 40 + row)) & 0xFFFFFF);
}

// Runs a screen: after the warm-up, each frame recolours the picture and plays the
// input; the time of the measured frames, per frame, goes to the benchmark.
void MeasureScreen(benchmark::State& state, const std::function<void()>& screen,
                   const std::function<void(uint32_t)>& input) {
  if (!GameReady()) return state.SkipWithError("no window");
  double cpuMs = 0;
  uint64_t frames = 0;
  for (auto _ : state) {
    Clock::time_point start;
    double cpuStart = 0;
    int32_t warmedMs = 0;
    uint32_t firstFrame = 0;
    SetScriptedKey(KEY_ESCAPE, false);
    SetFrameScript([&](uint32_t frame) {
      if (warmedMs <= kWarmUpMs) {
        warmedMs += FrameTime;
        if (warmedMs <= kWarmUpMs) return;
        firstFrame = frame;
        start = Clock::now();
        cpuStart = ProcessCpuMs();
      }
      input(frame);
      RecolourPicture(frame);
      if (frame == firstFrame + kFramesPerRun) {
        state.SetIterationTime(Seconds(Clock::now() - start).count() / kFramesPerRun);
        cpuMs += ProcessCpuMs() - cpuStart;
        frames += kFramesPerRun;
        SetScriptedKey(KEY_ESCAPE, true);
      }
    });
    screen();
    SetFrameScript({});
  }
  ReportCpuPerFrame(state, cpuMs, frames);
}

void BM_BackgroundFrame(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no window");
  AssetCache cache;
  cache.AddPicture("img\\bg\\swap.png", false);
  double cpuMs = 0;
  uint64_t frames = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpuStart = ProcessCpuMs();
    for (uint32_t i = 0; i < kFramesPerRun; ++i) {
      // The pointer moves a pixel each frame, so that every frame is drawn.
      SetScriptedPointer(400 + static_cast<int32_t>(i % 2), 300);
      BeginFrame();
      DrawBackground(cache.Picture(0));
      EndFrame();
    }
    state.SetIterationTime(Seconds(Clock::now() - start).count() / kFramesPerRun);
    cpuMs += ProcessCpuMs() - cpuStart;
    frames += kFramesPerRun;
  }
  ReportCpuPerFrame(state, cpuMs, frames);
}
BENCHMARK(BM_BackgroundFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// An arrow clicked every other frame: a new exchange starts as soon as one ends.
void BM_SwapFrameDuringExchange(benchmark::State& state) {
  KGraphicGL::SetOpaqueCopies(state.range(0) == 0);
  SetScriptedPointer(718, 146);
  MeasureScreen(state, [] { return SwapPuzzleScreen(kHard); },
                [](uint32_t frame) { SetScriptedButton(MOUSE_LEFT, frame % 2 == 0); });
  SetScriptedButton(MOUSE_LEFT, false);
  KGraphicGL::SetOpaqueCopies(true);
}
BENCHMARK(BM_SwapFrameDuringExchange)->ArgName("all_blended")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
    ->UseManualTime()->Iterations(5);

// An arrow held down: the strip keeps sliding.
void BM_SlideFrameDuringSlide(benchmark::State& state) {
  KGraphicGL::SetOpaqueCopies(state.range(0) == 0);
  SetScriptedPointer(129, 98);
  MeasureScreen(state, [] { return SlidePuzzleScreen(kHard); },
                [](uint32_t) { SetScriptedButton(MOUSE_LEFT, true); });
  SetScriptedButton(MOUSE_LEFT, false);
  KGraphicGL::SetOpaqueCopies(true);
}
BENCHMARK(BM_SlideFrameDuringSlide)->ArgName("all_blended")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
    ->UseManualTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
