// What drawing one menu-like frame costs the process in CPU time (all its threads, Mesa's
// software renderer included), with no frame limit: the menu's background, its seven
// activity buttons and the cursor, from the game's own pictures. bench.sh sets 80 of
// these against the CPU the game uses while its menu idles at 80 frames a second.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "graphic/KGraphic.h"
#include "window/KScreen.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

struct Placed {
  const char* name;
  int32_t x;
  int32_t y;
};

// Two rows of activities and the options and exit buttons, as a menu lays them out.
constexpr std::array<Placed, 7> kButtons = {{
    {"swap", 120, 160}, {"slide", 340, 160}, {"draw", 560, 160},
    {"copy_draw", 230, 340}, {"copy_paint", 450, 340},
    {"options", 20, 520}, {"exit", 700, 520},
}};

std::unique_ptr<KGraphic> Load(const std::string& name) {
  std::unique_ptr<KGraphic> picture = CreateGraphic();
  if (!picture->LoadPicture(std::string(TAFU_RUNTIME_DIR) + "/img/" + name, true, true)) return nullptr;
  return picture;
}

void BM_MenuLikeFrame(benchmark::State& state) {
  std::unique_ptr<KScreen> screen = CreateScreen(true, false);
  if (!screen || !screen->OpenWindow(kScreenWidth, kScreenHeight, -1, true, "TAFU menu frame bench")) {
    state.SkipWithError("no GL window");
    return;
  }
  KGraphicGL::SetScreenSize(kScreenWidth, kScreenHeight, -1);
  screen->SetFrameRate(0);
  screen->SetClearColor(1, 1, 1, 1);

  std::unique_ptr<KGraphic> background = Load("bg/menu.png");
  std::unique_ptr<KGraphic> cursor = Load("ico/cursor.png");
  std::vector<std::unique_ptr<KGraphic>> buttons;
  for (const Placed& button : kButtons) buttons.push_back(Load(std::string("ico/") + button.name + ".png"));
  if (!background || !cursor) {
    state.SkipWithError("the game's pictures are missing (build the game first)");
    return;
  }

  int32_t frame = 0;
  for (auto _ : state) {
    screen->ResetView();
    background->Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false);
    for (size_t i = 0; i < kButtons.size(); ++i) {
      if (!buttons[i]) continue;
      const float w = buttons[i]->GetWidth();
      const float h = buttons[i]->GetHeight();
      buttons[i]->BlitAlpha(0, 0, w, h, kButtons[i].x, kButtons[i].y, false, false);
    }
    cursor->BlitAlpha(0, 0, cursor->GetWidth(), cursor->GetHeight(), 400 + frame % 40, 300, false, false);
    screen->Flip(false, true);
    ++frame;
  }
}
BENCHMARK(BM_MenuLikeFrame)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
