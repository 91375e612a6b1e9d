#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "PictureFileFixture.h"
#include "board/PictureFiles.h"

using namespace picturetest;

namespace {

class PaintingNumbers : public PictureFileTest {
 protected:
  void Add(const std::string& name, CanvasSize size = CanvasSize::Big) {
    const std::string folder = size == CanvasSize::Big ? "draw/big" : "draw/small";
    std::filesystem::create_directories(folder_.Path() / folder);
    tafutest::WriteFile(folder_ / (folder + "/" + name), "x");
  }
};

TEST_F(PaintingNumbers, NoFolderOrAnEmptyOneStartsAtOneAndFindsNothing) {
  EXPECT_EQ(NextPaintingNumber(CanvasSize::Big), 1);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 0), kNoNextPainting);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 0), kNoPreviousPainting);
  std::filesystem::create_directories(folder_.Path() / "draw/big");
  EXPECT_EQ(NextPaintingNumber(CanvasSize::Big), 1);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 300), kNoNextPainting);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 300), kNoPreviousPainting);
}

TEST_F(PaintingNumbers, BrowsingWrapsRoundAndSavingGoesAboveTheHighest) {
  for (const char* name : {"1.tga", "2.tga", "7.tga"}) Add(name);
  EXPECT_EQ(NextPaintingNumber(CanvasSize::Big), 8);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 0), 1);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 2), 7);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 7), 1);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 300), 1);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 1), 7);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 7), 2);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 300), 7);
  // Sizes are numbered separately.
  EXPECT_EQ(NextPaintingNumber(CanvasSize::Small), 1);
  EXPECT_EQ(FindNextPainting(CanvasSize::Small, 0), kNoNextPainting);

  ClearPictureBuffer();
  ASSERT_TRUE(SavePainting(CanvasSize::Big, 50, 40));
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "draw/big/8.tga"));
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 7), 8);
}

TEST_F(PaintingNumbers, ASinglePaintingIsItsOwnNextAndPrevious) {
  Add("5.tga", CanvasSize::Small);
  EXPECT_EQ(FindNextPainting(CanvasSize::Small, 5), 5);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Small, 5), 5);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Small, 0), kNoPreviousPainting);
  EXPECT_EQ(FindNextPainting(CanvasSize::Small, 0), 5);
}

TEST_F(PaintingNumbers, OnlyNumberedFilesCountAndOnlyExactNamesAreBrowsed) {
  Add("readme.txt");
  Add("0.tga");
  Add("-5.tga");
  Add("ab");
  Add("saving.tmp");
  Add("123456789012.tga");  // stem longer than eleven characters
  Add("99999999999.tga");   // beyond any painting number
  std::filesystem::create_directories(folder_.Path() / "draw/big/40.tga");
  std::filesystem::create_directories(folder_.Path() / "draw/big/sub");
  EXPECT_EQ(NextPaintingNumber(CanvasSize::Big), 1);

  Add("12abc.png");
  EXPECT_EQ(NextPaintingNumber(CanvasSize::Big), 13);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 0), kNoNextPainting);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 0), kNoPreviousPainting);
}

TEST_F(PaintingNumbers, PaintingsFrom300OnRaiseTheNumberButAreNeverBrowsed) {
  Add("350.tga");
  Add("300.tga");
  EXPECT_EQ(NextPaintingNumber(CanvasSize::Big), 351);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 0), kNoNextPainting);
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 299), kNoNextPainting);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 0), kNoPreviousPainting);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 400), kNoPreviousPainting);
  Add("299.tga");
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 0), 299);
  EXPECT_EQ(FindPreviousPainting(CanvasSize::Big, 400), 299);
}

TEST_F(PaintingNumbers, PastThe299thSavesTakeTheLowestFreeNumberAndNoneLeftIsAFailure) {
  for (int32_t n = 1; n <= 298; ++n) Add(std::to_string(n) + ".tga", CanvasSize::Small);
  ClearPictureBuffer();
  ASSERT_TRUE(SavePainting(CanvasSize::Small, 15, 15));
  EXPECT_EQ(tafutest::ReadFile(folder_ / "draw/small/299.tga").size(), 918u);

  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(SavePainting(CanvasSize::Small, 15, 15));
  ::testing::internal::GetCapturedStderr();
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_ / "draw/small")) ++files;
  EXPECT_EQ(files, 299u);

  std::filesystem::remove(folder_ / "draw/small/17.tga");
  std::filesystem::remove(folder_ / "draw/small/40.tga");
  ASSERT_TRUE(SavePainting(CanvasSize::Small, 15, 15));
  EXPECT_EQ(tafutest::ReadFile(folder_ / "draw/small/17.tga").size(), 918u);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "draw/small/300.tga"));
}

TEST_F(PaintingNumbers, TwoGamesSavingAtOnceLoseNoPainting) {
  constexpr int32_t kSavesEach = 100;
  pid_t games[2] = {};
  for (int32_t game = 0; game < 2; ++game) {
    games[game] = fork();
    if (games[game] == 0) {
      bool saved = true;
      for (int32_t i = 0; i < kSavesEach; ++i) {
        ClearPictureBuffer();
        PictureBuffer.At(0, 0) = 0xFF000000u | static_cast<uint32_t>(game * 1000 + i);
        saved = SavePainting(CanvasSize::Big, 50, 40) && saved;
      }
      _exit(saved ? 0 : 1);
    }
    ASSERT_GT(games[game], 0);
  }
  for (const pid_t game : games) {
    int status = 0;
    ASSERT_EQ(waitpid(game, &status, 0), game);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  // Every painting is whole, under a number of its own from 1 to 200.
  std::set<uint32_t> marks;
  for (int32_t n = 1; n <= 2 * kSavesEach; ++n) {
    const std::string file = tafutest::ReadFile(folder_ / ("draw/big/" + std::to_string(n) + ".tga"));
    ASSERT_EQ(file.size(), 18u + 4u * 50u * 40u) << n;
    // Cell (0, 0) comes first after the header.
    marks.insert(static_cast<uint8_t>(file[18]) | static_cast<uint8_t>(file[19]) << 8 |
                 static_cast<uint8_t>(file[20]) << 16);
  }
  EXPECT_EQ(marks.size(), static_cast<size_t>(2 * kSavesEach));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "draw/big/201.tga"));
}

TEST_F(PaintingNumbers, DeletingRemovesThePaintingAndReportsAMissingOne) {
  Add("3.tga");
  Add("4.tga");
  EXPECT_TRUE(DeletePainting(CanvasSize::Big, 3));
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "draw/big/3.tga"));
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 0), 4);

  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(DeletePainting(CanvasSize::Big, 3));
  const std::string error = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(error, "Error deleting file: No such file or directory\n");
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "draw/big/4.tga"));
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
