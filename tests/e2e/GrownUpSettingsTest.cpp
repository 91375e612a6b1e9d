// The real game set up by a parent or a school: the settings files and the command line laid
// over each other, a kiosk, locked options, a chosen paintings folder, and players.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "PlayHelpers.h"
#include "PrivateXServer.h"
#include "StudioPlaces.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using tafutest::WaitFor;

constexpr tafutest::Box kExitDoor = {32, 446, 103, 138};
constexpr tafutest::Box kOptionsButton = {739, 5, 61, 61};
constexpr size_t kWholeBigPainting = 18 + 50 * 40 * 4;

class GrownUpSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = tafutest::EndToEndUnavailable();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  }
};

// Opens the options screen from the menu: true once it shows.
bool OpenOptions(const tafutest::GameLauncher& game) {
  return game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish) && game.Click(tafutest::kOptions) &&
         game.WaitForPixel(tafutest::kMenuSky, tafutest::IsWarm);
}

TEST_F(GrownUpSettings, TheUsersFileBeatsTheMachinesTheCommandLineBeatsBothAndABadLineIsReported) {
  tafutest::GameLauncher game;
  game.WriteSettings(game.SystemSettings(), "music-volume = 20\neffects-volume = 20\n");
  game.WriteSettings(game.UserSettings(), "# the family's choice\nmusic-volume = 80\nloud = yes\n");
  ASSERT_TRUE(game.Launch({.arguments = {"--effects-volume", "60"}}));
  ASSERT_TRUE(game.WaitForWindow());
  ASSERT_TRUE(OpenOptions(game));
  EXPECT_EQ(tafutest::LitMusicLeds(game), 9);    // 80
  EXPECT_EQ(tafutest::LitEffectsLeds(game), 7);  // 60
  EXPECT_EQ(game.Errors(), "tafu: " + game.UserSettings() + ":3: unknown key 'loud'; left out\n");
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  // Start values are not the child's choice: nothing was saved.
  EXPECT_FALSE(fs::exists(game.File("options.raw")));

  ASSERT_TRUE(game.Start({.arguments = {"--no-system-config"}}));
  ASSERT_TRUE(OpenOptions(game));
  EXPECT_EQ(tafutest::LitMusicLeds(game), 9);    // the user's 80
  EXPECT_EQ(tafutest::LitEffectsLeds(game), 6);  // the game's own 50
  // The child's own choice replaces the start value, and is saved.
  ASSERT_TRUE(game.Click(tafutest::MusicLed(4)));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(game.File("options.raw")); }, 5s));
  ASSERT_TRUE(game.Click(tafutest::kExit));
  ASSERT_TRUE(OpenOptions(game));
  EXPECT_EQ(tafutest::LitMusicLeds(game), 5);
  EXPECT_EQ(tafutest::ReadFile(game.File("options.raw")), std::string("\1\0\0\0\x28\0\0\0\x32\0\0\0", 12));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

// Under a window manager, its close and Alt+F4 are ignored, and so are the exit door and a
// quick Ctrl+Shift+Escape; the same keys held end the game with 0. In a window the desktop
// keeps the keyboard; full screen the game keeps it.
TEST_F(GrownUpSettings, AKioskIgnoresEveryWayOutButTheGrownUpsKeysHeldAndKeepsTheKeyboardFullScreen) {
  tafutest::PrivateXServer server({1024, 768, true});
  ASSERT_EQ(server.Failure(), "");
  tafutest::GameLauncher game;
  game.WriteSettings(game.UserSettings(), "kiosk = yes\n");
  for (const bool fullScreen : {false, true}) {
    ASSERT_TRUE(game.Start({.arguments = {fullScreen ? "--fullscreen" : "--windowed"}}));
    // The menu shows, so a grab would have come before it.
    ASSERT_TRUE(game.Focus() && game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
    EXPECT_EQ(fullScreen ? WaitFor(tafutest::IsKeyboardGrabbed, 5s) : tafutest::IsKeyboardGrabbed(), fullScreen);
    if (!fullScreen) {
      ASSERT_TRUE(game.Click(tafutest::kExit));
      ASSERT_TRUE(game.Close());
      ASSERT_TRUE(game.Key("alt+F4"));
      // Held a third of a second, as a child's mashing might.
      ASSERT_TRUE(game.KeyDown("ctrl+shift+Escape"));
      std::this_thread::sleep_for(300ms);
      ASSERT_TRUE(game.KeyUp("ctrl+shift+Escape"));
      // The game is still there and answers the next click.
      ASSERT_TRUE(OpenOptions(game));
    }
    ASSERT_TRUE(game.KeyDown("ctrl+shift+Escape"));
    EXPECT_EQ(game.Wait(5s), 0);
    game.KeyUp("ctrl+shift+Escape");
  }
}

// Locked options and a kiosk: neither the options button nor the exit door is there, and a
// click on the options' place leaves the child in the menu. SIGTERM ends the game cleanly.
TEST_F(GrownUpSettings, ALockedKioskHasNoButtonsAndEndsOnSigtermWithThePaintingWhole) {
  tafutest::GameLauncher game;
  game.WriteSettings(game.SystemSettings(), "lock-options = yes\n");
  ASSERT_TRUE(game.Start({.arguments = {"--kiosk"}}));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
  EXPECT_TRUE(tafutest::ShowsMenuBackground(game, kOptionsButton));
  EXPECT_TRUE(tafutest::ShowsMenuBackground(game, kExitDoor));
  ASSERT_TRUE(game.Click(tafutest::kOptions));
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(tafutest::OpenBigCanvas(game) && tafutest::PaintAStrokeAndSave(game));
  const std::string saved = game.File("draw/big/1.tga");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(saved); }, 5s));
  ASSERT_EQ(kill(game.Pid(), SIGTERM), 0);
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_EQ(fs::file_size(saved), kWholeBigPainting);
}

// A folder under "~" with "$USER" is made and takes the painting; one that cannot be
// written is reported, and the painting lands in the player's own folder.
TEST_F(GrownUpSettings, APaintingGoesToTheChosenFolderOrIsReportedAndKeptInThePlayersOwn) {
  struct Case {
    std::string chosen, landing;  // landing below the test's folder
    bool reported;
  };
  for (const Case& one : {Case{"~/pupils/$USER", "home/pupils/ada/draw/big/1.tga", false},
                          Case{"/proc/tafu/paintings", "draw/big/1.tga", true}}) {
    tafutest::GameLauncher game;
    game.WriteSettings(game.UserSettings(), "paintings = " + one.chosen + "\n");
    ASSERT_TRUE(game.Launch({.variables = {{"HOME", game.File("home")}, {"USER", "ada"}}}));
    ASSERT_TRUE(game.WaitForWindow());
    ASSERT_TRUE(tafutest::OpenBigCanvas(game) && tafutest::PaintAStrokeAndSave(game));
    const std::string saved = game.File(one.landing);
    EXPECT_TRUE(WaitFor([&] { return fs::exists(saved) && fs::file_size(saved) == kWholeBigPainting; }, 5s))
        << one.chosen;
    EXPECT_EQ(game.Errors().find("the paintings folder /proc/tafu/paintings cannot be written") != std::string::npos,
              one.reported)
        << game.Errors();
    ASSERT_TRUE(game.Close());
    EXPECT_EQ(game.Wait(5s), 0);
  }
}

constexpr tafutest::Point kCat = {220, 170};
constexpr tafutest::Point kDog = {400, 170};
constexpr tafutest::Point kPlayerInMenu = {50, 50};

// The cat's orange face on the animals screen, as 0xBBGGRR.
bool IsCatOrange(uint32_t pixel) { return (pixel & 0xFF) > 0xE0 && ((pixel >> 16) & 0xFF) < 0x80; }

// The cat paints and saves; back on the animals screen the dog finds an empty gallery, then
// saves its own and leaves by the animals' exit door. A grown-up exports one player's
// paintings, then every player's.
TEST_F(GrownUpSettings, TwoPlayersEachKeepTheirOwnPaintingsAndAGrownUpExportsThem) {
  tafutest::GameLauncher game;
  ASSERT_TRUE(game.Start({.arguments = {"--players"}}));
  ASSERT_TRUE(game.WaitForPixel(kCat, IsCatOrange));
  ASSERT_TRUE(game.Click(kCat));
  ASSERT_TRUE(tafutest::OpenBigCanvas(game) && tafutest::PaintAStrokeAndSave(game));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(game.File("players/cat/draw/big/1.tga")); }, 5s));
  ASSERT_TRUE(game.Click(tafutest::kStudioExit));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
  ASSERT_TRUE(game.Click(kPlayerInMenu));
  ASSERT_TRUE(game.WaitForPixel(kCat, IsCatOrange));

  ASSERT_TRUE(game.Click(kDog));
  ASSERT_TRUE(tafutest::OpenBigCanvas(game));
  ASSERT_TRUE(game.Click(tafutest::kLoadButton));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kFirstSwatch, [](uint32_t p) { return p != tafutest::kFirstSwatchColour; }));
  EXPECT_NE(game.Pixel(tafutest::BigCanvasCell(tafutest::kStrokeFirst, tafutest::kStrokeRow)), tafutest::kRed);
  ASSERT_TRUE(game.Click(tafutest::kGalleryExit));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kFirstSwatch, [](uint32_t p) { return p == tafutest::kFirstSwatchColour; }));
  ASSERT_TRUE(tafutest::PaintAStrokeAndSave(game));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(game.File("players/dog/draw/big/1.tga")); }, 5s));
  // The animals screen's exit door ends the game.
  ASSERT_TRUE(game.Click(tafutest::kStudioExit) && game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
  ASSERT_TRUE(game.Click(kPlayerInMenu) && game.WaitForPixel(kCat, IsCatOrange));
  ASSERT_TRUE(game.Click(tafutest::kExit));
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_FALSE(fs::exists(game.File("players/cat/draw/big/2.tga")));
  EXPECT_FALSE(fs::exists(game.File("draw")));

  ASSERT_TRUE(game.Launch({.arguments = {"--export-paintings", game.File("cat"), "--player", "cat"}}));
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_TRUE(fs::exists(game.File("cat/big-1.png")));
  ASSERT_TRUE(game.Launch({.arguments = {"--players", "--export-paintings", game.File("all")}}));
  EXPECT_EQ(game.Wait(5s), 0);
  for (const char* player : {"cat", "dog"}) EXPECT_TRUE(fs::exists(game.File("all/") + player + "/big-1.png"));
  EXPECT_FALSE(fs::exists(game.File("all/pig")));
}

}  // namespace
