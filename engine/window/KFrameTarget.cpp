#include "KFrameTarget.h"

#include <SDL.h>

#include <iterator>

#include "graphic/KReadBuffer.h"

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
  glTexImage2D(GL_TEXTURE_2D, 0, TextureFormat(GL_RGB8, GL_RGB), width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
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

namespace {

// What presenting the frame changes, put back for the game's next drawing. The desktop GL
// keeps it on its attribute stack; the browser's has none, so there it is read and set back
// by hand (the current colour is left white, as every drawing of the engine leaves it).
class KPresentState {
 public:
#ifdef __EMSCRIPTEN__
  KPresentState() {
    glGetIntegerv(GL_VIEWPORT, viewport_);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode_);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour_);
    for (size_t i = 0; i < std::size(kSwitches); ++i) switchedOn_[i] = glIsEnabled(kSwitches[i]);
  }
  ~KPresentState() {
    glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture_));
    glMatrixMode(static_cast<GLenum>(matrixMode_));
    glClearColor(clearColour_[0], clearColour_[1], clearColour_[2], clearColour_[3]);
    for (size_t i = 0; i < std::size(kSwitches); ++i) switchedOn_[i] ? glEnable(kSwitches[i]) : glDisable(kSwitches[i]);
  }
#else
  KPresentState() {
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT |
                 GL_TRANSFORM_BIT);
  }
  ~KPresentState() { glPopAttrib(); }
#endif
  KPresentState(const KPresentState&) = delete;
  KPresentState& operator=(const KPresentState&) = delete;

#ifdef __EMSCRIPTEN__
 private:
  static constexpr GLenum kSwitches[] = {GL_BLEND, GL_DEPTH_TEST, GL_TEXTURE_2D};
  GLint viewport_[4]{};
  GLint texture_ = 0;
  GLint matrixMode_ = 0;
  GLfloat clearColour_[4]{};
  GLboolean switchedOn_[std::size(kSwitches)]{};
#endif
};

}  // namespace

KFrameRect KFrameTarget::Placement(int32_t drawableWidth, int32_t drawableHeight) const {
  return FitFrame(drawableWidth, drawableHeight, width_, height_);
}

void KFrameTarget::Present(int32_t drawableWidth, int32_t drawableHeight) {
  if (!framebuffer_) return;
  const KFrameRect rect = Placement(drawableWidth, drawableHeight);
  bindFramebuffer_(GL_FRAMEBUFFER, 0);
  const KPresentState kept;
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
}

void KFrameTarget::Select() const {
  if (framebuffer_) bindFramebuffer_(GL_FRAMEBUFFER, framebuffer_);
}
