#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GameState.h"
#include "TestSupport.h"
#include "app/Settings.h"
#include "shell/Shell.h"
#include "services/KPaths.h"

namespace {

using tafutest::ReadFile;
using tafutest::WriteFile;

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string bytes;
  for (unsigned value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

// The settings file in a fresh user folder, and the settings as they are before start-up.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    tafutest::ResetGameState();
    SetUserFolder(folder_.Path().string());
  }
  void TearDown() override { tafutest::ResetGameState(); }

  std::string File() const { return folder_ / "options.raw"; }
  size_t FilesInFolder() const {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_.Path())) ++count;
    return count;
  }

  tafutest::TempFolder folder_;
};

TEST_F(SettingsFile, WithoutAFileTheGameOpensInAWindowAtHalfVolumeAndWritesNothing) {
  LoadSettings();
  EXPECT_EQ(CurrentSettings.windowed, 1);
  EXPECT_EQ(CurrentSettings.musicVolume, 50);
  EXPECT_EQ(CurrentSettings.effectsVolume, 50);
  EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(SettingsFile, TwelveBytesAreTheFlagAndTwoLittleEndianVolumes) {
  WriteFile(File(), Bytes({0x00, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00}));
  LoadSettings();
  EXPECT_EQ(CurrentSettings.windowed, 0);
  EXPECT_EQ(CurrentSettings.musicVolume, 100);
  EXPECT_EQ(CurrentSettings.effectsVolume, 10);
}

TEST_F(SettingsFile, AShortFileSetsOnlyWhatItCovers) {
  WriteFile(File(), Bytes({0x01, 0x00, 0x00, 0x00}));
  LoadSettings();
  EXPECT_EQ(CurrentSettings.windowed, 1);
  EXPECT_EQ(CurrentSettings.musicVolume, 0);
  EXPECT_EQ(CurrentSettings.effectsVolume, 0);

  // Six bytes reach into the low half of the music volume; its high half stays as it was.
  CurrentSettings.musicVolume = 0x01020304;
  CurrentSettings.effectsVolume = 77;
  WriteFile(File(), Bytes({0x01, 0x00, 0x00, 0x00, 0x28, 0x00}));
  LoadSettings();
  EXPECT_EQ(CurrentSettings.musicVolume, 0x01020028);
  EXPECT_EQ(CurrentSettings.effectsVolume, 77);
}

TEST_F(SettingsFile, ValuesOutsideTheOptionsAreTakenAsTheyAre) {
  WriteFile(File(), Bytes({0x07, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xE8, 0x03, 0x00, 0x00, 0x55}));
  LoadSettings();
  EXPECT_EQ(CurrentSettings.windowed, 7);
  EXPECT_EQ(CurrentSettings.musicVolume, -1);
  EXPECT_EQ(CurrentSettings.effectsVolume, 1000);
}

TEST_F(SettingsFile, SavingWritesTwelveBytesAndKeepsThePaddingThatWasRead) {
  WriteFile(File(), Bytes({0x01, 0xAB, 0xCD, 0xEF, 0x32, 0x00, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00}));
  LoadSettings();
  CurrentSettings.musicVolume = 40;
  CurrentSettings.effectsVolume = -2;
  SaveSettings();
  EXPECT_EQ(ReadFile(File()), Bytes({0x01, 0xAB, 0xCD, 0xEF, 0x28, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind

  CurrentSettings = Settings{};
  LoadSettings();
  EXPECT_EQ(CurrentSettings.padding, (std::array<uint8_t, 3>{0xAB, 0xCD, 0xEF}));
  EXPECT_EQ(CurrentSettings.musicVolume, 40);
  EXPECT_EQ(CurrentSettings.effectsVolume, -2);
}

TEST_F(SettingsFile, ASaveThatCannotBeWrittenLeavesTheEarlierFileWhole) {
  const std::string earlier = Bytes({0x01, 0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00});
  WriteFile(File(), earlier);
  // Something in the way of the temporary file: the new settings cannot be written.
  std::filesystem::create_directory(folder_ / "options.raw.tmp");
  LoadSettings();
  CurrentSettings.musicVolume = 0;
  SaveSettings();
  EXPECT_EQ(ReadFile(File()), earlier);
  EXPECT_EQ(CurrentSettings.musicVolume, 0);  // still in effect for this run

  // A user folder that is gone: nothing is written and nothing complains.
  SetUserFolder((folder_ / "gone").c_str());
  SaveSettings();
  EXPECT_FALSE(std::filesystem::exists(folder_ / "gone"));
}

TEST(SettingsBytes, EncodingAndDecodingAreExactInverses) {
  Settings settings;
  settings.windowed = 1;
  settings.padding = {1, 2, 3};
  settings.musicVolume = -123456789;
  settings.effectsVolume = 0x7FFFFFFF;
  const SettingsBytes bytes = EncodeSettings(settings);
  EXPECT_EQ(bytes, (SettingsBytes{1, 1, 2, 3, 0xEB, 0x32, 0xA4, 0xF8, 0xFF, 0xFF, 0xFF, 0x7F}));
  const Settings decoded = DecodeSettings(Settings{}, bytes.data(), bytes.size());
  EXPECT_EQ(EncodeSettings(decoded), bytes);
}

TEST(PlayersFolder, ADrawingFolderThatCannotTakePaintingsSendsThePlayersFilesHome) {
  tafutest::TempFolder program;
  tafutest::TempFolder data;
  const char* previousData = std::getenv("XDG_DATA_HOME");
  const std::string keptData = previousData ? previousData : "";
  setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
  SetModuleFolder(program.Path().string());
  std::filesystem::create_directories(program.Path() / "draw");

  SetUserFolder("");
  ChooseUserFolder();
  const std::string besideTheGame = GetUserFolder();
  WriteFile(program / "draw/small", "not a folder");
  ChooseUserFolder();
  const std::string chosen = GetUserFolder();

  tafutest::ResetGameState();
  if (previousData)
    setenv("XDG_DATA_HOME", keptData.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(besideTheGame, program.Path().string());
  EXPECT_EQ(chosen, (data.Path() / "tafu").string());
}

}  // namespace
