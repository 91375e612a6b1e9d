// The players' own paintings as puzzles on the built game, played with real X events.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "graphic/KPictureDecode.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using tafutest::Point;
using tafutest::WaitFor;

// The painting button, a big painting's cell (column, row) in it, and the frame's corner
// where a painter's animal sits.
constexpr Point kPaintingButton = {685, 515};
constexpr Point FramedCell(int32_t column, int32_t row) { return {600 + 10 + 3 * column + 1, 445 + 10 + 3 * row + 1}; }
constexpr Point kFramedBadge = {600 + 128 + 20, 445 + 98 + 20};
// The boards: the swap board's strip s, the slide board's bottom strip, the copy picture's cell.
constexpr tafutest::Box kSwapBoard = {170, 41, 500, 400};
constexpr Point SwapStrip(int32_t s) { return {170 + 255, 41 + 100 * s + 55}; }
constexpr Point kSlideBottomStrip = {168 + 255, 41 + 355};
constexpr Point CopyCell(int32_t column, int32_t row) { return {122 + 15 * column + 7, 161 + 15 * row + 7}; }
constexpr Point kBoardBadge = {706 + 20, 14 + 20};
constexpr int32_t kArrowX = 688 + 30;
constexpr int32_t ArrowY(int32_t k) { return 100 * k - 5 + 51; }
constexpr Point kTest = {662 + 44, 478 + 47};
constexpr Point kStarSlot = {134 + 33, 530};

// Painting p's strip s: one colour for its ten rows, none alike.
uint32_t StripColour(int32_t p, int32_t s) {
  return 0xFF000000u | static_cast<uint32_t>(40 + 50 * s) << 16 | static_cast<uint32_t>(30 + 60 * p) << 8 |
         static_cast<uint32_t>(220 - 45 * s);
}
uint32_t SmallColour(int32_t column, int32_t row) {
  return 0xFF000000u | static_cast<uint32_t>(16 * row) << 8 | static_cast<uint32_t>(16 * column) | 0x600000u;
}

bool Near(uint32_t pixel, uint32_t colour, int32_t tolerance = 6) {
  for (int32_t shift : {0, 8, 16})
    if (std::abs(tafutest::Channel(pixel, shift) - tafutest::Channel(colour, shift)) > tolerance) return false;
  return true;
}

// Saves big painting p into the paintings folder, written `age` seconds ago.
void SaveStripPainting(const std::string& folder, int32_t p, int32_t age) {
  SetPaintingsFolder(folder);
  for (int32_t c = 0; c < 50; ++c)
    for (int32_t r = 0; r < 40; ++r) PictureBuffer.At(c, r) = StripColour(p, r / 10);
  ASSERT_TRUE(SavePainting(CanvasSize::Big, 50, 40));
  const std::string path = folder + "/draw/big/" + std::to_string(NextPaintingNumber(CanvasSize::Big) - 1) + ".tga";
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(age));
}

// Which of painting p's strips screen strip s shows, or -1.
int32_t ShownStrip(const tafutest::GameLauncher& game, int32_t p, int32_t s) {
  for (int32_t strip = 0; strip < 4; ++strip)
    if (Near(game.Pixel(SwapStrip(s)), StripColour(p, strip))) return strip;
  return -1;
}

bool ShowsPainting(const tafutest::GameLauncher& game, int32_t p) {
  for (int32_t s = 0; s < 4; ++s)
    if (ShownStrip(game, p, s) < 0) return false;
  return true;
}

bool OpenDifficulty(const tafutest::GameLauncher& game, Point menuButton) {
  return game.WaitForMenu() && game.ActAndSeeScreenChange([&] { return game.Click(menuButton); });
}

// The framed painting, a swap round solved to a star and the next on the older painting, the
// slide board, copy drawing's picture; a broken painting passed over.
TEST(PaintingPuzzles, TheNewestPaintingsArePlayedInTurnAndABrokenOneIsPassedOver) {
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  tafutest::GameLauncher game;
  const std::string folder = game.Folder().Path().string();
  SaveStripPainting(folder, 1, 60);
  SaveStripPainting(folder, 2, 30);
  // The newest file is no painting at all.
  tafutest::WriteFile(folder + "/draw/big/3.tga", "TGA?");
  for (int32_t c = 0; c < 15; ++c)
    for (int32_t r = 0; r < 15; ++r) PictureBuffer.At(c, r) = SmallColour(c, r);
  ASSERT_TRUE(SavePainting(CanvasSize::Small, 15, 15));
  ASSERT_TRUE(game.Start());

  // The frame shows painting 2 (the broken 3 passed over); its round comes first.
  ASSERT_TRUE(OpenDifficulty(game, tafutest::kSwap));
  ASSERT_TRUE(game.WaitForPixel(FramedCell(25, 35), [](uint32_t p) { return Near(p, StripColour(2, 3)); }));
  ASSERT_TRUE(game.ActAndWaitForStill([&] { return game.Click(kPaintingButton); }, kSwapBoard));
  ASSERT_TRUE(ShowsPainting(game, 2));

  // Exchanging neighbours out of order until the strips run 0 to 3 earns a star.
  for (int32_t pass = 0; pass < 3; ++pass)
    for (int32_t k = 1; k <= 3; ++k)
      if (ShownStrip(game, 2, k - 1) > ShownStrip(game, 2, k)) {
        ASSERT_TRUE(game.ActAndWaitForStill([&] { return game.Click(kArrowX, ArrowY(k)); }, kSwapBoard));
      }
  ASSERT_TRUE(game.Click(kTest));
  EXPECT_TRUE(game.WaitForPixel(kStarSlot, [](uint32_t p) { return tafutest::Channel(p, 0) > 200 && tafutest::Channel(p, 16) < 150; }));
  // The next round is the older painting.
  EXPECT_TRUE(WaitFor([&] { return ShowsPainting(game, 1); }, 10s));

  ASSERT_TRUE(game.Key("Escape"));
  ASSERT_TRUE(OpenDifficulty(game, tafutest::kSlide));
  ASSERT_TRUE(game.ActAndWaitForStill([&] { return game.Click(kPaintingButton); }, kSwapBoard));
  EXPECT_TRUE(Near(game.Pixel(kSlideBottomStrip), StripColour(2, 3)));

  ASSERT_TRUE(game.Key("Escape"));
  ASSERT_TRUE(OpenDifficulty(game, tafutest::kCopyDrawing));
  ASSERT_TRUE(game.ActAndSeeScreenChange([&] { return game.Click(kPaintingButton); }));
  for (const Point cell : {Point{0, 0}, Point{14, 0}, Point{7, 7}, Point{3, 14}})
    EXPECT_TRUE(game.WaitForPixel(CopyCell(cell.x, cell.y), [&](uint32_t p) { return Near(p, SmallColour(cell.x, cell.y)); }))
        << cell.x << "," << cell.y;
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_TRUE(fs::exists(folder + "/draw/big/3.tga"));
}

// The colour in the middle of an animal's small picture, as 0xBBGGRR.
uint32_t AnimalMiddle(const tafutest::GameLauncher& game, const std::string& name) {
  const std::string png = tafutest::ReadFile(game.File("img/ico/animal_" + name + "_small.png"));
  KDecodedPicture picture;
  if (!DecodePicture(png.data(), png.size(), KPictureFormat::Png, 256, picture)) return 0;
  const uint8_t* p = picture.rgba.get() + (static_cast<size_t>(picture.height / 2) * picture.width + picture.width / 2) * 4;
  return static_cast<uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
}

TEST(PaintingPuzzles, ABrothersPaintingIsHisSistersPuzzleWithHisAnimal) {
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  tafutest::GameLauncher game;
  SaveStripPainting(game.Folder() / "players/dog", 3, 10);
  const uint32_t dog = AnimalMiddle(game, "dog");
  ASSERT_TRUE(game.Start({.arguments = {"--players"}}));
  // The cat's orange face on the animals screen.
  ASSERT_TRUE(game.WaitForPixel({220, 170}, [](uint32_t p) { return (p & 0xFF) > 0xE0 && ((p >> 16) & 0xFF) < 0x80; }));
  ASSERT_TRUE(game.Click(220, 170));

  ASSERT_TRUE(OpenDifficulty(game, tafutest::kSwap));
  ASSERT_TRUE(game.WaitForPixel(FramedCell(0, 0), [](uint32_t p) { return Near(p, StripColour(3, 0)); }));
  EXPECT_TRUE(Near(game.Pixel(kFramedBadge), dog, 40));
  ASSERT_TRUE(game.ActAndWaitForStill([&] { return game.Click(kPaintingButton); }, kSwapBoard));
  EXPECT_TRUE(ShowsPainting(game, 3));
  EXPECT_TRUE(Near(game.Pixel(kBoardBadge), dog, 40));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_FALSE(fs::exists(game.File("players/cat/draw")));
}

}  // namespace
