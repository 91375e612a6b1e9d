// The window object and its frame loop: views, the frame's end (Flip), the frame rate and
// the wait while another window has the focus. Opening it is in KWindowOpen.cpp, its events
// in KWindowEvents.cpp.
#include "KScreenGL.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>

#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "input/KControlsEvents.h"
#include "input/KScriptedInput.h"
#include "platform/KPlatform.h"
#include "services/KClock.h"
#include "services/KFrameHooks.h"

namespace {

// One previous-flip time for the whole process.
uint64_t previousFlip = 0;
// A frame or two equal to the one on screen come before a rest, so that a change that
// happens every other frame never waits.
constexpr uint32_t kFramesBeforeRest = 2;

}  // namespace

KScreenGL::KScreenGL(bool depthBuffer) : depthBuffer_(depthBuffer) {}

KScreenGL::~KScreenGL() {
  FreeEngineCursor();
  SetKeyEventSink(nullptr);
  KGraphicGL::DrawInto(nullptr);
  frames_.reset();
  if (context_) SDL_GL_MakeCurrent(window_, context_);
  frame_.reset();
  messageHook_ = nullptr;
  eventHandler_ = nullptr;
  ShowSystemCursor();
  if (context_) {
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
  }
  // Destroying the window gives the desktop its own display mode back.
  if (window_) SDL_DestroyWindow(window_);
  context_ = nullptr;
  window_ = nullptr;
  if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  quitRequested_ = true;
}

void KScreenGL::ResetView() { SetView(0, 0, 0, 1.0f, false); }

void KScreenGL::SetView(float x, float y, float angle, float zoom, bool clear) {
  if (!frames_) return;
  KViewCommand view{width_, height_, x, y, angle, zoom, clear};
  if (clear) view.clearColour = {clearColor_[0], clearColor_[1], clearColor_[2], clearColor_[3]};
  frames_->Record({this, 0, view});
  // Drawn into the game's own frame with the view at rest, a picture lands on the very
  // pixels it names.
  const bool square = x == 0 && y == 0 && angle == 0 && zoom == 1.0f;
  frames_->SetSquareFrame(square ? width_ : 0, square ? height_ : 0);
}

void KScreenGL::SetClearColor(float r, float g, float b, float a) {
  clearColor_[0] = r;
  clearColor_[1] = g;
  clearColor_[2] = b;
  clearColor_[3] = a;
}

void KScreenGL::PresentFrame(const KScreenRect& changed) {
  presentPending_ = false;
  ++presentedFrames_;
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(window_, &width, &height);
  const bool swapped = width == swappedWidth_ && height == swappedHeight_;
  if (partPresenter_ && swapped) {
    PresentChangedPart(width, height, changed);
  } else {
    // The renderer learns the window's size anew only after a swap: after the window changed
    // size, a frame is swapped in whole, and the next one drawn again at the size learnt.
    frame_->Present(width, height);
    SDL_GL_SwapWindow(window_);
    if (partPresenter_ && !swapped) presentPending_ = true;
    swappedWidth_ = width;
    swappedHeight_ = height;
    wholeFrameKept_ = false;
  }
  frame_->Select();
}

// Scaling the frame and handing the whole window to the X server is most of what a software
// renderer spends on a frame that changed in one small place, so the frame is drawn and shown
// only where it changed: the buffers are not swapped again, and the back buffer keeps the
// rest as the window shows it.
void KScreenGL::PresentChangedPart(int32_t drawableWidth, int32_t drawableHeight, const KScreenRect& changed) {
  KFrameRect shown{0, 0, drawableWidth, drawableHeight};
  if (wholeFrameKept_ && !(changed == kEverywhere)) {
    shown = frame_->PresentPart(drawableWidth, drawableHeight, changed);
  } else {
    frame_->Present(drawableWidth, drawableHeight);
  }
  if (shown.width > 0 && shown.height > 0)
    partPresenter_.Show(shown.left, drawableHeight - shown.top - shown.height, shown.width, shown.height);
  wholeFrameKept_ = true;
}

void KScreenGL::Flip(bool waitWhileInactive, bool resetAfter) {
  if (!window_ || !frames_) return;
  if (HasMargins() && !pictureLayer.marginsDrawn) DrawMargins();
  pictureLayer.marginsDrawn = false;
  if (drawCursor_) {
    ResetView();
    DrawEngineCursor();
  }
  const uint64_t now = GetMilliseconds();
  if (fadeLevel_ < 1.0f) DrawFade();
  KScreenRect changed = kEverywhere;
  const bool presented = frames_->End(presentPending_, partPresenter_ ? &changed : nullptr);
  if (presented) PresentFrame(changed);
  unchangedFrames_ = presented ? 0 : unchangedFrames_ + 1;
  // Without the focus, this frame is the one the game stands still on: the frame target
  // keeps it, to be shown again whenever the window is uncovered while the game waits.
  const bool standStill = waitWhileInactive && HasDesktop() && !IsForeground();
  if (resetAfter) ResetView();

  ControlsBeginFrame();
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    HandleEvent(event);
    // The game has yet to see this event in a frame: a release followed at once by a rest
    // would meet the next press with no frame between them and read the two as one.
    unchangedFrames_ = 0;
  }
  ControlsEndFrame();
  FitFrameToDrawable();
  RunFrameHooks();

  restedMs_ = 0;
  if (MayRest())
    RestUntilEvent(now);
  else
    HoldFrameRate(now);
  restAllowedMs_ = 0;
  previousFlip = GetMilliseconds();
  // When the focus went while this frame was shown, the next one is kept before the wait.
  if (standStill && !IsForeground()) WaitForFocus();
}

// The fade darkens the margins with the world.
void KScreenGL::DrawFade() {
  ResetView();
  KShapeCommand fade;
  fade.colour = {0, 0, 0, std::max(0.0f, 1.0f - fadeLevel_)};
  const KVisibleArea area = VisibleArea();
  const auto height = static_cast<float>(height_);
  fade.corners = {KCorner{area.left, height - area.top}, KCorner{area.right, height - area.top},
                  KCorner{area.right, height - area.bottom}, KCorner{area.left, height - area.bottom}};
  frames_->Record({this, 0, fade});
}

// Margins that nothing drew this frame are black, as the bars were.
void KScreenGL::DrawMargins() {
  ResetView();
  for (const KShapeCommand& black : BlackMargins()) frames_->Record({this, 0, black});
}

// A frame that used up its time still waits, for nothing: in the browser that wait is
// where the page shows the frame and hands in the player's input.
void KScreenGL::HoldFrameRate(uint64_t frameStart) {
  const uint32_t elapsed = static_cast<uint32_t>(frameStart - previousFlip);
  if (frameDelay_ == 0 || elapsed > static_cast<uint32_t>(frameDelay_)) {
    WaitUntilMilliseconds(GetMilliseconds());
    return;
  }
  WaitUntilMilliseconds(previousFlip + static_cast<uint64_t>(frameDelay_));
}

uint32_t KScreenGL::RestMs() const { return std::min(restAllowedMs_, LongestRestForHooks()); }

bool KScreenGL::MayRest() const {
  return RestMs() > static_cast<uint32_t>(frameDelay_) && unchangedFrames_ >= kFramesBeforeRest && !presentPending_ &&
         !IsClockStepped() && !IsInputScripted() && !IsAnythingHeld();
}

// Sleeps until an event comes (it is handled at once, with any that came with it, as the
// frame's own events were) or the rest allowed has passed, and never ends a frame sooner
// than the frame rate allows.
void KScreenGL::RestUntilEvent(uint64_t frameStart) {
  const uint64_t frame = previousFlip + static_cast<uint64_t>(frameDelay_);
  const bool frameTimeLeft = GetMilliseconds() < frame;
  if (WaitForEvent(RestMs())) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleEvent(event);
    ControlsEndFrame();
    unchangedFrames_ = 0;
  }
  // A rest that slept past the frame's time has been the page's turn already.
  if (!frameTimeLeft || GetMilliseconds() < frame) HoldFrameRate(frameStart);
  const uint64_t now = GetMilliseconds();
  restedMs_ = now > frame ? static_cast<uint32_t>(now - frame) : 0;
}

bool KScreenGL::HasDesktop() {
  // Drivers without a desktop have no other window to be behind; the browser stops a page
  // nobody sees by itself.
  const char* driver = SDL_GetCurrentVideoDriver();
  return !driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0 &&
                     std::strcmp(driver, "emscripten") != 0);
}

void KScreenGL::WaitForFocus() {
  // The game stands still while another window is in front.
  SDL_Event event;
  while (window_ && !quitRequested_ && !IsForeground() && SDL_WaitEvent(&event)) {
    HandleEvent(event);
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) PresentFrame();
  }
  ControlsEndFrame();
}

void KScreenGL::SetFrameRate(int32_t fps) {
  if (fps > 0) {
    frameDelay_ = 1000 / fps;
    return;
  }
  frameDelay_ = 0;
  if (fps < 0 && swapControl_) SDL_GL_SetSwapInterval(0);
}
