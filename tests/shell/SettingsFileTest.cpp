// The grown-ups' settings as the shipped file and the command line give them: every key in
// both, and the values each refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "services/KKeyValueFile.h"
#include "shell/CommandLine.h"
#include "shell/GrownUpSettings.h"
#include "TestPaths.h"

namespace {

const std::vector<std::string> kKeys = {"fullscreen", "mute",         "music-volume", "effects-volume",
                                        "kiosk",      "lock-options", "paintings",    "players",
                                        "scanning",   "scan-seconds"};

// The machine's file as shipped and --help name every key, each with a line that is taken as
// it is once its "#" is gone, and with its --no-KEY.
TEST(SettingsFile, TheShippedFileAndHelpNameEveryKeyAndEachLineWorksUncommented) {
  tafutest::TempFolder folder;
  const std::string shipped = tafutest::ReadFile(std::string(tafutest::SourceDir()) + "/dist/tafu.conf");
  std::string uncommented;
  for (const std::string& key : kKeys) {
    EXPECT_NE(UsageText().find(key + " = "), std::string::npos) << key;
    EXPECT_EQ(ParseCommandLine({"--no-" + key}).action, CommandAction::Play) << key;
    const size_t at = shipped.find("\n#" + key + " = ");
    ASSERT_NE(at, std::string::npos) << key;
    uncommented += shipped.substr(at + 2, shipped.find('\n', at + 1) - at - 1);
  }
  tafutest::WriteFile(folder / "tafu.conf", uncommented);
  const KKeyValueFile file = ReadKeyValueFile(folder / "tafu.conf");
  ASSERT_EQ(file.values.size(), 10u) << uncommented;
  GrownUpSettings settings;
  for (const KKeyValue& value : file.values)
    EXPECT_EQ(ChangeSetting(settings, value.key, value.value), SettingChangeResult::Taken) << value.key;
}

TEST(SettingsFile, TheCommandLineSetsAndUndoesKeysInOrderAndRefusesBadValues) {
  const CommandLine command = ParseCommandLine({"--kiosk", "--no-kiosk", "--music-volume", "30", "--no-music-volume",
                                                "--paintings=/srv/p", "--windowed", "--no-system-config"});
  ASSERT_EQ(command.action, CommandAction::Play);
  EXPECT_FALSE(command.systemSettings);
  GrownUpSettings settings;
  settings.kiosk = true;
  settings.musicVolume = 70;
  for (const SettingChange& change : command.settings) ChangeSetting(settings, change.key, change.value);
  EXPECT_FALSE(settings.kiosk);
  EXPECT_FALSE(settings.musicVolume.has_value());
  EXPECT_EQ(settings.paintings, "/srv/p");
  EXPECT_EQ(settings.fullscreen, false);
  EXPECT_EQ(ParseCommandLine({"--scan-seconds", "0.25"}).action, CommandAction::Play);
  const CommandLine book = ParseCommandLine({"--player=dog", "--export-book", "book.pdf"});
  EXPECT_EQ(book.action, CommandAction::ExportBook);
  EXPECT_EQ(book.bookFile, "book.pdf");
  EXPECT_EQ(book.player, "dog");

  const std::vector<std::vector<std::string>> mistakes = {
      {"--music-volume", "101"}, {"--effects-volume=-1"}, {"--music-volume", "5x"}, {"--kiosk=true"},
      {"--kiosk=Yes"},           {"--paintings="},        {"--no-kiosk=yes"},      {"--exit"},
      {"--player", "cat"},       {"--player", "cow", "--export-paintings", "out"}, {"--scan-seconds", "0.1"},
      {"--scan-seconds=61"},     {"--scan-seconds", "1,5"},  {"--export-book"},       {"--export-book="}};
  for (const std::vector<std::string>& mistake : mistakes)
    EXPECT_EQ(ParseCommandLine(mistake).action, CommandAction::Mistake) << mistake[0];
}

}  // namespace
