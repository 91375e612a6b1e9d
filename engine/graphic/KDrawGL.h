// Draw commands carried out on OpenGL: views, untextured shapes and the one textured-quad
// drawer every picture draw ends in. Also the picture layer's process-wide state.
#pragma once

#include <cstdint>
#include <vector>

#include "KFrameRecord.h"

struct KPictureLayer {
  int16_t screenWidth = 0, screenHeight = 0;
  bool screenSizeKnown = false;
  // The frame target's pixels, and where the screen lies in them: (frameLeft, frameTop) and
  // frameWidth x frameHeight, the screen's own size or larger on a larger output. The rest of
  // the target is the margins a screen of another shape shows around it.
  int32_t targetWidth = 0, targetHeight = 0;
  int32_t frameLeft = 0, frameTop = 0, frameWidth = 0, frameHeight = 0;
  // Something drew over the margins this frame (a backdrop): they are not blacked out.
  bool marginsDrawn = false;
  // The texture last bound by a picture; -1 when unknown.
  int32_t boundTexture = -1;
  // Opaque pictures are copied without blending.
  bool opaqueCopies = true;
  // The last picture version handed out: a picture whose contents change takes a new one.
  uint64_t lastVersion = 0;
  // The frame that pictures draw into; null: they draw at once.
  KFrameRecord* frames = nullptr;
};
inline KPictureLayer pictureLayer;

// Frame pixels to a screen pixel, along each side.
float FrameScaleX();
float FrameScaleY();

// The part of the screen's plane the frame target shows, in screen pixels: the screen
// itself, and the margins around it.
struct KVisibleArea {
  float left = 0, top = 0, right = 0, bottom = 0;
};
KVisibleArea VisibleArea();
bool HasMargins();
// The margins around the screen filled black: an unblended rectangle for each band (left,
// right, above, below) the frame target has.
std::vector<KShapeCommand> BlackMargins();

class KDrawGL final : public KCommandDrawer {
 public:
  void Draw(const KDrawCommand& command) override;
};

// Binds a texture for drawing or setting up, unless it is bound already.
void BindTexture(uint32_t texture);
// Nothing is known to be bound (a new context; a texture deleted; texturing switched off).
void ForgetBoundTexture();
// How many textured quads were copied without blending where they would otherwise blend.
uint64_t OpaqueCopiesDrawn();
