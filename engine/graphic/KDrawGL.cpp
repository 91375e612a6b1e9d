#include "KDrawGL.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>

namespace {

uint64_t opaqueCopies = 0;

void ResetColour() { glColor4f(1, 1, 1, 1); }

void StopTexturing() {
  glDisable(GL_TEXTURE_2D);
  pictureLayer.boundTexture = -1;
}

void Blend(const KBlend& blend) {
  if (!blend.on) {
    glDisable(GL_BLEND);
    return;
  }
  glEnable(GL_BLEND);
  glBlendFunc(blend.source, blend.destination);
}

void Place(const KPlacement& placement) {
  glTranslatef(placement.x, placement.y, 0);
  if (placement.angle != 0.0f) glRotatef(placement.angle, 0, 0, 1);
  if (placement.zoom != 1.0f) glScalef(placement.zoom, placement.zoom, 0);
}

// The projection shows the screen where the frame target has it, and the margins around it
// as the screen's plane goes on.
void DrawView(const KViewCommand& view) {
  const KVisibleArea area = VisibleArea();
  const auto screenHeight = static_cast<float>(pictureLayer.screenHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (HasMargins())
    glOrtho(area.left, area.right, screenHeight - area.bottom, screenHeight - area.top, -100, 100);
  else
    glOrtho(0, view.width, 0, view.height, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  if (view.clear) {
    glClearColor(view.clearColour.r, view.clearColour.g, view.clearColour.b, view.clearColour.a);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glLoadIdentity();
  const auto halfWidth = static_cast<float>(view.width / 2);
  const auto halfHeight = static_cast<float>(view.height / 2);
  glTranslatef(halfWidth, halfHeight, 0);
  glRotatef(view.angle, 0, 0, 1);
  glScalef(view.zoom, view.zoom, 0);
  glTranslatef(-halfWidth, -halfHeight, 0);
  glTranslatef(view.x, view.y, 0);
  glDisable(GL_DEPTH_TEST);
}

// A line or point one screen pixel wide, whatever the frame's pixels: as wide as the
// nearest whole number of them.
float ShapeWidth() {
  return std::max(1.0f, std::round(std::min(FrameScaleX(), FrameScaleY())));
}

// Lines and points go through pixel centres (their corners say so), so that a whole-pixel
// position lights exactly that pixel.
void DrawShape(const KShapeCommand& shape) {
  StopTexturing();
  if (shape.kind == KShapeKind::Line) glLineWidth(ShapeWidth());
  if (shape.kind == KShapeKind::Point) glPointSize(ShapeWidth());
  Blend({shape.blended, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA});
  glColor4f(shape.colour.r, shape.colour.g, shape.colour.b, shape.colour.a);
  const GLenum mode = shape.kind == KShapeKind::Line ? GL_LINES : shape.kind == KShapeKind::Point ? GL_POINTS : GL_QUADS;
  glBegin(mode);
  for (size_t i = 0; i < CornerCount(shape.kind); ++i) glVertex2f(shape.corners[i].x, shape.corners[i].y);
  glEnd();
  glDisable(GL_BLEND);
  ResetColour();
}

// The one textured-quad drawer.
void DrawQuad(const KQuadCommand& quad) {
  BindTexture(quad.texture);
  Blend(quad.blend);
  if (quad.opaqueCopy) ++opaqueCopies;
  glColor4f(quad.colour.r, quad.colour.g, quad.colour.b, quad.colour.a);
  glPushMatrix();
  if (quad.placement.moved) Place(quad.placement);
  glBegin(GL_QUADS);
  for (const KCorner& corner : quad.corners) {
    glTexCoord2f(corner.u, corner.v);
    glVertex2f(corner.x, corner.y);
  }
  glEnd();
  glPopMatrix();
  ResetColour();
}

}  // namespace

void KDrawGL::Draw(const KDrawCommand& command) {
  if (const auto* quad = std::get_if<KQuadCommand>(&command.drawing))
    DrawQuad(*quad);
  else if (const auto* shape = std::get_if<KShapeCommand>(&command.drawing))
    DrawShape(*shape);
  else
    DrawView(std::get<KViewCommand>(command.drawing));
}

float FrameScaleX() {
  if (pictureLayer.screenWidth <= 0 || pictureLayer.frameWidth <= 0) return 1.0f;
  return static_cast<float>(pictureLayer.frameWidth) / static_cast<float>(pictureLayer.screenWidth);
}

float FrameScaleY() {
  if (pictureLayer.screenHeight <= 0 || pictureLayer.frameHeight <= 0) return 1.0f;
  return static_cast<float>(pictureLayer.frameHeight) / static_cast<float>(pictureLayer.screenHeight);
}

KVisibleArea VisibleArea() {
  const auto width = static_cast<float>(pictureLayer.screenWidth);
  const auto height = static_cast<float>(pictureLayer.screenHeight);
  if (!HasMargins()) return {0, 0, width, height};
  const float scaleX = FrameScaleX();
  const float scaleY = FrameScaleY();
  const int32_t right = pictureLayer.targetWidth - pictureLayer.frameLeft - pictureLayer.frameWidth;
  const int32_t bottom = pictureLayer.targetHeight - pictureLayer.frameTop - pictureLayer.frameHeight;
  return {-static_cast<float>(pictureLayer.frameLeft) / scaleX, -static_cast<float>(pictureLayer.frameTop) / scaleY,
          width + static_cast<float>(right) / scaleX, height + static_cast<float>(bottom) / scaleY};
}

std::vector<KShapeCommand> BlackMargins() {
  const KVisibleArea area = VisibleArea();
  const auto width = static_cast<float>(pictureLayer.screenWidth);
  const auto height = static_cast<float>(pictureLayer.screenHeight);
  const KVisibleArea bands[] = {{area.left, area.top, 0, area.bottom},
                                {width, area.top, area.right, area.bottom},
                                {0, area.top, width, 0},
                                {0, height, width, area.bottom}};
  std::vector<KShapeCommand> shapes;
  for (const KVisibleArea& band : bands) {
    if (band.right <= band.left || band.bottom <= band.top) continue;
    KShapeCommand black;
    black.colour = {0, 0, 0, 1};
    black.blended = false;
    black.corners = {KCorner{band.left, height - band.top}, KCorner{band.right, height - band.top},
                     KCorner{band.right, height - band.bottom}, KCorner{band.left, height - band.bottom}};
    shapes.push_back(black);
  }
  return shapes;
}

bool HasMargins() {
  return pictureLayer.frameWidth > 0 && (pictureLayer.targetWidth > pictureLayer.frameWidth ||
                                         pictureLayer.targetHeight > pictureLayer.frameHeight);
}

void BindTexture(uint32_t texture) {
  // Texturing is switched on every time: shapes switch it off.
  glEnable(GL_TEXTURE_2D);
  if (pictureLayer.boundTexture == static_cast<GLint>(texture)) return;
  glBindTexture(GL_TEXTURE_2D, texture);
  pictureLayer.boundTexture = static_cast<GLint>(texture);
}

void ForgetBoundTexture() { pictureLayer.boundTexture = -1; }

uint64_t OpaqueCopiesDrawn() { return opaqueCopies; }
