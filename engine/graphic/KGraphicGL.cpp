#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>

#include "KFrameRecord.h"
#include "KGraphic.h"
#include "KPictureDecode.h"
#include "KReadBuffer.h"
#include "services/KFile.h"
#include "services/KMessage.h"

namespace {

// The picture layer's process-wide state.
int16_t screenWidth = 0;
int16_t screenHeight = 0;
bool screenSizeKnown = false;
// The texture last bound by a picture; -1 when unknown.
GLint boundTexture = -1;
// Filtering given to every new texture; the game sets it per picture afterwards.
constexpr bool kSmoothingDefault = false;
// Opaque pictures are copied without blending, and how many such copies were drawn.
bool opaqueCopies = true;
uint64_t opaqueCopyCount = 0;

constexpr int32_t kSmallestTextureSide = 4;
constexpr int32_t kLargestTextureSide = 1 << 30;
// Beyond this a picture file is taken as damaged, whatever the driver allows:
// the game's pictures are at most the size of the screen.
constexpr int32_t kLargestPictureSide = 8192;
constexpr size_t kBytesPerPixel = 4;
constexpr uint8_t kOpaque = 255;

float FlipY(float y) { return static_cast<float>(screenHeight) - y; }

// Zeroed, or null when there is no memory for it.
std::unique_ptr<uint8_t[]> AllocatePixels(size_t width, size_t height) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[width * height * kBytesPerPixel]());
}

int32_t MaxTextureSize() {
  GLint size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  return size;
}

// Truncates to an integer the way every corner of a quad is placed.
GLint Whole(float value) { return static_cast<GLint>(value); }

void DrawTexturedCorners(GLint left, GLint top, GLint right, GLint bottom, float u1, float v1, float u2, float v2) {
  glBegin(GL_QUADS);
  glTexCoord2f(u1, v1);
  glVertex2i(left, top);
  glTexCoord2f(u1, v2);
  glVertex2i(left, bottom);
  glTexCoord2f(u2, v2);
  glVertex2i(right, bottom);
  glTexCoord2f(u2, v1);
  glVertex2i(right, top);
  glEnd();
}

void ResetColour() { glColor4f(1, 1, 1, 1); }

void StopTexturing() {
  glDisable(GL_TEXTURE_2D);
  boundTexture = -1;
}

}  // namespace

std::unique_ptr<KGraphic> CreateGraphic() { return std::unique_ptr<KGraphic>(new (std::nothrow) KGraphicGL()); }

KGraphicGL::KGraphicGL() : sourceFactor_(GL_SRC_ALPHA), destinationFactor_(GL_ONE_MINUS_SRC_ALPHA) {
  if (!screenSizeKnown)
    ShowMessage("Screen Dimensions not specified, you will not see anything", "KGraphicGL::SetScreenSize Not Called!");
}

KGraphicGL::~KGraphicGL() { FreePicture(); }

// The colour depth is the window's business; pictures are always RGBA.
void KGraphicGL::SetScreenSize(int16_t width, int16_t height, int16_t /*depth*/) {
  screenWidth = width;
  screenHeight = height;
  screenSizeKnown = true;
  // A new screen has a new context: nothing is known to be bound in it.
  boundTexture = -1;
  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_FLAT);
}

int32_t KGraphicGL::TextureSide(int32_t width, int32_t height) {
  const int32_t largest = std::max(width, height);
  int32_t side = kSmallestTextureSide;
  while (side < largest && side < kLargestTextureSide) side *= 2;
  return side;
}

void KGraphicGL::Bind() {
  // Texturing is switched on every time: the window's fade switches it off
  // without knowing which texture is bound.
  glEnable(GL_TEXTURE_2D);
  if (boundTexture == static_cast<GLint>(texture_)) return;
  glBindTexture(GL_TEXTURE_2D, texture_);
  boundTexture = static_cast<GLint>(texture_);
}

void KGraphicGL::SetOpaqueCopies(bool on) {
  if (on == opaqueCopies) return;
  // What was recorded so far is drawn the way it was recorded.
  FlushFrame();
  opaqueCopies = on;
  RedrawNextFrame();
}

uint64_t KGraphicGL::GetOpaqueCopies() { return opaqueCopyCount; }

bool KGraphicGL::IsKeyColour(uint8_t r, uint8_t g, uint8_t b) const {
  return colourKeyOn_ && r == keyR_ && g == keyG_ && b == keyB_;
}

void KGraphicGL::ApplyWrap() const {
  const GLint wrap = repeat_ ? GL_REPEAT : kEdgeWrap;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

bool KGraphicGL::LoadPicture(const std::string& path, bool trueColour, bool keepAlpha) {
  FreePicture();
  const KPictureFormat format = PictureFormatOfPath(path);
  if (format == KPictureFormat::None) return false;
  std::string bytes;
  if (!KFile::ReadWhole(path, bytes)) return false;
  return LoadPictureFromMemory(bytes.data(), bytes.size(), format, trueColour, keepAlpha);
}

bool KGraphicGL::LoadPictureFromMemory(const void* data, size_t size, KPictureFormat format, bool trueColour,
                                       bool keepAlpha) {
  FreePicture();
  Changing();
  if (!data || size == 0 || format == KPictureFormat::None) return false;

  // From here on the file counts as loaded; one the decoder rejects stays empty.
  KDecodedPicture decoded;
  const int32_t largestSide = std::min(MaxTextureSize(), kLargestPictureSide);
  if (!DecodePicture(data, size, format, largestSide, decoded)) return true;

  const int32_t side = TextureSide(decoded.width, decoded.height);
  std::unique_ptr<uint8_t[]> staging = AllocatePixels(side, side);
  if (!staging) return true;

  const size_t sourceStride = static_cast<size_t>(decoded.width) * kBytesPerPixel;
  const size_t stagingStride = static_cast<size_t>(side) * kBytesPerPixel;
  bool allOpaque = true;
  for (int32_t row = 0; row < decoded.height; ++row) {
    const uint8_t* source = decoded.rgba.get() + row * sourceStride;
    uint8_t* texel = staging.get() + row * stagingStride;
    for (int32_t column = 0; column < decoded.width; ++column, source += kBytesPerPixel, texel += kBytesPerPixel) {
      texel[0] = source[0];
      texel[1] = source[1];
      texel[2] = source[2];
      texel[3] = decoded.hasAlpha ? source[3] : kOpaque;
      if (IsKeyColour(source[0], source[1], source[2])) texel[3] = 0;
      // Without alpha every texel is opaque, whatever format the texture keeps.
      if (!keepAlpha) texel[3] = kOpaque;
      allOpaque = allOpaque && texel[3] == kOpaque;
    }
  }
  decoded.rgba.reset();

  GLint internalFormat = trueColour ? GL_RGB8 : GL_RGB;
  if (keepAlpha) internalFormat = trueColour ? GL_RGBA8 : GL_RGBA;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &texture_);
  Bind();
  glTexImage2D(GL_TEXTURE_2D, 0, TextureFormat(internalFormat, GL_RGBA), side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               staging.get());
  width_ = static_cast<float>(decoded.width);
  height_ = static_cast<float>(decoded.height);
  textureWidth_ = static_cast<float>(side);
  textureHeight_ = static_cast<float>(side);
  allOpaque_ = allOpaque;
  SetFiltering(kSmoothingDefault);
  ApplyWrap();
  return true;
}

void KGraphicGL::FreePicture() {
  Changing();
  if (HasTexture()) {
    if (boundTexture == static_cast<GLint>(texture_)) boundTexture = -1;
    glDeleteTextures(1, &texture_);
  }
  texture_ = 0;
  width_ = 0;
  height_ = 0;
  textureWidth_ = 0;
  textureHeight_ = 0;
  pixels_ = nullptr;
  uploaded_.clear();
  allOpaque_ = false;
}

void KGraphicGL::SetFiltering(bool smooth) {
  if (!HasTexture()) return;
  Changing();
  smooth_ = smooth;
  Bind();
  const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

void KGraphicGL::FillRectNow(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
  StopTexturing();
  if (a != 1.0f) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(r, g, b, a);
  } else {
    glDisable(GL_BLEND);
    glColor3f(r, g, b);
  }
  glBegin(GL_QUADS);
  glVertex2i(Whole(x1), Whole(FlipY(y1)));
  glVertex2i(Whole(x2), Whole(FlipY(y1)));
  glVertex2i(Whole(x2), Whole(FlipY(y2)));
  glVertex2i(Whole(x1), Whole(FlipY(y2)));
  glEnd();
  glDisable(GL_BLEND);
  ResetColour();
}

// Lines and points go through pixel centres, so that a whole-pixel position
// lights exactly that pixel.
void KGraphicGL::DrawLineNow(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
  constexpr float kHalf = 0.5f;
  StopTexturing();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(r, g, b, a);
  glBegin(GL_LINES);
  glVertex2f(x1 + kHalf, FlipY(y1) - kHalf);
  glVertex2f(x2 + kHalf, FlipY(y2) - kHalf);
  glEnd();
  glDisable(GL_BLEND);
  ResetColour();
}

void KGraphicGL::DrawPointNow(float x, float y, float r, float g, float b, float a) {
  constexpr float kHalf = 0.5f;
  StopTexturing();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(r, g, b, a);
  glBegin(GL_POINTS);
  glVertex2f(x + kHalf, FlipY(y) - kHalf);
  glEnd();
  glDisable(GL_BLEND);
  ResetColour();
}

// One quad of the source rectangle's size with its top-left corner at (left,
// top) in GL coordinates; the flips swap the texture coordinates.
void KGraphicGL::DrawQuad(float x1, float y1, float x2, float y2, float left, float top, bool flipX,
                          bool flipY) const {
  const auto width = static_cast<int16_t>(static_cast<int32_t>(x2 - x1));
  const auto height = static_cast<int16_t>(static_cast<int32_t>(y2 - y1));
  const float u1 = x1 / textureWidth_;
  const float u2 = x2 / textureWidth_;
  const float v1 = y1 / textureHeight_;
  const float v2 = y2 / textureHeight_;
  const GLint x = Whole(left);
  const GLint y = Whole(top);
  DrawTexturedCorners(x, y, x + width, y - height, flipX ? u2 : u1, flipY ? v2 : v1, flipX ? u1 : u2,
                      flipY ? v1 : v2);
}

void KGraphicGL::BlendWithPictureFactors() const {
  glEnable(GL_BLEND);
  glBlendFunc(sourceFactor_, destinationFactor_);
}

// Blending an opaque texel at full opacity gives the texel itself: a picture whose pixels
// are all opaque, drawn sharp at full opacity, is copied without blending, which software
// renderers do much faster, with the same pixels. Only from within the picture: a loaded
// picture's texture is see-through beyond it.
bool KGraphicGL::CopiesUnblended(float x1, float y1, float x2, float y2, float alpha) const {
  const bool insidePicture = x1 >= 0 && y1 >= 0 && x2 <= width_ && y2 <= height_;
  const bool fullOpacity = alpha >= 1.0f && (!tintOn_ || tintA_ >= 1.0f);
  const bool usualFactors = sourceFactor_ == GL_SRC_ALPHA && destinationFactor_ == GL_ONE_MINUS_SRC_ALPHA;
  return opaqueCopies && allOpaque_ && !smooth_ && insidePicture && fullOpacity && usualFactors;
}

void KGraphicGL::BlendUnlessOpaque(float x1, float y1, float x2, float y2, float alpha) const {
  if (CopiesUnblended(x1, y1, x2, y2, alpha)) {
    glDisable(GL_BLEND);
    ++opaqueCopyCount;
  } else {
    BlendWithPictureFactors();
  }
}

void KGraphicGL::SetTintedColour(float alpha) const {
  if (tintOn_)
    glColor4f(tintR_, tintG_, tintB_, alpha * tintA_);
  else
    glColor4f(1, 1, 1, alpha);
}

void KGraphicGL::BlitNow(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) {
  if (!HasTexture()) return;
  Bind();
  glDisable(GL_BLEND);
  DrawQuad(x1, y1, x2, y2, x, FlipY(y), flipX, flipY);
}

void KGraphicGL::BlitRotoZoomNow(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle, float zoom,
                              bool flipX, bool flipY) {
  if (!HasTexture() || zoom == 0.0f) return;
  const float halfWidth = (x2 - x1) / 2;
  const float halfHeight = (y2 - y1) / 2;
  glPushMatrix();
  glTranslatef(x + halfWidth, FlipY(y) - halfHeight, 0);
  glRotatef(angle, 0, 0, 1);
  glScalef(zoom, zoom, 0);
  Bind();
  glDisable(GL_BLEND);
  DrawQuad(x1, y1, x2, y2, Whole(-halfWidth), Whole(halfHeight), flipX, flipY);
  glPopMatrix();
}

void KGraphicGL::BlitAlphaNow(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) {
  if (!HasTexture()) return;
  Bind();
  BlendUnlessOpaque(x1, y1, x2, y2, 1.0f);
  SetTintedColour(1.0f);
  DrawQuad(x1, y1, x2, y2, x, FlipY(y), flipX, flipY);
  ResetColour();
}

void KGraphicGL::BlitAlphaRotoZoomNow(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle,
                                   float zoom, float alpha, bool flipX, bool flipY) {
  if (!HasTexture() || zoom == 0.0f || !(alpha > 0.0f)) return;
  glPushMatrix();
  float left = x;
  float top = FlipY(y);
  if (angle != 0.0f || zoom != 1.0f) {
    const float halfWidth = (x2 - x1) / 2;
    const float halfHeight = (y2 - y1) / 2;
    glTranslatef(x + halfWidth, FlipY(y) - halfHeight, 0);
    if (angle != 0.0f) glRotatef(angle, 0, 0, 1);
    if (zoom != 1.0f) glScalef(zoom, zoom, 0);
    left = static_cast<float>(Whole(-halfWidth));
    top = static_cast<float>(Whole(halfHeight));
  }
  SetTintedColour(alpha);
  Bind();
  BlendUnlessOpaque(x1, y1, x2, y2, alpha);
  DrawQuad(x1, y1, x2, y2, left, top, flipX, flipY);
  ResetColour();
  glPopMatrix();
}

void KGraphicGL::DrawTiledNow(int16_t x, int16_t y, int16_t w, int16_t h, float count, float angle) {
  if (!HasTexture()) return;
  glDisable(GL_BLEND);
  Bind();
  glPushMatrix();
  glTranslatef(static_cast<float>(x + w / 2), FlipY(y) - static_cast<float>(h / 2), 0);
  glRotatef(angle, 0, 0, 1);
  const GLint halfWidth = w / 2;
  const GLint halfHeight = h / 2;
  glBegin(GL_QUADS);
  glTexCoord2f(count, count);
  glVertex2i(-halfWidth, halfHeight);
  glTexCoord2f(count, 0);
  glVertex2i(-halfWidth, -halfHeight);
  glTexCoord2f(0, 0);
  glVertex2i(halfWidth, -halfHeight);
  glTexCoord2f(0, count);
  glVertex2i(halfWidth, halfHeight);
  glEnd();
  glPopMatrix();
}

void KGraphicGL::BlitQuadNow(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4, float sy4,
                          float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, float dx4, float dy4) {
  if (!HasTexture()) return;
  Bind();
  BlendWithPictureFactors();
  SetTintedColour(1.0f);
  const float source[4][2] = {{sx1, sy1}, {sx2, sy2}, {sx3, sy3}, {sx4, sy4}};
  const float destination[4][2] = {{dx1, dy1}, {dx2, dy2}, {dx3, dy3}, {dx4, dy4}};
  glBegin(GL_QUADS);
  for (int corner = 0; corner < 4; ++corner) {
    glTexCoord2f(source[corner][0] / textureWidth_, source[corner][1] / textureHeight_);
    glVertex2f(destination[corner][0], FlipY(destination[corner][1]));
  }
  glEnd();
  ResetColour();
}

void KGraphicGL::SetBlendMode(int32_t mode) {
  static constexpr uint32_t kFactors[][2] = {
      {GL_SRC_ALPHA, GL_DST_ALPHA},
      {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
      {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},
      {GL_ZERO, GL_ONE_MINUS_SRC_ALPHA},
  };
  if (mode < 0 || mode >= static_cast<int32_t>(std::size(kFactors))) return;
  const uint32_t* factors = kFactors[mode];
  if (factors[0] == sourceFactor_ && factors[1] == destinationFactor_) return;
  Changing();
  sourceFactor_ = factors[0];
  destinationFactor_ = factors[1];
}

void KGraphicGL::DrawStretchedNow(float x1, float y1, float x2, float y2, float destX1, float destY1, float destX2,
                               float destY2, float alpha, float angle) {
  if (!HasTexture()) return;
  Bind();
  BlendWithPictureFactors();
  SetTintedColour(alpha < 0.0f ? 1.0f : alpha);
  const float u1 = x1 / textureWidth_;
  const float u2 = x2 / textureWidth_;
  const float v1 = y1 / textureHeight_;
  const float v2 = y2 / textureHeight_;
  if (angle != 0.0f) {
    const float halfWidth = (destX2 - destX1) / 2;
    const float halfHeight = (destY2 - destY1) / 2;
    glPushMatrix();
    glTranslatef(destX1 + halfWidth, FlipY(destY1) - halfHeight, 0);
    glRotatef(angle, 0, 0, 1);
    DrawTexturedCorners(Whole(-halfWidth), Whole(halfHeight), Whole(halfWidth), Whole(-halfHeight), u1, v1, u2, v2);
    glPopMatrix();
  } else {
    DrawTexturedCorners(Whole(destX1), Whole(FlipY(destY1)), Whole(destX2), Whole(FlipY(destY2)), u1, v1, u2, v2);
  }
  ResetColour();
}

bool KGraphicGL::GrabBackBuffer(KGrabCallback callback) { return Grab(GL_BACK, callback, true, GL_RGBA8); }

bool KGraphicGL::GrabFrontBuffer() { return Grab(GL_FRONT, nullptr, false, GL_RGB); }

bool KGraphicGL::Grab(uint32_t buffer, KGrabCallback callback, bool useColourKey, int32_t internalFormat) {
  FreePicture();
  FlushFrame();
  if (screenWidth <= 0 || screenHeight <= 0) return false;
  const int32_t side = TextureSide(screenWidth, screenHeight);
  std::unique_ptr<uint8_t[]> screen = AllocatePixels(screenWidth, screenHeight);
  std::unique_ptr<uint8_t[]> staging = AllocatePixels(side, side);
  if (!screen || !staging) return false;

  SelectReadBuffer(buffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, screenWidth, screenHeight, GL_RGBA, GL_UNSIGNED_BYTE, screen.get());
  SelectReadBuffer(GL_BACK);

  // The screen is read from the bottom row up; the texture holds the top row first.
  const size_t screenStride = static_cast<size_t>(screenWidth) * kBytesPerPixel;
  const size_t stagingStride = static_cast<size_t>(side) * kBytesPerPixel;
  for (int32_t y = 0; y < screenHeight; ++y) {
    const uint8_t* source = screen.get() + static_cast<size_t>(screenHeight - 1 - y) * screenStride;
    uint8_t* texel = staging.get() + y * stagingStride;
    for (int32_t x = 0; x < screenWidth; ++x, source += kBytesPerPixel, texel += kBytesPerPixel) {
      texel[0] = source[0];
      texel[1] = source[1];
      texel[2] = source[2];
      if (callback) callback(x, y, &texel[0], &texel[1], &texel[2]);
      texel[3] = useColourKey && IsKeyColour(texel[0], texel[1], texel[2]) ? 0 : kOpaque;
    }
  }

  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &texture_);
  Bind();
  glTexImage2D(GL_TEXTURE_2D, 0, TextureFormat(internalFormat, GL_RGBA), side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               staging.get());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kEdgeWrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kEdgeWrap);
  width_ = screenWidth;
  height_ = screenHeight;
  textureWidth_ = static_cast<float>(side);
  textureHeight_ = static_cast<float>(side);
  return true;
}

void KGraphicGL::SetColorKey(bool on, uint8_t r, uint8_t g, uint8_t b) {
  colourKeyOn_ = on;
  keyR_ = r;
  keyG_ = g;
  keyB_ = b;
}

void KGraphicGL::SetRepeat(bool on) {
  repeat_ = on;
  if (!HasTexture()) return;
  Changing();
  Bind();
  ApplyWrap();
}

void KGraphicGL::SetTint(float r, float g, float b, float a) {
  if (r == 1.0f && g == 1.0f && b == 1.0f && a == 1.0f) {
    if (tintOn_) Changing();
    tintOn_ = false;
    return;
  }
  r = std::clamp(r, 0.0f, 1.0f);
  g = std::clamp(g, 0.0f, 1.0f);
  b = std::clamp(b, 0.0f, 1.0f);
  a = std::clamp(a, 0.0f, 1.0f);
  if (tintOn_ && r == tintR_ && g == tintG_ && b == tintB_ && a == tintA_) return;
  Changing();
  tintR_ = r;
  tintG_ = g;
  tintB_ = b;
  tintA_ = a;
  tintOn_ = true;
}

bool KGraphicGL::CreateFromPixels(uint32_t* pixels, int32_t width, int32_t height, bool trueColour) {
  if (!pixels || width <= 0 || height < 1) return false;
  FreePicture();
  const int32_t largestSide = MaxTextureSize();
  if (width > largestSide || height > largestSide) return false;

  if (colourKeyOn_) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i) {
      const auto* bytes = reinterpret_cast<const uint8_t*>(&pixels[i]);
      if (IsKeyColour(bytes[0], bytes[1], bytes[2])) pixels[i] = 0;
    }
  }

  // A square power-of-two buffer and any other one alike fill a texture of
  // exactly their own size.
  Changing();
  pixels_ = pixels;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &texture_);
  Bind();
  glTexImage2D(GL_TEXTURE_2D, 0, TextureFormat(trueColour ? GL_RGBA8 : GL_RGBA, GL_RGBA), width, height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, pixels);
  width_ = static_cast<float>(width);
  height_ = static_cast<float>(height);
  textureWidth_ = static_cast<float>(width);
  textureHeight_ = static_cast<float>(height);
  uploaded_.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
  allOpaque_ = RowsOpaque(0, height);
  SetFiltering(kSmoothingDefault);
  ApplyWrap();
  return true;
}

// Only the rows from the first to the last that changed since the last upload go up again.
// The same pixels again change nothing: no upload, and the frame may stay as it is.
void KGraphicGL::UpdateFromPixels() {
  if (!pixels_ || !HasTexture()) return;
  const auto height = static_cast<int32_t>(height_);
  int32_t first = 0;
  while (first < height && RowUploaded(first)) ++first;
  if (first == height) return;
  int32_t end = height;
  while (RowUploaded(end - 1)) --end;
  Changing();
  const size_t width = static_cast<size_t>(width_);
  std::copy(pixels_ + first * width, pixels_ + end * width, uploaded_.begin() + static_cast<ptrdiff_t>(first * width));
  // Rows that did not change cannot have made an opaque picture see-through.
  allOpaque_ = allOpaque_ ? RowsOpaque(first, end) : RowsOpaque(0, height);
  Bind();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, first, static_cast<GLsizei>(width), end - first, GL_RGBA, GL_UNSIGNED_BYTE,
                  pixels_ + first * width);
}

void KGraphicGL::EnableRepeat() {
  if (!HasTexture()) return;
  Changing();
  Bind();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void KGraphicGL::Changing() {
  FlushFrameUsing(this);
  version_ = NextPictureVersion();
}

bool KGraphicGL::RowUploaded(int32_t row) const {
  const size_t width = static_cast<size_t>(width_);
  return std::memcmp(pixels_ + row * width, uploaded_.data() + row * width, width * sizeof(uint32_t)) == 0;
}

bool KGraphicGL::RowsOpaque(int32_t first, int32_t end) const {
  constexpr uint32_t kAlphaMask = 0xFF000000u;
  const size_t width = static_cast<size_t>(width_);
  uint32_t alpha = kAlphaMask;
  for (const uint32_t* pixel = pixels_ + first * width; pixel != pixels_ + end * width; ++pixel) alpha &= *pixel;
  return (alpha & kAlphaMask) == kAlphaMask;
}

// Every draw is recorded with its parameters and the picture's version, and carried out
// when the frame is drawn.
namespace {

template <typename... Values>
KDrawCommand MakeCommand(KDrawFunction draw, const KGraphicGL* picture, uint64_t version, Values... values) {
  KDrawCommand command;
  command.draw = draw;
  command.owner = picture;
  command.version = version;
  size_t i = 0;
  ((command.values[i++] = static_cast<float>(values)), ...);
  return command;
}

KGraphicGL& PictureOf(const KDrawCommand& command) {
  return *const_cast<KGraphicGL*>(static_cast<const KGraphicGL*>(command.owner));
}

int16_t Short(float value) { return static_cast<int16_t>(value); }
bool Flag(float value) { return value != 0.0f; }

// How far beyond its corners a shape may change pixels (smoothing, lines, rounding).
constexpr float kReach = 2.0f;

// Every pixel a shape spanning these screen points may change.
KScreenRect AreaOf(std::initializer_list<float> xs, std::initializer_list<float> ys) {
  const auto whole = [](float value) { return static_cast<int32_t>(value); };
  return {whole(std::floor(std::min(xs) - kReach)), whole(std::floor(std::min(ys) - kReach)),
          whole(std::ceil(std::max(xs) + kReach)), whole(std::ceil(std::max(ys) + kReach))};
}

// Every pixel a width x height rectangle centred on (x, y) may change, turned any way and
// zoomed.
KScreenRect TurnedArea(float x, float y, float width, float height, float zoom) {
  const float reach = std::abs(zoom) * std::hypot(width, height) / 2;
  return AreaOf({x - reach, x + reach}, {y - reach, y + reach});
}

// The screen pixels of a source rectangle copied square with its top-left corner at (x, y),
// as DrawQuad places it.
KScreenRect CopiedArea(float x1, float y1, float x2, float y2, int16_t x, int16_t y) {
  const auto width = static_cast<int16_t>(static_cast<int32_t>(x2 - x1));
  const auto height = static_cast<int16_t>(static_cast<int32_t>(y2 - y1));
  return {x, y, x + width, y + height};
}

KScreenRect Widened(const KScreenRect& area) {
  return AreaOf({static_cast<float>(area.left), static_cast<float>(area.right)},
                {static_cast<float>(area.top), static_cast<float>(area.bottom)});
}

void Record(KDrawCommand command, const KScreenRect& bounds, const KScreenRect& cover = {}) {
  command.bounds = bounds;
  command.cover = cover;
  RecordDrawing(command);
}

}  // namespace

void KGraphicGL::FillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).FillRectNow(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
             },
             this, version_, x1, y1, x2, y2, r, g, b, a),
         AreaOf({x1, x2}, {y1, y2}));
}

void KGraphicGL::DrawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).DrawLineNow(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
             },
             this, version_, x1, y1, x2, y2, r, g, b, a),
         AreaOf({x1, x2}, {y1, y2}));
}

void KGraphicGL::DrawPoint(float x, float y, float r, float g, float b, float a) {
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).DrawPointNow(v[0], v[1], v[2], v[3], v[4], v[5]);
             },
             this, version_, x, y, r, g, b, a),
         AreaOf({x}, {y}));
}

void KGraphicGL::Blit(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) {
  if (!HasTexture()) return;
  const KScreenRect copied = CopiedArea(x1, y1, x2, y2, x, y);
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).BlitNow(v[0], v[1], v[2], v[3], Short(v[4]), Short(v[5]), Flag(v[6]), Flag(v[7]));
             },
             this, version_, x1, y1, x2, y2, x, y, flipX, flipY),
         Widened(copied), copied);
}

void KGraphicGL::BlitRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle, float zoom,
                              bool flipX, bool flipY) {
  if (!HasTexture() || zoom == 0.0f) return;
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).BlitRotoZoomNow(v[0], v[1], v[2], v[3], Short(v[4]), Short(v[5]), v[6], v[7], Flag(v[8]),
                                            Flag(v[9]));
             },
             this, version_, x1, y1, x2, y2, x, y, angle, zoom, flipX, flipY),
         TurnedArea(x + (x2 - x1) / 2, y + (y2 - y1) / 2, x2 - x1, y2 - y1, zoom));
}

void KGraphicGL::BlitAlpha(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) {
  if (!HasTexture()) return;
  const KScreenRect copied = CopiedArea(x1, y1, x2, y2, x, y);
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).BlitAlphaNow(v[0], v[1], v[2], v[3], Short(v[4]), Short(v[5]), Flag(v[6]), Flag(v[7]));
             },
             this, version_, x1, y1, x2, y2, x, y, flipX, flipY),
         Widened(copied), CopiesUnblended(x1, y1, x2, y2, 1.0f) ? copied : KScreenRect{});
}

void KGraphicGL::BlitAlphaRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle,
                                   float zoom, float alpha, bool flipX, bool flipY) {
  if (!HasTexture() || zoom == 0.0f || !(alpha > 0.0f)) return;
  const bool square = angle == 0.0f && zoom == 1.0f;
  const KScreenRect copied = CopiedArea(x1, y1, x2, y2, x, y);
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).BlitAlphaRotoZoomNow(v[0], v[1], v[2], v[3], Short(v[4]), Short(v[5]), v[6], v[7], v[8],
                                                 Flag(v[9]), Flag(v[10]));
             },
             this, version_, x1, y1, x2, y2, x, y, angle, zoom, alpha, flipX, flipY),
         square ? Widened(copied) : TurnedArea(x + (x2 - x1) / 2, y + (y2 - y1) / 2, x2 - x1, y2 - y1, zoom),
         square && CopiesUnblended(x1, y1, x2, y2, alpha) ? copied : KScreenRect{});
}

void KGraphicGL::DrawTiled(int16_t x, int16_t y, int16_t w, int16_t h, float count, float angle) {
  if (!HasTexture()) return;
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).DrawTiledNow(Short(v[0]), Short(v[1]), Short(v[2]), Short(v[3]), v[4], v[5]);
             },
             this, version_, x, y, w, h, count, angle),
         TurnedArea(x + w / 2.0f, y + h / 2.0f, w, h, 1.0f));
}

void KGraphicGL::BlitQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4, float sy4,
                          float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, float dx4, float dy4) {
  if (!HasTexture()) return;
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).BlitQuadNow(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12],
                                        v[13], v[14], v[15]);
             },
             this, version_, sx1, sy1, sx2, sy2, sx3, sy3, sx4, sy4, dx1, dy1, dx2, dy2, dx3, dy3, dx4, dy4),
         AreaOf({dx1, dx2, dx3, dx4}, {dy1, dy2, dy3, dy4}));
}

void KGraphicGL::DrawStretched(float x1, float y1, float x2, float y2, float destX1, float destY1, float destX2,
                               float destY2, float alpha, float angle) {
  if (!HasTexture()) return;
  Record(MakeCommand(
             [](const KDrawCommand& c) {
               const auto& v = c.values;
               PictureOf(c).DrawStretchedNow(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]);
             },
             this, version_, x1, y1, x2, y2, destX1, destY1, destX2, destY2, alpha, angle),
         angle == 0.0f
             ? AreaOf({destX1, destX2}, {destY1, destY2})
             : TurnedArea((destX1 + destX2) / 2, (destY1 + destY2) / 2, destX2 - destX1, destY2 - destY1, 1.0f));
}
