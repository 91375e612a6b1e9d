// Which buffer the frame is read back from, and the texture formats the GL in use takes.
#pragma once

#include <SDL_opengl.h>

// The window's back or front buffer; while the frame is drawn into a target of its own,
// that target, whatever buffer is asked for. The browser's WebGL reads the one buffer it
// draws into and has no choice to make.
inline void SelectReadBuffer([[maybe_unused]] GLenum buffer) {
#ifndef __EMSCRIPTEN__
  GLint framebuffer = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
  if (framebuffer == 0) glReadBuffer(buffer);
#endif
}

// Internal texture formats and the wrap mode at the edges as the GL in use takes them: the
// browser's WebGL wants the internal format to be the pixels' own format and has no
// GL_CLAMP. The pixels shown are the same.
#ifdef __EMSCRIPTEN__
constexpr GLint kEdgeWrap = GL_CLAMP_TO_EDGE;
constexpr GLint TextureFormat(GLint, GLenum pixels) { return static_cast<GLint>(pixels); }
#else
constexpr GLint kEdgeWrap = GL_CLAMP;
constexpr GLint TextureFormat(GLint internalFormat, GLenum) { return internalFormat; }
#endif
