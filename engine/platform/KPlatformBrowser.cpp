// The browser: WebAssembly built with emscripten, WebGL through its emulation of the
// fixed-function GL, the page's storage in IndexedDB.
#include <SDL.h>
#include <SDL_opengl.h>
#include <emscripten.h>
#include <sys/stat.h>

#include "KPlatform.h"
#include "services/KPaths.h"

namespace {

// In the browser the page is the display.
constexpr KVideoDriver kDrivers[] = {{"emscripten", nullptr}};

// The page unpacks the game's files into one folder of the browser's file system.
constexpr const char* kProgramFolder = "/game";
// The usual mask for new files: the browser's C library starts with every permission bit
// masked, which would leave the options and paintings the game writes unreadable to it.
constexpr mode_t kFileMask = 022;

}  // namespace

const KVideoDriver* VisibleVideoDrivers(size_t& count) {
  count = 1;
  return kDrivers;
}

void ChooseGLProfile() {}

int32_t TextureFormat(int32_t, uint32_t pixelFormat) { return static_cast<int32_t>(pixelFormat); }

int32_t EdgeWrap() { return GL_CLAMP_TO_EDGE; }

bool CopiesBetweenFramebuffers() { return false; }

// The page shows whatever the canvas holds once a frame ends: there is no part to choose.
KPartPresenter KPartPresenter::Find() { return {}; }

void KPartPresenter::Show(int32_t, int32_t, int32_t, int32_t) const {}

// The page lives on only while the game waits: the wait hands the browser its turn, even when
// it is over already.
void WaitForRealClock(uint64_t target, uint64_t now) {
  emscripten_sleep(static_cast<unsigned int>(target > now ? target - now : 0));
}

// SDL's own wait would look for events every millisecond; the page instead sleeps until SDL
// is handed an event from the page or the time is up. A game pad's buttons reach SDL only
// when it polls the pads, as it does once a frame: with a pad open the window does not rest.
EM_JS(void, WakeFromRest, (), {
  if (Module.tafuWakeFromRest) Module.tafuWakeFromRest();
});

EM_ASYNC_JS(void, RestInPage, (unsigned int ms), {
  await new Promise(resolve => {
    const wake = () => {
      clearTimeout(timer);
      Module.tafuWakeFromRest = null;
      resolve();
    };
    const timer = setTimeout(wake, ms);
    Module.tafuWakeFromRest = wake;
  });
});

namespace {

int WakeOnEvent(void*, SDL_Event*) {
  WakeFromRest();
  return 1;
}

}  // namespace

bool WaitForEvent(uint32_t ms) {
  const bool waiting = SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  if (waiting || SDL_NumJoysticks() > 0) return waiting;
  SDL_AddEventWatch(WakeOnEvent, nullptr);
  RestInPage(ms);
  SDL_DelEventWatch(WakeOnEvent, nullptr);
  return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

std::string ProgramFolder() { return kProgramFolder; }

void PrepareFiles() { umask(kFileMask); }

// Every folder the game writes in the browser is in the storage the page set up; one sync
// stores them all.
EM_ASYNC_JS(int, StoreBrowserFiles, (), {
  return await new Promise(resolve => FS.syncfs(false, error => resolve(error ? 0 : 1)));
});

bool MakeFolderLasting(const std::string&) { return StoreBrowserFiles() != 0; }

// The browser has no threads of ours.
bool HasThreads() { return false; }

bool SoundWaitsForGesture() { return true; }

// SDL makes the page's sound context unless one is there already; the page's own listeners
// resume it at the child's gestures (sound.js). A browser that knows no wanted latency takes
// its default.
EM_JS(void, MakeSoundContext, (int32_t frames, int32_t rate), {
  const SDL2 = Module['SDL2'] = Module['SDL2'] || {};
  if (!SDL2.audioContext && typeof AudioContext !== 'undefined') {
    SDL2.audioContext = new AudioContext({ latencyHint: frames / rate });
  }
});

void PrepareSoundOutput(int32_t frames, int32_t rate) { MakeSoundContext(frames, rate); }

// Once a window that played is gone, the page starts again at its menu.
void GameEnded() { emscripten_run_script("location.reload()"); }
