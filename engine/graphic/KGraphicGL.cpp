// A picture's texture: made from a file, a pixel buffer or the frame, set up and freed. Its
// draws are in KPictureDraw.cpp.
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <system_error>

#include "KDrawGL.h"
#include "KFrameRecord.h"
#include "KGraphic.h"
#include "KPictureDecode.h"
#include "KPictureReadAhead.h"
#include "platform/KPlatform.h"
#include "services/KMessage.h"

namespace {

// Filtering given to every new texture; the game sets it per picture afterwards.
constexpr bool kSmoothingDefault = false;
constexpr int32_t kSmallestTextureSide = 4;
constexpr int32_t kLargestTextureSide = 1 << 30;
constexpr size_t kBytesPerPixel = 4;
constexpr uint8_t kOpaque = 255;

// Zeroed, or null when there is no memory for it.
std::unique_ptr<uint8_t[]> AllocatePixels(size_t width, size_t height) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[width * height * kBytesPerPixel]());
}

// The texels of a side x side texture right of and below a width x height picture in its
// top-left are transparent black, as smoothing at the picture's edges expects.
void ClearAround(int32_t width, int32_t height, int32_t side) {
  constexpr int32_t kRowsAtOnce = 32;
  const std::unique_ptr<uint8_t[]> zeros = AllocatePixels(side, kRowsAtOnce);
  if (!zeros) return;
  for (int32_t y = 0; width < side && y < height; y += kRowsAtOnce)
    glTexSubImage2D(GL_TEXTURE_2D, 0, width, y, side - width, std::min(kRowsAtOnce, height - y), GL_RGBA,
                    GL_UNSIGNED_BYTE, zeros.get());
  for (int32_t y = height; y < side; y += kRowsAtOnce)
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, side, std::min(kRowsAtOnce, side - y), GL_RGBA, GL_UNSIGNED_BYTE,
                    zeros.get());
}

// A picture file may have larger drawings of itself beside it, NAME@2x.png to NAME@4x.png:
// the same picture drawn two, three and four times as large.
constexpr int32_t kLargerDrawings[] = {2, 3, 4};

// The path with a mark put before its extension.
std::string MarkedPath(const std::string& path, const std::string& mark) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  const size_t stem = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path.size() : dot;
  return path.substr(0, stem) + mark + path.substr(stem);
}

std::string LargerDrawingPath(const std::string& path, int32_t times) {
  return MarkedPath(path, "@" + std::to_string(times) + "x");
}

// The drawings of what lies past a picture's edges, each with its own larger drawings.
enum class KEdge { Left, Right, Top, Bottom };
constexpr KEdge kEdges[] = {KEdge::Left, KEdge::Right, KEdge::Top, KEdge::Bottom};

std::string SurroundingPath(const std::string& path, KEdge edge) {
  constexpr const char* kMarks[] = {"@left", "@right", "@top", "@bottom"};
  return MarkedPath(path, kMarks[static_cast<size_t>(edge)]);
}

// Keeps the part from (left, top) to (right, bottom) of a decoded picture: its rows are moved
// to the front of its own pixels, each to a place before the one it leaves.
void CutDecoded(KDecodedPicture& decoded, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const int32_t width = right - left;
  const size_t row = static_cast<size_t>(width) * kBytesPerPixel;
  uint8_t* pixels = decoded.rgba.get();
  for (int32_t y = top; y < bottom; ++y)
    std::memmove(pixels + static_cast<size_t>(y - top) * row,
                 pixels + (static_cast<size_t>(y) * decoded.width + left) * kBytesPerPixel, row);
  decoded.width = width;
  decoded.height = bottom - top;
}

float FrameScale() { return std::max(FrameScaleX(), FrameScaleY()); }

int32_t MaxTextureSize() {
  GLint size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  return size;
}

}  // namespace

std::string DrawingAtScale(const std::string& path, float scale, int32_t& times) {
  times = 1;
  if (scale <= 1.0f) return path;
  for (const int32_t larger : kLargerDrawings) {
    std::error_code error;
    if (!std::filesystem::exists(LargerDrawingPath(path, larger), error)) continue;
    times = larger;
    if (static_cast<float>(larger) >= scale) break;
  }
  return times > 1 ? LargerDrawingPath(path, times) : path;
}

std::unique_ptr<KGraphic> CreateGraphic() { return std::unique_ptr<KGraphic>(new (std::nothrow) KGraphicGL()); }

void FlushFrame() {
  if (pictureLayer.frames) pictureLayer.frames->Flush();
}

KGraphicGL::KGraphicGL() : sourceFactor_(GL_SRC_ALPHA), destinationFactor_(GL_ONE_MINUS_SRC_ALPHA) {
  if (!pictureLayer.screenSizeKnown)
    ShowMessage("Screen Dimensions not specified, you will not see anything", "KGraphicGL::SetScreenSize Not Called!");
}

KGraphicGL::~KGraphicGL() { FreePicture(); }

// The colour depth is the window's business; pictures are always RGBA.
void KGraphicGL::SetScreenSize(int16_t width, int16_t height, int16_t /*depth*/) {
  pictureLayer.screenWidth = width;
  pictureLayer.screenHeight = height;
  SetFramePixels(width, height, 0, 0, width, height);
  pictureLayer.screenSizeKnown = true;
  // A new screen has a new context: nothing is known to be bound in it.
  ForgetBoundTexture();
  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_FLAT);
}

void KGraphicGL::DrawInto(KFrameRecord* frames) { pictureLayer.frames = frames; }

void KGraphicGL::SetFramePixels(int32_t targetWidth, int32_t targetHeight, int32_t left, int32_t top, int32_t width,
                                int32_t height) {
  pictureLayer.targetWidth = targetWidth;
  pictureLayer.targetHeight = targetHeight;
  pictureLayer.frameLeft = left;
  pictureLayer.frameTop = top;
  pictureLayer.frameWidth = width;
  pictureLayer.frameHeight = height;
}

int32_t KGraphicGL::TextureSide(int32_t width, int32_t height) {
  const int32_t largest = std::max(width, height);
  int32_t side = kSmallestTextureSide;
  while (side < largest && side < kLargestTextureSide) side *= 2;
  return side;
}

void KGraphicGL::Bind() const { BindTexture(texture_); }

// The draws recorded so far keep the way they were recorded to draw.
void KGraphicGL::SetOpaqueCopies(bool on) { pictureLayer.opaqueCopies = on; }

uint64_t KGraphicGL::GetOpaqueCopies() { return OpaqueCopiesDrawn(); }

bool KGraphicGL::IsKeyColour(uint8_t r, uint8_t g, uint8_t b) const {
  return colourKeyOn_ && r == keyR_ && g == keyG_ && b == keyB_;
}

void KGraphicGL::ApplyWrap() const {
  const GLint wrap = repeat_ ? GL_REPEAT : EdgeWrap();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

// On a frame drawn larger than the screen, a picture comes from its larger drawing when the
// file has one; its width and height stay those of the file itself.
bool KGraphicGL::LoadPicture(const std::string& path, bool trueColour, bool keepAlpha) {
  FreePicture();
  int32_t times = 1;
  const std::string file = DrawingAtScale(path, FrameScale(), times);
  KDecodedPicture ahead;
  bool loaded = false;
  if (TakePictureReadAhead(file, ahead) && std::max(ahead.width, ahead.height) <= MaxTextureSize()) {
    times > 1 ? TakeDrawing(ahead, times, trueColour, keepAlpha) : MakeTexture(ahead, trueColour, keepAlpha);
    loaded = true;
  }
  // A drawing read ahead for another scale is not kept.
  if (file != path) TakePictureReadAhead(path, ahead);
  if (!loaded && times > 1) loaded = LoadLargerDrawing(file, times, trueColour, keepAlpha);
  if (!loaded) {
    KPictureFormat format = KPictureFormat::None;
    std::string bytes;
    if (!ReadPictureFile(path, format, bytes)) return false;
    loaded = LoadPictureFromMemory(bytes.data(), bytes.size(), format, trueColour, keepAlpha);
  }
  if (loaded && HasTexture() && HasMargins()) LoadSurroundings(path, trueColour);
  return loaded;
}

// Only what the margins show is kept of each drawing, which reaches from the picture's edge
// outwards; edges the margins do not lie beyond are not read.
void KGraphicGL::LoadSurroundings(const std::string& path, bool trueColour) {
  const KVisibleArea area = VisibleArea();
  for (const KEdge edge : kEdges) {
    const bool shown = edge == KEdge::Left    ? area.left < 0
                       : edge == KEdge::Right ? area.right > width_
                       : edge == KEdge::Top   ? area.top < 0
                                              : area.bottom > height_;
    if (!shown) continue;
    int32_t times = 1;
    const std::string side = DrawingAtScale(SurroundingPath(path, edge), FrameScale(), times);
    KDecodedPicture decoded;
    if (!ReadAndDecodePicture(side, kLargestPictureSide, decoded)) continue;
    const float scale = static_cast<float>(times);
    const float reachX = static_cast<float>(decoded.width) / scale;
    const float reachY = static_cast<float>(decoded.height) / scale;
    // Where the drawing's top-left corner lies on the plane, and the part of it shown.
    float left = edge == KEdge::Left ? -reachX : edge == KEdge::Right ? width_ : 0;
    float top = edge == KEdge::Top ? -reachY : edge == KEdge::Bottom ? height_ : 0;
    const auto texel = [scale](float position, float origin, int32_t size) {
      return std::clamp(static_cast<int32_t>(std::floor((position - origin) * scale)), 0, size);
    };
    const int32_t cutLeft = texel(area.left, left, decoded.width);
    const int32_t cutRight = std::max(cutLeft, texel(area.right, left, decoded.width) + 1);
    const int32_t cutTop = texel(area.top, top, decoded.height);
    const int32_t cutBottom = std::max(cutTop, texel(area.bottom, top, decoded.height) + 1);
    if (cutRight <= cutLeft || cutBottom <= cutTop) continue;
    CutDecoded(decoded, cutLeft, cutTop, std::min(cutRight, decoded.width), std::min(cutBottom, decoded.height));
    left += static_cast<float>(cutLeft) / scale;
    top += static_cast<float>(cutTop) / scale;
    Surrounding surrounding{std::make_unique<KGraphicGL>(), left, top};
    surrounding.picture->TakeDrawing(decoded, times, trueColour, false);
    surroundings_.push_back(std::move(surrounding));
  }
}

// A larger drawing's texture is of its own size, with no power-of-two room around it: at
// three times the size that room would be most of the memory. Drawn a little smaller than its
// pixels (the drawing nearest above the scale) it takes each pixel's nearest texel, which
// keeps its edges as sharp as they were drawn; drawn larger (the largest there is, on a
// larger screen still) it is smoothed.
bool KGraphicGL::LoadLargerDrawing(const std::string& path, int32_t times, bool trueColour, bool keepAlpha) {
  KDecodedPicture decoded;
  if (!ReadAndDecodePicture(path, MaxTextureSize(), decoded)) return false;
  TakeDrawing(decoded, times, trueColour, keepAlpha);
  return true;
}

void KGraphicGL::TakeDrawing(KDecodedPicture& decoded, int32_t times, bool trueColour, bool keepAlpha) {
  allOpaque_ = SetAlpha(decoded, keepAlpha);
  GLint internalFormat = trueColour ? GL_RGB8 : GL_RGB;
  if (keepAlpha) internalFormat = trueColour ? GL_RGBA8 : GL_RGBA;
  Upload(decoded.rgba.get(), decoded.width, decoded.height, internalFormat);
  const auto scale = static_cast<float>(times);
  width_ = std::round(static_cast<float>(decoded.width) / scale);
  height_ = std::round(static_cast<float>(decoded.height) / scale);
  textureWidth_ /= scale;
  textureHeight_ /= scale;
  drawnLarger_ = true;
  SetFiltering(kSmoothingDefault);
  ApplyWrap();
}

bool KGraphicGL::LoadPictureFromMemory(const void* data, size_t size, KPictureFormat format, bool trueColour,
                                       bool keepAlpha) {
  FreePicture();
  if (!data || size == 0 || format == KPictureFormat::None) return false;

  // From here on the file counts as loaded; one the decoder rejects stays empty.
  KDecodedPicture decoded;
  const int32_t largestSide = std::min(MaxTextureSize(), kLargestPictureSide);
  if (DecodePicture(data, size, format, largestSide, decoded)) MakeTexture(decoded, trueColour, keepAlpha);
  return true;
}

// The decoded pixels go to the texture as they are, with no texture-sized copy of them:
// a full-screen picture's copy would be 4 MB that the process keeps for good.
void KGraphicGL::MakeTexture(KDecodedPicture& decoded, bool trueColour, bool keepAlpha) {
  allOpaque_ = SetAlpha(decoded, keepAlpha);

  GLint internalFormat = trueColour ? GL_RGB8 : GL_RGB;
  if (keepAlpha) internalFormat = trueColour ? GL_RGBA8 : GL_RGBA;
  UploadInCorner(decoded.rgba.get(), decoded.width, decoded.height, internalFormat);
  decoded.rgba.reset();
  width_ = static_cast<float>(decoded.width);
  height_ = static_cast<float>(decoded.height);
  SetFiltering(kSmoothingDefault);
  ApplyWrap();
}

// Each pixel's alpha as the texture keeps it; true when all are opaque.
bool KGraphicGL::SetAlpha(KDecodedPicture& decoded, bool keepAlpha) const {
  const size_t pixels = static_cast<size_t>(decoded.width) * decoded.height;
  uint8_t* pixel = decoded.rgba.get();
  bool allOpaque = true;
  for (size_t i = 0; i < pixels; ++i, pixel += kBytesPerPixel) {
    if (!decoded.hasAlpha) pixel[3] = kOpaque;
    if (IsKeyColour(pixel[0], pixel[1], pixel[2])) pixel[3] = 0;
    // Without alpha every texel is opaque, whatever format the texture keeps.
    if (!keepAlpha) pixel[3] = kOpaque;
    allOpaque = allOpaque && pixel[3] == kOpaque;
  }
  return allOpaque;
}

// A new power-of-two texture holding width x height RGBA pixels in its top-left corner.
void KGraphicGL::UploadInCorner(const uint8_t* pixels, int32_t width, int32_t height, int32_t internalFormat) {
  const int32_t side = TextureSide(width, height);
  Upload(nullptr, side, side, internalFormat);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  ClearAround(width, height, side);
}

// A new texture of width x height texels, filled with RGBA pixels (left to the caller when null).
void KGraphicGL::Upload(const void* pixels, int32_t width, int32_t height, int32_t internalFormat) {
  Changing();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &texture_);
  Bind();
  glTexImage2D(GL_TEXTURE_2D, 0, TextureFormat(internalFormat, GL_RGBA), width, height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, pixels);
  textureWidth_ = static_cast<float>(width);
  textureHeight_ = static_cast<float>(height);
}

void KGraphicGL::FreePicture() {
  Changing();
  if (HasTexture()) {
    ForgetBoundTexture();
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
  drawnLarger_ = false;
  surroundings_.clear();
}

void KGraphicGL::SetFiltering(bool smooth) {
  if (!HasTexture()) return;
  Changing();
  smooth_ = smooth || drawnLarger_;
  Bind();
  const GLint filter = smooth_ ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, drawnLarger_ ? GL_NEAREST : filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
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
  sourceFactor_ = factors[0];
  destinationFactor_ = factors[1];
}

// The frame is always drawn into the window's frame target, which both grabs read: the
// frame as drawn so far.
bool KGraphicGL::GrabBackBuffer(KGrabCallback callback) { return Grab(callback, true, GL_RGBA8); }

bool KGraphicGL::GrabFrontBuffer() { return Grab(nullptr, false, GL_RGB); }

bool KGraphicGL::Grab(KGrabCallback callback, bool useColourKey, int32_t internalFormat) {
  FreePicture();
  FlushFrame();
  const int32_t width = pictureLayer.frameWidth;
  const int32_t height = pictureLayer.frameHeight;
  if (width <= 0 || height <= 0 || pictureLayer.screenWidth <= 0 || pictureLayer.screenHeight <= 0) return false;
  std::unique_ptr<uint8_t[]> screen = AllocatePixels(width, height);
  if (!screen) return false;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(pictureLayer.frameLeft, pictureLayer.targetHeight - pictureLayer.frameTop - height, width, height, GL_RGBA,
               GL_UNSIGNED_BYTE, screen.get());

  // The screen is read from the bottom row up; the texture holds the top row first.
  const size_t stride = static_cast<size_t>(width) * kBytesPerPixel;
  for (int32_t y = 0; y < height / 2; ++y) {
    uint8_t* row = screen.get() + y * stride;
    std::swap_ranges(row, row + stride, screen.get() + (height - 1 - y) * stride);
  }
  uint8_t* texel = screen.get();
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x, texel += kBytesPerPixel) {
      if (callback)
        callback(x * pictureLayer.screenWidth / width, y * pictureLayer.screenHeight / height, &texel[0], &texel[1],
                 &texel[2]);
      texel[3] = useColourKey && IsKeyColour(texel[0], texel[1], texel[2]) ? 0 : kOpaque;
    }
  }
  UploadInCorner(screen.get(), width, height, internalFormat);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, EdgeWrap());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, EdgeWrap());
  // The grab keeps the frame's pixels and is as large as the screen.
  width_ = static_cast<float>(pictureLayer.screenWidth);
  height_ = static_cast<float>(pictureLayer.screenHeight);
  textureWidth_ /= FrameScaleX();
  textureHeight_ /= FrameScaleY();
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

// Tint and blending are taken into each draw as it is recorded: they change no texture.
void KGraphicGL::SetTint(float r, float g, float b, float a) {
  tintOn_ = !(r == 1.0f && g == 1.0f && b == 1.0f && a == 1.0f);
  if (!tintOn_) return;
  tintR_ = std::clamp(r, 0.0f, 1.0f);
  tintG_ = std::clamp(g, 0.0f, 1.0f);
  tintB_ = std::clamp(b, 0.0f, 1.0f);
  tintA_ = std::clamp(a, 0.0f, 1.0f);
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
  pixels_ = pixels;
  Upload(pixels, width, height, trueColour ? GL_RGBA8 : GL_RGBA);
  width_ = static_cast<float>(width);
  height_ = static_cast<float>(height);
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
  if (pictureLayer.frames) pictureLayer.frames->FlushUsing(this);
  version_ = ++pictureLayer.lastVersion;
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

