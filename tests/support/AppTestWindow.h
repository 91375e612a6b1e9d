// The game's window for app tests: MainScreen opened on the test display, pictures ready.
#pragma once

#include <gtest/gtest.h>

#include "GameState.h"
#include "TestSupport.h"
#include "app/AssetCache.h"
#include "app/Frame.h"
#include "graphic/KGraphic.h"
#include "input/KScriptedInput.h"
#include "services/KClock.h"
#include "services/KPaths.h"

namespace tafutest {

// Opens MainScreen with the game's frame rate and white clear colour, with scripted input
// and the program folder pointed at a fresh temporary folder, the rest of the game's state as
// a fresh start has it; undoes it all afterwards.
class AppWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    SetModuleFolder(folder_.Path().string());
    MainScreen = OpenTestWindow();
    ASSERT_TRUE(MainScreen);
    KGraphicGL::SetScreenSize(800, 600, 32);
    MainScreen->SetFrameRate(80);
    MainScreen->SetClearColor(1, 1, 1, 1);
    UseScriptedInput();
  }
  void TearDown() override {
    ResetGameState();
    MainScreen.reset();
  }

  TempFolder folder_;
};

}  // namespace tafutest
