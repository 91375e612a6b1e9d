// The frame every screen runs: timing, the game's own cursor and presenting the frame.
//
// A screen's loop:
//
//   while (true) {
//     BeginFrame();                       // view, frame counter, FrameTime
//     if (back.WasClicked()) return ...;  // the screen's own input and logic
//     DrawBackground(cache.Picture(0));
//     back.Update(FrameTime);             // widgets
//     if (!EndFrame()) break;             // cursor, Flip; false once quitting
//   }
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "input/KControls.h"

#include "window/KScreen.h"

class KGraphic;

// The one window every screen draws into and polls.
extern std::unique_ptr<KScreen> MainScreen;
// "setup.ini" asks for the frame rate in the window title.
extern bool ShowFps;

// Smoothed duration of a frame in milliseconds; every animation advances by it.
extern int32_t FrameTime;
// Frames counted in the last whole second.
extern int32_t MeasuredFps;
// Which cursor DrawCursor shows (a CursorKinds value; anything else shows none).
extern int32_t CursorKind;

enum CursorKinds : int32_t {
  kCursorArrow = 0,
  kCursorPicker = 1,
  kCursorPen = 2,
  kCursorEraser = 3,
  kCursorBucket = 4,
};

constexpr int32_t kMinFps = 5;
constexpr int32_t kMaxFps = 500;
constexpr int32_t kMinFrameTime = 1;
constexpr int32_t kMaxFrameTime = 160;

// Counts frames; once a second publishes the count, held to minimum..maximum, in fps,
// and with show set writes it into the window title as " %d FPS".
void UpdateFpsCounter(KScreen& screen, int32_t& fps, bool show, int32_t minimum, int32_t maximum);
// The frame time smoothed over the last frames ((new + 2 x previous) / 3), held to
// minimum..maximum; with show set it goes into the window title as "FT %u".
int32_t MeasureFrameTime(KScreen& screen, bool show, int32_t minimum, int32_t maximum);
// Draws the cursor picture of CursorKind with its hot spot at the pointer.
void DrawCursor();

// The start of every frame on MainScreen: reset the view, count the frame, refresh FrameTime,
// take the keys pressed since the last frame.
void BeginFrame();
// The keys pressed before this frame began, oldest first.
const std::vector<KKeyPress>& FrameKeyPresses();
// The screen's background: the top-left 800 x 600 of the picture, opaque, at (0, 0).
void DrawBackground(KGraphic* picture);
// With on, every frame's end watches for Ctrl+Shift+Escape held about a second, and then
// asks the window to quit: a grown-up's way out of a game whose window ignores its close
// button.
void WatchQuitKeys(bool on);
// A screen whose timer counts frames asks for every frame while it counts (the test button's
// result picture); without it, a screen at rest lets the window sleep until input comes.
void StayAwake();
// The end of every frame: the keyboard's choice among the frame's targets, the cursor (then
// back to the arrow for the next frame), then Flip, which may rest while the frame stays
// the same. False when the window was asked to quit.
bool EndFrame();
