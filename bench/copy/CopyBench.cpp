// Frames of the two copy games with the real pictures, played with scripted input, next
// to the frame that only draws the background: an idle frame, and busy frames in which
// the board, the swatch or both change. Each reports, as cpu_ms, the CPU of the whole
// process per frame (Mesa's drawing threads included). Needs a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "GameWindow.h"
#include "ProcessCpu.h"
#include "app/AssetCache.h"
#include "app/Frame.h"
#include "input/KScriptedInput.h"
#include "puzzles/CopyColoursScreen.h"
#include "puzzles/CopyDrawingScreen.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"

namespace {

constexpr int kWarmUpFrames = 400;

int PictureX(int x) { return kCopyPictureLeft + kCopyCellPitch * x + 7; }
int BoardX(int x) { return kCopyBoardLeft + kCopyCellPitch * x + 7; }
int CellY(int y) { return kCopyBoardsTop + kCopyCellPitch * y + 7; }

// The game's window on the built game's folder.
bool Stage() {
  static const bool opened = tafubench::OpenGameWindow(TAFU_RUNTIME_DIR, "TAFU copy bench", -1);
  if (!opened) std::fprintf(stderr, "No window for the copy benchmark\n");
  return opened;
}

void Point(int x, int y, bool down) {
  SetScriptedPointer(x, y);
  SetScriptedButton(MOUSE_LEFT, down);
}

// Runs the round's fade-in, so that the boards are drawn as in play.
void WarmUp(PuzzleFrame& frame) {
  Point(60, 60, false);
  for (int i = 0; i < kWarmUpFrames && frame.Round() != PuzzleRound::Play; ++i) frame.RunFrame();
}

// Two picture cells to pick from, of different colours where the picture has two.
struct PickCells {
  CopyCell first;
  CopyCell second;
};

PickCells TwoColours() {
  PickCells cells;
  for (int x = 0; x < kCopySide; ++x)
    for (int y = 0; y < kCopySide; ++y)
      if (PictureBuffer.At(x, y) != PictureBuffer.At(0, 0)) cells.second = {x, y};
  return cells;
}

void BM_BackgroundFrame(benchmark::State& state) {
  if (!Stage()) return state.SkipWithError("no window");
  AssetCache cache;
  cache.AddPicture("img\\bg\\copycolors.png", false);
  int32_t frame = 0;
  const double cpuStart = tafubench::ProcessCpuMs();
  for (auto _ : state) {
    // The pointer moves a pixel each frame, so that every frame is drawn.
    Point(60 + frame++ % 2, 60, false);
    BeginFrame();
    DrawBackground(cache.Picture(0));
    EndFrame();
  }
  tafubench::ReportCpuPerFrame(state, tafubench::ProcessCpuMs() - cpuStart, state.iterations());
}
BENCHMARK(BM_BackgroundFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Copy colours. Idle: the pointer rests on the board. Busy: frames alternate between
// picking one of two colours and pouring it over the same region, so the swatch and the
// board change every other frame.
void BM_CopyColoursFrame(benchmark::State& state) {
  if (!Stage()) return state.SkipWithError("no window");
  CopyColoursGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  WarmUp(frame);
  const PickCells picks = TwoColours();
  const bool busy = state.range(0) != 0;
  int step = 0;
  const double cpuStart = tafubench::ProcessCpuMs();
  for (auto _ : state) {
    const CopyCell pick = step % 4 == 0 ? picks.first : picks.second;
    if (!busy)
      Point(BoardX(7), CellY(7), false);
    else if (step % 2 == 0)
      Point(PictureX(pick.x), CellY(pick.y), true);
    else
      Point(BoardX(0), CellY(0), true);
    ++step;
    frame.RunFrame();
  }
  tafubench::ReportCpuPerFrame(state, tafubench::ProcessCpuMs() - cpuStart, state.iterations());
}
BENCHMARK(BM_CopyColoursFrame)->ArgName("busy")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Copy drawing. Idle: the pointer rests on the board. Busy: the pen held down sweeps
// the board row by row, one cell further each frame, in the other colour each sweep.
void BM_CopyDrawingFrame(benchmark::State& state) {
  if (!Stage()) return state.SkipWithError("no window");
  CopyDrawingGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  WarmUp(frame);
  const PickCells picks = TwoColours();
  const bool busy = state.range(0) != 0;
  constexpr int kSweep = kCopyCells + 1;
  int step = 0;
  const double cpuStart = tafubench::ProcessCpuMs();
  for (auto _ : state) {
    const int cell = step % kSweep - 1;
    const CopyCell pick = step / kSweep % 2 == 0 ? picks.first : picks.second;
    if (!busy)
      Point(BoardX(7), CellY(7), false);
    else if (cell < 0)
      Point(PictureX(pick.x), CellY(pick.y), true);
    else
      Point(BoardX(cell % kCopySide), CellY(cell / kCopySide), true);
    ++step;
    frame.RunFrame();
  }
  tafubench::ReportCpuPerFrame(state, tafubench::ProcessCpuMs() - cpuStart, state.iterations());
}
BENCHMARK(BM_CopyDrawingFrame)->ArgName("busy")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
