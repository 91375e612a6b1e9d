#include "KFrameTarget.h"

#include <SDL.h>

#include <iterator>

#include "graphic/KDrawGL.h"
#include "platform/KPlatform.h"

namespace {

template <typename Function>
Function GlFunction(const char* name) {
  return reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

// The quad that shows the source part of a texture textureWidth x textureHeight, both from
// their top-left corners, in the window's bottom-up pixels.
void DrawFrameQuad(GLuint texture, const KFrameRect& source, int32_t textureWidth, int32_t textureHeight,
                   const KFrameRect& rect, int32_t drawableHeight) {
  const auto left = static_cast<float>(rect.left);
  const auto right = static_cast<float>(rect.left + rect.width);
  const auto top = static_cast<float>(drawableHeight - rect.top);
  const float bottom = top - static_cast<float>(rect.height);
  const float u1 = static_cast<float>(source.left) / static_cast<float>(textureWidth);
  const float u2 = static_cast<float>(source.left + source.width) / static_cast<float>(textureWidth);
  const float v2 = static_cast<float>(textureHeight - source.top) / static_cast<float>(textureHeight);
  const float v1 = v2 - static_cast<float>(source.height) / static_cast<float>(textureHeight);
  KQuadCommand quad;
  quad.texture = texture;
  quad.corners = {KCorner{left, bottom, u1, v1}, KCorner{right, bottom, u2, v1}, KCorner{right, top, u2, v2},
                  KCorner{left, top, u1, v2}};
  KDrawGL().Draw({nullptr, 0, quad});
}

}  // namespace

KFrameTarget::~KFrameTarget() {
  if (framebuffer_ && SDL_GL_GetCurrentContext()) {
    bindFramebuffer_(GL_FRAMEBUFFER, 0);
    FreeTarget(layerTexture_, layerFramebuffer_);
    FreeTarget(texture_, framebuffer_);
  }
}

bool KFrameTarget::Create(int32_t worldWidth, int32_t worldHeight) {
  genFramebuffers_ = GlFunction<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
  framebufferTexture_ = GlFunction<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2D");
  checkStatus_ = GlFunction<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
  bindFramebuffer_ = GlFunction<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
  deleteFramebuffers_ = GlFunction<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
  if (CopiesBetweenFramebuffers()) blitFramebuffer_ = GlFunction<PFNGLBLITFRAMEBUFFERPROC>("glBlitFramebuffer");
  if (!genFramebuffers_ || !framebufferTexture_ || !checkStatus_ || !bindFramebuffer_ || !deleteFramebuffers_)
    return false;

  worldWidth_ = worldWidth;
  worldHeight_ = worldHeight;
  width_ = worldWidth;
  height_ = worldHeight;
  screenPart_ = {0, 0, worldWidth, worldHeight};
  if (!MakeTarget(texture_, framebuffer_)) return false;
  glViewport(0, 0, width_, height_);
  return true;
}

bool KFrameTarget::Fit(int32_t drawableWidth, int32_t drawableHeight) {
  const KFrameRect size = FrameTargetSize(drawableWidth, drawableHeight, worldWidth_, worldHeight_);
  if (size.width == width_ && size.height == height_) return false;
  const int32_t oldWidth = width_;
  const int32_t oldHeight = height_;
  bindFramebuffer_(GL_FRAMEBUFFER, 0);
  FreeTarget(layerTexture_, layerFramebuffer_);
  FreeTarget(texture_, framebuffer_);
  width_ = size.width;
  height_ = size.height;
  if (!MakeTarget(texture_, framebuffer_)) {
    width_ = oldWidth;
    height_ = oldHeight;
    MakeTarget(texture_, framebuffer_);
  }
  const bool whole = width_ == drawableWidth && height_ == drawableHeight;
  screenPart_ = whole ? FitFrame(width_, height_, worldWidth_, worldHeight_) : KFrameRect{0, 0, width_, height_};
  glViewport(0, 0, width_, height_);
  return width_ != oldWidth || height_ != oldHeight;
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

// What presenting the frame changes, put back for the game's next drawing. Read and set
// back by hand, since the browser's GL has no attribute stack; the current colour is left
// white, as every drawing of the engine leaves it. The viewport goes back to the frame's
// own, into which all the game's drawing goes, and the clear colour is not kept: every clear
// sets its own. Neither is read back, since in the browser such a read waits for the GPU to
// finish all it was given.
class KPresentState {
 public:
  KPresentState(int32_t frameWidth, int32_t frameHeight) : frameWidth_(frameWidth), frameHeight_(frameHeight) {
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode_);
    for (size_t i = 0; i < std::size(kSwitches); ++i) switchedOn_[i] = glIsEnabled(kSwitches[i]);
  }
  ~KPresentState() {
    glViewport(0, 0, frameWidth_, frameHeight_);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture_));
    glMatrixMode(static_cast<GLenum>(matrixMode_));
    for (size_t i = 0; i < std::size(kSwitches); ++i) switchedOn_[i] ? glEnable(kSwitches[i]) : glDisable(kSwitches[i]);
  }
  KPresentState(const KPresentState&) = delete;
  KPresentState& operator=(const KPresentState&) = delete;

 private:
  static constexpr GLenum kSwitches[] = {GL_BLEND, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_SCISSOR_TEST};
  int32_t frameWidth_;
  int32_t frameHeight_;
  GLint texture_ = 0;
  GLint matrixMode_ = 0;
  GLboolean switchedOn_[std::size(kSwitches)]{};
};

}  // namespace

void KFrameTarget::DrawTexture(GLuint texture, const KFrameRect& source, const KFrameRect& rect, int32_t drawableWidth,
                               int32_t drawableHeight, GLint filter, bool clearAround, const KFrameRect& only) const {
  const KPresentState kept(width_, height_);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, drawableWidth, 0, drawableHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  glViewport(0, 0, drawableWidth, drawableHeight);
  glDisable(GL_SCISSOR_TEST);
  if (only.width > 0 && only.height > 0) {
    glScissor(only.left, drawableHeight - only.top - only.height, only.width, only.height);
    glEnable(GL_SCISSOR_TEST);
  }
  if (clearAround) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glDisable(GL_DEPTH_TEST);
  BindTexture(texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  // The frame's pixels as they are, not multiplied by the current white: a software renderer
  // then copies or scales them without a multiplication for each. All the engine's other
  // drawing multiplies by its colour, so that is put back.
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  DrawFrameQuad(texture, source, width_, height_, rect, drawableHeight);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  // The binding is put back as it was: the pictures' bind cache no longer knows it.
  ForgetBoundTexture();

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}


KFrameRect KFrameTarget::Placement(int32_t drawableWidth, int32_t drawableHeight) const {
  return FitFrame(drawableWidth, drawableHeight, worldWidth_, worldHeight_);
}

bool KFrameTarget::FillsDrawable(int32_t drawableWidth, int32_t drawableHeight) const {
  return width_ == drawableWidth && height_ == drawableHeight;
}

// A target of the drawable's size is shown pixel for pixel, margins and all. Any other (the
// moment after a resize, a window smaller than the world) shows the world scaled to fit,
// sharp at whole multiples and smoothed otherwise, with black bars.
void KFrameTarget::Present(int32_t drawableWidth, int32_t drawableHeight) {
  bindFramebuffer_(GL_FRAMEBUFFER, 0);
  if (FillsDrawable(drawableWidth, drawableHeight)) {
    const KFrameRect whole{0, 0, width_, height_};
    DrawTexture(texture_, whole, whole, drawableWidth, drawableHeight, GL_NEAREST, false);
    return;
  }
  const KFrameRect rect = Placement(drawableWidth, drawableHeight);
  const GLint filter = IsWholeMultiple(rect, screenPart_.width, screenPart_.height) ? GL_NEAREST : GL_LINEAR;
  DrawTexture(texture_, screenPart_, rect, drawableWidth, drawableHeight, filter, true);
}

KFrameRect KFrameTarget::PresentPart(int32_t drawableWidth, int32_t drawableHeight, const KScreenRect& framePart) {
  if (!FillsDrawable(drawableWidth, drawableHeight)) {
    Present(drawableWidth, drawableHeight);
    return {0, 0, drawableWidth, drawableHeight};
  }
  const KFrameRect area = WindowAreaOf(framePart, screenPart_, {0, 0, width_, height_}, worldWidth_, worldHeight_);
  if (area.width <= 0 || area.height <= 0) return area;
  bindFramebuffer_(GL_FRAMEBUFFER, 0);
  const KFrameRect whole{0, 0, width_, height_};
  DrawTexture(texture_, whole, whole, drawableWidth, drawableHeight, GL_NEAREST, false, area);
  return area;
}

void KFrameTarget::Select() const { bindFramebuffer_(GL_FRAMEBUFFER, framebuffer_); }

bool KFrameTarget::SelectLayer() {
  if (!layerFramebuffer_ && !MakeTarget(layerTexture_, layerFramebuffer_)) {
    Select();
    return false;
  }
  bindFramebuffer_(GL_FRAMEBUFFER, layerFramebuffer_);
  return true;
}

// Two targets of one size and format: the desktop GL copies between them as memory, which
// software renderers do far faster than drawing a quad. The browser's GL draws the quad.
void KFrameTarget::CopyLayer() {
  if (blitFramebuffer_) {
    bindFramebuffer_(GL_READ_FRAMEBUFFER, layerFramebuffer_);
    blitFramebuffer_(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    bindFramebuffer_(GL_READ_FRAMEBUFFER, framebuffer_);
    return;
  }
  const KFrameRect whole{0, 0, width_, height_};
  DrawTexture(layerTexture_, whole, whole, width_, height_, GL_NEAREST, false);
}
