// What differs between the desktop and the browser, behind one header. KPlatformDesktop.cpp
// and KPlatformBrowser.cpp each implement all of it, and the build takes one of them; no
// other file of the game asks which it is built for.
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

// Waits until the real clock, in milliseconds, reads target. The browser's page lives on
// only while the game waits: there the wait always hands it its turn.
void WaitForRealClock(uint64_t target, uint64_t now);

// The folder the game's own files are in; readies the file system for the files it writes.
std::string ProgramFolder();
void PrepareFiles();

// Music is fed by a thread of its own (else once a frame, by a frame hook).
bool HasThreads();

// The game is over and its window gone: a web page starts again at its menu, since it has no
// desktop to go back to; a desktop program just ends.
void GameEnded();
