// The game's window for the menu tests; the menus' places are in MenuPlaces.h.
#pragma once

#include <filesystem>
#include <string>

#include "AppTestWindow.h"
#include "MenuPlaces.h"
#include "app/AssetCache.h"
#include "app/Settings.h"
#include "sound/KSample.h"

namespace tafutest {

// The window of AppWindowTest with the settings of a first run. The program folder holds
// only what a test writes into it, so pictures draw nothing and sounds are silent (a
// button then reports its click in the frame after the release).
class MenuWindowTest : public AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    CurrentSettings.windowed = kDefaultWindowed;
    CurrentSettings.musicVolume = kDefaultVolume;
    CurrentSettings.effectsVolume = kDefaultVolume;
  }
  // A game file name such as "snd\music\menu.ogg" in the program folder, its folder made.
  std::string GameFile(const std::string& name) {
    const std::string path = MakePath(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    return path;
  }
};

}  // namespace tafutest
