// The game's frame, drawn into a texture of its own at the drawable's size: the world's fixed
// size scaled to fit in its middle, with its shape kept, and around it margins that show what
// the game draws past the world's edges. The window shows its pixels one for one. A drawable
// too small for the world at its own size gets a target of the world's size, shown scaled
// down with black bars. A second texture of the same size is the layer that keeps a frame's
// unchanged pixels; it is made when a frame is first drawn over it, so that the first frame
// reaches the window without waiting for it.
#pragma once

#include <SDL_opengl.h>

#include <cstdint>

#include "KFrameFit.h"
#include "graphic/KFrameRecord.h"

class KFrameTarget final : public KFrameLayer {
 public:
  KFrameTarget() = default;
  ~KFrameTarget() override;
  KFrameTarget(const KFrameTarget&) = delete;
  KFrameTarget& operator=(const KFrameTarget&) = delete;

  // Makes the target in the current context for a world of this size, drawn at the world's
  // own size until Fit says otherwise, and draws into it from now on; false when the driver
  // has no framebuffer objects.
  bool Create(int32_t worldWidth, int32_t worldHeight);
  // The target takes the size of a drawable of this size; true when that changed it (the
  // layer is gone then, and what the target held). False with the target as it was when the
  // driver will not make the larger one.
  bool Fit(int32_t drawableWidth, int32_t drawableHeight);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Where the world lies in the target, in its pixels from the top-left corner.
  KFrameRect ScreenPart() const { return screenPart_; }
  // Draws the frame into the window's back buffer, fitted to a drawable of this size.
  void Present(int32_t drawableWidth, int32_t drawableHeight);
  // Draws only the window pixels that show this part of the frame (world pixels from its
  // top-left corner, the margins' included) into the back buffer, which holds the rest
  // already; returns them.
  KFrameRect PresentPart(int32_t drawableWidth, int32_t drawableHeight, const KScreenRect& framePart);
  // Drawing goes to the frame again (after the window's buffers were swapped).
  void Select() const;
  // Where the world lies on a drawable of this size.
  KFrameRect Placement(int32_t drawableWidth, int32_t drawableHeight) const;

  bool SelectLayer() override;
  void SelectFrame() override { Select(); }
  void CopyLayer() override;

 private:
  // A texture of the frame's size and a framebuffer drawing into it, left bound; false,
  // with neither made, when the driver will not draw into it.
  bool MakeTarget(GLuint& texture, GLuint& framebuffer);
  void FreeTarget(GLuint& texture, GLuint& framebuffer);
  GLint Filter(const KFrameRect& rect) const;
  // Draws the source part of a texture of the target's size, unblended, onto a rectangle of
  // the drawable the bound framebuffer draws into, and puts back what that changed; with
  // clearAround, what lies around it is black. When only is not empty, nothing outside it is
  // drawn.
  void DrawTexture(GLuint texture, const KFrameRect& source, const KFrameRect& rect, int32_t drawableWidth,
                   int32_t drawableHeight, GLint filter, bool clearAround, const KFrameRect& only = {}) const;
  bool FillsDrawable(int32_t drawableWidth, int32_t drawableHeight) const;

  int32_t worldWidth_ = 0;
  int32_t worldHeight_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  KFrameRect screenPart_;
  GLuint texture_ = 0;
  GLuint framebuffer_ = 0;
  GLuint layerTexture_ = 0;
  GLuint layerFramebuffer_ = 0;
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers_ = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture_ = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkStatus_ = nullptr;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer_ = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer_ = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers_ = nullptr;
};
