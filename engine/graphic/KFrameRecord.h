// Each frame's drawing, known before it reaches GL: every draw call is recorded with its
// parameters and the version of the picture it draws, and carried out only when the frame
// must be drawn. A frame equal to the one presented last need not be drawn at all; in one
// that differs, what has not changed since the frame before is copied from a layer that
// keeps it, and only the rest is drawn again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct KDrawCommand;
using KDrawFunction = void (*)(const KDrawCommand& command);

// A rectangle of the screen in pixels from its top-left corner: left and top inside it,
// right and bottom just past it.
struct KScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Meets(const KScreenRect& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
  bool Holds(const KScreenRect& other) const {
    return left <= other.left && top <= other.top && right >= other.right && bottom >= other.bottom;
  }
  bool operator==(const KScreenRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// Every pixel a command could reach, whatever the view.
constexpr KScreenRect kEverywhere{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};

struct KDrawCommand {
  static constexpr size_t kValueCount = 18;
  KDrawFunction draw = nullptr;
  // What the command draws from: a picture (or the screen), and which contents of it.
  const void* owner = nullptr;
  uint64_t version = 0;
  std::array<float, kValueCount> values{};
  // False for a command that only sets how the commands after it draw (the view).
  bool paints = true;
  // Every pixel the command may change, and those it paints afresh whatever was there (an
  // opaque copy drawn square onto the screen; empty for any other command).
  KScreenRect bounds = kEverywhere;
  KScreenRect cover;

  bool operator==(const KDrawCommand& other) const {
    return draw == other.draw && owner == other.owner && version == other.version && values == other.values &&
           paints == other.paints && bounds == other.bounds && cover == other.cover;
  }
  bool operator!=(const KDrawCommand& other) const { return !(*this == other); }
};

// Where the pixels of a frame's unchanged commands are kept from one frame to the next: a
// drawing target of the frame's own size, which the window provides.
class KFrameLayer {
 public:
  virtual ~KFrameLayer() = default;
  // Drawing goes to the kept pixels; false when there is nowhere to keep them.
  virtual bool SelectLayer() = 0;
  // Drawing goes to the frame again.
  virtual void SelectFrame() = 0;
  // The kept pixels are copied over the whole frame.
  virtual void CopyLayer() = 0;
};

// Adds a command to the frame being recorded.
void RecordDrawing(const KDrawCommand& command);
// Carries out, in order, what the frame recorded and has not drawn yet. Whatever reads the
// frame back, or changes a texture or state the recorded commands use, calls it first.
void FlushFrame();
// The same, when a command not drawn yet draws from owner: a picture about to change calls
// it, and what the frame recorded of other pictures waits for the frame's end.
void FlushFrameUsing(const void* owner);
// The commands recorded from now on draw onto a frame of this size whose pixels are the
// screen's, one for one: their bounds and covers are where they say. 0 x 0: they do not
// (the view is moved, turned or zoomed, or there is no frame of the screen's own size).
void SetSquareFrame(int32_t width, int32_t height);
// Where the unchanged part of a frame is kept; null: nowhere, every frame is drawn whole.
void SetFrameLayer(KFrameLayer* layer);
// Forgets the frame being recorded, undrawn, and what it was drawn onto (its window is
// going away).
void DiscardRecordedFrame();
// The next frame is drawn whole and presented even when it equals the one presented last
// (the way pictures are drawn changed, not what the frame records).
void RedrawNextFrame();
// A number never handed out before, for a picture whose contents changed.
uint64_t NextPictureVersion();

// The frame ends. True when it must be presented: it differs from the frame presented last,
// or a present was asked for; it has then been drawn. False: nothing was drawn that the
// window does not show already.
bool EndRecordedFrame(bool presentAnyway);
