// Frames of the painting studios and galleries with every canvas cell a different
// colour, next to the frame that only draws the background. Each run plays the screen
// with scripted input for a number of frames; items per second are frames per second
// of wall-clock time (the drawing runs partly outside the calling thread), and cpu_ms
// is the CPU time of the whole process, every thread, per frame.
// Needs a display (run under Xvfb) and the built game pictures.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "GameWindow.h"
#include "ProcessCpu.h"
#include "app/AssetCache.h"
#include "app/Frame.h"
#include "shell/Screens.h"
#include "graphic/KGraphic.h"
#include "input/KScriptedInput.h"
#include "services/KPaths.h"
#include "studio/CanvasGeometry.h"
#include "studio/GalleryScreen.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"
#include "tests/support/InputScript.h"
#include "window/KScreen.h"

namespace {

using tafubench::ProcessCpuMs;
using tafubench::ReportCpuPerFrame;

constexpr int32_t kFramesPerRun = 300;
constexpr int32_t kFramesPerClick = 4;

namespace fs = std::filesystem;

// A program folder with the game's pictures and, for each size, two paintings of
// which every cell has a colour of its own.
struct Stage {
  fs::path folder;
  bool ready = false;

  bool Open() {
    folder = fs::temp_directory_path() / ("tafu-studio-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy(fs::path(TAFU_RUNTIME_DIR) / "img", folder / "img", fs::copy_options::recursive);
    if (!tafubench::OpenGameWindow(folder.string(), "TAFU studio bench", -1)) return false;
    for (const CanvasSize size : {CanvasSize::Big, CanvasSize::Small}) {
      for (uint32_t seed = 1; seed <= 2; ++seed) {
        for (int32_t column = 0; column < kGridColumns; ++column)
          for (int32_t row = 0; row < kGridRows; ++row)
            PictureBuffer.At(column, row) = kOpaque | (seed << 20) | static_cast<uint32_t>(row * kGridColumns + column);
        if (!SavePainting(size, CanvasColumns(size), CanvasRows(size))) return false;
      }
    }
    return true;
  }
  ~Stage() {
    UseRealInput();
    SharedAssets.Clear();
    MainScreen.reset();
    std::error_code error;
    fs::remove_all(folder, error);
  }
};

Stage& SharedStage() {
  static Stage stage;
  static const bool opened = (stage.ready = stage.Open());
  if (!opened) std::fprintf(stderr, "No window or pictures for the studio benchmark\n");
  return stage;
}

struct Spot {
  int32_t x;
  int32_t y;
};
constexpr Spot kExit = {61, 534};
constexpr Spot kLoad = {247, 530};
constexpr Spot kTake = {476, 528};
constexpr Spot kNext = {316, 535};

void Click(tafutest::InputScript& script, Spot spot) { script.Click(spot.x, spot.y).Wait(kFramesPerClick - 3); }

Spot CellCentre(CanvasSize size, int32_t column, int32_t row) {
  const CanvasGeometry& canvas = GetCanvasGeometry(size);
  return {canvas.left + canvas.cellSize * column + canvas.cellSize / 2,
          canvas.top + canvas.cellSize * row + canvas.cellSize / 2};
}

// Runs screen once with script and counts its frames.
template <typename Screen>
void RunFrames(benchmark::State& state, Screen screen, void (*write)(tafutest::InputScript&, CanvasSize)) {
  Stage& stage = SharedStage();
  if (!stage.ready) return state.SkipWithError("no window");
  const auto size = static_cast<CanvasSize>(state.range(0));
  int64_t frames = 0;
  const double cpuStart = ProcessCpuMs();
  for (auto _ : state) {
    tafutest::InputScript script;
    write(script, size);
    script.Play(*MainScreen);
    screen(size);
    frames += script.FramesPlayed();
  }
  ReportCpuPerFrame(state, ProcessCpuMs() - cpuStart, frames);
  state.SetItemsProcessed(frames);
  state.SetLabel(size == CanvasSize::Big ? "big" : "small");
}

// The studio with a painting of all different cells taken from the gallery: the
// pointer rests on the canvas, then the pen moves one cell every frame.
void StudioScript(tafutest::InputScript& script, CanvasSize size, bool painting) {
  Click(script, kLoad);
  Click(script, kTake);
  const int32_t columns = CanvasColumns(size);
  const Spot start = CellCentre(size, 0, 0);
  script.MoveTo(start.x, start.y);
  if (painting) script.Press();
  for (int32_t frame = 0; frame < kFramesPerRun; ++frame) {
    const Spot cell = CellCentre(size, frame % columns, (frame / columns) % CanvasRows(size));
    script.MoveTo(cell.x, cell.y);
  }
  script.Release();
  Click(script, kExit);
}

void BM_StudioResting(benchmark::State& state) {
  RunFrames(state, PaintingScreen, [](tafutest::InputScript& script, CanvasSize size) {
    StudioScript(script, size, false);
  });
}
BENCHMARK(BM_StudioResting)->Arg(static_cast<int>(CanvasSize::Big))->Arg(static_cast<int>(CanvasSize::Small))
    ->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StudioPainting(benchmark::State& state) {
  RunFrames(state, PaintingScreen, [](tafutest::InputScript& script, CanvasSize size) {
    StudioScript(script, size, true);
  });
}
BENCHMARK(BM_StudioPainting)->Arg(static_cast<int>(CanvasSize::Big))->Arg(static_cast<int>(CanvasSize::Small))
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// The gallery going back and forth between its two paintings: every cell changes at
// each click.
void BM_GalleryBrowsing(benchmark::State& state) {
  RunFrames(state, GalleryScreen, [](tafutest::InputScript& script, CanvasSize) {
    for (int32_t click = 0; click < kFramesPerRun / kFramesPerClick; ++click) Click(script, kNext);
    Click(script, kExit);
  });
}
BENCHMARK(BM_GalleryBrowsing)->Arg(static_cast<int>(CanvasSize::Big))->Arg(static_cast<int>(CanvasSize::Small))
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// The frame every screen has: the studio background, the cursor, the flip.
void BM_BackgroundOnlyFrame(benchmark::State& state) {
  Stage& stage = SharedStage();
  if (!stage.ready) return state.SkipWithError("no window");
  AssetCache assets;
  assets.AddPicture(GetCanvasGeometry(CanvasSize::Big).studioBackground, false);
  int32_t frame = 0;
  const double cpuStart = ProcessCpuMs();
  for (auto _ : state) {
    // The pointer moves a pixel each frame, so that every frame is drawn.
    SetScriptedPointer(400 + frame++ % 2, 300);
    BeginFrame();
    DrawBackground(assets.Picture(0));
    DrawCursor();
    MainScreen->Flip(false, true);
  }
  ReportCpuPerFrame(state, ProcessCpuMs() - cpuStart, frame);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BackgroundOnlyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
