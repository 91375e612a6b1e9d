#include "app/Shell.h"

#include <ctime>

#include "app/AssetCache.h"
#include "app/Screens.h"
#include "app/Settings.h"
#include "input/KControls.h"
#include "services/KIniFile.h"
#include "services/KPaths.h"
#include "services/KRandom.h"
#include "sound/KSample.h"

std::unique_ptr<KScreen> MainScreen;
bool ShowFps = false;

namespace {

constexpr int32_t kWindowWidth = 800;
constexpr int32_t kWindowHeight = 600;
constexpr int32_t kKeepDesktopDepth = -1;
constexpr int32_t kFrameRate = 80;
constexpr const char* kTitle = "TAFU";
constexpr const char* kUserFolderName = "tafu";

// A program folder the player may write keeps settings and paintings beside the
// game; an installed copy keeps them in the player's own data folder instead.
void ChooseUserFolder() {
  if (IsFolderWritable(GetModuleFolder())) return;
  const std::string folder = GetAppDataFolder() + "/" + kUserFolderName;
  if (CreateFolders(folder)) SetUserFolder(folder);
}

}  // namespace

int RunGame() {
  InitPaths();
  ChooseUserFolder();
  MainScreen = CreateScreen(true, false);
  if (!MainScreen) return 0;

  LoadSettings();

  KIniFile setup;
  setup.LoadIni(MakePath("setup.ini"));
  ShowFps = setup.GetIniInt("DEBUG", "SHOWFPS", 0) == 1;

  if (!MainScreen->OpenWindow(kWindowWidth, kWindowHeight, kKeepDesktopDepth, CurrentSettings.windowed != 0, kTitle)) {
    MainScreen.reset();
    return 0;
  }
  MainScreen->SetFrameRate(kFrameRate);
  MainScreen->SetClearColor(1, 1, 1, 1);
  SetMasterVolumes(CurrentSettings.musicVolume, CurrentSettings.effectsVolume);
  SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
  HideSystemCursor();
  LoadSharedAssets();

  while (DispatchScreen() != kCodeQuit) {
  }

  MainScreen.reset();
  return 0;
}
