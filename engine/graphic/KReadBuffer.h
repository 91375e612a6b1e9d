// Which buffer the frame is read back from.
#pragma once

#include <SDL_opengl.h>

// The window's back or front buffer; while the frame is drawn into a target of its own,
// that target, whatever buffer is asked for.
inline void SelectReadBuffer(GLenum buffer) {
  GLint framebuffer = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
  if (framebuffer == 0) glReadBuffer(buffer);
}
