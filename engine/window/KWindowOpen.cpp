// Opening the window: SDL's video, the window at its first size, the GL context and the
// frame target it draws into, full screen and back, and the window's own settings.
#include <SDL_opengl.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "KScreenGL.h"
#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "input/KControlsEvents.h"
#include "platform/KPlatform.h"
#include "services/KMessage.h"
#include "services/KPaths.h"

namespace {

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

bool IsSet(const char* variable) {
  const char* value = SDL_getenv(variable);
  return value && *value;
}

// The video layer the display probe started, kept for the first screen to take over: SDL's
// video (the connection to the display, its input method, the list of displays) then
// starts once, not twice, before the first window opens.
bool probeHoldsVideo = false;

// Starts the video layer with the driver the hints name and keeps it; true when it started.
bool VideoStarts() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  // One reference at most, however often the display is probed.
  if (probeHoldsVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  probeHoldsVideo = true;
  return true;
}

// Two boxes for one failure, the second with "fixel" as it has always been spelt: players and
// support pages know these words, so they stay as they are.
bool NoPixelFormat() {
  ShowMessage("Could not initialize openGL", "Please install your video drivers");
  ShowMessage("Could not select fixel format", "OpenGl error : video drivers probably missing.");
  return false;
}

// The window at its first size, hidden; without depth bits, once more.
SDL_Window* CreateHiddenWindow(int32_t width, int32_t height, bool depthBuffer) {
  ChooseGLProfile();
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBuffer ? 16 : 0);
  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
  SDL_Window* window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
  if (window) return window;
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  return SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
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
  size_t count = 0;
  const KVideoDriver* drivers = VisibleVideoDrivers(count);
  for (const KVideoDriver* driver = drivers; driver != drivers + count; ++driver) {
    if (driver->displayVariable && !IsSet(driver->displayVariable)) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver->name);
    if (VideoStarts()) return true;
  }
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  return false;
}

float ExpectedFrameScale(int32_t width, int32_t height, bool windowed) {
  SDL_Rect bounds{};
  if (!SDL_WasInit(SDL_INIT_VIDEO) || width <= 0 || height <= 0) return 1.0f;
  if (windowed)
    return SDL_GetDisplayUsableBounds(0, &bounds) == 0 ? static_cast<float>(WindowScale(bounds.w, bounds.h, width, height))
                                                       : 1.0f;
  if (SDL_GetDisplayBounds(0, &bounds) != 0) return 1.0f;
  const KFrameRect fitted = FitFrame(bounds.w, bounds.h, width, height);
  return std::max(1.0f, static_cast<float>(fitted.height) / static_cast<float>(height));
}

bool KScreenGL::OpenWindow(int32_t width, int32_t height, int32_t depth, bool windowed, const std::string& title) {
  width_ = static_cast<int16_t>(width);
  height_ = static_cast<int16_t>(height);
  depth_ = static_cast<int16_t>(depth);
  fullScreen_ = !windowed;

  if (!CreateContext()) return false;

  SetTitle(title);
  if (!MakeFrame()) return false;
  FollowWindowSize();
  KGraphicGL::SetScreenSize(width_, height_, depth_);
  FitFrameToDrawable();
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
  ReadRenderer();

  glViewport(0, 0, frame_->Width(), frame_->Height());
  ResetView();
  return true;
}

bool KScreenGL::CreateContext() {
  if (probeHoldsVideo) {
    probeHoldsVideo = false;
    videoStarted_ = true;
  } else if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return NoPixelFormat();
    videoStarted_ = true;
  }
  const int32_t scale = WindowedScale();
  window_ = CreateHiddenWindow(width_ * scale, height_ * scale, depthBuffer_);
  // Without a window the drivers are missing.
  if (!window_) return NoPixelFormat();
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
  partPresenter_ = KPartPresenter::Find();
  return true;
}

// The frame is drawn at its own size into a target of its own: a driver without framebuffer
// objects is missing what the game needs, like one without a pixel format.
bool KScreenGL::MakeFrame() {
  frame_ = std::make_unique<KFrameTarget>();
  if (!frame_->Create(width_, height_)) {
    frame_.reset();
    ShowMessage("Could not initialize openGL", "Please install your video drivers");
    return false;
  }
  frames_ = std::make_unique<KFrameRecord>(drawer_, frame_.get());
  KGraphicGL::DrawInto(frames_.get());
  return true;
}

void KScreenGL::ReadRenderer() {
  const std::string vendor = LowerCopy(glGetString(GL_VENDOR));
  const std::string renderer = LowerCopy(glGetString(GL_RENDERER));
  glInitialised_ = true;
  if (vendor.find("microsoft corporation") != std::string::npos || renderer.find("gdi generic") != std::string::npos)
    accelerated_ = false;
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

bool KScreenGL::SetFullScreen(bool full) {
  if (fullScreen_ && full) return true;
  if (!fullScreen_ && !full) return false;
  if (!window_) return false;
  ApplyFullScreen(full);
  fullScreen_ = full;
  return true;
}

// The pointer is read in frame pixels wherever the window puts the frame.
void KScreenGL::FollowWindowSize() {
  if (!window_ || !frame_) return;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  SetPointerArea(frame_->Placement(width, height), width_, height_);
  fitPending_ = true;
}

// Between frames, so that no frame is drawn half at one size and half at another. The layer
// went with the old target, and the frame is shown whole again.
void KScreenGL::FitFrameToDrawable() {
  if (!fitPending_ || !window_ || !frame_) return;
  fitPending_ = false;
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(window_, &width, &height);
  if (!frame_->Fit(width, height)) return;
  frames_->SetLayer(frame_.get());
  const KFrameRect part = frame_->ScreenPart();
  KGraphicGL::SetFramePixels(frame_->Width(), frame_->Height(), part.left, part.top, part.width, part.height);
  presentPending_ = true;
}

void KScreenGL::SetTitle(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void KScreenGL::GrabKeyboard(bool grab) {
  if (window_) SDL_SetWindowKeyboardGrab(window_, grab ? SDL_TRUE : SDL_FALSE);
}

void KScreenGL::ShowNormal() {
  if (window_) SDL_RestoreWindow(window_);
}

void KScreenGL::Minimize() {
  if (window_) SDL_MinimizeWindow(window_);
}

bool KScreenGL::IsAccelerated() {
  // Asking also forgets a quit request: the engine has always done so and callers of this
  // call may count on it (the game itself never asks).
  quitRequested_ = false;
  return accelerated_;
}
