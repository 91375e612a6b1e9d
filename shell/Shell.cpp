#include "shell/Shell.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "shell/CommandLine.h"
#include "shell/Screens.h"
#include "app/Settings.h"
#include "input/KControls.h"
#include "services/KIniFile.h"
#include "services/KPaths.h"
#include "services/KRandom.h"
#include "sound/KSample.h"
#include "studio/PaintingExport.h"


namespace {

constexpr int32_t kWindowWidth = 800;
constexpr int32_t kWindowHeight = 600;
constexpr int32_t kKeepDesktopDepth = -1;
constexpr int32_t kFrameRate = 80;
constexpr const char* kTitle = "TAFU";
constexpr const char* kUserFolderName = "tafu";

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitMistake = 2;
constexpr const char* kNoDisplay =
    "tafu: there is no display to show the game on (DISPLAY and WAYLAND_DISPLAY are unset or unreachable)\n";

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

// A program folder the player may write keeps settings and paintings beside the game; an
// installed copy, or one whose drawing folders cannot be written, keeps them in the
// player's own data folder instead.
std::string PlayerFolder() {
  if (CanKeepPlayersFiles(GetModuleFolder())) return GetModuleFolder();
  return GetAppDataFolder() + "/" + kUserFolderName;
}

// Copies the paintings out of the player's folder, which it finds as the game does but
// neither makes nor changes; no window opens and no sound plays.
int ExportPaintingsTo(const std::string& folder) {
  InitPaths();
  SetUserFolder(PlayerFolder());
  const ExportCount count = ExportPaintings(folder);
  if (!count.folderReady) {
    std::fprintf(stderr, "tafu: cannot make the folder %s\n", folder.c_str());
    return kExitFailure;
  }
  std::printf("Exported %d %s to %s\n", count.written, count.written == 1 ? "painting" : "paintings", folder.c_str());
  return count.failed == 0 ? kExitSuccess : kExitFailure;
}

int RunGame(const CommandLine& command) {
  InitPaths();
  if (!HasVisibleDisplay()) {
    std::fputs(kNoDisplay, stderr);
    return kExitFailure;
  }
  ChooseUserFolder();
  MainScreen = CreateScreen(true, false);
  if (!MainScreen) return kExitSuccess;

  LoadSettings();
  if (command.windowed) CurrentOverrides.windowed = *command.windowed ? 1 : 0;
  CurrentOverrides.mute = command.mute;
  const Settings inEffect = SettingsInEffect();

  KIniFile setup;
  setup.LoadIni(MakePath("setup.ini"));
  ShowFps = setup.GetIniInt("DEBUG", "SHOWFPS", 0) == 1;

  if (!MainScreen->OpenWindow(kWindowWidth, kWindowHeight, kKeepDesktopDepth, inEffect.windowed != 0, kTitle)) {
    MainScreen.reset();
    return kExitSuccess;
  }
  MainScreen->SetFrameRate(kFrameRate);
  MainScreen->SetClearColor(1, 1, 1, 1);
  SetMasterVolumes(inEffect.musicVolume, inEffect.effectsVolume);
  SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
  HideSystemCursor();
  LoadSharedAssets();

  while (DispatchScreen() != kCodeQuit) {
  }

  MainScreen.reset();
  return kExitSuccess;
}

}  // namespace

void ChooseUserFolder() {
  const std::string folder = PlayerFolder();
  if (folder != GetModuleFolder() && CreateFolders(folder)) SetUserFolder(folder);
}

int RunTafu(const std::vector<std::string>& arguments) {
  const CommandLine command = ParseCommandLine(arguments);
  switch (command.action) {
    case CommandAction::Help:
      std::fputs(UsageText().c_str(), stdout);
      return kExitSuccess;
    case CommandAction::Version:
      std::fputs(VersionText().c_str(), stdout);
      return kExitSuccess;
    case CommandAction::Mistake:
      std::fprintf(stderr, "%s\n", command.mistake.c_str());
      return kExitMistake;
    case CommandAction::ExportPaintings:
      return ExportPaintingsTo(command.exportFolder);
    case CommandAction::Play:
      break;
  }
  return RunGame(command);
}
