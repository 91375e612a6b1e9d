#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "AppTestWindow.h"
#include "InputScript.h"
#include "TestAssets.h"
#include "XWindows.h"
#include "app/Frame.h"
#include "app/Widgets.h"
#include "input/KControls.h"

namespace {

using tafutest::ReadPixel;
using tafutest::TestPicture;

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFF0000FF;
constexpr uint32_t kBlue = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;

// Frames of the given length on the stepped clock; returns the last FrameTime.
int32_t RunFrames(KScreen& screen, int frames, uint64_t ms) {
  int32_t frameTime = 0;
  for (int i = 0; i < frames; ++i) {
    AdvanceSteppedClock(ms);
    frameTime = MeasureFrameTime(screen, false, kMinFrameTime, kMaxFrameTime);
  }
  return frameTime;
}

TEST(FrameTime, ASlowFrameAfterSteadyFramesIsSmoothed) {
  auto screen = CreateScreen(true, false);
  UseSteppedClock(1'000'000);
  EXPECT_EQ(RunFrames(*screen, 40, 15), 15);
  EXPECT_EQ(RunFrames(*screen, 1, 120), 50);  // (120 + 2 x 15) / 3
  EXPECT_EQ(RunFrames(*screen, 1, 15), 38);   // (15 + 100) / 3, truncated
  UseRealClock();
}

TEST(FrameTime, IsHeldBetweenOneAnd160Milliseconds) {
  auto screen = CreateScreen(true, false);
  UseSteppedClock(2'000'000);
  RunFrames(*screen, 40, 15);
  EXPECT_EQ(RunFrames(*screen, 1, 5000), 160);  // back from a pause in the background
  EXPECT_EQ(RunFrames(*screen, 1, 15), 111);    // (15 + 320) / 3: the pause is forgotten quickly
  EXPECT_EQ(RunFrames(*screen, 30, 0), 1);
  UseRealClock();
}

// Frames of the given length until the counter has published once more.
int32_t CountedRate(KScreen& screen, uint64_t ms, bool show = false) {
  int32_t fps = -1;
  for (int i = 0; i < 2; ++i) {  // the first call of the run only starts the counting
    AdvanceSteppedClock(100'000);
    UpdateFpsCounter(screen, fps, false, kMinFps, kMaxFps);
  }
  fps = -1;
  for (int i = 0; i < 100'000 && fps < 0; ++i) {
    AdvanceSteppedClock(ms);
    UpdateFpsCounter(screen, fps, show, kMinFps, kMaxFps);
  }
  return fps;
}

TEST(FpsCounter, PublishesTheFramesOfEachSecondHeldTo5To500) {
  auto screen = CreateScreen(true, false);
  UseSteppedClock(3'000'000);
  EXPECT_EQ(CountedRate(*screen, 20), 50);
  EXPECT_EQ(CountedRate(*screen, 1), 500);
  EXPECT_EQ(CountedRate(*screen, 400), 5);
  UseRealClock();
}

class FrameWindowTest : public tafutest::AppWindowTest {};

TEST_F(FrameWindowTest, TheTitleShowsTheRateOnlyWhenAskedTo) {
  auto* window = static_cast<SDL_Window*>(MainScreen->GetWindowHandle());
  MainScreen->SetTitle("TAFU");
  UseSteppedClock(4'000'000);
  CountedRate(*MainScreen, 25, false);
  EXPECT_STREQ(SDL_GetWindowTitle(window), "TAFU");
  CountedRate(*MainScreen, 25, true);
  EXPECT_STREQ(SDL_GetWindowTitle(window), " 40 FPS");
}

struct CursorCase {
  const char* file;
  int32_t kind;
  int32_t width;
  int32_t height;
  int32_t hotX;
  int32_t hotY;
};

constexpr CursorCase kCursors[] = {
    {"cursor", kCursorArrow, 88, 110, 6, 5},         {"cursor_pick", kCursorPicker, 82, 141, 4, 3},
    {"cursor_pen", kCursorPen, 85, 160, 5, 5},       {"cursor_eraser", kCursorEraser, 88, 116, 4, 3},
    {"cursor_bucket", kCursorBucket, 89, 151, 29, 140},
};

// Each cursor picture: blue top-left corner, red hot spot, green bottom-right corner.
void WriteCursorPictures(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "img" / "ico");
  for (const CursorCase& cursor : kCursors) {
    TestPicture picture(cursor.width, cursor.height);
    picture.Set(0, 0, kBlue);
    picture.Set(cursor.hotX, cursor.hotY, kRed);
    picture.Set(cursor.width - 1, cursor.height - 1, kGreen);
    tafutest::WritePng(MakePath(std::string("img\\ico\\") + cursor.file + ".png"), picture);
  }
}

TEST_F(FrameWindowTest, EachCursorIsDrawnWithItsHotSpotAtThePointer) {
  WriteCursorPictures(folder_.Path());
  tafutest::MessageCapture messages;
  LoadSharedAssets();
  const int32_t px = 400;
  const int32_t py = 300;
  SetScriptedPointer(px, py);
  for (const CursorCase& cursor : kCursors) {
    SCOPED_TRACE(cursor.file);
    MainScreen->SetView(0, 0, 0, 1.0f, true);
    CursorKind = cursor.kind;
    DrawCursor();
    const int32_t left = px - cursor.hotX;
    const int32_t top = py - cursor.hotY;
    EXPECT_EQ(ReadPixel(px, py), kRed);
    EXPECT_EQ(ReadPixel(left, top), kBlue);
    EXPECT_EQ(ReadPixel(left + cursor.width - 1, top + cursor.height - 1), kGreen);
    EXPECT_EQ(ReadPixel(left - 1, top), kWhite);
    EXPECT_EQ(ReadPixel(left + cursor.width, top + cursor.height - 1), kWhite);
    EXPECT_EQ(ReadPixel(px + 1, py), kWhite);
  }

  MainScreen->SetView(0, 0, 0, 1.0f, true);
  CursorKind = 7;
  DrawCursor();
  EXPECT_EQ(ReadPixel(px, py), kWhite);
  EXPECT_EQ(ReadPixel(px - 6, py - 5), kWhite);
  EXPECT_EQ(ReadPixel(px - 29, py - 140), kWhite);
  CursorKind = kCursorArrow;
}

// The built-in arrow as the child sees it: W white, B black, . see-through.
constexpr const char* kArrow[16] = {
    "WW..............", "WBW.............", "WBBW............", "WBBBW...........",
    "WBBBBW..........", "WBBBBBW.........", "WBBBBBBW........", "WBBBBBBBW.......",
    "WBBBBBBBBW......", "WBBBBBBBW.......", "WBBBBBWW........", "WBBBBBW.........",
    "WBBWBW..........", "WBW.W...........", "WW..............", "................",
};

TEST_F(FrameWindowTest, TheEngineCursorIsTheBuiltInArrowAtThePointer) {
  SetScriptedPointer(200, 100);
  MainScreen->SetView(0, 0, 0, 1.0f, true);
  DrawEngineCursor();
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      const char cell = kArrow[y][x];
      const uint32_t expected = cell == 'B' ? 0xFF000000 : kWhite;
      ASSERT_EQ(ReadPixel(200 + x, 100 + y), expected) << "at " << x << ", " << y;
    }
  }

  // A picture of its own replaces the arrow; only its top-left 16 x 16 are drawn.
  TestPicture square(20, 20, kRed);
  SetCursorImage({square.width, square.height, square.pixels.data()});
  MainScreen->SetView(0, 0, 0, 1.0f, true);
  DrawEngineCursor();
  EXPECT_EQ(ReadPixel(200, 100), kRed);
  EXPECT_EQ(ReadPixel(215, 115), kRed);
  EXPECT_EQ(ReadPixel(216, 115), kWhite);
  EXPECT_EQ(ReadPixel(215, 116), kWhite);
  SetCursorImage(GetBuiltInCursor());
}

TEST_F(FrameWindowTest, FlipDrawsTheEngineCursorWhenAskedTo) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  MainScreen->SetTitle("TAFU cursor test");
  const tafutest::XWindowInfo window = tafutest::FindXWindow("TAFU cursor test");
  ASSERT_TRUE(window.found);
  constexpr uint32_t kXWhite = 0x00FFFFFF;
  constexpr uint32_t kXBlack = 0x00000000;
  SetScriptedPointer(300, 200);
  for (bool on : {false, true}) {
    MainScreen->SetDrawCursor(on);
    MainScreen->SetView(0, 0, 0, 1.0f, true);
    MainScreen->Flip(false, true);
    EXPECT_EQ(tafutest::ReadXWindowPixel(window.id, 300, 200), kXWhite);
    EXPECT_EQ(tafutest::ReadXWindowPixel(window.id, 302, 203), on ? kXBlack : kXWhite) << "cursor " << on;
  }
  MainScreen->SetDrawCursor(false);
}

// A screen as every screen is written: the common frame around one button; it returns
// the number of frames it ran once the button is clicked, or -1 when asked to quit.
int32_t OneButtonScreen(ImageButton& button, int32_t& lastFrameTime) {
  for (int32_t frames = 1;; ++frames) {
    BeginFrame();
    lastFrameTime = FrameTime;
    if (button.WasClicked()) return frames;
    button.Update(static_cast<float>(FrameTime));
    if (!EndFrame()) return -1;
  }
}

TEST_F(FrameWindowTest, AScriptedClickEndsAScreenLoopAndTheSteppedClockSetsFrameTime) {
  UseSteppedClock(5'000'000);
  ImageButton button = MakeButton(nullptr, 100, 50, 300, 200, nullptr, kPulseWhileHovered, kButtonPulse);
  tafutest::InputScript script;
  script.MoveTo(10, 10).Wait(40).MoveTo(350, 225).Wait(3).Press().Release().Wait(100);
  script.Play(*MainScreen, 500);
  int32_t frameTime = 0;
  EXPECT_EQ(OneButtonScreen(button, frameTime), 47);
  EXPECT_EQ(frameTime, 12) << "80 frames a second";
  EXPECT_TRUE(button.pulsing);
  EXPECT_FALSE(MainScreen->IsQuitRequested());

  ImageButton never = MakeButton(nullptr, 10, 10, 0, 0, nullptr, kPulseWhileHovered, kButtonPulse);
  tafutest::InputScript quiet;
  quiet.Wait(5);
  quiet.Play(*MainScreen, 30);
  EXPECT_EQ(OneButtonScreen(never, frameTime), -1);
  EXPECT_EQ(quiet.FramesPlayed(), 30u);
}

}  // namespace
