// The real game under the test's X server: undo and redo in both studios, with the buttons,
// the grown-ups' keys and the gallery's Take, and a deleted painting that comes back from
// the desktop's trash.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "StudioPlaces.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using tafutest::Point;
using tafutest::WaitFor;

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
    {"Big", tafutest::kBig, 50, 40, tafutest::BigCanvasCell, "draw/big"},
    {"Small", tafutest::kSmall, 15, 15, tafutest::SmallCanvasCell, "draw/small"},
};

// A canvas as the saved file holds it, row by row from the top.
using Canvas = std::vector<uint32_t>;

class StudioHistory : public ::testing::TestWithParam<StudioCase> {
 protected:
  void SetUp() override {
    const std::string unavailable = tafutest::EndToEndUnavailable();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    ASSERT_TRUE(game_.Start());
    ASSERT_TRUE(game_.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
    ASSERT_TRUE(game_.Click(tafutest::kPaint));
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(Studio().choice); }));
    ASSERT_TRUE(game_.WaitForPixel(tafutest::kFirstSwatch, [](uint32_t p) { return p == tafutest::kFirstSwatchColour; }));
  }

  const StudioCase& Studio() const { return GetParam(); }
  Point Cell(int32_t column, int32_t row) const { return Studio().cell(column, row); }

  // A black pen stroke along a row, from column 1 to 6.
  void Stroke(int32_t row) {
    ASSERT_TRUE(game_.Drag(Cell(1, row), Cell(6, row)));
    ASSERT_TRUE(SeeCell(6, row, kBlack));
  }

  // Moves the pointer, which the game draws, off the canvas and waits for the cell's colour.
  bool SeeCell(int32_t column, int32_t row, uint32_t colour) const {
    return game_.MoveTo(tafutest::kNowhere) && game_.WaitForPixel(Cell(column, row), [colour](uint32_t p) { return p == colour; }, 5s);
  }

  // Clicks at a place, then waits until the cell shows the colour.
  bool ClickAndSee(Point at, int32_t column, int32_t row, uint32_t colour) {
    return game_.Click(at) && SeeCell(column, row, colour);
  }

  bool KeyAndSee(const std::string& key, int32_t column, int32_t row, uint32_t colour) {
    return game_.Key(key) && SeeCell(column, row, colour);
  }

  // Saves the canvas with the Save button and reads the file back.
  Canvas Save() {
    const std::string file = game_.File(std::string(Studio().folder) + "/" + std::to_string(++saved_) + ".tga");
    EXPECT_TRUE(game_.Click(tafutest::kSaveMiddle));
    Canvas cells;
    EXPECT_TRUE(WaitFor([&] {
      cells = tafutest::SavedPaintingCells(file, Studio().columns, Studio().rows);
      return !cells.empty();
    }, 5s)) << file;
    game_.MoveTo(tafutest::kNowhere);
    return cells;
  }

  // A white canvas with the rows given stroked from column 1 to 6.
  Canvas Stroked(std::initializer_list<int32_t> rows) const {
    Canvas cells(static_cast<size_t>(Studio().columns * Studio().rows), kWhite);
    for (const int32_t row : rows)
      for (int32_t column = 1; column <= 6; ++column) cells[static_cast<size_t>(row * Studio().columns + column)] = kBlack;
    return cells;
  }

  tafutest::GameLauncher game_;
  int32_t saved_ = 0;
};

TEST_P(StudioHistory, StrokesFillsAndTakesAreUndoneAndRedoneOneStepAtATime) {
  Stroke(1);
  const Canvas first = Save();
  ASSERT_EQ(first, Stroked({1}));
  Stroke(3);
  Stroke(5);
  ASSERT_TRUE(ClickAndSee(tafutest::kUndoButton, 6, 5, kWhite));
  ASSERT_TRUE(ClickAndSee(tafutest::kUndoButton, 6, 3, kWhite));
  EXPECT_EQ(Save(), first);
  ASSERT_TRUE(ClickAndSee(tafutest::kRedoButton, 6, 3, kBlack));
  EXPECT_EQ(Save(), Stroked({1, 3}));

  // A new stroke clears what was undone: the dimmed Redo neither pulses nor answers.
  Stroke(7);
  ASSERT_TRUE(game_.MoveTo(tafutest::kRedoButton));
  std::this_thread::sleep_for(200ms);
  const std::vector<uint32_t> resting = game_.Area(592, 492, 100, 88);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(game_.Area(592, 492, 100, 88), resting);
  ASSERT_TRUE(game_.Click(tafutest::kRedoButton));
  std::this_thread::sleep_for(500ms);
  const Canvas beforeFill = Save();
  EXPECT_EQ(beforeFill, Stroked({1, 3, 7}));

  // A bucket fill, taken back and done again from the keyboard.
  ASSERT_TRUE(game_.Click(tafutest::kBucketButton));
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(ClickAndSee(Cell(0, 0), 0, 0, kBlack));
  ASSERT_TRUE(KeyAndSee("ctrl+z", 0, 0, kWhite));
  EXPECT_EQ(Save(), beforeFill);
  ASSERT_TRUE(KeyAndSee("ctrl+y", 0, 0, kBlack));
  ASSERT_TRUE(KeyAndSee("ctrl+z", 0, 0, kWhite));

  // Take from the gallery brings painting 1; undo brings the canvas from before it.
  ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(tafutest::kLoadButton); }));
  ASSERT_TRUE(game_.ActAndSeeScreenChange([&] { return game_.Click(tafutest::kGalleryTake); }));
  ASSERT_TRUE(SeeCell(6, 7, kWhite));
  ASSERT_TRUE(ClickAndSee(tafutest::kUndoButton, 6, 7, kBlack));
  EXPECT_EQ(Save(), beforeFill);
  ASSERT_TRUE(KeyAndSee("ctrl+shift+z", 6, 7, kWhite));
  EXPECT_EQ(Save(), first);
}

TEST_P(StudioHistory, AHundredStepsAreKeptAndNoMore) {
  constexpr int32_t kSteps = 101;
  const auto cell = [&](int32_t step) { return std::pair{step % Studio().columns, step / Studio().columns}; };
  for (int32_t step = 0; step < kSteps; ++step) {
    const auto [column, row] = cell(step);
    ASSERT_TRUE(game_.Dab(Cell(column, row)));
    ASSERT_TRUE(SeeCell(column, row, kBlack)) << "step " << step;
  }
  for (int32_t step = kSteps - 1; step > 0; --step) {
    const auto [column, row] = cell(step);
    ASSERT_TRUE(KeyAndSee("ctrl+z", column, row, kWhite)) << "undo of step " << step;
  }
  // Nothing is left to undo: neither the key nor the dimmed button takes the first step back.
  ASSERT_TRUE(game_.Key("ctrl+z"));
  ASSERT_TRUE(game_.Click(tafutest::kUndoButton));
  std::this_thread::sleep_for(500ms);
  Canvas onlyFirst(static_cast<size_t>(Studio().columns * Studio().rows), kWhite);
  onlyFirst[0] = kBlack;
  EXPECT_EQ(Save(), onlyFirst);
}

INSTANTIATE_TEST_SUITE_P(BothCanvases, StudioHistory, ::testing::ValuesIn(kStudios),
                         [](const ::testing::TestParamInfo<StudioCase>& info) { return std::string(info.param.name); });

// What a shell command prints on its standard output.
std::string CommandOutput(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
  }
  return output;
}

TEST(GalleryTrash, ADeletedPaintingGoesToTheTrashAndComesBackFromIt) {
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  tafutest::GameLauncher game;
  const std::string data = game.File("data");
  ASSERT_TRUE(game.Start({.variables = {{"XDG_DATA_HOME", data}}}));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
  ASSERT_TRUE(game.Click(tafutest::kPaint));
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(game.ActAndSeeScreenChange([&] { return game.Click(tafutest::kBig); }));
  const Point cell = tafutest::BigCanvasCell(4, 4);
  ASSERT_TRUE(game.Dab(cell));
  ASSERT_TRUE(game.Click(tafutest::kSaveMiddle));
  const std::string painting = game.File("draw/big/1.tga");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(painting); }, 5s));

  ASSERT_TRUE(game.ActAndSeeScreenChange([&] { return game.Click(tafutest::kLoadButton); }));
  ASSERT_TRUE(game.WaitForPixel(cell, [](uint32_t p) { return p == kBlack; }));
  ASSERT_TRUE(game.Click(tafutest::kGalleryDelete));
  ASSERT_TRUE(game.WaitForPixel(cell, [](uint32_t p) { return p == kWhite; }));
  EXPECT_FALSE(fs::exists(painting));
  EXPECT_TRUE(fs::exists(data + "/Trash/files/1.tga"));
  const std::string info = tafutest::ReadFile(data + "/Trash/info/1.tga.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + painting + "\nDeletionDate=", 0), 0u) << info;

  // The desktop sees it in its trash and puts it back; the gallery shows it again.
  const std::string desktop = "XDG_DATA_HOME=" + data + " dbus-run-session -- gio ";
  EXPECT_NE(CommandOutput(desktop + "list -a trash::orig-path trash:// 2>/dev/null").find("orig-path=" + painting), std::string::npos);
  CommandOutput(desktop + "trash --restore trash:///1.tga 2>/dev/null");
  ASSERT_TRUE(fs::exists(painting));
  ASSERT_TRUE(game.Click(tafutest::kGalleryNext));
  EXPECT_TRUE(game.WaitForPixel(cell, [](uint32_t p) { return p == kBlack; }));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
