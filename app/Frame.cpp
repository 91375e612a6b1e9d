#include "app/Frame.h"

#include <algorithm>
#include <string>

#include "app/AssetCache.h"
#include "app/Targets.h"
#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "services/KClock.h"
#include "window/KScreen.h"

std::unique_ptr<KScreen> MainScreen;
bool ShowFps = false;
int32_t FrameTime = 15;
int32_t MeasuredFps = 60;
int32_t CursorKind = kCursorArrow;

namespace {

constexpr uint32_t kCountingPeriodMs = 1000;
// How long a grown-up holds Ctrl+Shift+Escape to end a game whose window cannot be closed:
// long enough that a child mashing keys does not find it.
constexpr int32_t kQuitKeysHoldMs = 1000;

bool QuitKeysWatched = false;
int32_t QuitKeysHeldMs = 0;

bool QuitKeysDown() {
  return (IsKeyDown(KEY_LCONTROL) || IsKeyDown(KEY_RCONTROL)) && (IsKeyDown(KEY_LSHIFT) || IsKeyDown(KEY_RSHIFT)) &&
         IsKeyDown(KEY_ESCAPE);
}

void QuitOnHeldQuitKeys() {
  QuitKeysHeldMs = QuitKeysDown() ? QuitKeysHeldMs + FrameTime : 0;
  if (QuitKeysHeldMs >= kQuitKeysHoldMs) MainScreen->RequestQuit();
}

struct FpsCounter {
  bool firstCall = true;
  uint32_t secondStart = 0;
  int32_t frames = 0;
};

struct FrameTimer {
  double smoothed = 20;
  uint32_t previousReading = 0;
};

FpsCounter fpsCounter;
FrameTimer frameTimer;
// The longest the window may sleep at rest: a last guard for a change that comes from time
// alone and that no screen announced; one wake a second costs nothing measurable.
constexpr uint32_t kRestCapMs = 1000;
bool awakeAsked = false;
// The keys pressed before the frame on its way began.
std::vector<KKeyPress> frameKeys;

struct CursorPicture {
  size_t sharedIndex;
  float width;
  float height;
  int32_t hotSpotX;
  int32_t hotSpotY;
};

// By CursorKind.
constexpr CursorPicture kCursorPictures[] = {
    {kSharedArrowCursor, 88, 110, 6, 5},
    {kSharedPickerCursor, 82, 141, 4, 3},
    {kSharedPenCursor, 85, 160, 5, 5},
    {kSharedEraserCursor, 88, 116, 4, 3},
    {kSharedBucketCursor, 89, 151, 29, 140},
};

uint32_t ClockNow() { return static_cast<uint32_t>(GetMilliseconds()); }

}  // namespace

void UpdateFpsCounter(KScreen& screen, int32_t& fps, bool show, int32_t minimum, int32_t maximum) {
  const uint32_t now = ClockNow();
  if (fpsCounter.firstCall) {
    fpsCounter.firstCall = false;
    fpsCounter.secondStart = now;
  }
  // Time spent resting is no frame's time: the count is of the frames a second of play runs.
  fpsCounter.secondStart += screen.RestedMs();
  ++fpsCounter.frames;
  if (now - fpsCounter.secondStart < kCountingPeriodMs) return;
  fpsCounter.secondStart = now;
  fps = std::min(std::max(fpsCounter.frames, minimum), maximum);
  if (show) screen.SetTitle(" " + std::to_string(fps) + " FPS");
  fpsCounter.frames = 0;
}

int32_t MeasureFrameTime(KScreen& screen, bool show, int32_t minimum, int32_t maximum) {
  const uint32_t now = ClockNow();
  // Time spent resting went by while nothing moved: it is no frame's time.
  const uint32_t elapsed = now - frameTimer.previousReading - std::min(screen.RestedMs(), now - frameTimer.previousReading);
  const double smoothed = (static_cast<double>(elapsed) + 2 * frameTimer.smoothed) / 3;
  const int32_t held = static_cast<int32_t>(
      std::clamp(smoothed, static_cast<double>(minimum), static_cast<double>(maximum)));
  frameTimer.smoothed = held;
  frameTimer.previousReading = now;
  if (show) screen.SetTitle("FT " + std::to_string(held));
  return held;
}

void DrawCursor() {
  if (CursorKind < 0 || CursorKind >= static_cast<int32_t>(std::size(kCursorPictures))) return;
  const CursorPicture& cursor = kCursorPictures[CursorKind];
  if (cursor.sharedIndex >= SharedAssets.PictureCount()) return;
  KGraphic* picture = SharedAssets.Picture(cursor.sharedIndex);
  if (!picture) return;
  const int32_t x = GetMouseX() - cursor.hotSpotX;
  const int32_t y = GetMouseY() - cursor.hotSpotY;
  picture->BlitAlpha(0, 0, cursor.width, cursor.height, static_cast<int16_t>(x), static_cast<int16_t>(y), kNoFlip,
                     kNoFlip);
}

void BeginFrame() {
  MainScreen->ResetView();
  frameKeys = TakeKeyPresses();
  UpdateFpsCounter(*MainScreen, MeasuredFps, ShowFps, kMinFps, kMaxFps);
  FrameTime = MeasureFrameTime(*MainScreen, false, kMinFrameTime, kMaxFrameTime);
}

void DrawBackground(KGraphic* picture) {
  if (picture) picture->BlitBackdrop();
}

const std::vector<KKeyPress>& FrameKeyPresses() { return frameKeys; }

void WatchQuitKeys(bool on) {
  QuitKeysWatched = on;
  QuitKeysHeldMs = 0;
}

void StayAwake() { awakeAsked = true; }

bool EndFrame() {
  if (QuitKeysWatched) QuitOnHeldQuitKeys();
  DriveTargets(frameKeys, FrameTime);
  MainScreen->AllowRest(awakeAsked || TargetsNeedFrames() ? 0 : kRestCapMs);
  awakeAsked = false;
  DrawCursor();
  // Each frame the screen names its cursor again; the arrow unless it says otherwise.
  CursorKind = kCursorArrow;
  MainScreen->Flip(kWaitWhileInactive, kResetViewAfter);
  return !MainScreen->IsQuitRequested();
}
