// --export-paintings on the built game: paintings saved as the studio saves them come out as
// PNG files a parent can open, without a display, and the paintings stay as they were.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "GameLauncher.h"
#include "graphic/KPictureDecode.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;

// A colour of its own for every cell of every painting.
uint32_t CellColour(int32_t painting, int32_t column, int32_t row) {
  return 0xFF000000u | static_cast<uint32_t>(painting * 60) << 16 | static_cast<uint32_t>(row * 6) << 8 |
         static_cast<uint32_t>(column * 5);
}

void SaveTestPainting(CanvasSize size, int32_t columns, int32_t rows, int32_t painting) {
  for (int32_t c = 0; c < columns; ++c)
    for (int32_t r = 0; r < rows; ++r) PictureBuffer.At(c, r) = CellColour(painting, c, r);
  ASSERT_TRUE(SavePainting(size, columns, rows));
}

std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    files[entry.path().string()] = entry.is_regular_file() ? tafutest::ReadFile(entry.path().string()) : "<folder>";
  return files;
}

// Every pixel of the PNG at path lies in the cell block of its colour: cellPixels square
// blocks, columns x rows of them.
void ExpectCellBlocks(const std::string& path, int32_t painting, int32_t columns, int32_t rows, int32_t cellPixels) {
  const std::string png = tafutest::ReadFile(path);
  KDecodedPicture picture;
  ASSERT_TRUE(DecodePicture(png.data(), png.size(), KPictureFormat::Png, 4096, picture)) << path;
  ASSERT_EQ(picture.width, columns * cellPixels) << path;
  ASSERT_EQ(picture.height, rows * cellPixels) << path;
  int32_t wrong = 0;
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.rgba.get() + (static_cast<size_t>(y) * picture.width + x) * 4;
      const uint32_t pixel = 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
      if (pixel != CellColour(painting, x / cellPixels, y / cellPixels) || p[3] != 0xFF) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << path;
}

TEST(ExportPaintings, WritesEveryReadablePaintingAsAPngAndLeavesThePaintingsAlone) {
  tafutest::GameLauncher game;
  SetUserFolder(game.Folder().Path().string());
  SaveTestPainting(CanvasSize::Big, 50, 40, 1);
  SaveTestPainting(CanvasSize::Big, 50, 40, 2);
  SaveTestPainting(CanvasSize::Small, 15, 15, 3);
  // Painting 3 broke off half-way; a note beside the paintings is no painting at all.
  const std::string first = tafutest::ReadFile(game.File("draw/big/1.tga"));
  tafutest::WriteFile(game.File("draw/big/3.tga"), first.substr(0, first.size() / 2));
  tafutest::WriteFile(game.File("draw/big/notes.txt"), "hello");
  const auto before = Contents(game.File("draw"));

  const std::string target = game.File("parents/TAFU paintings");
  ASSERT_TRUE(game.Launch({.arguments = {"--export-paintings", target},
                           .unset = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}}));
  EXPECT_EQ(game.Wait(10s), 1);
  EXPECT_EQ(game.Output(), "Exported 3 paintings to " + target + "\n");
  EXPECT_NE(game.Errors().find("draw/big/3.tga"), std::string::npos) << game.Errors();
  EXPECT_EQ(game.Errors().find("notes.txt"), std::string::npos) << game.Errors();

  ExpectCellBlocks(target + "/big-1.png", 1, 50, 40, 16);
  ExpectCellBlocks(target + "/big-2.png", 2, 50, 40, 16);
  ExpectCellBlocks(target + "/small-1.png", 3, 15, 15, 32);
  size_t exported = 0;
  for (const auto& entry : fs::directory_iterator(target)) exported += entry.path().extension() == ".png";
  EXPECT_EQ(exported, 3u);
  EXPECT_EQ(Contents(game.File("draw")), before);
}

TEST(ExportPaintings, WithoutPaintingsNothingIsWrittenAndAllIsWell) {
  tafutest::GameLauncher game;
  const std::string target = game.File("empty");
  ASSERT_TRUE(game.Launch({.arguments = {"--export-paintings=" + target}}));
  EXPECT_EQ(game.Wait(10s), 0);
  EXPECT_EQ(game.Output(), "Exported 0 paintings to " + target + "\n");
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_FALSE(fs::exists(game.File("draw")));
}

// The page as pdftoppm draws it at 72 dots an inch, a pixel a point; empty when there is none.
KDecodedPicture RenderedPage(const std::string& pdf, int32_t page, const std::string& folder) {
  const std::string number = std::to_string(page), png = folder + "/page.png";
  fs::remove(png);
  std::system(("pdftoppm -r 72 -png -singlefile -f " + number + " -l " + number + " '" + pdf + "' '" + folder +
               "/page' 2>/dev/null").c_str());
  const std::string bytes = tafutest::ReadFile(png);
  KDecodedPicture picture;
  DecodePicture(bytes.data(), bytes.size(), KPictureFormat::Png, 4096, picture);
  return picture;
}

uint32_t PagePixel(const KDecodedPicture& page, double x, double y) {
  const uint8_t* p = page.rgba.get() + (static_cast<size_t>(y) * page.width + static_cast<size_t>(x)) * 4;
  return 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
}

// A book of two big paintings and a small one on A4: the big ones turned a quarter (their
// top-left cell at the page's top right), each cell a square of 13.46 points within margins of
// 10 mm; the small one upright, 35.9 points a cell.
TEST(ExportPaintings, ABookHasAPageForEveryPaintingOnTheSystemsPaper) {
  tafutest::GameLauncher game;
  SetUserFolder(game.Folder().Path().string());
  SaveTestPainting(CanvasSize::Big, 50, 40, 1);
  SaveTestPainting(CanvasSize::Big, 50, 40, 2);
  SaveTestPainting(CanvasSize::Small, 15, 15, 3);
  const std::string book = game.File("book.pdf");
  const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"};
  ASSERT_TRUE(game.Launch({.arguments = {"--export-book", book}, .variables = {{"PAPERSIZE", "a4"}}, .unset = noDisplay}));
  EXPECT_EQ(game.Wait(10s), 0) << game.Errors();
  EXPECT_EQ(game.Output(), "Made a book of 3 paintings in " + book + "\n");

  struct Cell {
    int32_t page, painting, column, row;
    double x, y;
  };
  const Cell cells[] = {
      {1, 1, 0, 0, 28.35 + 39.5 * 13.4645, 84.34 + 0.5 * 13.4645},   {1, 1, 49, 39, 28.35 + 0.5 * 13.4645, 84.34 + 49.5 * 13.4645},
      {2, 2, 10, 30, 28.35 + 9.5 * 13.4645, 84.34 + 10.5 * 13.4645}, {3, 3, 0, 0, 28.35 + 0.5 * 35.9055, 151.65 + 0.5 * 35.9055},
      {3, 3, 14, 14, 28.35 + 14.5 * 35.9055, 151.65 + 14.5 * 35.9055},
  };
  for (const Cell& cell : cells) {
    const KDecodedPicture page = RenderedPage(book, cell.page, game.Folder().Path().string());
    ASSERT_EQ(page.width, 596) << cell.page;
    ASSERT_EQ(page.height, 842) << cell.page;
    EXPECT_EQ(PagePixel(page, cell.x, cell.y), CellColour(cell.painting, cell.column, cell.row))
        << "page " << cell.page << ", cell " << cell.column << ", " << cell.row;
  }
  EXPECT_EQ(RenderedPage(book, 4, game.Folder().Path().string()).width, 0) << "a fourth page";

  // PAPERSIZE names the system's paper, and the grown-ups' paper-size beats it.
  const std::pair<std::vector<std::string>, std::pair<int32_t, int32_t>> papers[] = {
      {{"--export-book", book}, {612, 792}}, {{"--export-book", book, "--paper-size", "a4"}, {596, 842}}};
  for (const auto& [arguments, size] : papers) {
    ASSERT_TRUE(game.Launch({.arguments = arguments, .variables = {{"PAPERSIZE", "letter"}}, .unset = noDisplay}));
    EXPECT_EQ(game.Wait(10s), 0);
    const KDecodedPicture page = RenderedPage(book, 1, game.Folder().Path().string());
    EXPECT_EQ(std::pair(page.width, page.height), size) << arguments.back();
  }
}

}  // namespace
