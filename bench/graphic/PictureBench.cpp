// Milliseconds per frame of typical picture drawing, each the median of many
// frames, in an 800 x 600 window (under Xvfb with Mesa's software GL when run
// headless).
//
// Figures to hold the game's screens against, taken with a bare SDL program on
// the reference machine (Xvfb, llvmpipe):
//   background alone                                            2.3 ms
//   background + a 512 x 400 board texture re-uploaded each frame   2.75 ms
//   2,000 16 x 16 glTexSubImage2D updates of one texture, each
//   followed by a quad                                          73 to 127 ms
// The last shows that updating a texture which queued draws still use stalls
// the renderer: a board must not be drawn by re-uploading one small tile per cell.
#include <benchmark/benchmark.h>
#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "graphic/KGraphic.h"
#include "window/KScreen.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kIconSide = 64;
constexpr int32_t kIconCount = 40;
constexpr int32_t kBoardSide = 512;
constexpr int32_t kTileSide = 16;
constexpr int32_t kBoardColumns = 50;
constexpr int32_t kBoardRows = 40;

struct Window {
  std::unique_ptr<KScreen> screen;

  Window() {
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    screen = CreateScreen(true, false);
    if (!screen || !screen->OpenWindow(kScreenWidth, kScreenHeight, -1, true, "TAFU bench")) {
      screen.reset();
      return;
    }
    KGraphicGL::SetScreenSize(kScreenWidth, kScreenHeight, -1);
    screen->SetFrameRate(0);
    screen->SetClearColor(1, 1, 1, 1);
  }
};

Window& TheWindow() {
  static Window window;
  return window;
}

void AppendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// A PNG file in memory, loaded the way the game loads its pictures.
std::unique_ptr<KGraphic> LoadPng(int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
  std::string file;
  stbi_write_png_to_func(AppendBytes, &file, width, height, 4, pixels.data(), width * 4);
  std::unique_ptr<KGraphic> picture = CreateGraphic();
  picture->LoadPictureFromMemory(file.data(), file.size(), KPictureFormat::Png, true, true);
  return picture;
}

std::unique_ptr<KGraphic> Background() {
  std::vector<uint32_t> pixels(kScreenWidth * kScreenHeight);
  for (int32_t y = 0; y < kScreenHeight; ++y)
    for (int32_t x = 0; x < kScreenWidth; ++x)
      pixels[y * kScreenWidth + x] = 0xFF000000u | static_cast<uint32_t>((x * 255 / kScreenWidth) << 8 | (y & 0xFF));
  return LoadPng(kScreenWidth, kScreenHeight, pixels);
}

// A round icon with a soft edge, transparent around it.
std::unique_ptr<KGraphic> Icon(int32_t index) {
  std::vector<uint32_t> pixels(kIconSide * kIconSide);
  const float radius = kIconSide / 2.0f;
  for (int32_t y = 0; y < kIconSide; ++y) {
    for (int32_t x = 0; x < kIconSide; ++x) {
      const float distance = std::hypot(x + 0.5f - radius, y + 0.5f - radius);
      const auto alpha = static_cast<uint32_t>(std::clamp((radius - distance) * 64.0f, 0.0f, 255.0f));
      pixels[y * kIconSide + x] = alpha << 24 | static_cast<uint32_t>(index * 6) << 16 | 0x80FFu;
    }
  }
  return LoadPng(kIconSide, kIconSide, pixels);
}

// The window, opened before any picture is made; null after reporting an error.
KScreen* OpenBenchWindow(benchmark::State& state) {
  KScreen* screen = TheWindow().screen.get();
  if (!screen) state.SkipWithError("no GL window");
  return screen;
}

// Times every frame; reports the median in milliseconds.
template <typename DrawFrame>
void RunFrames(benchmark::State& state, KScreen* screen, DrawFrame drawFrame) {
  std::vector<double> frames;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    screen->ResetView();
    drawFrame();
    screen->Flip(false, true);
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    state.SetIterationTime(seconds);
    frames.push_back(seconds * 1000.0);
  }
  std::nth_element(frames.begin(), frames.begin() + frames.size() / 2, frames.end());
  state.counters["median_ms"] = frames[frames.size() / 2];
}

void BM_Background(benchmark::State& state) {
  KScreen* screen = OpenBenchWindow(state);
  if (!screen) return;
  std::unique_ptr<KGraphic> background = Background();
  RunFrames(state, screen, [&] { background->Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false); });
}

void BM_BackgroundAndFortyIcons(benchmark::State& state) {
  KScreen* screen = OpenBenchWindow(state);
  if (!screen) return;
  std::unique_ptr<KGraphic> background = Background();
  std::vector<std::unique_ptr<KGraphic>> icons;
  for (int32_t i = 0; i < kIconCount; ++i) icons.push_back(Icon(i));
  RunFrames(state, screen, [&] {
    background->Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false);
    for (int32_t i = 0; i < kIconCount; ++i) {
      const auto x = static_cast<int16_t>(20 + (i % 8) * 95);
      const auto y = static_cast<int16_t>(40 + (i / 8) * 105);
      icons[i]->BlitAlpha(0, 0, kIconSide, kIconSide, x, y, false, false);
    }
  });
}

void BM_BackgroundAndUpdatedBoard(benchmark::State& state) {
  KScreen* screen = OpenBenchWindow(state);
  if (!screen) return;
  std::unique_ptr<KGraphic> background = Background();
  std::vector<uint32_t> board(kBoardSide * kBoardSide, 0xFF3060C0u);
  std::unique_ptr<KGraphic> picture = CreateGraphic();
  picture->CreateFromPixels(board.data(), kBoardSide, kBoardSide, true);
  uint32_t frame = 0;
  RunFrames(state, screen, [&] {
    // One row of cells changes colour each frame, as when a strip moves.
    const int32_t row = static_cast<int32_t>(frame++ % (kBoardSide / kTileSide)) * kTileSide;
    std::fill(board.begin() + row * kBoardSide, board.begin() + (row + kTileSide) * kBoardSide, 0xFF000000u | frame);
    picture->UpdateFromPixels();
    background->Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false);
    picture->BlitAlpha(0, 0, kBoardSide, kBoardSide, 144, 44, false, false);
  });
}

// The pattern to avoid: one small tile re-uploaded and drawn for every cell.
void BM_TileUploadedPerCell(benchmark::State& state) {
  KScreen* screen = OpenBenchWindow(state);
  if (!screen) return;
  std::unique_ptr<KGraphic> background = Background();
  std::vector<uint32_t> tile(kTileSide * kTileSide, 0xFF808080u);
  std::unique_ptr<KGraphic> picture = CreateGraphic();
  picture->CreateFromPixels(tile.data(), kTileSide, kTileSide, true);
  RunFrames(state, screen, [&] {
    background->Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false);
    for (int32_t cell = 0; cell < kBoardColumns * kBoardRows; ++cell) {
      std::fill(tile.begin(), tile.end(), 0xFF000000u | static_cast<uint32_t>(cell * 97));
      picture->UpdateFromPixels();
      const auto x = static_cast<int16_t>((cell % kBoardColumns) * kTileSide);
      const auto y = static_cast<int16_t>((cell / kBoardColumns) * kTileSide);
      picture->Blit(0, 0, kTileSide, kTileSide, x, y, false, false);
    }
  });
}

BENCHMARK(BM_Background)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_BackgroundAndFortyIcons)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_BackgroundAndUpdatedBoard)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_TileUploadedPerCell)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
