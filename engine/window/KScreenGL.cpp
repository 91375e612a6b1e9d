#include "KScreenGL.h"

#include <SDL_opengl.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstring>

#include "graphic/KFrameRecord.h"
#include "graphic/KGraphic.h"
#include "graphic/KReadBuffer.h"
#include "input/KControls.h"
#include "input/KControlsEvents.h"
#include "services/KClock.h"
#include "services/KMessage.h"
#include "services/KPaths.h"
#include "sound/KSample.h"

namespace {

// One previous-flip time for the whole process.
uint64_t previousFlip = 0;

std::string LowerCopy(const GLubyte* text) {
  constexpr size_t kMaxLength = 2047;
  std::string copy = text ? reinterpret_cast<const char*>(text) : "";
  if (copy.size() > kMaxLength) copy.resize(kMaxLength);
  std::transform(copy.begin(), copy.end(), copy.begin(), [](unsigned char c) { return std::tolower(c); });
  return copy;
}

bool HasExtension(const char* extensions, const char* name) {
  return extensions && std::strstr(extensions, name) != nullptr;
}

// Video drivers that show a window to someone at a screen, each with the variable that
// names its display. Wayland's library complains on standard error when it finds nothing to
// connect to, so a driver whose display is not named is not tried. In the browser the page
// is the display.
struct VisibleDriver {
  const char* name;
  const char* displayVariable;
};
#ifdef __EMSCRIPTEN__
constexpr VisibleDriver kVisibleDrivers[] = {{"emscripten", nullptr}};
#else
constexpr VisibleDriver kVisibleDrivers[] = {{"x11", "DISPLAY"}, {"wayland", "WAYLAND_DISPLAY"}, {"kmsdrm", nullptr}};
#endif

bool IsSet(const char* variable) {
  const char* value = SDL_getenv(variable);
  return value && *value;
}

// Starts and stops the video layer with the driver the hints name; true when it started.
bool VideoStarts() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return true;
}

}  // namespace

std::unique_ptr<KScreen> CreateScreen(bool openGL, bool depthBuffer) {
  InitPaths();
  if (!openGL) return nullptr;
  return std::make_unique<KScreenGL>(depthBuffer);
}

// The driver found stays named in the hints, so the window opens on it.
bool HasVisibleDisplay() {
  if (IsSet("SDL_VIDEODRIVER")) return VideoStarts();
  for (const VisibleDriver& driver : kVisibleDrivers) {
    if (driver.displayVariable && !IsSet(driver.displayVariable)) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.name);
    if (VideoStarts()) return true;
  }
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  return false;
}

KScreenGL::KScreenGL(bool depthBuffer) : depthBuffer_(depthBuffer) {}

KScreenGL::~KScreenGL() {
  FreeEngineCursor();
  SetKeyEventSink(nullptr);
  DiscardRecordedFrame();
  if (context_) SDL_GL_MakeCurrent(window_, context_);
  frame_.reset();
  messageHook_ = nullptr;
  eventHandler_ = nullptr;
  ShowSystemCursor();
  const bool played = context_ != nullptr;
  if (context_) {
    if (keptFrame_) glDeleteTextures(1, &keptFrame_);
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
  }
  // Destroying the window gives the desktop its own display mode back.
  if (window_) SDL_DestroyWindow(window_);
  context_ = nullptr;
  window_ = nullptr;
  if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  quitRequested_ = true;
#ifdef __EMSCRIPTEN__
  // A web page has no desktop to go back to: once a window that played is gone, the page
  // starts again. A window that never drew (no WebGL) leaves the page as it is.
  if (played) emscripten_run_script("location.reload()");
#else
  static_cast<void>(played);
#endif
}

void KScreenGL::ResetView() { SetView(0, 0, 0, 1.0f, false); }

void KScreenGL::SetView(float x, float y, float angle, float zoom, bool clear) {
  KDrawCommand command;
  command.draw = [](const KDrawCommand& c) {
    const auto& v = c.values;
    static_cast<KScreenGL*>(const_cast<void*>(c.owner))->ApplyView(v[0], v[1], v[2], v[3], v[4] != 0.0f);
  };
  command.owner = this;
  // Without clearing, a view only sets how the commands after it draw.
  command.paints = clear;
  command.values = {x, y, angle, zoom, clear ? 1.0f : 0.0f};
  if (clear) std::copy(std::begin(clearColor_), std::end(clearColor_), command.values.begin() + 5);
  RecordDrawing(command);
  // Drawn into the game's own frame with the view at rest, a picture lands on the very
  // pixels it names.
  const bool square = x == 0 && y == 0 && angle == 0 && zoom == 1.0f && frame_ && frame_->IsReady();
  SetSquareFrame(square ? width_ : 0, square ? height_ : 0);
}

void KScreenGL::ApplyView(float x, float y, float angle, float zoom, bool clear) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width_, 0, height_, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  if (clear) {
    glClearColor(clearColor_[0], clearColor_[1], clearColor_[2], clearColor_[3]);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glLoadIdentity();
  const float halfWidth = static_cast<float>(width_ / 2);
  const float halfHeight = static_cast<float>(height_ / 2);
  glTranslatef(halfWidth, halfHeight, 0);
  glRotatef(angle, 0, 0, 1);
  glScalef(zoom, zoom, 0);
  glTranslatef(-halfWidth, -halfHeight, 0);
  glTranslatef(x, y, 0);
  glDisable(GL_DEPTH_TEST);
}

void KScreenGL::SetClearColor(float r, float g, float b, float a) {
  clearColor_[0] = r;
  clearColor_[1] = g;
  clearColor_[2] = b;
  clearColor_[3] = a;
}

bool KScreenGL::OpenWindow(int32_t width, int32_t height, int32_t depth, bool windowed, const std::string& title) {
  width_ = static_cast<int16_t>(width);
  height_ = static_cast<int16_t>(height);
  depth_ = static_cast<int16_t>(depth);
  fullScreen_ = !windowed;

  if (!CreateContext()) return false;

  SetTitle(title);
  frame_ = std::make_unique<KFrameTarget>();
  SetFrameLayer(frame_->Create(width_, height_) ? frame_.get() : nullptr);
  FollowWindowSize();
  KGraphicGL::SetScreenSize(width_, height_, depth_);
  InitControls(window_);
  SetKeyEventSink([this](const SDL_Event& event) { HandleEvent(event); });

  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  swapControl_ = SDL_GL_SetSwapInterval(1) == 0;
  rectangleTextures_ = HasExtension(extensions, "GL_EXT_texture_rectangle") ||
                       HasExtension(extensions, "GL_NV_texture_rectangle");
  SyncRectangleTextures();
  InitPaths();

  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_LIGHTING);
  Flip(true, true);

  const std::string vendor = LowerCopy(glGetString(GL_VENDOR));
  const std::string renderer = LowerCopy(glGetString(GL_RENDERER));
  glInitialised_ = true;
  if (vendor.find("microsoft corporation") != std::string::npos || renderer.find("gdi generic") != std::string::npos)
    accelerated_ = false;

  glViewport(0, 0, width_, height_);
  ResetView();
  return true;
}

bool KScreenGL::CreateContext() {
  // Two boxes for one failure, the second with "fixel" as it has always been spelt: players
  // and support pages know these words, so they stay as they are.
  const auto noPixelFormat = [] {
    ShowMessage("Could not initialize openGL", "Please install your video drivers");
    ShowMessage("Could not select fixel format", "OpenGl error : video drivers probably missing.");
    return false;
  };
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return noPixelFormat();
    videoStarted_ = true;
  }

#ifndef __EMSCRIPTEN__
  // The browser's WebGL has no profiles to choose from.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
#endif
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBuffer_ ? 16 : 0);

  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
  const int32_t scale = WindowedScale();
  const int32_t windowWidth = width_ * scale;
  const int32_t windowHeight = height_ * scale;
  window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight, flags);
  if (!window_) {
    // Without depth bits, once more; then the drivers are missing.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight, flags);
    if (!window_) return noPixelFormat();
  }
  accelerated_ = true;
  if (fullScreen_) ApplyFullScreen(true);
  SDL_ShowWindow(window_);

  context_ = SDL_GL_CreateContext(window_);
  if (!context_) {
    ShowMessage("Could not create openGL Context", "OpenGl error");
    return false;
  }
  if (SDL_GL_MakeCurrent(window_, context_) != 0) {
    ShowMessage("Could not make  openGL Context", "OpenGl error");
    return false;
  }
  return true;
}

// The window's size as it first opens: the largest whole multiple of the frame that fits
// the usable part of the display it opens on (the first one before it exists).
int32_t KScreenGL::WindowedScale() const {
  const int display = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
  return WindowScale(usable.w, usable.h, width_, height_);
}

// Full screen takes the desktop as it is: the display mode never changes. The window first
// covers the display itself, without a border, since without a window manager nobody
// answers the request for full screen.
bool KScreenGL::ApplyFullScreen(bool full) {
  if (full) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &bounds) == 0) {
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_SetWindowPosition(window_, bounds.x, bounds.y);
      SDL_SetWindowSize(window_, bounds.w, bounds.h);
    }
  }
  const bool switched = SDL_SetWindowFullscreen(window_, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
  if (switched && !full) {
    SDL_SetWindowBordered(window_, SDL_TRUE);
    const int32_t scale = WindowedScale();
    SDL_SetWindowSize(window_, width_ * scale, height_ * scale);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  FollowWindowSize();
  presentPending_ = true;
  return switched;
}

// The window shows the frame again after anything that may have spoilt or moved it.
void KScreenGL::FollowWindowEvent(uint8_t windowEvent) {
  switch (windowEvent) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      FollowWindowSize();
      presentPending_ = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      presentPending_ = true;
      break;
    default:
      break;
  }
}

// The pointer is read in frame pixels wherever the window puts the frame.
void KScreenGL::FollowWindowSize() {
  if (!window_ || !frame_ || !frame_->IsReady()) return;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  SetPointerArea(frame_->Placement(width, height), width_, height_);
}

void KScreenGL::PresentFrame() {
  presentPending_ = false;
  ++presentedFrames_;
  if (frame_ && frame_->IsReady()) {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window_, &width, &height);
    frame_->Present(width, height);
  }
  SDL_GL_SwapWindow(window_);
  if (frame_) frame_->Select();
}

void KScreenGL::RequestQuit() {
  quitRequested_ = true;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PushEvent(&quit);
}

void KScreenGL::IgnoreCloseRequests(bool ignore) {
  closeIgnored_ = ignore;
  // Otherwise SDL turns the close of its last window into a quit of its own.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, ignore ? "0" : "1");
}

void KScreenGL::GrabKeyboard(bool grab) {
  if (window_) SDL_SetWindowKeyboardGrab(window_, grab ? SDL_TRUE : SDL_FALSE);
}

bool KScreenGL::SetFullScreen(bool full) {
  if (fullScreen_ && full) return true;
  if (!fullScreen_ && !full) return false;
  if (!window_) return false;
  ApplyFullScreen(full);
  fullScreen_ = full;
  return true;
}

bool KScreenGL::IsForeground() {
  return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void KScreenGL::SetTitle(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void KScreenGL::Flip(bool waitWhileInactive, bool resetAfter) {
  if (!window_) return;
  if (drawCursor_) {
    ResetView();
    DrawEngineCursor();
  }
  const uint64_t now = GetMilliseconds();
  if (fadeLevel_ < 1.0f) DrawFade();
  const bool target = frame_ && frame_->IsReady();
  // Without a target of its own the window's back buffer is drawn afresh every frame.
  const bool changed = EndRecordedFrame(presentPending_ || !target);
  // Without the focus, this frame is the one the game stands still on: it is shown again
  // whenever the window is uncovered while the game waits. The target keeps it by itself;
  // without one it is kept here.
  const bool standStill = waitWhileInactive && HasDesktop() && !IsForeground();
  if (standStill && !target)
    KeepFrame();
  else
    frameKept_ = false;
  if (changed) PresentFrame();
  if (resetAfter) ResetView();

  ControlsBeginFrame();
  SDL_Event event;
  while (SDL_PollEvent(&event)) HandleEvent(event);
  ControlsEndFrame();
#ifdef __EMSCRIPTEN__
  FeedMusicVoices();
#endif

  HoldFrameRate(now);
  previousFlip = GetMilliseconds();
  // When the focus went while this frame was shown, the next one is kept before the wait.
  if (standStill && !IsForeground()) WaitForFocus();
}

void KScreenGL::DrawFade() {
  ResetView();
  KDrawCommand command;
  command.draw = [](const KDrawCommand& c) {
    static_cast<KScreenGL*>(const_cast<void*>(c.owner))->DrawFadeNow(c.values[0]);
  };
  command.owner = this;
  command.values[0] = fadeLevel_;
  RecordDrawing(command);
}

void KScreenGL::DrawFadeNow(float level) {
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0, 0, 0, std::max(0.0f, 1.0f - level));
  glBegin(GL_QUADS);
  glVertex2f(0, static_cast<float>(height_));
  glVertex2f(static_cast<float>(width_), static_cast<float>(height_));
  glVertex2f(static_cast<float>(width_), 0);
  glVertex2f(0, 0);
  glEnd();
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
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
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) PresentAgain();
  }
  frameKept_ = false;
  ControlsEndFrame();
}

void KScreenGL::KeepFrame() {
  // The pictures know which texture they left bound: it stays bound.
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  if (!keptFrame_) {
    glGenTextures(1, &keptFrame_);
    glBindTexture(GL_TEXTURE_2D, keptFrame_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  }
  glBindTexture(GL_TEXTURE_2D, keptFrame_);
  SelectReadBuffer(GL_BACK);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width_, height_);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
  frameKept_ = true;
}

void KScreenGL::PresentKeptFrame() {
  if (!frameKept_) return;
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, 1, 0, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, keptFrame_);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glTexCoord2f(1, 0);
  glVertex2f(1, 0);
  glTexCoord2f(1, 1);
  glVertex2f(1, 1);
  glTexCoord2f(0, 1);
  glVertex2f(0, 1);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  SDL_GL_SwapWindow(window_);
}

// The frame target keeps the last frame as it was drawn: it is simply shown again.
void KScreenGL::PresentAgain() {
  if (!frame_ || !frame_->IsReady()) {
    PresentKeptFrame();
    return;
  }
  PresentFrame();
}

void KScreenGL::PumpMessage() {
  SDL_Event event;
  if (SDL_PollEvent(&event)) HandleEvent(event);
}

void KScreenGL::HandleEvent(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT) FollowWindowEvent(event.window.event);
  ControlsHandleEvent(event);
  if (messageHook_ && !messageHook_(&event)) return;
  if (eventHandler_ && !eventHandler_(TranslateEvent(event))) return;
  if (event.type == SDL_QUIT) {
    quitRequested_ = true;
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE && !closeIgnored_) {
    quitRequested_ = true;  // closing asks the game to end; the window stays
  }
}

KEvent KScreenGL::TranslateEvent(const SDL_Event& event) const {
  KEvent translated;
  translated.x = GetMouseX();
  translated.y = GetMouseY();
  translated.message = static_cast<int32_t>(event.type);
  const auto buttonNumber = [](uint8_t button) {
    return button == SDL_BUTTON_LEFT ? 1 : button == SDL_BUTTON_RIGHT ? 2 : button == SDL_BUTTON_MIDDLE ? 3 : 0;
  };
  switch (event.type) {
    case SDL_KEYDOWN:
      translated.type = KEVENT_KEY_PRESSED;
      translated.virtualKey = event.key.keysym.sym;
      translated.key = KeyCodeOfScancode(event.key.keysym.scancode);
      translated.character = static_cast<uint8_t>(event.key.keysym.scancode);
      break;
    case SDL_KEYUP:
      translated.type = KEVENT_KEY_RELEASED;
      translated.virtualKey = event.key.keysym.sym;
      translated.key = KeyCodeOfScancode(event.key.keysym.scancode);
      translated.character = static_cast<uint8_t>(event.key.keysym.sym & 0xFF);
      break;
    case SDL_TEXTINPUT:
      translated.type = KEVENT_CHARACTER;
      translated.character = static_cast<uint8_t>(event.text.text[0]);
      break;
    case SDL_MOUSEMOTION:
      translated.type = KEVENT_MOUSE_MOVED;
      break;
    case SDL_MOUSEBUTTONDOWN:
      translated.type = event.button.clicks == 2 ? KEVENT_DOUBLE_CLICKED : KEVENT_BUTTON_PRESSED;
      translated.button = buttonNumber(event.button.button);
      break;
    case SDL_MOUSEBUTTONUP:
      translated.type = KEVENT_BUTTON_RELEASED;
      translated.button = buttonNumber(event.button.button);
      break;
    case SDL_MOUSEWHEEL:
      translated.type = KEVENT_WHEEL;
      translated.wheel = static_cast<int16_t>(event.wheel.y * 120);
      break;
    default:
      break;
  }
  return translated;
}

void KScreenGL::SetFrameRate(int32_t fps) {
  if (fps > 0) {
    frameDelay_ = 1000 / fps;
    return;
  }
  frameDelay_ = 0;
  if (fps < 0 && swapControl_) SDL_GL_SetSwapInterval(0);
}

bool KScreenGL::IsAccelerated() {
  // Asking also forgets a quit request: the engine has always done so and callers of this
  // call may count on it (the game itself never asks).
  quitRequested_ = false;
  return accelerated_;
}

void KScreenGL::ShowNormal() {
  if (window_) SDL_RestoreWindow(window_);
}

void KScreenGL::Minimize() {
  if (window_) SDL_MinimizeWindow(window_);
}
