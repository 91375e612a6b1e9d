#include "KFrameTarget.h"

#include <SDL.h>

namespace {

template <typename Function>
Function GlFunction(const char* name) {
  return reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

// The quad that shows the frame, in the window's bottom-up pixels.
void DrawFrameQuad(const KFrameRect& rect, int32_t drawableHeight) {
  const GLint left = rect.left;
  const GLint right = rect.left + rect.width;
  const GLint top = drawableHeight - rect.top;
  const GLint bottom = top - rect.height;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(left, bottom);
  glTexCoord2f(1, 0);
  glVertex2i(right, bottom);
  glTexCoord2f(1, 1);
  glVertex2i(right, top);
  glTexCoord2f(0, 1);
  glVertex2i(left, top);
  glEnd();
}

}  // namespace

KFrameTarget::~KFrameTarget() {
  if (framebuffer_ && SDL_GL_GetCurrentContext()) {
    bindFramebuffer_(GL_FRAMEBUFFER, 0);
    deleteFramebuffers_(1, &framebuffer_);
    glDeleteTextures(1, &texture_);
  }
}

bool KFrameTarget::Create(int32_t width, int32_t height) {
  const auto genFramebuffers = GlFunction<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
  const auto framebufferTexture = GlFunction<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2D");
  const auto checkStatus = GlFunction<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
  bindFramebuffer_ = GlFunction<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
  deleteFramebuffers_ = GlFunction<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
  if (!genFramebuffers || !framebufferTexture || !checkStatus || !bindFramebuffer_ || !deleteFramebuffers_)
    return false;

  width_ = width;
  height_ = height;
  GLint previousTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
  glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  // Like the window's own buffer, the frame has no alpha of its own: it reads as opaque.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));

  genFramebuffers(1, &framebuffer_);
  bindFramebuffer_(GL_FRAMEBUFFER, framebuffer_);
  framebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
  if (checkStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    bindFramebuffer_(GL_FRAMEBUFFER, 0);
    deleteFramebuffers_(1, &framebuffer_);
    glDeleteTextures(1, &texture_);
    framebuffer_ = 0;
    texture_ = 0;
    return false;
  }
  glViewport(0, 0, width, height);
  return true;
}

KFrameRect KFrameTarget::Placement(int32_t drawableWidth, int32_t drawableHeight) const {
  return FitFrame(drawableWidth, drawableHeight, width_, height_);
}

void KFrameTarget::Present(int32_t drawableWidth, int32_t drawableHeight) {
  if (!framebuffer_) return;
  const KFrameRect rect = Placement(drawableWidth, drawableHeight);
  bindFramebuffer_(GL_FRAMEBUFFER, 0);
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT |
               GL_TRANSFORM_BIT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, drawableWidth, 0, drawableHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  glViewport(0, 0, drawableWidth, drawableHeight);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture_);
  // Whole multiples repeat every pixel as a sharp block; other sizes are smoothed.
  const GLint filter = IsWholeMultiple(rect, width_, height_) ? GL_NEAREST : GL_LINEAR;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glColor4f(1, 1, 1, 1);
  DrawFrameQuad(rect, drawableHeight);

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}

void KFrameTarget::Select() const {
  if (framebuffer_) bindFramebuffer_(GL_FRAMEBUFFER, framebuffer_);
}
