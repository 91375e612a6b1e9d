#include "GameWindow.h"

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "graphic/KGraphic.h"
#include "input/KScriptedInput.h"
#include "services/KPaths.h"
#include "window/KScreen.h"

namespace tafubench {

bool OpenGameWindow(const std::string& folder, const char* title, int32_t frameRate) {
  constexpr int32_t kWidth = 800;
  constexpr int32_t kHeight = 600;
  SetModuleFolder(folder);
  MainScreen = CreateScreen(true, false);
  if (!MainScreen || !MainScreen->OpenWindow(kWidth, kHeight, -1, true, title)) return false;
  KGraphicGL::SetScreenSize(kWidth, kHeight, -1);
  MainScreen->SetFrameRate(frameRate);
  MainScreen->SetClearColor(1, 1, 1, 1);
  LoadSharedAssets();
  UseScriptedInput();
  return true;
}

}  // namespace tafubench
