// The engine's window: one top-level window with its GL context and frame loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "KEvent.h"

// A raw filter for platform events (an SDL_Event); return false to consume it.
using KMessageHook = bool (*)(const void* nativeEvent);
// Receives translated input events; return false to consume the event.
using KEventHandler = bool (*)(const KEvent& event);

class KScreen {
 public:
  virtual ~KScreen() = default;

  // Identity view, no clear.
  virtual void ResetView() = 0;
  // Pixel projection with y up; the view turns by angle and zooms about the centre, then moves by (x, y).
  virtual void SetView(float x, float y, float angle, float zoom, bool clear) = 0;
  virtual void SetClearColor(float r, float g, float b, float a) = 0;
  // depth -1 keeps the desktop's colour depth.
  virtual bool OpenWindow(int32_t width, int32_t height, int32_t depth, bool windowed, const std::string& title) = 0;
  virtual void RequestQuit() = 0;
  // With ignore set, the window's close button and the window manager's requests to close
  // it (Alt+F4 on most desktops) do nothing; RequestQuit and a signal to end still end the
  // game.
  virtual void IgnoreCloseRequests(bool ignore) = 0;
  // Keeps the keyboard's shortcuts (Alt+Tab and the like) for the window while it has the
  // focus, where the desktop allows it.
  virtual void GrabKeyboard(bool grab) = 0;
  virtual bool SetFullScreen(bool full) = 0;
  virtual bool IsForeground() = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // Ends a frame: presents it, handles pending events, holds the frame rate,
  // and while waitWhileInactive is set does not return while the window lacks focus.
  virtual void Flip(bool waitWhileInactive = true, bool resetAfter = true) = 0;
  // Handles at most one pending event.
  virtual void PumpMessage() = 0;
  virtual bool IsQuitRequested() = 0;
  virtual void* GetWindowHandle() = 0;
  // fps > 0: frames at least 1000 / fps ms apart; 0: no limit; < 0: no limit and no vertical sync.
  virtual void SetFrameRate(int32_t fps) = 0;
  virtual bool SyncRectangleTextures() = 0;
  virtual bool IsAccelerated() = 0;
  virtual void SetRectangleTextures(bool on) = 0;
  // 1.0 normal; below 1.0 the frame is darkened with black at Flip.
  virtual void SetFadeLevel(float level) = 0;
  virtual int16_t GetWidth() = 0;
  virtual int16_t GetHeight() = 0;
  virtual void ShowNormal() = 0;
  virtual void Minimize() = 0;
  virtual void SetDrawCursor(bool on) = 0;
  // Writes the back buffer to path: type 0 BMP, 1 JPEG, 2 TGA, 3 PNG.
  virtual bool SaveScreenshot(const std::string& path, uint32_t type, int32_t width, int32_t height) = 0;
  // Rest: while the frames stay equal to the one on screen and nothing is held, the next
  // Flip may sleep until an event arrives, or at most maxMs, instead of one frame; asked
  // anew for each frame (0: no rest). Only on the real clock and the real input.
  virtual void AllowRest(uint32_t maxMs) = 0;
  // How much longer than a frame the last Flip rested (0 when it did not).
  virtual uint32_t RestedMs() const = 0;
  virtual void SetMessageHook(KMessageHook hook) = 0;
  virtual void SetEventHandler(KEventHandler handler) = 0;
};

// Makes the window object; only the OpenGL back-end exists, so openGL false gives nothing.
std::unique_ptr<KScreen> CreateScreen(bool openGL, bool depthBuffer);

// The flags of CreateScreen and Flip, named at their call sites.
constexpr bool kOpenGL = true;
constexpr bool kNoDepthBuffer = false;
constexpr bool kWaitWhileInactive = true;
constexpr bool kResetViewAfter = true;

// How many times its width x height the frame of a window opened now will be drawn at: in a
// window at its first size, or full screen, on the first display (1 when that is not known
// yet). Pictures read ahead for it are read at that scale.
float ExpectedFrameScale(int32_t width, int32_t height, bool windowed);

// Whether there is a display a person can see, found without opening a window: the video
// driver that SDL_VIDEODRIVER names, when it names one on purpose (an invisible one
// included); otherwise only x11, wayland or kmsdrm count, never SDL's offscreen or dummy
// drivers, which would run the frame loop where nobody sees it. The video layer found is
// kept started for the first window to open on.
bool HasVisibleDisplay();
