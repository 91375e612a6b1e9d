// Screens that move are drawn at 80 frames a second, frame by frame, although frames equal
// to the one on screen are not: a pulsing button, a sliding strip, a round fading in and a
// stroke being painted, each run at the game's own frame rate on the real clock. Counters:
// presented, the share of frames the window presented (1 when every frame was drawn; a
// pulse holds its size for one frame where it turns, a frame equal to the one before), and
// fps, frames presented per second of wall-clock time; cpu_ms, the time every thread of the
// process spent on a CPU per frame presented. Needs a display (run under Xvfb); bench.sh
// runs it on one of 1920 x 1080, where the strip also moves full screen.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "GameWindow.h"
#include "ProcessCpu.h"
#include "app/AssetCache.h"
#include "app/Frame.h"
#include "input/KControls.h"
#include "input/KScriptedInput.h"
#include "services/KPaths.h"
#include "shell/Screens.h"
#include "board/PictureFiles.h"
#include "studio/CanvasGeometry.h"
#include "studio/StudioScreens.h"
#include "graphic/KGraphic.h"
#include "window/KScreenGL.h"

namespace {

constexpr int32_t kFrameRate = 80;
// Two seconds of frames, measured once the screen is under way.
constexpr uint32_t kMeasuredFrames = 160;
// Half the second a round takes to fade in.
constexpr uint32_t kFadeFrames = 40;

using Clock = std::chrono::steady_clock;

bool GameReady() {
  static const bool opened = tafubench::OpenGameWindow(TAFU_RUNTIME_DIR, "TAFU frames bench", kFrameRate);
  if (!opened) std::fprintf(stderr, "No window for the frames benchmark\n");
  return opened;
}

uint64_t PresentedFrames() { return static_cast<KScreenGL&>(*MainScreen).GetPresentedFrames(); }

// Plays a screen with input(frame) given before each frame; frames first to first + count
// are counted, then leave(frame) is asked to end the screen.
void MeasureFrames(benchmark::State& state, uint32_t first, uint32_t count, const std::function<void()>& screen,
                   const std::function<void(uint32_t)>& input, const std::function<bool(uint32_t)>& leave) {
  if (!GameReady()) return state.SkipWithError("no window");
  double presented = 0;
  double seconds = 0;
  double cpuSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start;
    uint64_t presentedBefore = 0;
    double cpuBefore = 0;
    SetScriptedKey(KEY_ESCAPE, false);
    SetScriptedButton(MOUSE_LEFT, false);
    SetFrameScript([&](uint32_t frame) {
      if (frame == first) {
        start = Clock::now();
        presentedBefore = PresentedFrames();
        cpuBefore = tafubench::ProcessCpuSeconds(getpid());
      }
      if (frame == first + count) {
        presented += static_cast<double>(PresentedFrames() - presentedBefore);
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        cpuSeconds += tafubench::ProcessCpuSeconds(getpid()) - cpuBefore;
      }
      if (frame >= first + count && leave(frame - first - count)) return;
      input(frame);
    });
    screen();
    SetFrameScript({});
  }
  state.counters["presented"] = presented / (static_cast<double>(count) * static_cast<double>(state.iterations()));
  state.counters["fps"] = seconds > 0 ? presented / seconds : 0.0;
  state.counters["cpu_ms"] = presented > 0 ? cpuSeconds * 1000 / presented : 0.0;
}

bool PressEscape(uint32_t) {
  SetScriptedKey(KEY_ESCAPE, true);
  return true;
}

// Frames the round needs to fade in before play starts.
constexpr uint32_t kFadeInFrames = 100;

// The swap puzzle's test button pulsing under the pointer once the round has faded in;
// range(0): 0 in the 800 x 600 window, 1 full screen on the whole display.
void BM_PulsingButton(benchmark::State& state) {
  const bool fullScreen = state.range(0) != 0;
  if (!GameReady()) return state.SkipWithError("no window");
  if (fullScreen && !MainScreen->SetFullScreen(true)) return state.SkipWithError("no full screen");
  MeasureFrames(
      state, kFadeInFrames, kMeasuredFrames, [] { SwapPuzzleScreen(kEasy); },
      [](uint32_t) { SetScriptedPointer(706, 525); }, PressEscape);
  if (fullScreen) MainScreen->SetFullScreen(false);
}
BENCHMARK(BM_PulsingButton)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// A slide puzzle strip kept moving by an arrow held down; range(0): 0 in the 800 x 600
// window, 1 full screen on the whole display.
void BM_MovingStrip(benchmark::State& state) {
  const bool fullScreen = state.range(0) != 0;
  if (!GameReady()) return state.SkipWithError("no window");
  if (fullScreen && !MainScreen->SetFullScreen(true)) return state.SkipWithError("no full screen");
  MeasureFrames(
      state, kFadeInFrames, kMeasuredFrames, [] { SlidePuzzleScreen(kEasy); },
      [](uint32_t frame) {
        SetScriptedPointer(129, 98);
        SetScriptedButton(MOUSE_LEFT, frame >= kFadeInFrames);
      },
      PressEscape);
  if (fullScreen) MainScreen->SetFullScreen(false);
}
BENCHMARK(BM_MovingStrip)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// A round fading in, the pointer still: the first half of its fade.
void BM_Fade(benchmark::State& state) {
  MeasureFrames(
      state, 1, kFadeFrames, [] { SwapPuzzleScreen(kEasy); }, [](uint32_t) { SetScriptedPointer(1, 1); }, PressEscape);
}
BENCHMARK(BM_Fade)->Unit(benchmark::kMillisecond)->Iterations(1);

// The big studio's pen held down and moved one cell each frame along the canvas rows.
void BM_Stroke(benchmark::State& state) {
  constexpr uint32_t kStart = 20;
  const CanvasGeometry& canvas = GetCanvasGeometry(CanvasSize::Big);
  MeasureFrames(
      state, kStart, kMeasuredFrames, [] { PaintingScreen(CanvasSize::Big); },
      [&canvas](uint32_t frame) {
        const int32_t cell = static_cast<int32_t>(frame);
        const int32_t columns = CanvasColumns(CanvasSize::Big);
        SetScriptedPointer(canvas.left + canvas.cellSize * (cell % columns) + canvas.cellSize / 2,
                           canvas.top + canvas.cellSize * ((cell / columns) % CanvasRows(CanvasSize::Big)) +
                               canvas.cellSize / 2);
        SetScriptedButton(MOUSE_LEFT, frame >= kStart - 1);
      },
      // The studio's exit button: point, press, release.
      [](uint32_t frame) {
        SetScriptedPointer(61, 534);
        SetScriptedButton(MOUSE_LEFT, frame % 2 == 1);
        return true;
      });
}
BENCHMARK(BM_Stroke)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
