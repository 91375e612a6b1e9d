// What differs between the desktop and the browser, behind one header. KPlatformDesktop.cpp
// and KPlatformBrowser.cpp each implement all of it, and the build takes one of them; no
// other file asks which it is built for. One file tells the running video driver by its name:
// KScreenGL.cpp's HasDesktop, for which the browser's driver is one without a desktop, as the
// offscreen and dummy drivers of a server are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A video driver that shows a window to someone at a screen, and the variable that names its
// display (null: none needed).
struct KVideoDriver {
  const char* name;
  const char* displayVariable;
};
// The drivers tried, in order, when none is named; count is set to how many.
const KVideoDriver* VisibleVideoDrivers(size_t& count);

// Asks SDL for the GL the engine draws with (the desktop's compatibility profile; the
// browser's WebGL has no profiles to choose from).
void ChooseGLProfile();
// The internal format a texture is made with, and the wrap mode at its edges: the browser's
// WebGL wants the pixels' own format and has no GL_CLAMP. The pixels shown are the same.
int32_t TextureFormat(int32_t internalFormat, uint32_t pixelFormat);
int32_t EdgeWrap();
// The GL copies between two framebuffers as memory (glBlitFramebuffer).
bool CopiesBetweenFramebuffers();

// Shows a part of the window's back buffer without swapping the buffers, so that the back
// buffer keeps the whole frame for the next part. Found only where it pays: a software
// renderer on X, which draws every window pixel on the processor and copies all of them to
// the X server at a swap (a GPU draws the whole frame for nothing and keeps its swap in time
// with the display). Empty elsewhere.
class KPartPresenter {
 public:
  // With the window's GL context current.
  static KPartPresenter Find();
  explicit operator bool() const { return copy_ != nullptr; }
  // x and y from the drawable's bottom-left corner, in its pixels.
  void Show(int32_t x, int32_t y, int32_t width, int32_t height) const;

 private:
  // The copying function, of the platform's own type.
  using Copy = void (*)();
  Copy copy_ = nullptr;
  // The X display and window it copies to: the browser's build has neither.
  [[maybe_unused]] void* display_ = nullptr;
  [[maybe_unused]] unsigned long drawable_ = 0;
};

// Waits until the real clock, in milliseconds, reads target. The browser's page lives on
// only while the game waits: there the wait always hands it its turn.
void WaitForRealClock(uint64_t target, uint64_t now);

// Sleeps until an input or window event is waiting or ms have passed; true when one is. The
// event stays in SDL's queue for the window to take. Returns at once where events cannot be
// waited for (the browser with a game pad open).
bool WaitForEvent(uint32_t ms);

// The folder the game's own files are in; readies the file system for the files it writes.
std::string ProgramFolder();
void PrepareFiles();

// Music is fed by a thread of its own (else once a frame, by a frame hook).
bool HasThreads();

// The sound output opens when a person first moves the pointer, presses, taps or types rather
// than at start: the browser plays a page's sound only from the first press, tap or key, and
// making its output is one of the longest steps before the page's menu.
bool SoundWaitsForGesture();
// Readies the output the sound device opens on to take the mix in periods of frames at rate,
// as often as the device asks for them: the browser's output otherwise wakes every 10 ms, more
// than twice as often, which is a page's largest cost at rest. Nothing on the desktop, whose
// device is asked for its period itself.
void PrepareSoundOutput(int32_t frames, int32_t rate);

// The game is over and its window gone: a web page starts again at its menu, since it has no
// desktop to go back to; a desktop program just ends.
void GameEnded();
