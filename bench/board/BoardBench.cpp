// Frames of a 50 x 40 board whose every cell changes colour each frame, drawn over the
// background: through the board picture, and the old way through one cell tile per
// cell; next to the background-only frame. Needs a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "graphic/KGraphic.h"
#include "board/BoardPicture.h"
#include "window/KScreen.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kColumns = 50;
constexpr int kRows = 40;

struct Stage {
  std::unique_ptr<KScreen> screen;
  std::vector<uint32_t> backgroundPixels;
  std::unique_ptr<KGraphic> background;
  uint32_t colour = 0;

  bool Open() {
    screen = CreateScreen(true, false);
    if (!screen || !screen->OpenWindow(kWidth, kHeight, -1, true, "TAFU board bench")) return false;
    KGraphicGL::SetScreenSize(kWidth, kHeight, -1);
    screen->SetFrameRate(-1);
    backgroundPixels.resize(static_cast<size_t>(kWidth * kHeight));
    for (size_t i = 0; i < backgroundPixels.size(); ++i) backgroundPixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u);
    background = CreateGraphic();
    return background->CreateFromPixels(backgroundPixels.data(), kWidth, kHeight, true);
  }
  void Background() {
    screen->ResetView();
    background->Blit(0, 0, kWidth, kHeight, 0, 0, false, false);
  }
  // A colour no cell had in the frames before.
  uint32_t NextColour() { return 0xFF000000u | (++colour & 0xFFFFFF); }
};

Stage& SharedStage() {
  static Stage stage;
  static const bool opened = stage.Open();
  if (!opened) std::fprintf(stderr, "No window for the board benchmark\n");
  return stage;
}

void BM_BackgroundFrame(benchmark::State& state) {
  Stage& stage = SharedStage();
  if (!stage.background) return state.SkipWithError("no window");
  for (auto _ : state) {
    stage.Background();
    stage.screen->Flip(false, true);
  }
}
BENCHMARK(BM_BackgroundFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_BoardPictureFrame(benchmark::State& state) {
  Stage& stage = SharedStage();
  if (!stage.background) return state.SkipWithError("no window");
  BoardPicture board;
  if (!board.Create(kColumns, kRows, 10, 10)) return state.SkipWithError("no board picture");
  for (auto _ : state) {
    stage.Background();
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c) board.SetCell(c, r, stage.NextColour());
    board.DrawBlended(170, 41, 1.0f);
    stage.screen->Flip(false, true);
  }
}
BENCHMARK(BM_BoardPictureFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_CellTileFrame(benchmark::State& state) {
  Stage& stage = SharedStage();
  if (!stage.background) return state.SkipWithError("no window");
  CellTile tile;
  if (!tile.Create()) return state.SkipWithError("no tile");
  for (auto _ : state) {
    stage.Background();
    tile.ResetCache();
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        tile.Paint(stage.NextColour(), 10);
        tile.DrawBlended(10, 10, static_cast<int16_t>(170 + 10 * c), static_cast<int16_t>(41 + 10 * r), 1.0f);
      }
    }
    stage.screen->Flip(false, true);
  }
}
BENCHMARK(BM_CellTileFrame)->Unit(benchmark::kMillisecond)->Iterations(20);

// Composing alone, without a window.
void BM_ComposeWholeBoard(benchmark::State& state) {
  BoardPixels board;
  board.Create(kColumns, kRows, 10, 11);
  uint32_t colour = 0;
  for (auto _ : state) {
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c) board.SetCell(c, r, 0xFF000000u | (++colour & 0xFFFFFF));
    benchmark::DoNotOptimize(board.Pixels());
  }
}
BENCHMARK(BM_ComposeWholeBoard)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
