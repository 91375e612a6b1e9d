// Every screen of the game played with random pointer moves, presses, drags and
// keys for a bounded time, each visit ended by the way a child leaves it.
// Nothing may crash, every screen must still let the child out, and the
// resident memory must stay flat once warm.
//
//   TAFU_SOAK_SECONDS=3600 ./build/tests/soak/soak_test
//
// runs it for an hour (60 seconds when unset). The seed is printed;
// TAFU_SOAK_SEED=<seed> with the same TAFU_SOAK_SECONDS plays the same input
// again (where a visit ends still follows the wall clock).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "InputScript.h"
#include "TestSupport.h"
#include "app/AssetCache.h"
#include "shell/MenuScreens.h"
#include "shell/Screens.h"
#include "app/Frame.h"
#include "input/KControls.h"
#include "services/KClock.h"
#include "services/KRandom.h"
#include "studio/GalleryScreen.h"
#include "board/PictureBuffer.h"
#include "AppTestWindow.h"
#include "TestPaths.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kDefaultSeconds = 60;
// A visit lasts about this long; the rounds over all screens fill the time
// asked for.
constexpr double kVisitSeconds = 1.5;
constexpr int32_t kMinimumRounds = 3;
// Frames of random input given to a screen before it is asked to end.
constexpr uint32_t kRandomFrames = 240;
// The scripted exit: this many tries, each waiting long enough in real time for
// a button's click sound, must bring the screen back (a back button inside a
// screen opened from it takes one try of its own); a screen still running after
// them is asked to quit and the visit fails.
constexpr int32_t kExitTries = 6;
constexpr auto kExitTryWait = std::chrono::milliseconds(700);
constexpr uint32_t kExitTryFrames = 3000;
constexpr uint32_t kFrameLimit = kRandomFrames + 4 + kExitTries * (kExitTryFrames + 3);
// Growth of the resident size allowed from the highest it reached in the first
// round (the warm-up, every screen visited once) to the median of the last third
// of the visits: from one visit to the next it swings by some 10 MB as the GL
// driver takes and gives back memory.
constexpr int64_t kAllowedGrowthKb = 8 * 1024;
// AddressSanitizer holds freed memory back in its quarantine, so the resident
// size only means something without it; its leak check at exit stands in.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSizeIsMeaningful = false;
#else
constexpr bool kResidentSizeIsMeaningful = true;
#endif

// Where a child clicks to leave: the exit button of the menu, the selection and
// options screens, and that of the studios and galleries.
constexpr int32_t kMenuExitX = 83, kMenuExitY = 515;
constexpr int32_t kStudioExitX = 61, kStudioExitY = 534;

enum class Leave { MenuExit, StudioExit, Escape };

struct SoakScreen {
  const char* name;
  std::function<void()> run;
  Leave leave;
};

int64_t ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word)
    if (word == "VmRSS:") {
      int64_t kb = 0;
      status >> kb;
      return kb;
    }
  return -1;
}

int64_t Median(std::vector<int64_t> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

double SoakSeconds() {
  const char* value = std::getenv("TAFU_SOAK_SECONDS");
  const double seconds = value ? std::atof(value) : kDefaultSeconds;
  return seconds > 0 ? seconds : kDefaultSeconds;
}

uint32_t SoakSeed() {
  if (const char* value = std::getenv("TAFU_SOAK_SEED")) return static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
  return std::random_device{}();
}

void ReleaseEverything() {
  SetScriptedButton(MOUSE_LEFT, false);
  for (const int32_t key : {KEY_ESCAPE, KEY_F1, KEY_C, KEY_N}) SetScriptedKey(key, false);
}

// Random input for a number of frames: moves, clicks, drags across the window
// and the keys the game listens to, C and N together. Escape and F1 end a
// screen at once, so they come rarely enough for the screens to be played
// between them.
void AddRandomInput(tafutest::InputScript& script, std::mt19937& random, uint32_t frames) {
  std::uniform_int_distribution<int32_t> x(-20, 819), y(-20, 619), action(0, 999), step(-40, 40);
  int32_t px = 400, py = 300;
  script.Do(ReleaseEverything);
  for (uint32_t frame = 0; frame < frames; ++frame) {
    const int32_t a = action(random);
    if (a < 400) {
      px = x(random);
      py = y(random);
      script.MoveTo(px, py);
    } else if (a < 600) {
      px = std::clamp(px + step(random), 0, 799);
      py = std::clamp(py + step(random), 0, 599);
      script.MoveTo(px, py);  // a drag while the button is held
    } else if (a < 700) {
      script.Press();
    } else if (a < 800) {
      script.Release();
    } else if (a < 840) {
      script.Tap();
    } else if (a < 843) {
      script.KeyDown(KEY_ESCAPE);
    } else if (a < 870) {
      script.KeyUp(KEY_ESCAPE);
    } else if (a < 873) {
      script.KeyDown(KEY_F1);
    } else if (a < 900) {
      script.KeyUp(KEY_F1);
    } else if (a < 930) {
      script.Do([] {
        SetScriptedKey(KEY_C, true);
        SetScriptedKey(KEY_N, true);
      });
    } else if (a < 960) {
      script.Do([] {
        SetScriptedKey(KEY_C, false);
        SetScriptedKey(KEY_N, false);
      });
    } else {
      script.Wait(1);
    }
  }
}

// How a child leaves the screen: Escape in the puzzles, the exit button
// elsewhere, tried again when a screen opened on top of it was left first.
void AddExit(tafutest::InputScript& script, Leave leave, uint64_t& exitsPlayed) {
  script.Do([&exitsPlayed] {
    ReleaseEverything();
    ++exitsPlayed;
  });
  script.Wait(2);
  for (int32_t i = 0; i < kExitTries; ++i) {
    if (leave == Leave::Escape) {
      script.KeyDown(KEY_ESCAPE).KeyUp(KEY_ESCAPE);
    } else if (leave == Leave::MenuExit) {
      script.Click(kMenuExitX, kMenuExitY);
    } else {
      script.Click(kStudioExitX, kStudioExitY);
    }
    auto started = std::make_shared<Clock::time_point>();
    script.Do([started] { *started = Clock::now(); });
    script.WaitUntil([started] { return Clock::now() - *started > kExitTryWait; }, kExitTryFrames);
  }
  // Still here after every try: the screen has kept the child in.
  script.Do([] { MainScreen->RequestQuit(); });
}

class Soak : public tafutest::AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    if (HasFatalFailure()) return;
    const fs::path runtime = tafutest::RuntimeDir();
    for (const char* folder : {"img", "snd", "game"})
      fs::copy(runtime / folder, folder_.Path() / folder, fs::copy_options::recursive);
    fs::copy_file(runtime / "setup.ini", folder_.Path() / "setup.ini");
    LoadSharedAssets();
    UseSteppedClock(1000);
  }

  // Plays one visit: random input, then the way out. False when the screen did
  // not come back by the way out (the window is then closing for good).
  bool Visit(const SoakScreen& screen, std::mt19937& random) {
    tafutest::InputScript script;
    AddRandomInput(script, random, kRandomFrames);
    AddExit(script, screen.leave, exits_);
    script.Play(*MainScreen, kFrameLimit);
    screen.run();
    ++visits_;
    frames_ += script.FramesPlayed();
    resident_.push_back(ResidentKb());
    return !MainScreen->IsQuitRequested();
  }

  uint64_t visits_ = 0;
  uint64_t frames_ = 0;
  uint64_t exits_ = 0;             // visits the random input had not ended by itself
  std::vector<int64_t> resident_;  // kB after each visit
};

TEST_F(Soak, EveryScreenSurvivesRandomInputLetsTheChildOutAndKeepsItsMemoryFlat) {
  const std::vector<SoakScreen> screens = {
      {"menu", [] { return RunMainMenu(); }, Leave::MenuExit},
      {"difficulty selection", [] { return RunDifficultySelect(kCodeSlideBase); }, Leave::MenuExit},
      {"canvas size selection", RunPaintingSizeSelect, Leave::MenuExit},
      {"options", RunOptions, Leave::MenuExit},
      {"swap puzzle", [] { return SwapPuzzleScreen(kMedium); }, Leave::Escape},
      {"slide puzzle", [] { return SlidePuzzleScreen(kEasy); }, Leave::Escape},
      {"copy drawing", [] { return CopyDrawingScreen(kHard); }, Leave::Escape},
      {"copy colours", [] { return CopyColoursScreen(kHard); }, Leave::Escape},
      {"big studio", [] { return PaintingScreen(CanvasSize::Big); }, Leave::StudioExit},
      {"small studio", [] { return PaintingScreen(CanvasSize::Small); }, Leave::StudioExit},
      {"big gallery", [] { return GalleryScreen(CanvasSize::Big); }, Leave::StudioExit},
      {"small gallery", [] { return GalleryScreen(CanvasSize::Small); }, Leave::StudioExit},
  };

  const double seconds = SoakSeconds();
  const uint32_t seed = SoakSeed();
  std::printf("soak: %.0f s, seed %u (TAFU_SOAK_SEED=%u replays this input)\n", seconds, seed, seed);
  std::fflush(stdout);
  RecordProperty("seed", std::to_string(seed));
  std::mt19937 random(seed);
  SeedRandom(seed & 0x7FFF);

  const int32_t rounds =
      std::max(kMinimumRounds, static_cast<int32_t>(seconds / (kVisitSeconds * static_cast<double>(screens.size()))));
  // Each screen's turn ends at its share of the whole time, after one visit at
  // least.
  const auto turn = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(seconds / (rounds * static_cast<double>(screens.size()))));
  const auto start = Clock::now();
  int64_t turns = 0;
  size_t firstRoundVisits = 0;

  for (int32_t round = 0; round < rounds; ++round) {
    for (const SoakScreen& screen : screens) {
      const auto end = start + turn * ++turns;
      do {
        ASSERT_TRUE(Visit(screen, random)) << "the " << screen.name << " did not let the child out within "
                                           << kFrameLimit << " frames (round " << round << ", seed " << seed << ")";
      } while (Clock::now() < end);
    }
    if (round == 0) firstRoundVisits = resident_.size();
  }

  const size_t third = resident_.size() / 3;
  const int64_t warm = *std::max_element(resident_.begin(), resident_.begin() + firstRoundVisits);
  const int64_t late = Median(std::vector<int64_t>(resident_.end() - third, resident_.end()));
  std::printf(
      "soak: %llu visits (%llu left by the scripted exit), %llu frames, resident %lld kB at most in "
      "the first round, %lld kB in the last third (median)\n",
      static_cast<unsigned long long>(visits_), static_cast<unsigned long long>(exits_),
      static_cast<unsigned long long>(frames_), static_cast<long long>(warm), static_cast<long long>(late));

  EXPECT_GT(exits_, 0u) << "no visit came as far as the scripted exit";
  ASSERT_GT(warm, 0);
  if (kResidentSizeIsMeaningful) {
    EXPECT_LT(late - warm, kAllowedGrowthKb) << "the resident size grew after warm-up (seed " << seed << ")";
  }
}

}  // namespace
