#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <map>
#include <sstream>
#include <vector>
#include <thread>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "StudioPlaces.h"
#include "TestSupport.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file under a folder with its modification time, to see whether anything changed.
std::map<std::string, fs::file_time_type> Snapshot(const fs::path& folder) {
  std::map<std::string, fs::file_time_type> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    files[entry.path().string()] = fs::symlink_status(entry.path()).type() == fs::file_type::symlink
                                       ? fs::file_time_type{}
                                       : entry.last_write_time();
  return files;
}

bool WaitForFile(const fs::path& file, std::chrono::seconds timeout) {
  return tafutest::WaitFor([&file] { return fs::exists(file); }, timeout);
}

// A click as the child makes it, the button held for a moment (the pen paints from the
// second frame of a press on), then time for the click sound.
void ClickAt(const tafutest::GameLauncher& game, tafutest::Point at, double settleSeconds = 1.0) {
  game.MoveTo(at);
  game.TouchDown(at.x, at.y);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  game.Release();
  std::this_thread::sleep_for(std::chrono::duration<double>(settleSeconds));
}

using Play = std::function<void(const tafutest::GameLauncher& game)>;

// Starts an installed game with home as its HOME (as user, when given), waits for its window,
// plays on it, closes it politely and returns the exit code, or -1 when no window came or
// the game did not end.
int StartAndClose(const std::string& program, const fs::path& home, const std::string& user, const Play& play = {}) {
  tafutest::GameLauncher game(std::vector<std::string>{});
  tafutest::GameRun run{.program = program, .user = user};
  run.variables = {{"HOME", home.string()}};
  run.unset = {"XDG_DATA_HOME"};
  if (!game.Start(run)) return -1;
  if (play) play(game);
  game.Close();
  return game.Wait(std::chrono::seconds(5));
}

class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    destdir_ = root_ / "dest";
    ASSERT_EQ(RunCommand("DESTDIR=" + destdir_.string() + " cmake --install " + std::string(tafutest::BuildDir()) + " --prefix /usr >/dev/null"), 0);
  }
  fs::path Prefix() const { return destdir_ / "usr"; }

  tafutest::TempFolder root_;
  fs::path destdir_;
};

TEST_F(Installed, LaysOutTheProgramFolderCommandManualMenuEntryAndIcons) {
  EXPECT_TRUE(fs::exists(Prefix() / "lib/tafu/tafu"));
  EXPECT_TRUE(fs::exists(Prefix() / "lib/tafu/setup.ini"));
  ASSERT_TRUE(fs::is_symlink(Prefix() / "games/tafu"));
  EXPECT_EQ(fs::canonical(Prefix() / "games/tafu"), fs::canonical(Prefix() / "lib/tafu/tafu"));
  EXPECT_TRUE(fs::exists(Prefix() / "share/man/man6/tafu.6.gz"));
  EXPECT_TRUE(fs::exists(Prefix() / "share/doc/tafu/copyright"));
  EXPECT_TRUE(fs::exists(Prefix() / "share/doc/tafu/changelog.gz"));
  EXPECT_TRUE(fs::exists(destdir_ / "etc/tafu/tafu.conf"));
  EXPECT_TRUE(fs::exists(Prefix() / "share/icons/hicolor/scalable/apps/tafu.svg"));
  for (const char* size : {"16x16", "32x32", "48x48", "128x128", "256x256"})
    EXPECT_TRUE(fs::exists(Prefix() / "share/icons/hicolor" / size / "apps/tafu.png")) << size;

  const fs::path desktop = Prefix() / "share/applications/app.tafu.Tafu.desktop";
  const fs::path metainfo = Prefix() / "share/metainfo/app.tafu.Tafu.metainfo.xml";
  EXPECT_EQ(RunCommand("desktop-file-validate " + desktop.string() + " >/dev/null"), 0);
  EXPECT_EQ(RunCommand("appstreamcli validate --no-net " + metainfo.string() + " >/dev/null"), 0);
  const std::string entry = tafutest::ReadFile(desktop.string());
  EXPECT_NE(entry.find("Categories=Game;KidsGame;Education;"), std::string::npos);
  EXPECT_NE(entry.find("[Desktop Action export-paintings]\nName=Export paintings\n"
                       "Exec=/usr/lib/tafu/tafu-export-paintings\n"),
            std::string::npos)
      << entry;
}

// The menu's "Export paintings", as an ordinary user of an installed copy: the paintings in
// the user's data folder come out in the pictures folder xdg-user-dirs names, else ~/Pictures.
TEST_F(Installed, TheExportActionWritesIntoThePicturesFolder) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to run the action as another user";
  const fs::path home = root_.Path() / "home";
  const fs::path paintings = home / ".local/share/tafu";
  fs::create_directories(home / ".config");
  fs::permissions(root_.Path(), fs::perms::all);
  SetUserFolder(paintings.string());
  ClearPictureBuffer();
  ASSERT_TRUE(SavePainting(CanvasSize::Small, 15, 15));
  for (const auto& entry : fs::recursive_directory_iterator(home)) fs::permissions(entry.path(), fs::perms::all);
  fs::permissions(home, fs::perms::all);

  const std::string action = "HOME=" + home.string() + " setpriv --reuid=nobody --regid=nogroup --clear-groups " +
                             (Prefix() / "lib/tafu/tafu-export-paintings").string() + " >/dev/null";
  EXPECT_EQ(RunCommand("env -u XDG_CONFIG_HOME -u XDG_DATA_HOME " + action), 0);
  EXPECT_TRUE(fs::exists(home / "Pictures/TAFU paintings/small-1.png"));

  tafutest::WriteFile((home / ".config/user-dirs.dirs").string(), "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
  EXPECT_EQ(RunCommand("env -u XDG_CONFIG_HOME -u XDG_DATA_HOME " + action), 0);
  EXPECT_TRUE(fs::exists(home / "Bilder/TAFU paintings/small-1.png"));
}

TEST(ManualPage, RendersWithoutWarnings) {
  tafutest::TempFolder work;
  ASSERT_EQ(RunCommand("MANWIDTH=80 man --warnings=w -l " + std::string(tafutest::SourceDir()) + "/dist/tafu.6 >" + work / "page.txt" + " 2>" +
                       work / "warnings.txt"),
            0);
  EXPECT_EQ(tafutest::ReadFile(work / "warnings.txt"), "");
  const std::string page = tafutest::ReadFile(work / "page.txt");
  for (const char* part : {"--export-paintings", "--fullscreen", "--windowed", "--mute", "EXIT STATUS", "FILES",
                           ".local/share/tafu"})
    EXPECT_NE(page.find(part), std::string::npos) << part;
}

TEST_F(Installed, RunsAsAnOrdinaryUserAndWritesOnlyInTheUsersFolder) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  if (getuid() != 0) GTEST_SKIP() << "needs root to start the game as another user";
  const fs::path home = root_.Path() / "home";
  fs::create_directories(home);
  fs::permissions(root_.Path(), fs::perms::all);
  fs::permissions(home, fs::perms::all);
  const auto before = Snapshot(Prefix());
  const fs::path userFiles = home / ".local/share/tafu";
  const auto play = [&userFiles](const tafutest::GameLauncher& game) {
    // Once the menu shows: options, the fifth music lamp, back to the menu.
    game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish);
    ClickAt(game, tafutest::kOptions);
    ClickAt(game, tafutest::MusicLed(4));
    WaitForFile(userFiles / "options.raw", std::chrono::seconds(5));
    ClickAt(game, tafutest::kExit);
    // The big studio: red from the palette, one cell of the canvas, save.
    ClickAt(game, tafutest::kPaint);
    ClickAt(game, tafutest::kBig, 1.5);
    ClickAt(game, tafutest::PaletteSwatch(4, 3));
    ClickAt(game, tafutest::BigCanvasCell(5, 5));
    ClickAt(game, tafutest::kSaveMiddle);
    WaitForFile(userFiles / "draw/big/1.tga", std::chrono::seconds(5));
  };
  EXPECT_EQ(StartAndClose((Prefix() / "games/tafu").string(), home, "nobody", play), 0);

  const std::string options = tafutest::ReadFile((userFiles / "options.raw").string());
  ASSERT_EQ(options.size(), 12u);
  EXPECT_EQ(options.substr(4, 4), std::string("\x28\0\0\0", 4));
  const std::string painting = tafutest::ReadFile((userFiles / "draw/big/1.tga").string());
  ASSERT_EQ(painting.size(), 18u + 4u * 50u * 40u);
  // Cell (5, 5) holds the palette's red, stored blue, green, red, alpha.
  EXPECT_EQ(painting.substr(18 + 4 * (5 * 50 + 5), 4), std::string("\x2F\x2B\xEF\xFF", 4));
  EXPECT_TRUE(fs::is_directory(home / ".local/share/tafu"));
  EXPECT_EQ(Snapshot(Prefix()), before);
}

TEST(DebianPackage, InstallsStartsAndRemovesCleanly) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  if (getuid() != 0) GTEST_SKIP() << "installing a package needs root";
  tafutest::TempFolder work;
  ASSERT_EQ(RunCommand("cd " + work.Path().string() + " && cpack -G DEB --config " + tafutest::BuildDir() +
                       "/CPackConfig.cmake >/dev/null"),
            0);
  fs::path package;
  for (const auto& entry : fs::directory_iterator(work.Path()))
    if (entry.path().extension() == ".deb") package = entry.path();
  ASSERT_FALSE(package.empty());
  // Debian's checker: no error and no warning, apart from the overrides the package carries.
  EXPECT_EQ(RunCommand("lintian --fail-on error,warning " + package.string() + " >" + work / "lintian.txt" + " 2>&1"), 0)
      << tafutest::ReadFile(work / "lintian.txt");

  const std::string apt = "DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -qq ";
  ASSERT_EQ(RunCommand(apt + "install " + package.string() + " >/dev/null 2>&1"), 0);
  std::vector<std::string> files;
  {
    const std::string list = work / "files.txt";
    RunCommand("dpkg -L tafu > " + list);
    std::istringstream lines(tafutest::ReadFile(list));
    for (std::string line; std::getline(lines, line);)
      if (fs::is_regular_file(line) || fs::is_symlink(line)) files.push_back(line);
  }
  EXPECT_TRUE(std::find(files.begin(), files.end(), "/usr/games/tafu") != files.end());
  EXPECT_TRUE(std::find(files.begin(), files.end(), "/usr/share/man/man6/tafu.6.gz") != files.end());
  EXPECT_TRUE(std::find(files.begin(), files.end(), "/usr/lib/tafu/tafu") != files.end());

  const fs::path home = work.Path() / "home";
  fs::create_directories(home);
  EXPECT_EQ(StartAndClose("/usr/games/tafu", home, ""), 0);

  // Removing keeps the machine's settings file, which a grown-up may have changed; purging
  // takes it as well.
  EXPECT_EQ(RunCommand(apt + "remove tafu >/dev/null 2>&1"), 0);
  for (const std::string& file : files)
    EXPECT_EQ(fs::exists(fs::symlink_status(file)), file == "/etc/tafu/tafu.conf") << file;
  EXPECT_FALSE(fs::exists("/usr/lib/tafu"));
  EXPECT_EQ(RunCommand(apt + "purge tafu >/dev/null 2>&1"), 0);
  EXPECT_FALSE(fs::exists("/etc/tafu/tafu.conf"));
}

}  // namespace
