#include "shell/Shell.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "app/Targets.h"
#include "shell/CommandLine.h"
#include "shell/GrownUpSettings.h"
#include "shell/Screens.h"
#include "app/Settings.h"
#include "input/KControls.h"
#include "platform/KPlatform.h"
#include "services/KIniFile.h"
#include "services/KPaths.h"
#include "services/KRandom.h"
#include "sound/KSample.h"
#include "board/PictureFiles.h"
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

// The machine's file unless the command line says not, the user's file, then the command line.
GrownUpSettings ReadGrownUpSettings(const CommandLine& command) {
  GrownUpSettings settings;
  if (command.systemSettings) ReadSettingsFile(SystemSettingsPath(), settings);
  ReadSettingsFile(UserSettingsPath(), settings);
  for (const SettingChange& change : command.settings) ChangeSetting(settings, change.key, change.value);
  return settings;
}

// The paintings go where a grown-up chose, made when missing; a folder that cannot be
// written is reported, and the paintings stay in the player's folder.
void ChoosePaintingsFolder(const std::string& chosen) {
  if (chosen.empty()) return;
  const std::string folder = ExpandFolder(chosen);
  if (CreateFolders(folder) && CanKeepPlayersFiles(folder)) {
    SetPaintingsFolder(folder);
    return;
  }
  std::fprintf(stderr, "tafu: the paintings folder %s cannot be written; paintings are kept in %s\n", folder.c_str(),
               GetPaintingsFolder().c_str());
}

// What the grown-ups chose for the window and the sound holds for this run only.
void OverrideForThisRun(const GrownUpSettings& grownUps) {
  if (grownUps.fullscreen) CurrentOverrides.windowed = *grownUps.fullscreen ? 0 : 1;
  CurrentOverrides.mute = grownUps.mute;
  CurrentOverrides.musicVolume = grownUps.musicVolume;
  CurrentOverrides.effectsVolume = grownUps.effectsVolume;
}

// A kiosk's window cannot be closed by a child: only Ctrl+Shift+Escape held, or the desktop
// ending the game, ends it. Full screen, it keeps Alt+Tab as well where the desktop allows.
void LockWindow(const Settings& inEffect) {
  MainScreen->IgnoreCloseRequests(true);
  WatchQuitKeys(true);
  if (inEffect.windowed == 0) MainScreen->GrabKeyboard(true);
}

// Copies the paintings of the paintings folder into folder.
int ExportPaintingsInto(const std::string& folder) {
  const ExportCount count = ExportPaintings(folder);
  if (!count.folderReady) {
    std::fprintf(stderr, "tafu: cannot make the folder %s\n", folder.c_str());
    return kExitFailure;
  }
  std::printf("Exported %d %s to %s\n", count.written, count.written == 1 ? "painting" : "paintings", folder.c_str());
  return count.failed == 0 ? kExitSuccess : kExitFailure;
}

// Copies the paintings out of the player's folder, which it finds as the game does but
// neither makes nor changes; no window opens and no sound plays. One player's go into
// folder; with players and none named, each player's into folder/NAME.
int ExportPaintingsTo(const CommandLine& command, const GrownUpSettings& grownUps) {
  InitPaths();
  SetUserFolder(PlayerFolder());
  const std::string base = grownUps.paintings.empty() ? GetUserFolder() : ExpandFolder(grownUps.paintings);
  if (const Animal* player = FindAnimal(command.player)) {
    SetPaintingsFolder(PlayerFolderIn(base, *player));
    return ExportPaintingsInto(command.exportFolder);
  }
  SetPaintingsFolder(base);
  if (!grownUps.players) return ExportPaintingsInto(command.exportFolder);
  int status = kExitSuccess;
  for (const Animal& animal : kAnimals) {
    std::error_code error;
    if (!std::filesystem::is_directory(PlayerFolderIn(base, animal), error)) continue;
    SetPaintingsFolder(PlayerFolderIn(base, animal));
    status = std::max(status, ExportPaintingsInto(command.exportFolder + "/" + animal.name));
  }
  return status;
}

// From now on the game is the player's: options and paintings in the player's folders, and
// the player's own volumes and window mode.
void PlayAs(const Animal& player, const std::string& accountFolder, const std::string& paintingsFolder,
            bool& windowed) {
  const std::string folder = PlayerFolderIn(accountFolder, player);
  CreateFolders(folder);
  SetUserFolder(folder);
  SetPaintingsFolder(PlayerFolderIn(paintingsFolder, player));
  CurrentSettings = {};
  LoadSettings();
  const Settings inEffect = SettingsInEffect();
  SetMasterVolumes(inEffect.musicVolume, inEffect.effectsVolume);
  if ((inEffect.windowed != 0) != windowed && MainScreen->SetFullScreen(inEffect.windowed == 0))
    windowed = inEffect.windowed != 0;
}

// The animals screen, then the menu and its screens for the animal chosen, until the child
// clicks the animal in the menu's corner (back to the animals) or the game ends.
void PlayWithPlayers(const GrownUpSettings& grownUps, bool windowed) {
  const std::string accountFolder = GetUserFolder();
  const std::string paintingsFolder = GetPaintingsFolder();
  // Every player's paintings can become anyone's puzzle; each stays in its painter's folder.
  std::vector<PaintingsFolder> shelf;
  for (const Animal& animal : kAnimals) shelf.push_back({PlayerFolderIn(paintingsFolder, animal), animal.smallPicture});
  while (const Animal* player = RunAnimalsScreen(grownUps)) {
    PlayAs(*player, accountFolder, paintingsFolder, windowed);
    ScreenCode code = 0;
    while (code != kCodeQuit && code != kCodeChangePlayer) code = DispatchScreen(grownUps, player, shelf);
    if (code == kCodeQuit) return;
  }
}

int RunGame(const GrownUpSettings& grownUps) {
  InitPaths();
  if (!HasVisibleDisplay()) {
    std::fputs(kNoDisplay, stderr);
    return kExitFailure;
  }
  ChooseUserFolder();
  ChoosePaintingsFolder(grownUps.paintings);
  MainScreen = CreateScreen(kOpenGL, kNoDepthBuffer);
  if (!MainScreen) return kExitSuccess;

  LoadSettings();
  OverrideForThisRun(grownUps);
  const Settings inEffect = SettingsInEffect();
  if (!grownUps.players)
    ReadMenuAhead(ExpectedFrameScale(kWindowWidth, kWindowHeight, inEffect.windowed != 0));

  KIniFile setup;
  setup.LoadIni(MakePath("setup.ini"));
  ShowFps = setup.GetIniInt("DEBUG", "SHOWFPS", 0) == 1;

  if (!MainScreen->OpenWindow(kWindowWidth, kWindowHeight, kKeepDesktopDepth, inEffect.windowed != 0, kTitle)) {
    MainScreen.reset();
    return kExitSuccess;
  }
  if (grownUps.kiosk) LockWindow(inEffect);
  SetScanning(grownUps.scanning ? grownUps.scanMs : 0);
  MainScreen->SetFrameRate(kFrameRate);
  MainScreen->SetClearColor(1, 1, 1, 1);
  SetMasterVolumes(inEffect.musicVolume, inEffect.effectsVolume);
  SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
  HideSystemCursor();
  LoadSharedAssets();

  if (grownUps.players) {
    PlayWithPlayers(grownUps, inEffect.windowed != 0);
  } else {
    while (DispatchScreen(grownUps) != kCodeQuit) {
    }
  }

  MainScreen.reset();
  GameEnded();
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
      return ExportPaintingsTo(command, ReadGrownUpSettings(command));
    case CommandAction::Play:
      break;
  }
  return RunGame(ReadGrownUpSettings(command));
}
