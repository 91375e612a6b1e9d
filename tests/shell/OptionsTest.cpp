#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <string>

#include "InputScript.h"
#include "MenuTestWindow.h"
#include "SoundFiles.h"
#include "TestAssets.h"
#include "XWindows.h"
#include "shell/MenuScreens.h"

namespace {

using namespace tafutest;

// Pictures as the test draws them (0xAABBGGRR) and as the X server shows them (0x00BBGGRR).
constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kBlue = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kRed = 0xFF0000FF;
constexpr uint32_t kYellow = 0xFF00FFFF;
constexpr uint32_t Shown(uint32_t colour) { return colour & 0x00FFFFFF; }

constexpr const char* kTitle = "TAFU options test";

// The options screen with plain pictures: LEDs grey when unlit, blue (music) or green
// (effects) when lit; the window-mode switch red when off, yellow when on.
class OptionsScreen : public MenuWindowTest {
 protected:
  void SetUp() override {
    MenuWindowTest::SetUp();
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "reads the window as the X server shows it";
    WritePng(GameFile("img\\ico\\ledoff.png"), TestPicture(34, 26, kGrey));
    WritePng(GameFile("img\\ico\\ledon_blue.png"), TestPicture(34, 26, kBlue));
    WritePng(GameFile("img\\ico\\ledon_green.png"), TestPicture(34, 26, kGreen));
    WritePng(GameFile("img\\ico\\toggleoff.png"), TestPicture(60, 68, kRed));
    WritePng(GameFile("img\\ico\\toggleon.png"), TestPicture(60, 68, kYellow));
    MainScreen->SetTitle(kTitle);
    window_ = FindXWindow(kTitle);
    ASSERT_TRUE(window_.found);
  }

  uint32_t ShownAt(Point point) const { return ReadXWindowPixel(window_.id, point.x, point.y); }
  // Which LEDs of a bar are lit, as a string of '#' (lit) and '.' (unlit).
  std::string Bar(Point (*led)(int32_t), uint32_t lit) const {
    std::string bar;
    for (int32_t i = 0; i < 10; ++i) {
      const uint32_t shown = ShownAt(led(i));
      bar += shown == Shown(lit) ? '#' : shown == Shown(kGrey) ? '.' : '?';
    }
    return bar;
  }
  std::string MusicBar() const { return Bar(MusicLed, kBlue); }
  std::string EffectsBar() const { return Bar(EffectsLed, kGreen); }
  std::string File() const { return folder_ / "options.raw"; }

  XWindowInfo window_;
};

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string bytes;
  for (unsigned value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

TEST_F(OptionsScreen, TheSettingsOfAFirstRunLightSixLedsAndLeavingChangesNothing) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  std::string music, effects;
  uint32_t toggle = 0;
  InputScript script;
  script.MoveTo(kNowhere.x, kNowhere.y).Wait(2).Do([&] {
    music = MusicBar();
    effects = EffectsBar();
    toggle = ShownAt(kWindowToggle);
  });
  script.Click(kExit.x, kExit.y);
  script.Play(*MainScreen, 100);
  EXPECT_EQ(RunOptions(), 0);
  EXPECT_LT(script.FramesPlayed(), 100u);
  EXPECT_EQ(music, "######....");
  EXPECT_EQ(effects, "######....");
  EXPECT_EQ(toggle, Shown(kYellow));
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(OptionsScreen, SavedVolumesLightTheirTensAndNothingLightsNoLed) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  CurrentSettings.windowed = 0;
  CurrentSettings.musicVolume = 100;
  CurrentSettings.effectsVolume = 45;
  std::string music, effects;
  uint32_t toggle = 0;
  InputScript script;
  script.MoveTo(kNowhere.x, kNowhere.y).Wait(2).Do([&] {
    music = MusicBar();
    effects = EffectsBar();
    toggle = ShownAt(kWindowToggle);
    MainScreen->RequestQuit();
  });
  script.Play(*MainScreen, 100);
  EXPECT_EQ(RunOptions(), 0);
  EXPECT_EQ(music, "##########");
  EXPECT_EQ(effects, "#####.....");
  EXPECT_EQ(toggle, Shown(kRed));
}

TEST_F(OptionsScreen, EachLedSetsItsVolumeAtOnceAndTheFirstStaysLitAtZero) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  std::string fifth, first, effects, fileAfterFifth, fileAfterFirst;
  int32_t masterAfterFifth = -1;
  InputScript script;
  script.Click(MusicLed(4).x, MusicLed(4).y).MoveTo(kNowhere.x, kNowhere.y).Wait(1).Do([&] {
    fifth = MusicBar();
    fileAfterFifth = ReadFile(File());
    masterAfterFifth = GetMusicMasterVolume();
  });
  // The first LED of the music bar at (397, 312), just inside its top-left corner.
  script.Click(398, 313).Wait(1).Click(EffectsLed(9).x, EffectsLed(9).y);
  script.MoveTo(kNowhere.x, kNowhere.y).Wait(1).Do([&] {
    first = MusicBar();
    effects = EffectsBar();
    fileAfterFirst = ReadFile(File());
  });
  script.Click(kExit.x, kExit.y);
  script.Play(*MainScreen, 200);
  EXPECT_EQ(RunOptions(), 0);

  EXPECT_EQ(fifth, "#####.....");
  EXPECT_EQ(masterAfterFifth, 40);
  EXPECT_EQ(fileAfterFifth, Bytes({1, 0, 0, 0, 0x28, 0, 0, 0, 0x32, 0, 0, 0}));
  EXPECT_EQ(first, "#.........");
  EXPECT_EQ(effects, "##########");
  EXPECT_EQ(fileAfterFirst, Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0x5A, 0, 0, 0}));
  EXPECT_EQ(CurrentSettings.musicVolume, 0);
  EXPECT_EQ(CurrentSettings.effectsVolume, 90);
  EXPECT_EQ(GetMusicMasterVolume(), 0);
  EXPECT_EQ(GetEffectsMasterVolume(), 90);
}

TEST_F(OptionsScreen, TheWindowSwitchChangesTheFileButNotTheRunningWindow) {
  LoadSharedAssets();
  UseSteppedClock(1'000'000);
  auto* window = static_cast<SDL_Window*>(MainScreen->GetWindowHandle());
  std::string fileWhenOff, fileWhenOn;
  uint32_t switchWhenOff = 0;
  bool fullScreenWhenOff = true;
  InputScript script;
  script.Click(kWindowToggle.x, kWindowToggle.y).Wait(1).Do([&] {
    fileWhenOff = ReadFile(File());
    switchWhenOff = ShownAt(kWindowToggle);
    fullScreenWhenOff = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
  });
  script.Click(kWindowToggle.x, kWindowToggle.y).Wait(1).Do([&] { fileWhenOn = ReadFile(File()); });
  script.Click(kExit.x, kExit.y);
  script.Play(*MainScreen, 200);
  EXPECT_EQ(RunOptions(), 0);

  EXPECT_EQ(fileWhenOff, Bytes({0, 0, 0, 0, 0x32, 0, 0, 0, 0x32, 0, 0, 0}));
  EXPECT_EQ(switchWhenOff, Shown(kRed));
  EXPECT_FALSE(fullScreenWhenOff);
  EXPECT_EQ(fileWhenOn, Bytes({1, 0, 0, 0, 0x32, 0, 0, 0, 0x32, 0, 0, 0}));
  EXPECT_EQ(CurrentSettings.windowed, 1);
}

// Every widget plays the one shared click: a second LED clicked while it plays reports
// its click in the same frame as the first, once the sound has ended.
TEST_F(OptionsScreen, TwoLedsReportedInOneFrameAreBothTaken) {
  WriteFile(GameFile("snd\\sfx\\click.ogg"), MakeOgg(1, 22050, 0.3, 800.0, 0.3));
  LoadSharedAssets();
  std::string music, effects, file;
  uint32_t musicAt = 0;
  uint32_t effectsAt = 0;
  InputScript script;
  script.Click(MusicLed(2).x, MusicLed(2).y).Click(EffectsLed(7).x, EffectsLed(7).y);
  script.WaitUntil(
      [&] {
        if (!musicAt && CurrentSettings.musicVolume == 20) musicAt = script.FramesPlayed();
        if (!effectsAt && CurrentSettings.effectsVolume == 70) effectsAt = script.FramesPlayed();
        return effectsAt != 0;
      },
      300);
  script.Wait(1).Do([&] {
    music = MusicBar();
    effects = EffectsBar();
    file = ReadFile(File());
  });
  script.Play(*MainScreen, 400);
  EXPECT_EQ(RunOptions(), 0);
  // Both clicks came in one frame: the music change was taken in it, the effects change
  // in the next.
  ASSERT_NE(musicAt, 0u);
  EXPECT_EQ(effectsAt, musicAt + 1);
  EXPECT_EQ(CurrentSettings.musicVolume, 20);
  EXPECT_EQ(CurrentSettings.effectsVolume, 70);
  EXPECT_EQ(music, "###.......");
  EXPECT_EQ(effects, "########..");
  EXPECT_EQ(file, Bytes({1, 0, 0, 0, 0x14, 0, 0, 0, 0x46, 0, 0, 0}));
}

}  // namespace
