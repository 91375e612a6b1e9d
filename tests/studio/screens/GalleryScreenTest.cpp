#include <filesystem>

#include "StudioFixture.h"

namespace studiotest {
namespace {

using tafutest::InputScript;

// Painting n of a gallery test is one colour throughout.
uint32_t PaintingColour(int32_t number) { return kOpaque | static_cast<uint32_t>(number) * 0x0A0B0Cu; }


// Records which painting the canvas shows: its number, 0 for a white canvas, -1 otherwise.
InputScript& Note(InputScript& script, std::vector<int32_t>& shown) {
  return script.Do([&shown] {
    const uint32_t cell = PictureBuffer.At(0, 0);
    int32_t number = cell == kWhite ? 0 : -1;
    for (int32_t n = 1; n < 300; ++n)
      if (cell == PaintingColour(n)) number = n;
    shown.push_back(number);
  });
}

class GalleryTest : public StudioTest {
 protected:
  void SetUp() override {
    StudioTest::SetUp();
    setenv("XDG_DATA_HOME", DataHome().Path().c_str(), 1);
  }
  // The data folder, and so the trash, of this test program alone, which a test may spoil:
  // the desktop's trash reads where it is once in a program's life.
  static const tafutest::TempFolder& DataHome() {
    static const tafutest::TempFolder home;
    return home;
  }
  void WritePaintings(CanvasSize size, std::initializer_list<int32_t> numbers) {
    for (const int32_t n : numbers) WritePainting(size, n, PaintingColour(n));
  }
  // The whole grid is the child's canvas of FillPattern(seed).
  static void ExpectCanvasOfPattern(uint32_t seed) {
    for (int32_t column = 0; column < kGridColumns; ++column)
      for (int32_t row = 0; row < kGridRows; ++row)
        ASSERT_EQ(PictureBuffer.At(column, row), PatternCell(column, row, seed)) << column << ", " << row;
  }
};

TEST_F(GalleryTest, WithoutPaintingsTheCanvasStaysWhiteAndTakeBringsTheChildsCanvasBack) {
  FillPattern(2);
  InputScript script;
  std::vector<int32_t> shown;
  Note(script.Wait(1), shown);
  Note(ClickButton(script, kGalleryNext), shown);
  Note(ClickButton(script, kGalleryPrevious), shown);
  ClickButton(script, kGalleryTake);

  EXPECT_EQ(RunGallery(CanvasSize::Big, script), StudioEnd::Left);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(shown, (std::vector<int32_t>{0, 0, 0}));
  ExpectCanvasOfPattern(2);
  EXPECT_EQ(GalleryPosition(CanvasSize::Big), kNoPreviousPainting);
}

TEST_F(GalleryTest, APaintingThatCannotBeRemovedStaysShown) {
  WritePaintings(CanvasSize::Big, {2, 5});
  InputScript script;
  std::vector<int32_t> shown;
  // The trash cannot be made: a file stands where its folder would be.
  const std::string trash = DataHome() / "Trash";
  std::filesystem::remove_all(trash);
  tafutest::WriteFile(trash, "");
  ::testing::internal::CaptureStderr();
  Note(script.Wait(1), shown);
  Note(ClickButton(script, kGalleryDelete), shown);
  ClickButton(script, kGalleryExit);

  RunGallery(CanvasSize::Big, script);
  const std::string errors = ::testing::internal::GetCapturedStderr();
  std::filesystem::remove(trash);
  EXPECT_EQ(errors.rfind("Error deleting file: ", 0), 0u) << errors;
  EXPECT_TRUE(std::filesystem::exists(PaintingPath(CanvasSize::Big, 2)));
  EXPECT_EQ(shown, (std::vector<int32_t>{2, 2}));
  EXPECT_EQ(GalleryPosition(CanvasSize::Big), 2);
  EXPECT_TRUE(std::filesystem::exists(PaintingPath(CanvasSize::Big, 5)));
}

TEST_F(GalleryTest, BrowsingWrapsBothWaysAndTheNextVisitGoesOnAfterTheLastShown) {
  WritePaintings(CanvasSize::Big, {2, 5, 9});
  InputScript script;
  std::vector<int32_t> shown;
  Note(script.Wait(1), shown);
  for (int i = 0; i < 3; ++i) Note(ClickButton(script, kGalleryNext), shown);
  Note(ClickButton(script, kGalleryPrevious), shown);
  Note(ClickButton(script, kGalleryPrevious), shown);
  ClickButton(script, kGalleryExit);

  RunGallery(CanvasSize::Big, script);
  EXPECT_EQ(shown, (std::vector<int32_t>{2, 5, 9, 2, 9, 5}));
  EXPECT_EQ(GalleryPosition(CanvasSize::Big), 5);
  EXPECT_EQ(GalleryPosition(CanvasSize::Small), 0);

  // Closed while 5 is shown, the gallery opens on 9 next time.
  InputScript again;
  std::vector<int32_t> reopened;
  Note(again.Wait(1), reopened);
  ClickButton(again, kGalleryExit);
  RunGallery(CanvasSize::Big, again);
  EXPECT_EQ(reopened, (std::vector<int32_t>{9}));
}

TEST_F(GalleryTest, DeletingMovesOnRoundTheEndAndTheLastDeletionLeavesWhite) {
  WritePaintings(CanvasSize::Small, {2, 5, 9});
  FillPattern(6);
  InputScript script;
  std::vector<int32_t> shown;
  ClickButton(ClickButton(script.Wait(1), kGalleryNext), kGalleryNext);
  Note(ClickButton(script, kGalleryDelete), shown);
  Note(ClickButton(script, kGalleryDelete), shown);
  Note(ClickButton(script, kGalleryDelete), shown);
  Note(ClickButton(script, kGalleryDelete), shown);
  ClickButton(script, kGalleryTake);

  RunGallery(CanvasSize::Small, script);
  EXPECT_EQ(shown, (std::vector<int32_t>{2, 5, 0, 0}));
  for (const int32_t n : {2, 5, 9}) EXPECT_FALSE(std::filesystem::exists(PaintingPath(CanvasSize::Small, n)));
  // With nothing left to take, Take brings the child's canvas back.
  ExpectCanvasOfPattern(6);
}

TEST_F(GalleryTest, PreviousFindingNothingLeaves300AndALaterNextWrapsToTheLowest) {
  InputScript script;
  int32_t afterPrevious = -1;
  std::vector<int32_t> shown;
  ClickButton(script.Wait(1), kGalleryPrevious).Do([&] { afterPrevious = GalleryPosition(CanvasSize::Big); });
  script.Do([this] { WritePaintings(CanvasSize::Big, {4, 7}); });
  Note(ClickButton(script, kGalleryNext), shown);
  ClickButton(script, kGalleryTake);

  RunGallery(CanvasSize::Big, script);
  EXPECT_EQ(afterPrevious, kNoPreviousPainting);
  EXPECT_EQ(shown, (std::vector<int32_t>{4}));
}

TEST_F(GalleryTest, TakeOnTheSmallGalleryKeepsThePaintingInTheCornerAndWhiteElsewhere) {
  FillPattern(3);
  for (int32_t column = 0; column < 15; ++column)
    for (int32_t row = 0; row < 15; ++row) PictureBuffer.At(column, row) = PatternCell(column, row, 9);
  WritePaintingOfBuffer(CanvasSize::Small, 1);
  FillPattern(4);
  InputScript script;
  ClickButton(script.Wait(1), kGalleryTake);

  RunGallery(CanvasSize::Small, script);
  for (int32_t column = 0; column < kGridColumns; ++column)
    for (int32_t row = 0; row < kGridRows; ++row)
      ASSERT_EQ(PictureBuffer.At(column, row), column < 15 && row < 15 ? PatternCell(column, row, 9) : kWhite)
          << column << ", " << row;
}

TEST_F(GalleryTest, ExitRestoresEveryCellOfTheGrid) {
  WritePaintings(CanvasSize::Small, {1, 3});
  FillPattern(5);
  InputScript script;
  ClickButton(ClickButton(script.Wait(1), kGalleryNext), kGalleryDelete);
  ClickButton(script, kGalleryExit);

  RunGallery(CanvasSize::Small, script);
  for (int32_t column = 0; column < kGridColumns; ++column)
    for (int32_t row = 0; row < kGridRows; ++row)
      ASSERT_EQ(PictureBuffer.At(column, row), PatternCell(column, row, 5)) << column << ", " << row;
  EXPECT_TRUE(std::filesystem::exists(PaintingPath(CanvasSize::Small, 1)));
  EXPECT_FALSE(std::filesystem::exists(PaintingPath(CanvasSize::Small, 3)));
}

TEST_F(GalleryTest, PaintingsThatCannotBeReadArePassedOverAndNeverDeleted) {
  WritePaintings(CanvasSize::Big, {1, 3, 6});
  tafutest::WriteFile(PaintingPath(CanvasSize::Big, 3), std::string(40, '\x02'));
  WritePainting(CanvasSize::Small, 1, PaintingColour(20));
  std::filesystem::copy_file(PaintingPath(CanvasSize::Small, 1), PaintingPath(CanvasSize::Big, 4));
  tafutest::WriteFile(PaintingPath(CanvasSize::Big, 5), tafutest::ReadFile(PaintingPath(CanvasSize::Big, 6)).substr(0, 900));
  FillPattern(7);
  InputScript script;
  std::vector<int32_t> shown;
  Note(script.Wait(1), shown);
  Note(ClickButton(script, kGalleryNext), shown);
  Note(ClickButton(script, kGalleryNext), shown);
  Note(ClickButton(script, kGalleryPrevious), shown);
  Note(ClickButton(script, kGalleryDelete), shown);
  Note(ClickButton(script, kGalleryDelete), shown);
  ClickButton(script, kGalleryTake);

  RunGallery(CanvasSize::Big, script);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(shown, (std::vector<int32_t>{1, 6, 1, 6, 1, 0}));
  for (const int32_t n : {3, 4, 5}) EXPECT_TRUE(std::filesystem::exists(PaintingPath(CanvasSize::Big, n))) << n;
  ExpectCanvasOfPattern(7);
}

TEST_F(GalleryTest, ALoadedPaintingIsPaintedOnAndSavedUnderANewNumber) {
  WritePaintings(CanvasSize::Big, {1});
  const std::string loaded = tafutest::ReadFile(PaintingPath(CanvasSize::Big, 1));
  InputScript script;
  ClickButton(ClickButton(script.Wait(1), kLoadButton), kGalleryTake);
  const Spot cell = CellSpot(CanvasSize::Big, 30, 30);
  script.MoveTo(cell.x, cell.y).Press().Wait(1).Release();
  ClickButton(script, kSaveButton);
  ClickButton(script, kStudioExit);

  RunStudio(CanvasSize::Big, script);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(tafutest::ReadFile(PaintingPath(CanvasSize::Big, 1)), loaded);
  ASSERT_TRUE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 2, 50, 40));
  EXPECT_EQ(PictureBuffer.At(30, 30), kBlack);
  EXPECT_EQ(PictureBuffer.At(0, 0), PaintingColour(1));
  EXPECT_EQ(PictureBuffer.At(49, 39), PaintingColour(1));
}

TEST_F(GalleryTest, AnInstalledGameKeepsPaintingsInThePlayersFolder) {
  tafutest::TempFolder player;
  SetUserFolder(player.Path().string());
  InputScript script;
  const Spot cell = CellSpot(CanvasSize::Small, 2, 3);
  script.Wait(1).MoveTo(cell.x, cell.y).Press().Wait(1).Release();
  ClickButton(script, kSaveButton);
  ClickButton(script, kLoadButton).Do([] { ClearPictureBuffer(); });
  ClickButton(script, kGalleryPrevious);
  ClickButton(script, kGalleryTake);
  ClickButton(script, kStudioExit);

  RunStudio(CanvasSize::Small, script);
  SetUserFolder("");
  EXPECT_TRUE(script.Finished());
  EXPECT_TRUE(std::filesystem::exists(player / "draw/small/1.tga"));
  EXPECT_FALSE(std::filesystem::exists(MakePath("draw")));
  EXPECT_EQ(PaintedCells(), (std::vector<std::pair<int32_t, int32_t>>{{2, 3}}));
}

}  // namespace
}  // namespace studiotest
