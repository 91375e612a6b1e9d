#include "app/Shell.h"

#include <ctime>
#include <filesystem>
#include <string>

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

// The program folder can keep the player's files when it can be written, and so can the
// drawing folders in it that are there already.
bool CanKeepPlayersFiles(const std::string& programFolder) {
  if (!IsFolderWritable(programFolder)) return false;
  for (const char* drawing : {"/draw", "/draw/big", "/draw/small"}) {
    const std::string folder = programFolder + drawing;
    std::error_code error;
    if (!std::filesystem::exists(folder, error)) continue;
    if (!std::filesystem::is_directory(folder, error) || !IsFolderWritable(folder)) return false;
  }
  return true;
}

}  // namespace

void ChooseUserFolder() {
  if (CanKeepPlayersFiles(GetModuleFolder())) return;
  const std::string folder = GetAppDataFolder() + "/" + kUserFolderName;
  if (CreateFolders(folder)) SetUserFolder(folder);
}

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
