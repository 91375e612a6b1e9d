// A picture's draws: each becomes one command of the window's frame, a textured quad or an
// untextured shape with its corners in GL pixels (y flipped by the screen height), drawn
// when the frame is (KDrawGL).
#include <SDL_opengl.h>

#include "KDrawGL.h"
#include "KFrameRecord.h"
#include "KGraphic.h"

namespace {

float FlipY(float y) { return static_cast<float>(pictureLayer.screenHeight) - y; }

// Truncates to an integer the way every corner of a quad is placed.
float Whole(float value) { return static_cast<float>(static_cast<int32_t>(value)); }

// A rectangle's corners in drawing order, with the texels at its top-left and bottom-right.
std::array<KCorner, 4> Rectangle(float left, float top, float right, float bottom, float u1, float v1, float u2,
                                 float v2) {
  return {KCorner{left, top, u1, v1}, KCorner{left, bottom, u1, v2}, KCorner{right, bottom, u2, v2},
          KCorner{right, top, u2, v1}};
}

void Submit(const void* owner, uint64_t version, const decltype(KDrawCommand::drawing)& drawing) {
  KDrawCommand command{owner, version, drawing};
  if (pictureLayer.frames)
    pictureLayer.frames->Record(std::move(command));
  else
    KDrawGL().Draw(command);
}

KShapeCommand Shape(KShapeKind kind, float r, float g, float b, float a) {
  KShapeCommand shape;
  shape.kind = kind;
  shape.colour = {r, g, b, a};
  return shape;
}

// Lines and points go through pixel centres, so that a whole-pixel position lights exactly
// that pixel.
KCorner PixelCentre(float x, float y) {
  constexpr float kHalf = 0.5f;
  return {x + kHalf, FlipY(y) - kHalf};
}

}  // namespace

KQuadCommand KGraphicGL::SourceQuad(float x1, float y1, float x2, float y2, float left, float top, bool flipX,
                                    bool flipY) const {
  const auto width = static_cast<int16_t>(static_cast<int32_t>(x2 - x1));
  const auto height = static_cast<int16_t>(static_cast<int32_t>(y2 - y1));
  const float u1 = x1 / textureWidth_;
  const float u2 = x2 / textureWidth_;
  const float v1 = y1 / textureHeight_;
  const float v2 = y2 / textureHeight_;
  const float x = Whole(left);
  const float y = Whole(top);
  KQuadCommand quad;
  quad.texture = texture_;
  quad.corners = Rectangle(x, y, x + width, y - height, flipX ? u2 : u1, flipY ? v2 : v1, flipX ? u1 : u2,
                           flipY ? v1 : v2);
  return quad;
}

KColour KGraphicGL::Tinted(float alpha) const {
  if (tintOn_) return {tintR_, tintG_, tintB_, alpha * tintA_};
  return {1, 1, 1, alpha};
}

void KGraphicGL::Submit(const KQuadCommand& quad) const { ::Submit(this, version_, quad); }

// Blending an opaque texel at full opacity gives the texel itself: a picture whose pixels
// are all opaque, drawn sharp at full opacity, is copied without blending, which software
// renderers do much faster, with the same pixels. Only from within the picture: a loaded
// picture's texture is see-through beyond it.
bool KGraphicGL::CopiesUnblended(float x1, float y1, float x2, float y2, float alpha) const {
  const bool insidePicture = x1 >= 0 && y1 >= 0 && x2 <= width_ && y2 <= height_;
  const bool fullOpacity = alpha >= 1.0f && (!tintOn_ || tintA_ >= 1.0f);
  const bool usualFactors = sourceFactor_ == GL_SRC_ALPHA && destinationFactor_ == GL_ONE_MINUS_SRC_ALPHA;
  return pictureLayer.opaqueCopies && allOpaque_ && !smooth_ && insidePicture && fullOpacity && usualFactors;
}

void KGraphicGL::FillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
  KShapeCommand shape = Shape(KShapeKind::Rectangle, r, g, b, a);
  shape.blended = a != 1.0f;
  const float top = Whole(FlipY(y1));
  const float bottom = Whole(FlipY(y2));
  shape.corners = {KCorner{Whole(x1), top}, KCorner{Whole(x2), top}, KCorner{Whole(x2), bottom},
                   KCorner{Whole(x1), bottom}};
  ::Submit(this, version_, shape);
}

void KGraphicGL::DrawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
  KShapeCommand shape = Shape(KShapeKind::Line, r, g, b, a);
  shape.corners[0] = PixelCentre(x1, y1);
  shape.corners[1] = PixelCentre(x2, y2);
  ::Submit(this, version_, shape);
}

void KGraphicGL::DrawPoint(float x, float y, float r, float g, float b, float a) {
  KShapeCommand shape = Shape(KShapeKind::Point, r, g, b, a);
  shape.corners[0] = PixelCentre(x, y);
  ::Submit(this, version_, shape);
}

void KGraphicGL::Blit(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) {
  if (HasTexture()) Submit(SourceQuad(x1, y1, x2, y2, x, FlipY(y), flipX, flipY));
}

// The margins are black first, then each drawing past an edge goes over them where it lies
// on the screen's plane, copied unblended like the picture itself.
void KGraphicGL::BlitBackdrop() {
  const auto width = static_cast<float>(pictureLayer.screenWidth);
  const auto height = static_cast<float>(pictureLayer.screenHeight);
  Blit(0, 0, width, height, 0, 0, kNoFlip, kNoFlip);
  if (surroundings_.empty() || !HasMargins()) return;
  pictureLayer.marginsDrawn = true;
  const KVisibleArea area = VisibleArea();
  for (const KShapeCommand& black : BlackMargins()) ::Submit(this, version_, black);
  for (const Surrounding& surrounding : surroundings_) {
    const KGraphicGL& scene = *surrounding.picture;
    const float left = std::max(surrounding.left, area.left);
    const float top = std::max(surrounding.top, area.top);
    const float right = std::min(surrounding.left + scene.textureWidth_, area.right);
    const float bottom = std::min(surrounding.top + scene.textureHeight_, area.bottom);
    if (right <= left || bottom <= top) continue;
    KQuadCommand quad;
    quad.texture = scene.texture_;
    quad.corners = Rectangle(left, FlipY(top), right, FlipY(bottom), (left - surrounding.left) / scene.textureWidth_,
                             (top - surrounding.top) / scene.textureHeight_,
                             (right - surrounding.left) / scene.textureWidth_,
                             (bottom - surrounding.top) / scene.textureHeight_);
    ::Submit(&scene, scene.version_, quad);
  }
}

// The quad turned and zoomed about the centre of the destination rectangle.
KQuadCommand KGraphicGL::TurnedQuad(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle,
                                    float zoom, bool flipX, bool flipY) const {
  const float halfWidth = (x2 - x1) / 2;
  const float halfHeight = (y2 - y1) / 2;
  KQuadCommand quad = SourceQuad(x1, y1, x2, y2, -halfWidth, halfHeight, flipX, flipY);
  quad.placement = {true, x + halfWidth, FlipY(y) - halfHeight, angle, zoom};
  return quad;
}

void KGraphicGL::BlitRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle, float zoom,
                              bool flipX, bool flipY) {
  if (HasTexture() && zoom != 0.0f) Submit(TurnedQuad(x1, y1, x2, y2, x, y, angle, zoom, flipX, flipY));
}

void KGraphicGL::BlitAlpha(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) {
  BlitAlphaRotoZoom(x1, y1, x2, y2, x, y, 0, 1, 1, flipX, flipY);
}

void KGraphicGL::BlitAlphaRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle,
                                   float zoom, float alpha, bool flipX, bool flipY) {
  if (!HasTexture() || zoom == 0.0f || !(alpha > 0.0f)) return;
  KQuadCommand quad = angle != 0.0f || zoom != 1.0f ? TurnedQuad(x1, y1, x2, y2, x, y, angle, zoom, flipX, flipY)
                                                    : SourceQuad(x1, y1, x2, y2, x, FlipY(y), flipX, flipY);
  quad.colour = Tinted(alpha);
  quad.opaqueCopy = CopiesUnblended(x1, y1, x2, y2, alpha);
  quad.blend = {!quad.opaqueCopy, sourceFactor_, destinationFactor_};
  Submit(quad);
}

void KGraphicGL::DrawTiled(int16_t x, int16_t y, int16_t w, int16_t h, float count, float angle) {
  if (!HasTexture()) return;
  const auto halfWidth = static_cast<float>(w / 2);
  const auto halfHeight = static_cast<float>(h / 2);
  KQuadCommand quad;
  quad.texture = texture_;
  quad.placement = {true, static_cast<float>(x + w / 2), FlipY(y) - halfHeight, angle, 1};
  quad.corners = Rectangle(-halfWidth, halfHeight, halfWidth, -halfHeight, count, count, 0, 0);
  Submit(quad);
}

void KGraphicGL::BlitQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4, float sy4,
                          float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, float dx4, float dy4) {
  if (!HasTexture()) return;
  KQuadCommand quad;
  quad.texture = texture_;
  const auto corner = [this](float sx, float sy, float dx, float dy) {
    return KCorner{dx, FlipY(dy), sx / textureWidth_, sy / textureHeight_};
  };
  quad.corners = {corner(sx1, sy1, dx1, dy1), corner(sx2, sy2, dx2, dy2), corner(sx3, sy3, dx3, dy3),
                  corner(sx4, sy4, dx4, dy4)};
  quad.colour = Tinted(1.0f);
  quad.blend = {true, sourceFactor_, destinationFactor_};
  Submit(quad);
}

void KGraphicGL::DrawStretched(float x1, float y1, float x2, float y2, float destX1, float destY1, float destX2,
                               float destY2, float alpha, float angle) {
  if (!HasTexture()) return;
  const float u1 = x1 / textureWidth_;
  const float u2 = x2 / textureWidth_;
  const float v1 = y1 / textureHeight_;
  const float v2 = y2 / textureHeight_;
  KQuadCommand quad;
  quad.texture = texture_;
  quad.colour = Tinted(alpha < 0.0f ? 1.0f : alpha);
  quad.blend = {true, sourceFactor_, destinationFactor_};
  if (angle != 0.0f) {
    const float halfWidth = (destX2 - destX1) / 2;
    const float halfHeight = (destY2 - destY1) / 2;
    quad.placement = {true, destX1 + halfWidth, FlipY(destY1) - halfHeight, angle, 1};
    quad.corners = Rectangle(Whole(-halfWidth), Whole(halfHeight), Whole(halfWidth), Whole(-halfHeight), u1, v1, u2, v2);
  } else {
    quad.corners =
        Rectangle(Whole(destX1), Whole(FlipY(destY1)), Whole(destX2), Whole(FlipY(destY2)), u1, v1, u2, v2);
  }
  Submit(quad);
}
