// The game's window for the menu tests, with the menus' places in one table.
#pragma once

#include <filesystem>
#include <string>

#include "AppTestWindow.h"
#include "app/AssetCache.h"
#include "app/Settings.h"
#include "sound/KSample.h"

namespace tafutest {

// Where the child clicks the buttons: their centres, and for the swap button and the
// medium difficulty their first pixel inside the top-left corner, so that a button moved
// by one pixel misses.
struct Point {
  int32_t x;
  int32_t y;
};
constexpr Point kPaint = {218, 275};
constexpr Point kSwap = {625, 438};  // the button at (624, 437)
constexpr Point kSlide = {681, 313};
constexpr Point kCopyDrawing = {603, 130};
constexpr Point kCopyColours = {428, 434};
constexpr Point kOptions = {769, 35};
constexpr Point kExit = {83, 515};  // also Back on the selection and options screens
constexpr Point kEasyButton = {172, 300};
constexpr Point kMediumButton = {301, 221};  // the button at (300, 220)
constexpr Point kHardButton = {594, 300};
constexpr Point kBig = {291, 300};
constexpr Point kSmall = {553, 300};
constexpr Point kWindowToggle = {602, 140};
constexpr Point kNowhere = {790, 590};

// LED i of the music and the effects bars.
constexpr Point MusicLed(int32_t i) { return {397 + 28 * i + 17, 325}; }
constexpr Point EffectsLed(int32_t i) { return {436 + 28 * i + 17, 479}; }

// The window of AppWindowTest with the settings of a first run. The program folder holds
// only what a test writes into it, so pictures draw nothing and sounds are silent (a
// button then reports its click in the frame after the release).
class MenuWindowTest : public AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    CurrentSettings = Settings{};
    CurrentSettings.windowed = kDefaultWindowed;
    CurrentSettings.musicVolume = kDefaultVolume;
    CurrentSettings.effectsVolume = kDefaultVolume;
  }
  void TearDown() override {
    AppWindowTest::TearDown();
    SetMasterVolumes(100, 100);
    CurrentSettings = Settings{};
  }

  // A game file name such as "snd\music\menu.ogg" in the program folder, its folder made.
  std::string GameFile(const std::string& name) {
    const std::string path = MakePath(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    return path;
  }
};

}  // namespace tafutest
