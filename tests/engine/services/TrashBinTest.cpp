// The browser's bin keeps a thrown-away file as the desktop's trash does, the newest only.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "services/KTrash.h"

namespace {

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
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
  }
  const std::vector<std::string> files = Names(bin + "/files");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].substr(13) + files[1].substr(13), "-2.tga-3 a%.tga");
  EXPECT_FALSE(std::filesystem::exists(temp / "3 a%.tga"));
  EXPECT_EQ(tafutest::ReadFile(bin + "/files/" + files[1]), "3 a%.tga");
  EXPECT_EQ(Names(bin + "/info"), (std::vector<std::string>{files[0] + ".trashinfo", files[1] + ".trashinfo"}));
  const std::string info = tafutest::ReadFile(bin + "/info/" + files[1] + ".trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + temp.Path().string() + "/3%20a%25.tga\nDeletionDate=", 0), 0u) << info;

  EXPECT_EQ(MoveToBin(temp / "missing.tga", bin, 2, reason), TrashResult::Failed);
  EXPECT_EQ(reason, "No such file or directory");
}

}  // namespace
