// The desktop: Linux with X11, Wayland or KMS, the compatibility profile of desktop GL.
#include <SDL.h>
#include <SDL_opengl.h>
#include <GL/glx.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>

#include "KPlatform.h"
#include "services/KPaths.h"

namespace {

// Wayland's library complains on standard error when it finds nothing to connect to, so a
// driver whose display is not named is not tried.
constexpr KVideoDriver kDrivers[] = {{"x11", "DISPLAY"}, {"wayland", "WAYLAND_DISPLAY"}, {"kmsdrm", nullptr}};

// The sleep ends this long before the target; only this last stretch is spun, so an idle
// screen costs little more than drawing its frames.
constexpr std::chrono::microseconds kSpin{250};

// Mesa's renderers that draw on the processor.
constexpr const char* kSoftwareRenderers[] = {"llvmpipe", "softpipe", "swrast"};

bool IsSoftwareRenderer() {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (!renderer) return false;
  return std::any_of(std::begin(kSoftwareRenderers), std::end(kSoftwareRenderers),
                     [renderer](const char* name) { return std::strstr(renderer, name) != nullptr; });
}

bool HasWord(const char* words, const std::string& word) {
  const std::string padded = std::string(" ") + (words ? words : "") + " ";
  return padded.find(" " + word + " ") != std::string::npos;
}

using CopySubBuffer = void (*)(Display*, GLXDrawable, int, int, int, int);

// GLX's functions are looked up through SDL, which has loaded the GL library already.
template <typename Function>
Function GlxFunction(const char* name) {
  return reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

}  // namespace

KPartPresenter KPartPresenter::Find() {
  KPartPresenter presenter;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0 || !IsSoftwareRenderer()) return presenter;
  const auto currentDisplay = GlxFunction<Display* (*)()>("glXGetCurrentDisplay");
  const auto currentDrawable = GlxFunction<GLXDrawable (*)()>("glXGetCurrentDrawable");
  const auto extensions = GlxFunction<const char* (*)(Display*, int)>("glXQueryExtensionsString");
  if (!currentDisplay || !currentDrawable || !extensions) return presenter;
  Display* display = currentDisplay();
  const GLXDrawable drawable = currentDrawable();
  if (!display || !drawable || !HasWord(extensions(display, DefaultScreen(display)), "GLX_MESA_copy_sub_buffer"))
    return presenter;
  presenter.copy_ = GlxFunction<Copy>("glXCopySubBufferMESA");
  presenter.display_ = display;
  presenter.drawable_ = drawable;
  return presenter;
}

void KPartPresenter::Show(int32_t x, int32_t y, int32_t width, int32_t height) const {
  if (copy_) reinterpret_cast<CopySubBuffer>(copy_)(static_cast<Display*>(display_), drawable_, x, y, width, height);
}

const KVideoDriver* VisibleVideoDrivers(size_t& count) {
  count = std::size(kDrivers);
  return kDrivers;
}

void ChooseGLProfile() { SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY); }

int32_t TextureFormat(int32_t internalFormat, uint32_t) { return internalFormat; }

int32_t EdgeWrap() { return GL_CLAMP; }

bool CopiesBetweenFramebuffers() { return true; }

void WaitForRealClock(uint64_t target, uint64_t) {
  using namespace std::chrono;
  const steady_clock::time_point deadline{milliseconds(target)};
  if (steady_clock::now() < deadline - kSpin) std::this_thread::sleep_until(deadline - kSpin);
  while (steady_clock::now() < deadline) {
  }
}

bool WaitForEvent(uint32_t ms) { return SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)) != 0; }

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error).string();
  return exe.parent_path().string();
}

void PrepareFiles() {}

bool MakeFolderLasting(const std::string& folder) {
  const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return false;
  const bool synced = fsync(descriptor) == 0;
  close(descriptor);
  return synced;
}

bool HasThreads() { return true; }

bool SoundWaitsForGesture() { return false; }

void PrepareSoundOutput(int32_t, int32_t) {}

void GameEnded() {}
