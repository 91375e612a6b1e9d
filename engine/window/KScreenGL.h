// The OpenGL window on SDL2.
#pragma once

#include <SDL.h>

#include <memory>

#include "KFrameTarget.h"
#include "KScreen.h"
#include "graphic/KDrawGL.h"
#include "graphic/KFrameRecord.h"
#include "platform/KPlatform.h"

class KScreenGL final : public KScreen {
 public:
  explicit KScreenGL(bool depthBuffer);
  ~KScreenGL() override;

  void ResetView() override;
  void SetView(float x, float y, float angle, float zoom, bool clear) override;
  void SetClearColor(float r, float g, float b, float a) override;
  bool OpenWindow(int32_t width, int32_t height, int32_t depth, bool windowed, const std::string& title) override;
  void RequestQuit() override;
  void IgnoreCloseRequests(bool ignore) override;
  void GrabKeyboard(bool grab) override;
  bool SetFullScreen(bool full) override;
  bool IsForeground() override;
  void SetTitle(const std::string& title) override;
  void Flip(bool waitWhileInactive = true, bool resetAfter = true) override;
  void PumpMessage() override;
  bool IsQuitRequested() override { return quitRequested_; }
  void* GetWindowHandle() override { return window_; }
  void SetFrameRate(int32_t fps) override;
  bool SyncRectangleTextures() override { return rectangleTextures_; }
  bool IsAccelerated() override;
  void SetRectangleTextures(bool on) override { rectangleTextures_ = on; }
  void SetFadeLevel(float level) override { fadeLevel_ = level; }
  int16_t GetWidth() override { return width_; }
  int16_t GetHeight() override { return height_; }
  void ShowNormal() override;
  void Minimize() override;
  void SetDrawCursor(bool on) override { drawCursor_ = on; }
  bool SaveScreenshot(const std::string& path, uint32_t type, int32_t width, int32_t height) override;
  void AllowRest(uint32_t maxMs) override { restAllowedMs_ = maxMs; }
  uint32_t RestedMs() const override { return restedMs_; }
  void SetMessageHook(KMessageHook hook) override { messageHook_ = hook; }
  void SetEventHandler(KEventHandler handler) override { eventHandler_ = handler; }

  int32_t GetFrameDelay() const { return frameDelay_; }
  // How many frames reached the window since it opened (a frame equal to the one on
  // screen is not presented).
  uint64_t GetPresentedFrames() const { return presentedFrames_; }
  // The frame being recorded (after OpenWindow).
  KFrameRecord& Frames() { return *frames_; }

 private:
  bool CreateContext();
  bool MakeFrame();
  void ReadRenderer();
  void HandleEvent(const SDL_Event& event);
  KEvent TranslateEvent(const SDL_Event& event) const;
  void DrawFade();
  void DrawMargins();
  void HoldFrameRate(uint64_t frameStart);
  // The longest this frame may rest: what the screen allows, and no later than a hook is due.
  uint32_t RestMs() const;
  bool MayRest() const;
  void RestUntilEvent(uint64_t frameStart);
  static bool HasDesktop();
  void WaitForFocus();
  bool ApplyFullScreen(bool full);
  // Shows the frame; only where it changed, when that is known and pays.
  void PresentFrame(const KScreenRect& changed = kEverywhere);
  void PresentChangedPart(int32_t drawableWidth, int32_t drawableHeight, const KScreenRect& changed);
  void FollowWindowSize();
  // The frame target takes the size the frame has on the drawable now, between frames.
  void FitFrameToDrawable();
  void FollowWindowEvent(uint8_t windowEvent);
  int32_t WindowedScale() const;

  float clearColor_[4] = {0, 0, 0, 0};
  SDL_GLContext context_ = nullptr;
  SDL_Window* window_ = nullptr;
  KMessageHook messageHook_ = nullptr;
  KEventHandler eventHandler_ = nullptr;
  bool glInitialised_ = false;
  bool swapControl_ = false;
  bool fullScreen_ = false;
  bool closeIgnored_ = false;
  int16_t width_ = 0;
  int16_t height_ = 0;
  int16_t depth_ = 0;
  int32_t frameDelay_ = 0;
  bool rectangleTextures_ = false;
  bool accelerated_ = false;
  bool depthBuffer_ = false;
  float fadeLevel_ = 1.0f;
  bool quitRequested_ = false;
  bool drawCursor_ = false;
  bool videoStarted_ = false;  // this screen started SDL's video and shuts it down
  // The frame, width x height in the world's units, drawn at the size it takes on the
  // window, and what it records.
  KDrawGL drawer_;
  std::unique_ptr<KFrameTarget> frame_;
  std::unique_ptr<KFrameRecord> frames_;
  // The window needs the frame again (uncovered, resized, switched, focused) even when it
  // has not changed.
  bool presentPending_ = true;
  // The window's size changed since the target last took the frame's size on it.
  bool fitPending_ = true;
  uint64_t presentedFrames_ = 0;
  // Shows parts of the frame on a software renderer; the drawable's size at the last swap,
  // and whether its back buffer holds the whole frame as the window shows it.
  KPartPresenter partPresenter_;
  int32_t swappedWidth_ = 0;
  int32_t swappedHeight_ = 0;
  bool wholeFrameKept_ = false;
  // Frames in a row equal to the one on screen with no event between them, the rest the
  // game allows for the next Flip, and how long beyond a frame the last one rested.
  uint32_t unchangedFrames_ = 0;
  uint32_t restAllowedMs_ = 0;
  uint32_t restedMs_ = 0;
};
