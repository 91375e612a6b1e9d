#include <gtest/gtest.h>

#include <filesystem>

#include "PictureFileFixture.h"
#include "studio/PictureFiles.h"

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

TEST_F(PaintingNumbers, DeletingRemovesThePaintingAndReportsAMissingOne) {
  Add("3.tga");
  Add("4.tga");
  DeletePainting(CanvasSize::Big, 3);
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "draw/big/3.tga"));
  EXPECT_EQ(FindNextPainting(CanvasSize::Big, 0), 4);

  ::testing::internal::CaptureStderr();
  DeletePainting(CanvasSize::Big, 3);
  const std::string error = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(error, "Error deleting file: No such file or directory\n");
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "draw/big/4.tga"));
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
