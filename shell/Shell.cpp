#include "shell/Shell.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
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
#include "studio/PaintingBook.h"
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

// Makes the book of the paintings folder's paintings in file, on the paper named (none: the
// system's).
int MakeBookInto(const std::string& file, const std::string& paper) {
  const BookCount count = MakePaintingBook(file, PaperSizeNamed(paper));
  if (count.pages == 0) {
    std::printf("No paintings for a book in %s\n", GetPaintingsFolder().c_str());
    return count.skipped == 0 ? kExitSuccess : kExitFailure;
  }
  if (!count.written) {
    std::fprintf(stderr, "tafu: cannot write the book %s\n", file.c_str());
    return kExitFailure;
  }
  std::printf("Made a book of %d %s in %s\n", count.pages, count.pages == 1 ? "painting" : "paintings", file.c_str());
  return count.skipped == 0 ? kExitSuccess : kExitFailure;
}

// "book.pdf" for the player NAME: "book-NAME.pdf".
std::string PlayersBook(const std::string& file, const std::string& name) {
  const size_t dot = file.rfind('.');
  const size_t slash = file.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file + "-" + name;
  return file.substr(0, dot) + "-" + name + file.substr(dot);
}

// Runs exportOne on the paintings the command names, in the player's folder, which it finds
// as the game does but neither makes nor changes; no window opens and no sound plays: one
// player's (--player), with players and none named each player's in turn (exportOne is
// given the player's name), else the paintings folder's (an empty name). Answers the worst
// exit status.
int ExportFromPaintingsFolders(const CommandLine& command, const GrownUpSettings& grownUps,
                               const std::function<int(const std::string& player)>& exportOne) {
  InitPaths();
  SetUserFolder(PlayerFolder());
  const std::string base = grownUps.paintings.empty() ? GetUserFolder() : ExpandFolder(grownUps.paintings);
  if (const Animal* player = FindAnimal(command.player)) {
    SetPaintingsFolder(PlayerFolderIn(base, *player));
    return exportOne("");
  }
  SetPaintingsFolder(base);
  if (!grownUps.players) return exportOne("");
  int status = kExitSuccess;
  for (const Animal& animal : kAnimals) {
    std::error_code error;
    if (!std::filesystem::is_directory(PlayerFolderIn(base, animal), error)) continue;
    SetPaintingsFolder(PlayerFolderIn(base, animal));
    status = std::max(status, exportOne(animal.name));
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
      // One player's paintings go into the folder; with players and none named, each
      // player's into folder/NAME.
      return ExportFromPaintingsFolders(command, ReadGrownUpSettings(command), [&](const std::string& player) {
        return ExportPaintingsInto(player.empty() ? command.exportFolder : command.exportFolder + "/" + player);
      });
    case CommandAction::ExportBook: {
      const GrownUpSettings grownUps = ReadGrownUpSettings(command);
      return ExportFromPaintingsFolders(command, grownUps, [&](const std::string& player) {
        return MakeBookInto(player.empty() ? command.bookFile : PlayersBook(command.bookFile, player), grownUps.paperSize);
      });
    }
    case CommandAction::Play:
      break;
  }
  return RunGame(ReadGrownUpSettings(command));
}
