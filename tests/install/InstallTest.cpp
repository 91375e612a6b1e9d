#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "TestSupport.h"
#include "XWindows.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

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

class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    destdir_ = root_ / "dest";
    ASSERT_EQ(RunCommand("DESTDIR=" + destdir_.string() + " cmake --install " TAFU_BUILD_DIR " --prefix /usr >/dev/null"), 0);
  }
  fs::path Prefix() const { return destdir_ / "usr"; }

  tafutest::TempFolder root_;
  fs::path destdir_;
};

TEST_F(Installed, LaysOutTheProgramFolderCommandMenuEntryAndIcons) {
  EXPECT_TRUE(fs::exists(Prefix() / "lib/tafu/tafu"));
  EXPECT_TRUE(fs::exists(Prefix() / "lib/tafu/setup.ini"));
  ASSERT_TRUE(fs::is_symlink(Prefix() / "bin/tafu"));
  EXPECT_EQ(fs::canonical(Prefix() / "bin/tafu"), fs::canonical(Prefix() / "lib/tafu/tafu"));
  EXPECT_TRUE(fs::exists(Prefix() / "share/icons/hicolor/scalable/apps/tafu.svg"));
  for (const char* size : {"16x16", "32x32", "48x48", "128x128", "256x256"})
    EXPECT_TRUE(fs::exists(Prefix() / "share/icons/hicolor" / size / "apps/tafu.png")) << size;

  const fs::path desktop = Prefix() / "share/applications/app.tafu.Tafu.desktop";
  const fs::path metainfo = Prefix() / "share/metainfo/app.tafu.Tafu.metainfo.xml";
  EXPECT_EQ(RunCommand("desktop-file-validate " + desktop.string() + " >/dev/null"), 0);
  EXPECT_EQ(RunCommand("appstreamcli validate --no-net " + metainfo.string() + " >/dev/null"), 0);
  EXPECT_NE(tafutest::ReadFile(desktop.string()).find("Categories=Game;KidsGame;Education;"), std::string::npos);
}

TEST_F(Installed, RunsAsAnOrdinaryUserAndWritesOnlyInTheUsersFolder) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  if (getuid() != 0) GTEST_SKIP() << "needs root to start the game as another user";
  const fs::path home = root_.Path() / "home";
  fs::create_directories(home);
  fs::permissions(root_.Path(), fs::perms::all);
  fs::permissions(home, fs::perms::all);
  const auto before = Snapshot(Prefix());

  const pid_t game = fork();
  if (game == 0) {
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string command = (Prefix() / "bin/tafu").string();
    execlp("setpriv", "setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", command.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(game, 0);
  tafutest::XWindowInfo window;
  for (auto deadline = Clock::now() + std::chrono::seconds(10); !window.found && Clock::now() < deadline;) {
    window = tafutest::FindXWindow("TAFU");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(window.found);
  if (window.found) tafutest::RequestXWindowClose(window.id);

  int status = -1;
  for (auto deadline = Clock::now() + std::chrono::seconds(5); Clock::now() < deadline;) {
    if (waitpid(game, &status, WNOHANG) == game) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!WIFEXITED(status)) kill(game, SIGKILL), waitpid(game, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  EXPECT_TRUE(fs::is_directory(home / ".local/share/tafu"));
  EXPECT_EQ(Snapshot(Prefix()), before);
}

}  // namespace
