// Running the studio and gallery screens frame by frame in a window of their own, with a
// temporary program folder, scripted input and a stepped clock.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "AppTestWindow.h"
#include "InputScript.h"
#include "StudioPlaces.h"
#include "TestAssets.h"
#include "TestSupport.h"
#include "graphic/KGraphic.h"
#include "app/AssetCache.h"
#include "app/Frame.h"
#include "shell/Screens.h"
#include "services/KClock.h"
#include "services/KPaths.h"
#include "studio/CanvasGeometry.h"
#include "studio/ColourPalette.h"
#include "studio/GalleryScreen.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"

namespace studiotest {

constexpr uint32_t kBackground = 0xFF707070u;

using Spot = tafutest::Point;
using tafutest::kBucketButton;
using tafutest::kEraserButton;
using tafutest::kGalleryDelete;
using tafutest::kGalleryExit;
using tafutest::kGalleryNext;
using tafutest::kGalleryPrevious;
using tafutest::kGalleryTake;
using tafutest::kLoadButton;
using tafutest::kPenButton;
using tafutest::kPickerButton;
using tafutest::kSaveButton;
using tafutest::kStudioExit;
// Inside the canvas and the palette of neither studio.
constexpr Spot kNowhere = {140, 470};

// Clicks a button and waits the frame in which a button with a click sound (even a
// silent one) reports the click.
inline tafutest::InputScript& ClickButton(tafutest::InputScript& script, Spot spot) {
  return script.Click(spot.x, spot.y).Wait(1);
}

// The centre of a canvas cell on screen.
inline Spot CellSpot(CanvasSize size, int32_t column, int32_t row) {
  const CanvasGeometry& canvas = GetCanvasGeometry(size);
  return {canvas.left + canvas.cellSize * column + canvas.cellSize / 2,
          canvas.top + canvas.cellSize * row + canvas.cellSize / 2};
}

// The centre of a palette swatch.
inline Spot SwatchSpot(PaletteEntry entry) { return {SwatchLeft(entry) + 7, SwatchTop(entry) + 7}; }

// The screen's pixels in a rectangle as 0x00BBGGRR, rows from the top; read while a
// frame script runs, they are the frame just shown.
inline std::vector<uint32_t> ReadScreen(int32_t x, int32_t y, int32_t width, int32_t height) {
  std::vector<uint32_t> rows(static_cast<size_t>(width * height));
  FlushFrame();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(x, 600 - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  std::vector<uint32_t> top(rows.size());
  for (int32_t r = 0; r < height; ++r)
    for (int32_t c = 0; c < width; ++c)
      top[static_cast<size_t>(r * width + c)] = rows[static_cast<size_t>((height - 1 - r) * width + c)] & 0x00FFFFFFu;
  return top;
}

inline uint32_t ScreenPixel(int32_t x, int32_t y) { return ReadScreen(x, y, 1, 1)[0]; }

// Cells of the grid that differ from white, as (column, row) pairs.
inline std::vector<std::pair<int32_t, int32_t>> PaintedCells() {
  std::vector<std::pair<int32_t, int32_t>> cells;
  for (int32_t row = 0; row < kGridRows; ++row)
    for (int32_t column = 0; column < kGridColumns; ++column)
      if (PictureBuffer.At(column, row) != kWhite) cells.emplace_back(column, row);
  return cells;
}

// A value for every cell, different from cell to cell and from seed to seed.
inline uint32_t PatternCell(int32_t column, int32_t row, uint32_t seed) {
  return kOpaque | ((seed * 0x10000u + static_cast<uint32_t>(row * 64 + column) * 97u) & 0xFFFFFFu);
}

inline void FillPattern(uint32_t seed) {
  for (int32_t column = 0; column < kGridColumns; ++column)
    for (int32_t row = 0; row < kGridRows; ++row) PictureBuffer.At(column, row) = PatternCell(column, row, seed);
}

// The screens on plain grey backgrounds, with nothing else but what each test puts into
// the temporary program folder: missing pictures draw nothing and missing sounds are
// silent, so buttons act at once.
class StudioTest : public tafutest::AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    UseSteppedClock(1000);
    const tafutest::TestPicture plain(800, 600, kBackground);
    for (const char* name : {"draw", "smalldraw", "draw_load", "smalldraw_load"})
      tafutest::WritePng(ProgramFile(std::string("img\\bg\\") + name + ".png"), plain);
  }

  // Plays the script into the studio of that size and returns how it was left. The first step
  // is given before the screen starts, so a step that changes the canvas waits a frame.
  StudioEnd RunStudio(CanvasSize size, tafutest::InputScript& script, uint32_t frameLimit = 2000) {
    if (SharedAssets.SoundCount() == 0) LoadSharedAssets();
    script.Play(*MainScreen, frameLimit);
    return PaintingScreen(size);
  }
  StudioEnd RunGallery(CanvasSize size, tafutest::InputScript& script, uint32_t frameLimit = 2000) {
    if (SharedAssets.SoundCount() == 0) LoadSharedAssets();
    script.Play(*MainScreen, frameLimit);
    return GalleryScreen(size);
  }

  // A game file name such as "snd\sfx\color.wav" in the temporary program folder, its
  // folders made.
  std::string ProgramFile(const std::string& name) {
    const std::string path = MakePath(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    return path;
  }
  // Where a painting is written.
  static std::string PaintingPath(CanvasSize size, int32_t number) {
    return MakeUserPath(PictureFileName(PictureKind::Drawing, size, number));
  }
  // Saves a painting of one colour everywhere under number.
  void WritePainting(CanvasSize size, int32_t number, uint32_t colour) {
    const CellGrid kept = PictureBuffer;
    PictureBuffer.cells.fill(colour);
    WritePaintingOfBuffer(size, number);
    PictureBuffer = kept;
  }
  // Saves the canvas region of PictureBuffer under number.
  void WritePaintingOfBuffer(CanvasSize size, int32_t number) {
    const CanvasGeometry& canvas = GetCanvasGeometry(size);
    const std::string bytes = tafutest::GamePictureBytes(
        canvas.columns, canvas.rows, [](int32_t column, int32_t row) { return PictureBuffer.At(column, row); });
    const std::string path = PaintingPath(size, number);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    tafutest::WriteFile(path, bytes);
  }
};

}  // namespace studiotest
