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
    FreeTarget(layerTexture_, layerFramebuffer_);
    FreeTarget(texture_, framebuffer_);
  }
}

bool KFrameTarget::Create(int32_t width, int32_t height) {
  genFramebuffers_ = GlFunction<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
  framebufferTexture_ = GlFunction<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2D");
  checkStatus_ = GlFunction<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
  bindFramebuffer_ = GlFunction<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
  deleteFramebuffers_ = GlFunction<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
#ifndef __EMSCRIPTEN__
  blitFramebuffer_ = GlFunction<PFNGLBLITFRAMEBUFFERPROC>("glBlitFramebuffer");
#endif
  if (!genFramebuffers_ || !framebufferTexture_ || !checkStatus_ || !bindFramebuffer_ || !deleteFramebuffers_)
    return false;

  width_ = width;
  height_ = height;
  // Without a layer every frame that changes is drawn whole.
  MakeTarget(layerTexture_, layerFramebuffer_);
  if (!MakeTarget(texture_, framebuffer_)) {
    FreeTarget(layerTexture_, layerFramebuffer_);
    return false;
  }
  glViewport(0, 0, width, height);
  return true;
}

bool KFrameTarget::MakeTarget(GLuint& texture, GLuint& framebuffer) {
  GLint previousTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  // Like the window's own buffer, the frame has no alpha of its own: it reads as opaque.
  glTexImage2D(GL_TEXTURE_2D, 0, TextureFormat(GL_RGB8, GL_RGB), width_, height_, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));

  genFramebuffers_(1, &framebuffer);
  bindFramebuffer_(GL_FRAMEBUFFER, framebuffer);
  framebufferTexture_(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  if (checkStatus_(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return true;
  bindFramebuffer_(GL_FRAMEBUFFER, 0);
  FreeTarget(texture, framebuffer);
  return false;
}

void KFrameTarget::FreeTarget(GLuint& texture, GLuint& framebuffer) {
  if (framebuffer) deleteFramebuffers_(1, &framebuffer);
  if (texture) glDeleteTextures(1, &texture);
  framebuffer = 0;
  texture = 0;
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

// Draws a texture of the frame's size, unblended, onto a rectangle of the drawable the
// bound framebuffer draws into; with clearAround, what lies around it is black.
void DrawFrameTexture(GLuint texture, const KFrameRect& rect, int32_t drawableWidth, int32_t drawableHeight,
                      GLint filter, bool clearAround) {
  const KPresentState kept;
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, drawableWidth, 0, drawableHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  glViewport(0, 0, drawableWidth, drawableHeight);
  if (clearAround) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glColor4f(1, 1, 1, 1);
  DrawFrameQuad(rect, drawableHeight);

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

}  // namespace

KFrameRect KFrameTarget::Placement(int32_t drawableWidth, int32_t drawableHeight) const {
  return FitFrame(drawableWidth, drawableHeight, width_, height_);
}

void KFrameTarget::Present(int32_t drawableWidth, int32_t drawableHeight) {
  if (!framebuffer_) return;
  const KFrameRect rect = Placement(drawableWidth, drawableHeight);
  bindFramebuffer_(GL_FRAMEBUFFER, 0);
  // Whole multiples repeat every pixel as a sharp block; other sizes are smoothed.
  const GLint filter = IsWholeMultiple(rect, width_, height_) ? GL_NEAREST : GL_LINEAR;
  DrawFrameTexture(texture_, rect, drawableWidth, drawableHeight, filter, true);
}

void KFrameTarget::Select() const {
  if (framebuffer_) bindFramebuffer_(GL_FRAMEBUFFER, framebuffer_);
}

bool KFrameTarget::SelectLayer() {
  if (!layerFramebuffer_) return false;
  bindFramebuffer_(GL_FRAMEBUFFER, layerFramebuffer_);
  return true;
}

// Two targets of one size and format: the desktop GL copies between them as memory, which
// software renderers do far faster than drawing a quad. The browser's GL draws the quad.
void KFrameTarget::CopyLayer() {
#ifndef __EMSCRIPTEN__
  if (blitFramebuffer_) {
    bindFramebuffer_(GL_READ_FRAMEBUFFER, layerFramebuffer_);
    blitFramebuffer_(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    bindFramebuffer_(GL_READ_FRAMEBUFFER, framebuffer_);
    return;
  }
#endif
  DrawFrameTexture(layerTexture_, {0, 0, width_, height_}, width_, height_, GL_NEAREST, false);
}
