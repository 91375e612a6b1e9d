// The browser's bin: a thrown-away file is kept as the desktop's trash keeps it, and only the
// newest ones are kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "services/KTrash.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(TrashBin, KeepsTheNewestFilesWithTheirOriginalPlaces) {
  tafutest::TempFolder temp;
  const std::string bin = temp / "bin";
  std::string reason;
  for (const char* name : {"1.tga", "2.tga", "3 a%.tga"}) {
    tafutest::WriteFile(temp / name, name);
    ASSERT_EQ(MoveToBin(temp / name, bin, 2, reason), TrashResult::Trashed) << reason;
    EXPECT_FALSE(fs::exists(temp / name));
  }
  const std::vector<std::string> files = Names(fs::path(bin) / "files");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].substr(13), "-2.tga");
  EXPECT_EQ(files[1].substr(13), "-3 a%.tga");
  EXPECT_EQ(tafutest::ReadFile(bin + "/files/" + files[1]), "3 a%.tga");
  EXPECT_EQ(Names(fs::path(bin) / "info"), (std::vector<std::string>{files[0] + ".trashinfo", files[1] + ".trashinfo"}));
  const std::string info = tafutest::ReadFile(bin + "/info/" + files[1] + ".trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + temp.Path().string() + "/3%20a%25.tga\nDeletionDate=", 0), 0u) << info;

  EXPECT_EQ(MoveToBin(temp / "missing.tga", bin, 2, reason), TrashResult::Failed);
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_EQ(Names(fs::path(bin) / "files"), files);
}

}  // namespace
