// The copy games played frame by frame: a small picture of the test's own as the only
// shipped picture, plain backgrounds, scripted input and a stepped clock; and the frame
// as it was shown, read back from the window.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "AppTestWindow.h"
#include "TestAssets.h"
#include "CopyShownFrame.h"
#include "app/AssetCache.h"
#include "input/KScriptedInput.h"
#include "puzzles/CopyGames.h"
#include "puzzles/PuzzleFrame.h"
#include "services/KClock.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"

namespace copytest {

constexpr uint32_t kRed = 0xFF2020E0u;
constexpr uint32_t kGreen = 0xFF30C040u;
constexpr uint32_t kSky = 0xFFE0A040u;
constexpr uint32_t kNavy = 0xFF602010u;
// The backgrounds of the test's copy screens: a colour no cell has.
constexpr uint32_t kBackdrop = 0xFF808000u;

// Where the test button and the tool buttons take a click.
constexpr int32_t kTestButtonX = 700;
constexpr int32_t kTestButtonY = 520;

// A 15 x 15 picture, cell (x, y) at [y][x].
struct SmallPicture {
  std::array<std::array<uint32_t, kCopySide>, kCopySide> rows{};

  explicit SmallPicture(uint32_t fill) {
    for (auto& row : rows) row.fill(fill);
  }
  uint32_t At(int32_t x, int32_t y) const { return rows[static_cast<size_t>(y)][static_cast<size_t>(x)]; }
  void Set(int32_t x, int32_t y, uint32_t value) { rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = value; }
  void Row(int32_t y, int32_t x0, int32_t x1, uint32_t value) {
    for (int32_t x = x0; x <= x1; ++x) Set(x, y, value);
  }
};

// The picture as the game's 32-bit TGA files hold it: the top row first.
inline std::string TgaBytes(const SmallPicture& picture) {
  return tafutest::GamePictureBytes(kCopySide, kCopySide,
                                    [&picture](int32_t x, int32_t y) { return picture.At(x, y) | kOpaque; });
}

// The screen point in the middle of a cell of the left picture or of the board.
inline int32_t PictureX(int32_t x) { return kCopyPictureLeft + kCopyCellPitch * x + 7; }
inline int32_t BoardX(int32_t x) { return kCopyBoardLeft + kCopyCellPitch * x + 7; }
inline int32_t CellY(int32_t y) { return kCopyBoardsTop + kCopyCellPitch * y + 7; }

inline uint32_t Rgb(uint32_t cell) { return cell & 0x00FFFFFFu; }

class CopyScreenTest : public tafutest::AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    if (HasFatalFailure()) return;
    UseSteppedClock(1000);
    tafutest::WriteFile(folder_ / "setup.ini", "[SMALL_IMAGES]\r\nCOUNT=1\r\n");
    std::filesystem::create_directories(folder_.Path() / "img" / "bg");
    std::filesystem::create_directories(folder_.Path() / "game" / "small");
    const tafutest::TestPicture backdrop(800, 600, kBackdrop);
    tafutest::WritePng(folder_ / "img/bg/copy.png", backdrop);
    tafutest::WritePng(folder_ / "img/bg/copycolors.png", backdrop);
    LoadSharedAssets();
  }

  void UsePicture(const SmallPicture& picture) { tafutest::WriteFile(folder_ / "game/small/1.tga", TgaBytes(picture)); }

  // One frame with the pointer at (x, y) and the left button down or up.
  static void Frame(PuzzleFrame& frame, int32_t x, int32_t y, bool down) {
    SetScriptedPointer(x, y);
    SetScriptedButton(MOUSE_LEFT, down);
    ASSERT_TRUE(frame.RunFrame());
  }
  // Frames with the button up, away from the boards and buttons.
  static void Idle(PuzzleFrame& frame, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) Frame(frame, 60, 60, false);
  }
  // Runs the round's fade-in until the child can test.
  static void UntilPlaying(PuzzleFrame& frame) {
    for (int32_t i = 0; i < 400 && frame.Round() != PuzzleRound::Play; ++i) Idle(frame, 1);
    ASSERT_EQ(frame.Round(), PuzzleRound::Play);
  }
  // Press and release over a button.
  static void ClickAt(PuzzleFrame& frame, int32_t x, int32_t y) {
    Frame(frame, x, y, false);
    Frame(frame, x, y, true);
    Frame(frame, x, y, false);
  }
  static void ClickTest(PuzzleFrame& frame) { ClickAt(frame, kTestButtonX, kTestButtonY); }
  // A press of two frames on a cell of the picture: picks its colour.
  static void Pick(PuzzleFrame& frame, int32_t x, int32_t y) {
    Frame(frame, PictureX(x), CellY(y), true);
    Frame(frame, PictureX(x), CellY(y), true);
    Frame(frame, PictureX(x), CellY(y), false);
  }
};

}  // namespace copytest
