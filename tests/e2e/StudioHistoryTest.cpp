// The real game under the test's X server: undo and redo in both studios, with the buttons,
// the grown-ups' keys and the gallery's Take, and a deleted painting that comes back from
// the desktop's trash.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "StudioPlaces.h"

namespace {

using namespace std::chrono_literals;
using namespace tafutest;
using Canvas = std::vector<uint32_t>;  // as the saved file holds it, row by row from the top

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

struct StudioCase {
  const char* name;
  Point choice;  // on the canvas-size screen
  int32_t columns;
  int32_t rows;
  Point (*cell)(int32_t column, int32_t row);
  const char* folder;
};
void PrintTo(const StudioCase& studio, std::ostream* out) { *out << studio.name; }

const StudioCase kStudios[] = {
    {"Big", kBig, 50, 40, BigCanvasCell, "draw/big"},
    {"Small", kSmall, 15, 15, SmallCanvasCell, "draw/small"},
};

class StudioHistory : public ::testing::TestWithParam<StudioCase> {
 protected:
  void SetUp() override {
    if (const std::string unavailable = EndToEndUnavailable(); !unavailable.empty()) GTEST_SKIP() << unavailable;
    ASSERT_TRUE(game_.Start({.variables = {{"XDG_DATA_HOME", game_.File("data")}}}));
    ASSERT_TRUE(game_.WaitForPixel(kMenuSky, IsBluish));
    ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(kPaint); }));
    ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(Studio().choice); }));
  }

  virtual const StudioCase& Studio() const { return GetParam(); }
  Point Cell(int32_t column, int32_t row) const { return Studio().cell(column, row); }

  // Moves the pointer, which the game draws, off the canvas and waits for the cell's colour.
  bool SeeCell(int32_t column, int32_t row, uint32_t colour) const {
    return game_.MoveTo(kNowhere) && game_.WaitForPixel(Cell(column, row), [colour](uint32_t p) { return p == colour; }, 5s);
  }
  bool ClickAndSee(Point at, int32_t column, int32_t row, uint32_t colour) {
    return game_.Click(at) && SeeCell(column, row, colour);
  }
  bool KeyAndSee(const std::string& key, int32_t column, int32_t row, uint32_t colour) {
    return game_.Key(key) && SeeCell(column, row, colour);
  }
  // A black pen stroke along a row, from column 1 to 6.
  bool Stroke(int32_t row) { return game_.Drag(Cell(1, row), Cell(6, row)) && SeeCell(6, row, kBlack); }

  // Saves the canvas with the Save button and reads the file back.
  Canvas Save() {
    const std::string file = game_.File(std::string(Studio().folder) + "/" + std::to_string(++saved_) + ".tga");
    Canvas cells;
    EXPECT_TRUE(game_.Click(kSaveMiddle) && WaitFor([&] {
      cells = SavedPaintingCells(file, Studio().columns, Studio().rows);
      return !cells.empty();
    }, 5s)) << file;
    return cells;
  }

  // A white canvas with these cells black.
  Canvas Painted(const std::vector<std::pair<int32_t, int32_t>>& cells) const {
    Canvas canvas(static_cast<size_t>(Studio().columns * Studio().rows), kWhite);
    for (const auto& [column, row] : cells) canvas[static_cast<size_t>(row * Studio().columns + column)] = kBlack;
    return canvas;
  }
  Canvas Stroked(std::initializer_list<int32_t> rows) const {
    std::vector<std::pair<int32_t, int32_t>> cells;
    for (const int32_t row : rows)
      for (int32_t column = 1; column <= 6; ++column) cells.emplace_back(column, row);
    return Painted(cells);
  }

  GameLauncher game_;
  int32_t saved_ = 0;
};

TEST_P(StudioHistory, StrokesFillsAndTakesAreUndoneAndRedoneOneStepAtATime) {
  ASSERT_TRUE(Stroke(1));
  const Canvas first = Save();
  ASSERT_EQ(first, Stroked({1}));
  ASSERT_TRUE(Stroke(3) && Stroke(5));
  ASSERT_TRUE(ClickAndSee(kUndoButton, 6, 5, kWhite) && ClickAndSee(kUndoButton, 6, 3, kWhite));
  EXPECT_EQ(Save(), first);
  ASSERT_TRUE(ClickAndSee(kRedoButton, 6, 3, kBlack));
  EXPECT_EQ(Save(), Stroked({1, 3}));

  // A new stroke clears what was undone: the dimmed Redo neither pulses nor answers.
  ASSERT_TRUE(Stroke(7) && game_.MoveTo(kRedoButton));
  std::this_thread::sleep_for(200ms);
  const std::vector<uint32_t> resting = game_.Area(592, 492, 100, 88);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(game_.Area(592, 492, 100, 88), resting);
  ASSERT_TRUE(game_.Click(kRedoButton));
  std::this_thread::sleep_for(500ms);
  const Canvas beforeFill = Save();
  EXPECT_EQ(beforeFill, Stroked({1, 3, 7}));

  // A bucket fill, taken back and done again from the keyboard.
  ASSERT_TRUE(game_.Click(kBucketButton));
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(ClickAndSee(Cell(0, 0), 0, 0, kBlack) && KeyAndSee("ctrl+z", 0, 0, kWhite));
  EXPECT_EQ(Save(), beforeFill);
  ASSERT_TRUE(KeyAndSee("ctrl+y", 0, 0, kBlack) && KeyAndSee("ctrl+z", 0, 0, kWhite));

  // Take from the gallery brings painting 1; undo brings back the canvas from before it.
  ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(kLoadButton); }));
  ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(kGalleryTake); }));
  ASSERT_TRUE(SeeCell(6, 7, kWhite) && ClickAndSee(kUndoButton, 6, 7, kBlack));
  EXPECT_EQ(Save(), beforeFill);
  ASSERT_TRUE(KeyAndSee("ctrl+shift+z", 6, 7, kWhite));
  EXPECT_EQ(Save(), first);
}

// How many steps are kept is the history's rule (a unit test holds it); here, the keys and the
// dimmed button when nothing is left to undo.
TEST_P(StudioHistory, WithNothingLeftToUndoNeitherTheKeyNorTheDimmedButtonAnswers) {
  ASSERT_TRUE(game_.Dab(Cell(0, 0)) && SeeCell(0, 0, kBlack));
  ASSERT_TRUE(game_.Dab(Cell(1, 0)) && SeeCell(1, 0, kBlack));
  ASSERT_TRUE(KeyAndSee("ctrl+z", 1, 0, kWhite) && ClickAndSee(kUndoButton, 0, 0, kWhite));
  ASSERT_TRUE(game_.Key("ctrl+z") && game_.Click(kUndoButton));
  // Redo still brings back the first dab only, as the last undo left it.
  ASSERT_TRUE(KeyAndSee("ctrl+y", 0, 0, kBlack));
  EXPECT_EQ(Save(), Painted({{0, 0}}));
}

INSTANTIATE_TEST_SUITE_P(BothCanvases, StudioHistory, ::testing::ValuesIn(kStudios),
                         [](const ::testing::TestParamInfo<StudioCase>& info) { return std::string(info.param.name); });

// The gallery's Delete in the big studio.
class GalleryTrash : public StudioHistory {
  const StudioCase& Studio() const override { return kStudios[0]; }
};

TEST_F(GalleryTrash, ADeletedPaintingGoesToTheTrashAndComesBackFromIt) {
  ASSERT_TRUE(game_.Dab(Cell(4, 4)));
  ASSERT_EQ(Save(), Painted({{4, 4}}));
  ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(kLoadButton); }));
  ASSERT_TRUE(SeeCell(4, 4, kBlack) && ClickAndSee(kGalleryDelete, 4, 4, kWhite));
  const std::string painting = game_.File("draw/big/1.tga");
  const std::string data = game_.File("data");
  EXPECT_FALSE(std::filesystem::exists(painting));
  EXPECT_TRUE(std::filesystem::exists(data + "/Trash/files/1.tga"));
  const std::string info = ReadFile(data + "/Trash/info/1.tga.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + painting + "\nDeletionDate=", 0), 0u) << info;

  // The desktop sees it in its trash and puts it back; the gallery shows it again.
  const std::string gio = "XDG_DATA_HOME=" + data + " dbus-run-session -- gio ";
  std::system((gio + "list -a trash::orig-path trash:// >" + data + "/list 2>/dev/null").c_str());
  EXPECT_NE(ReadFile(data + "/list").find("orig-path=" + painting), std::string::npos);
  std::system((gio + "trash --restore trash:///1.tga 2>/dev/null").c_str());
  ASSERT_TRUE(std::filesystem::exists(painting));
  EXPECT_TRUE(ClickAndSee(kGalleryNext, 4, 4, kBlack));
}

}  // namespace
