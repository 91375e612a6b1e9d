// A strip puzzle played frame by frame: the game's window, the real pictures and sounds
// copied into a temporary program folder, puzzle pictures the test makes itself, scripted
// input and the stepped clock, and the frames read back as they were shown.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "AppTestWindow.h"
#include "InputScript.h"
#include "StripShownFrame.h"
#include "TestSupport.h"
#include "app/AssetCache.h"
#include "app/Frame.h"
#include "input/KControls.h"
#include "services/KClock.h"
#include "services/KRandom.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"
#include "TestPaths.h"

namespace puzzletest {

class PuzzleScreenTest : public tafutest::AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    if (HasFatalFailure()) return;
    namespace fs = std::filesystem;
    const fs::path runtime = tafutest::RuntimeDir();
    for (const char* folder : {"img", "snd"})
      fs::copy(runtime / folder, folder_.Path() / folder, fs::copy_options::recursive);
    fs::create_directories(folder_.Path() / "game" / "big");
    WritePuzzlePicture(1);
    WriteSetup(1);
    LoadSharedAssets();
    SeedRandom(7);
    UseSteppedClock(1000);
    SettleFrameTime();
  }

  // game\big\number.tga made of TestCell colours, written by the game's own writer.
  void WritePuzzlePicture(int32_t number) {
    for (int32_t column = 0; column < kGridColumns; ++column)
      for (int32_t row = 0; row < kGridRows; ++row) PictureBuffer.At(column, row) = TestCell(column, row, number);
    const int32_t saved = NextPaintingNumber(CanvasSize::Big);
    ASSERT_TRUE(SavePainting(CanvasSize::Big, kGridColumns, kGridRows));
    std::filesystem::rename(folder_ / ("draw/big/" + std::to_string(saved) + ".tga"),
                            folder_ / ("game/big/" + std::to_string(number) + ".tga"));
  }
  void WriteSetup(int32_t bigCount) {
    tafutest::WriteFile(folder_ / "setup.ini", "[BIG_IMAGES]\r\nCOUNT=" + std::to_string(bigCount) + "\r\n");
  }

  // Frames of the stepped clock until FrameTime has settled on the frame delay.
  static void SettleFrameTime() {
    for (int i = 0; i < 30; ++i) {
      BeginFrame();
      MainScreen->Flip(true, true);
    }
    ASSERT_EQ(FrameTime, 12);
  }

  tafutest::InputScript script_;
};

// Frames of 12 ms in a duration.
constexpr uint32_t FramesFor(uint32_t ms) { return ms / 12; }

}  // namespace puzzletest
