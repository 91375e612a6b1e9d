// The game's frame, drawn at its own fixed size into a texture of its own and shown on the
// window scaled to fit, with its shape kept and black bars around it.
#pragma once

#include <SDL_opengl.h>

#include <cstdint>

#include "KFrameFit.h"

class KFrameTarget {
 public:
  KFrameTarget() = default;
  ~KFrameTarget();
  KFrameTarget(const KFrameTarget&) = delete;
  KFrameTarget& operator=(const KFrameTarget&) = delete;

  // Makes the target in the current context and draws into it from now on; false when the
  // driver has no framebuffer objects (drawing then goes straight to the window).
  bool Create(int32_t width, int32_t height);
  bool IsReady() const { return framebuffer_ != 0; }
  // Draws the frame into the window's back buffer, fitted to a drawable of this size.
  void Present(int32_t drawableWidth, int32_t drawableHeight);
  // Drawing goes to the frame again (after the window's buffers were swapped).
  void Select() const;
  // Where the frame lies on a drawable of this size.
  KFrameRect Placement(int32_t drawableWidth, int32_t drawableHeight) const;

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  GLuint texture_ = 0;
  GLuint framebuffer_ = 0;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer_ = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers_ = nullptr;
};
