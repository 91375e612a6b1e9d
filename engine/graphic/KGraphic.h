// The engine's picture: one OpenGL texture and the operations that draw it.
//
// Coordinates given to a picture are screen pixels from the top-left corner, y
// growing downwards; the picture flips y itself by the screen height recorded
// with KGraphicGL::SetScreenSize. Colours and opacities are 0..1, angles are
// degrees counter-clockwise on the screen. A source rectangle (x1, y1, x2, y2)
// is in picture pixels; x2 - x1 and y2 - y1 give the drawn size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KDrawCommand.h"

// Called by GrabBackBuffer for every screen pixel (x, y from the top-left); may
// change the colour.
using KGrabCallback = void (*)(int32_t x, int32_t y, uint8_t* r, uint8_t* g, uint8_t* b);

// Which decoder reads a picture file.
enum class KPictureFormat : int32_t { None, Tga, Jpeg, Bmp, Png };

// The decoder for a path: ".tga", ".jpg", ".bmp" and ".png" are looked for in a
// lower-cased copy of the whole path, in that order, the last one found winning.
KPictureFormat PictureFormatOfPath(const std::string& path);

// The file a picture is drawn from on a frame drawn scale times the screen's size: the
// smallest of its larger drawings beside it (NAME@2x.png to NAME@4x.png, the same picture two
// to four times as large) at least that large, else the largest there, else the file itself;
// times says how many times larger it is.
std::string DrawingAtScale(const std::string& path, float scale, int32_t& times);

// Reads and decodes these picture files on a thread of their own, for LoadPicture to take
// when it loads one of them: the first screen's pictures are read while the window opens,
// the drawings of them for a frame drawn scale times the screen's size.
void ReadPicturesAhead(const std::vector<std::string>& paths, float scale = 1.0f);

// The blits' flipX and flipY for a picture drawn as it is, and LoadPicture's flags for the
// game's pictures (kept in true colour with their alpha), named at their call sites.
constexpr bool kNoFlip = false;
constexpr bool kTrueColour = true;
constexpr bool kKeepAlpha = true;

class KGraphic {
 public:
  virtual ~KGraphic() = default;

  // Loads an image file (opened as given). False when the file is missing or
  // empty or its name has no known extension; a file the decoder rejects, or
  // one too big for a texture, gives an empty 0 x 0 picture and true.
  virtual bool LoadPicture(const std::string& path, bool trueColour, bool keepAlpha) = 0;
  // What LoadPicture does once the file is in memory.
  virtual bool LoadPictureFromMemory(const void* data, size_t size, KPictureFormat format, bool trueColour,
                                     bool keepAlpha) = 0;
  virtual void FreePicture() = 0;
  virtual float GetWidth() = 0;
  virtual float GetHeight() = 0;
  // Linear filtering when smooth, else nearest.
  virtual void SetFiltering(bool smooth) = 0;

  // Untextured drawing.
  virtual void FillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) = 0;
  virtual void DrawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) = 0;
  virtual void DrawPoint(float x, float y, float r, float g, float b, float a) = 0;

  // Opaque copy of the source rectangle with its top-left corner at (x, y); kNoFlip for
  // flipX and flipY draws it as it is.
  virtual void Blit(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) = 0;
  // Opaque copy turned and zoomed about the centre of the destination rectangle.
  virtual void BlitRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle, float zoom,
                            bool flipX, bool flipY) = 0;
  // Blended copy, tinted when a tint is set.
  virtual void BlitAlpha(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) = 0;
  // Blended copy at opacity alpha, turned and zoomed about the destination's centre.
  virtual void BlitAlphaRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle,
                                 float zoom, float alpha, bool flipX, bool flipY) = 0;
  // The whole texture count times across a w x h rectangle (with repeat wrapping).
  virtual void DrawTiled(int16_t x, int16_t y, int16_t w, int16_t h, float count, float angle) = 0;
  // Four source texel points onto four screen points, in the same order.
  virtual void BlitQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4, float sy4,
                        float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, float dx4, float dy4) = 0;
  // 0: (source alpha, destination alpha); 1: (source alpha, one minus source
  // alpha), the default; 2: (one, one minus source alpha); 3: (zero, one minus
  // source alpha); other values change nothing.
  virtual void SetBlendMode(int32_t mode) = 0;
  // The source rectangle stretched over the destination rectangle (x1, y1, x2, y2).
  virtual void DrawStretched(float x1, float y1, float x2, float y2, float destX1, float destY1, float destX2,
                             float destY2, float alpha, float angle) = 0;

  // The picture drawn over the whole screen as Blit draws it from (0, 0), and, where the
  // window shows more than the screen, the scene its file goes on with past its edges: the
  // drawings beside it of what lies past each edge (NAME@left.png and NAME@right.png as tall
  // as the picture, NAME@top.png and NAME@bottom.png as wide), as far as they reach; black
  // beyond them.
  virtual void BlitBackdrop() = 0;

  // The picture becomes a copy of the whole back (front) buffer.
  virtual bool GrabBackBuffer(KGrabCallback callback) = 0;
  virtual bool GrabFrontBuffer() = 0;

  // Pixels of this colour become transparent when the next texture is made
  // (LoadPicture, CreateFromPixels, GrabBackBuffer).
  virtual void SetColorKey(bool on, uint8_t r, uint8_t g, uint8_t b) = 0;
  // Repeat wrapping instead of clamping, for this texture and the next ones.
  virtual void SetRepeat(bool on) = 0;
  // (1, 1, 1, 1) turns the tint off; other values are clamped to 0..1.
  virtual void SetTint(float r, float g, float b, float a) = 0;

  // A picture of the caller's RGBA buffer, which must outlive the picture's use
  // of UpdateFromPixels. With the colour key on, key pixels of the buffer become
  // transparent black.
  virtual bool CreateFromPixels(uint32_t* pixels, int32_t width, int32_t height, bool trueColour) = 0;
  // Uploads the current contents of the buffer given to CreateFromPixels.
  virtual void UpdateFromPixels() = 0;
  // Repeat wrapping on this picture's texture from now on.
  virtual void EnableRepeat() = 0;
};

// A new picture for the window's back-end.
std::unique_ptr<KGraphic> CreateGraphic();

class KFrameRecord;
struct KDecodedPicture;

// What the window's frame recorded is drawn now: whatever reads the frame back calls it
// first.
void FlushFrame();

// The picture on OpenGL: one 2D texture. Its draws are recorded as commands in the frame of
// the window that opened last (KGraphicGL::DrawInto), and drawn when the frame is.
class KGraphicGL final : public KGraphic {
 public:
  KGraphicGL();
  ~KGraphicGL() override;
  KGraphicGL(const KGraphicGL&) = delete;
  KGraphicGL& operator=(const KGraphicGL&) = delete;

  // Records the screen size (the height flips y) and sets up texturing; the
  // window calls it when it opens, before any picture exists.
  static void SetScreenSize(int16_t width, int16_t height, int16_t depth);
  // The frame that pictures draw into from now on, the window's; null: they draw at once.
  static void DrawInto(KFrameRecord* frames);
  // The frame target the window draws into (the screen's size until it says otherwise) and
  // where the screen lies in it, width x height pixels from (left, top): pictures loaded from
  // now on come from the drawing of their file nearest above that scale, grabs keep the
  // screen's pixels at it, and backdrops fill the margins around it.
  static void SetFramePixels(int32_t targetWidth, int32_t targetHeight, int32_t left, int32_t top, int32_t width,
                             int32_t height);
  // The side of the square texture that holds a width x height picture: a
  // power of two, at least 4.
  static int32_t TextureSide(int32_t width, int32_t height);
  // Pictures whose pixels are all opaque, drawn sharp at full opacity, are copied without
  // blending (on by default); off, they are blended like any other picture. The pixels are
  // the same either way, which tests compare; they count the copies made without blending.
  static void SetOpaqueCopies(bool on);
  static uint64_t GetOpaqueCopies();

  bool LoadPicture(const std::string& path, bool trueColour, bool keepAlpha) override;
  bool LoadPictureFromMemory(const void* data, size_t size, KPictureFormat format, bool trueColour,
                             bool keepAlpha) override;
  void FreePicture() override;
  float GetWidth() override { return width_; }
  float GetHeight() override { return height_; }
  void SetFiltering(bool smooth) override;

  void FillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) override;
  void DrawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) override;
  void DrawPoint(float x, float y, float r, float g, float b, float a) override;

  void Blit(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) override;
  void BlitRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle, float zoom, bool flipX,
                    bool flipY) override;
  void BlitAlpha(float x1, float y1, float x2, float y2, int16_t x, int16_t y, bool flipX, bool flipY) override;
  void BlitAlphaRotoZoom(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle, float zoom,
                         float alpha, bool flipX, bool flipY) override;
  void DrawTiled(int16_t x, int16_t y, int16_t w, int16_t h, float count, float angle) override;
  void BlitQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4, float sy4, float dx1,
                float dy1, float dx2, float dy2, float dx3, float dy3, float dx4, float dy4) override;
  void SetBlendMode(int32_t mode) override;
  void DrawStretched(float x1, float y1, float x2, float y2, float destX1, float destY1, float destX2, float destY2,
                     float alpha, float angle) override;

  void BlitBackdrop() override;

  bool GrabBackBuffer(KGrabCallback callback) override;
  bool GrabFrontBuffer() override;

  void SetColorKey(bool on, uint8_t r, uint8_t g, uint8_t b) override;
  void SetRepeat(bool on) override;
  void SetTint(float r, float g, float b, float a) override;

  bool CreateFromPixels(uint32_t* pixels, int32_t width, int32_t height, bool trueColour) override;
  void UpdateFromPixels() override;
  void EnableRepeat() override;

 private:
  // The picture's texture or drawing state is about to change: what the frame recorded of
  // it so far is drawn first, and the picture gets a new version.
  void Changing();
  // Whether a row of the caller's buffer is as last uploaded; whether every pixel of rows
  // first to end - 1 is opaque.
  bool RowUploaded(int32_t row) const;
  bool RowsOpaque(int32_t first, int32_t end) const;
  bool CopiesUnblended(float x1, float y1, float x2, float y2, float alpha) const;

  bool HasTexture() const { return texture_ != 0; }
  void Bind() const;
  // The quad of a source rectangle's size with its top-left corner at (left, top) in GL
  // pixels, as every blit draws it; the flips swap the texture coordinates.
  KQuadCommand SourceQuad(float x1, float y1, float x2, float y2, float left, float top, bool flipX, bool flipY) const;
  KQuadCommand TurnedQuad(float x1, float y1, float x2, float y2, int16_t x, int16_t y, float angle, float zoom,
                          bool flipX, bool flipY) const;
  KColour Tinted(float alpha) const;
  void Submit(const KQuadCommand& quad) const;
  void ApplyWrap() const;
  bool IsKeyColour(uint8_t r, uint8_t g, uint8_t b) const;
  // The decoded picture as this object's texture; its pixels are given up.
  void MakeTexture(KDecodedPicture& decoded, bool trueColour, bool keepAlpha);
  bool LoadLargerDrawing(const std::string& path, int32_t times, bool trueColour, bool keepAlpha);
  // The decoded drawing, times as large as the picture it stands for, as this picture.
  void TakeDrawing(KDecodedPicture& decoded, int32_t times, bool trueColour, bool keepAlpha);
  // The drawings of what lies past the picture's edges that the margins show, cut to what
  // they show.
  void LoadSurroundings(const std::string& path, bool trueColour);
  bool SetAlpha(KDecodedPicture& decoded, bool keepAlpha) const;
  void UploadInCorner(const uint8_t* pixels, int32_t width, int32_t height, int32_t internalFormat);
  void Upload(const void* pixels, int32_t width, int32_t height, int32_t internalFormat);
  bool Grab(KGrabCallback callback, bool useColourKey, int32_t internalFormat);

  bool tintOn_ = false;
  float tintR_ = 1.0f;
  float tintG_ = 1.0f;
  float tintB_ = 1.0f;
  float tintA_ = 1.0f;
  uint32_t texture_ = 0;
  uint32_t sourceFactor_;
  uint32_t destinationFactor_;
  // The texture's size in the picture's own pixels (larger drawings and grabs of a larger
  // frame hold more texels than pixels).
  float textureWidth_ = 0;
  float textureHeight_ = 0;
  bool drawnLarger_ = false;
  // What the margins show past the picture's edges, each with where its top-left corner lies
  // on the screen's plane.
  struct Surrounding {
    std::unique_ptr<KGraphicGL> picture;
    float left = 0;
    float top = 0;
  };
  std::vector<Surrounding> surroundings_;
  bool repeat_ = false;
  bool colourKeyOn_ = false;
  uint8_t keyR_ = 0;
  uint8_t keyG_ = 0;
  uint8_t keyB_ = 0;
  float width_ = 0;
  float height_ = 0;
  uint32_t* pixels_ = nullptr;
  // The caller's pixels as the texture holds them.
  std::vector<uint32_t> uploaded_;
  // Every pixel of the picture is opaque: of the file as loaded, or of the caller's buffer.
  bool allOpaque_ = false;
  bool smooth_ = false;
  uint64_t version_ = 0;
};
