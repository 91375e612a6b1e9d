#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <thread>
#include <utility>

#include "InputScript.h"
#include "MenuTestWindow.h"
#include "SoundCapture.h"
#include "SoundFiles.h"
#include "VirtualPad.h"
#include "shell/MenuScreens.h"
#include "shell/Screens.h"
#include "input/KControls.h"

namespace {

using namespace tafutest;
using Clock = std::chrono::steady_clock;

class MainMenu : public MenuWindowTest {};

struct MenuCase {
  const char* name;
  Point button;
  Point choice;  // on the selection screen; unused when the menu button leads nowhere else
  ScreenCode code;
};

constexpr MenuCase kMenuCases[] = {
    {"PaintBig", kPaint, kBig, 0},
    {"PaintSmall", kPaint, kSmall, 1},
    {"SlideEasy", kSlide, kEasyButton, 2},
    {"SlideMedium", kSlide, kMediumButton, 3},
    {"SlideHard", kSlide, kHardButton, 4},
    {"SwapEasy", kSwap, kEasyButton, 5},
    {"SwapMedium", kSwap, kMediumButton, 6},
    {"SwapHard", kSwap, kHardButton, 7},
    {"CopyDrawingEasy", kCopyDrawing, kEasyButton, 8},
    {"CopyDrawingMedium", kCopyDrawing, kMediumButton, 9},
    {"CopyDrawingHard", kCopyDrawing, kHardButton, 10},
};

void PrintTo(const MenuCase& menuCase, std::ostream* out) { *out << menuCase.name; }

class MenuButtonCodes : public MenuWindowTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuButtonCodes, TheMenuButtonAndTheChoiceGiveTheCode) {
  const MenuCase& menuCase = GetParam();
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  InputScript script;
  script.Click(menuCase.button.x, menuCase.button.y).Wait(2).Click(menuCase.choice.x, menuCase.choice.y);
  script.Play(*MainScreen, 200);
  EXPECT_EQ(RunMainMenu(), menuCase.code);
  EXPECT_LT(script.FramesPlayed(), 200u);
}

INSTANTIATE_TEST_SUITE_P(EveryActivity, MenuButtonCodes, ::testing::ValuesIn(kMenuCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainMenu, CopyColoursIsHardAtOnceAndExitEndsTheGame) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  for (const auto& [button, code] : {std::pair{kCopyColours, 13}, std::pair{kExit, 100}}) {
    InputScript script;
    uint32_t clickedAt = 0;
    // The click is reported in the frame after the release; that frame is the last one.
    script.Click(button.x, button.y).Do([&] { clickedAt = script.FramesPlayed(); });
    script.Play(*MainScreen, 200);
    EXPECT_EQ(RunMainMenu(), code);
    EXPECT_EQ(script.FramesPlayed(), clickedAt) << "the frame that left the menu was presented";
  }
}

TEST_F(MainMenu, BackFromEachScreenOnTopLeavesTheChildInTheMenu) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  InputScript script;
  // The back buttons sit where the menu's exit button is: a click there that reached the
  // menu would end it with 100.
  for (Point button : {kPaint, kSlide, kSwap, kCopyDrawing, kOptions})
    script.Click(button.x, button.y).Wait(2).Click(kExit.x, kExit.y).Wait(2);
  script.Click(kCopyColours.x, kCopyColours.y);
  script.Play(*MainScreen, 300);
  EXPECT_EQ(RunMainMenu(), 13);
}

TEST_F(MainMenu, APressHeldFromBackIntoTheMenuDoesNotEndTheGame) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  InputScript script;
  // Back is clicked, and pressed again at once and held while the menu comes back: the
  // menu's exit button under it only counts a press that begins in the menu.
  script.Click(kPaint.x, kPaint.y).Wait(2).Click(kExit.x, kExit.y).Press().Wait(3).Release().Wait(2);
  script.Click(kCopyColours.x, kCopyColours.y);
  script.Play(*MainScreen, 300);
  EXPECT_EQ(RunMainMenu(), 13);
}

TEST_F(MainMenu, F1HeldWhileAChoiceIsMadeRebuildsTheMenu) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  {
    InputScript script;
    script.Click(kSlide.x, kSlide.y).Wait(2).KeyDown(KEY_F1).Click(kHardButton.x, kHardButton.y);
    script.Play(*MainScreen, 200);
    EXPECT_EQ(RunMainMenu(), 98);
  }
  {
    InputScript script;
    uint32_t pressedAt = 0;
    script.Wait(3).Do([&] {
      pressedAt = script.FramesPlayed();
      SetScriptedKey(KEY_F1, true);
    });
    script.Play(*MainScreen, 200);
    EXPECT_EQ(RunMainMenu(), 98);
    EXPECT_EQ(script.FramesPlayed(), pressedAt) << "the frame that left the menu was presented";
  }
}

TEST_F(MainMenu, AQuitRequestEndsTheMenuInTheSameFrame) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  for (Point button : {kPaint, kSwap}) {
    InputScript script;
    uint32_t quitAt = 0;
    script.Click(button.x, button.y).Wait(3).Do([&] {
      quitAt = script.FramesPlayed();
      MainScreen->RequestQuit();
    });
    script.Play(*MainScreen, 200);
    EXPECT_EQ(RunMainMenu(), 100);
    EXPECT_EQ(script.FramesPlayed(), quitAt);
  }
}

TEST_F(MainMenu, QuittingInTheMenuItselfEndsItWithoutPresentingAnotherFrame) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  InputScript script;
  uint32_t quitAt = 0;
  script.Wait(5).Do([&] {
    quitAt = script.FramesPlayed();
    MainScreen->RequestQuit();
  });
  script.Play(*MainScreen, 200);
  EXPECT_EQ(RunMainMenu(), 100);
  EXPECT_EQ(script.FramesPlayed(), quitAt);
}

// Holds the script until ms milliseconds of real time have passed since it started.
std::function<bool()> After(Clock::time_point& start, int32_t ms) {
  return [&start, ms] { return Clock::now() - start >= std::chrono::milliseconds(ms); };
}

TEST_F(MainMenu, TheMusicPlaysOnOverTheScreensOnTopWithoutStartingAgain) {
  // Heard only in its first 400 ms: a menu that started it again would be heard again.
  WriteFile(GameFile("snd\\music\\menu.ogg"), MakeToneThenSilence(kCaptureRate, 0.4, 6.0, 500.0, 0.5));
  SoundCapture capture(folder_ / "mixed.raw");
  LoadSharedAssets();
  Clock::time_point start = Clock::now();
  size_t opened = 0;
  size_t back = 0;
  InputScript script;
  script.Do([&] { start = Clock::now(); }).WaitUntil(After(start, 800), 500);
  script.Do([&] { opened = capture.FramesWritten(); });
  script.Click(kSlide.x, kSlide.y).Wait(5).Click(kExit.x, kExit.y).Wait(3);
  script.Click(kPaint.x, kPaint.y).Wait(5).Click(kExit.x, kExit.y).Wait(3);
  script.Do([&] { back = capture.FramesWritten(); }).WaitUntil(After(start, 1800), 500);
  script.Click(kCopyColours.x, kCopyColours.y);
  script.Play(*MainScreen, 1000);
  EXPECT_EQ(RunMainMenu(), 13);
  const size_t returned = capture.FramesWritten();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0, 1000);
  ASSERT_LT(onset, opened);
  ASSERT_GT(back, opened);
  ASSERT_GT(FrameCount(mixed), returned);
  EXPECT_GT(PeakIn(mixed, onset, onset + FramesIn(300)), 5000);
  EXPECT_LT(PeakIn(mixed, onset + FramesIn(550), FrameCount(mixed)), 300) << "the music started again";
}

TEST_F(MainMenu, AMusicVolumeChangeReachesThePlayingMusic) {
  WriteFile(GameFile("snd\\music\\menu.ogg"), MakeOgg(2, kCaptureRate, 6.0, 500.0, 0.5));
  SoundCapture capture(folder_ / "mixed.raw");
  LoadSharedAssets();
  Clock::time_point start = Clock::now();
  size_t changed = 0;
  InputScript script;
  script.Do([&] { start = Clock::now(); }).WaitUntil(After(start, 600), 500);
  script.Click(kOptions.x, kOptions.y).Wait(3).Click(MusicLed(0).x, MusicLed(0).y).Wait(1);
  script.Do([&] { changed = capture.FramesWritten(); }).WaitUntil(After(start, 1400), 500);
  script.Click(kExit.x, kExit.y).Wait(3).Click(kExit.x, kExit.y);
  script.Play(*MainScreen, 1000);
  EXPECT_EQ(RunMainMenu(), 100);
  EXPECT_EQ(GetMusicMasterVolume(), 0);
  EXPECT_EQ(CurrentSettings.musicVolume, 0);

  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0, 1000);
  ASSERT_LT(onset + FramesIn(300), changed);
  EXPECT_GT(PeakIn(mixed, changed - FramesIn(200), changed - FramesIn(50)), 5000);
  EXPECT_EQ(PeakIn(mixed, changed + FramesIn(150), FrameCount(mixed)), 0);
}

// A pad on the menu: the d-pad's first press rings the button under the pointer, Right moves
// to the nearest button that way and A chooses it; B chooses the exit door.
TEST_F(MainMenu, APadMovesAndChooses) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  SDL_Joystick* pad = PlugVirtualPad();
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  const std::vector<SDL_GameControllerButton> toCopyColours = {SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                                                               SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_A};
  for (const auto& [presses, code] : {std::pair{toCopyColours, 13}, std::pair{std::vector{SDL_CONTROLLER_BUTTON_B}, 100}}) {
    InputScript script;
    script.MoveTo(kPaint.x, kPaint.y).Wait(2);
    for (const SDL_GameControllerButton button : presses) PressPadButton(script, pad, button);
    script.Play(*MainScreen, 200);
    EXPECT_EQ(RunMainMenu(), code);
    EXPECT_LT(script.FramesPlayed(), 200u);
  }
  SDL_JoystickClose(pad);
}

}  // namespace
