// The desktop: Linux with X11, Wayland or KMS, the compatibility profile of desktop GL.
#include <SDL.h>
#include <SDL_opengl.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iterator>
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

}  // namespace

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

void GameEnded() {}
