#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "GameState.h"
#include "TestSupport.h"
#include "services/KFindFiles.h"
#include "services/KPaths.h"
#include "services/KRandom.h"

namespace {

class Paths : public ::testing::Test {
 protected:
  void TearDown() override { tafutest::ResetGameState(); }
};

TEST_F(Paths, ModuleFolderIsTheExecutablesFolder) {
  InitPaths();
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(GetModuleFolder(), self.parent_path().string());
}

TEST_F(Paths, GameNamesBecomeNativePathsInTheProgramFolder) {
  SetModuleFolder("/opt/tafu");
  EXPECT_EQ(MakePath("img\\bg\\menu.png"), "/opt/tafu/img/bg/menu.png");
  EXPECT_EQ(MakePath("\\img\\bg/menu.png"), "/opt/tafu/img/bg/menu.png");
  EXPECT_EQ(MakePath(":setup.ini"), "/opt/tafu/setup.ini");
  EXPECT_EQ(MakePath(""), "/opt/tafu/");
  EXPECT_EQ(MakePath("/var/lib/x.tga"), "/var/lib/x.tga");
  EXPECT_EQ(MakePath("C:\\x.tga"), "C:/x.tga");
}

TEST_F(Paths, WrittenFilesGoToTheUserFolderWhichDefaultsToTheProgramFolder) {
  SetModuleFolder("/opt/tafu");
  SetUserFolder("");
  EXPECT_EQ(MakeUserPath("draw\\big\\1.tga"), "/opt/tafu/draw/big/1.tga");
  SetUserFolder("/home/child/.local/share/tafu/");
  EXPECT_EQ(MakeUserPath("options.raw"), "/home/child/.local/share/tafu/options.raw");
  EXPECT_EQ(MakePath("setup.ini"), "/opt/tafu/setup.ini");
  SetUserFolder("");

  tafutest::TempFolder temp;
  EXPECT_TRUE(IsFolderWritable(temp.Path().string()));
  EXPECT_FALSE(IsFolderWritable(temp / "missing"));
}

TEST_F(Paths, LongFolderNamesWork) {
  tafutest::TempFolder temp;
  std::string folder = temp.Path().string();
  for (int i = 0; i < 5; ++i) folder += "/" + std::string(200, static_cast<char>('a' + i));
  ASSERT_TRUE(CreateFolders(folder));
  SetModuleFolder(folder);
  const std::string path = MakePath("setup.ini");
  EXPECT_GT(path.size(), 1000u);
  tafutest::WriteFile(path, "[DEBUG]\r\n");
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(Paths, UserFoldersFollowXdgAndAreCreated) {
  tafutest::TempFolder temp;
  setenv("XDG_DATA_HOME", (temp / "data").c_str(), 1);
  EXPECT_EQ(GetAppDataFolder(), temp / "data");
  EXPECT_TRUE(std::filesystem::is_directory(temp / "data"));
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", temp.Path().c_str(), 1);
  EXPECT_EQ(GetAppDataFolder(), temp / ".local/share");
  EXPECT_TRUE(std::filesystem::is_directory(temp / ".local/share"));
}

TEST(FindFiles, ListsMatchingEntriesWithTheFolderFlag) {
  tafutest::TempFolder temp;
  tafutest::WriteFile(temp / "1.tga", "x");
  tafutest::WriteFile(temp / "2.TGA", "x");
  tafutest::WriteFile(temp / "readme.txt", "x");
  std::filesystem::create_directory(temp / "sub");

  std::set<std::string> files;
  std::set<std::string> folders;
  ASSERT_TRUE(FindFiles(temp / "*.*", [&](const std::string& name, uint32_t flags) {
    ((flags & KFIND_DIRECTORY) ? folders : files).insert(name);
    return true;
  }));
  EXPECT_EQ(files, (std::set<std::string>{"1.tga", "2.TGA", "readme.txt"}));
  EXPECT_TRUE(folders.count("sub"));

  std::set<std::string> pictures;
  FindFiles(temp / "*.tga", [&](const std::string& name, uint32_t) { return pictures.insert(name), true; });
  EXPECT_EQ(pictures, (std::set<std::string>{"1.tga", "2.TGA"}));

  int seen = 0;
  FindFiles(temp / "*.*", [&](const std::string&, uint32_t) { return ++seen < 2; });
  EXPECT_EQ(seen, 2);

  EXPECT_FALSE(FindFiles(temp / "missing/*.*", [](const std::string&, uint32_t) { return true; }));
  EXPECT_FALSE(FindFiles("", [](const std::string&, uint32_t) { return true; }));
  EXPECT_FALSE(FindFiles(temp / "*.*", nullptr));
}

TEST(Random, FifteenBitValuesAndFairNumbersBelowN) {
  SeedRandom(12345);
  int below5[5] = {};
  for (int i = 0; i < 20000; ++i) {
    const int32_t value = Random15();
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 32768);
    const int32_t n = RandomBelow(5);
    ASSERT_GE(n, 0);
    ASSERT_LT(n, 5);
    ++below5[n];
  }
  for (int count : below5) EXPECT_GT(count, 3000);
  SeedRandom(7);
  const int32_t first = Random15();
  SeedRandom(7);
  EXPECT_EQ(Random15(), first);
}

}  // namespace
