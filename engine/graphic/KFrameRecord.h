// Each frame's drawing, known before it reaches GL: every draw call is recorded with its
// parameters and the version of the picture it draws, and carried out only when the frame
// must be drawn. A frame equal to the one presented last need not be drawn at all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct KDrawCommand;
using KDrawFunction = void (*)(const KDrawCommand& command);

struct KDrawCommand {
  static constexpr size_t kValueCount = 18;
  KDrawFunction draw = nullptr;
  // What the command draws from: a picture (or the screen), and which contents of it.
  const void* owner = nullptr;
  uint64_t version = 0;
  std::array<float, kValueCount> values{};

  bool operator==(const KDrawCommand& other) const {
    return draw == other.draw && owner == other.owner && version == other.version && values == other.values;
  }
  bool operator!=(const KDrawCommand& other) const { return !(*this == other); }
};

// Adds a command to the frame being recorded.
void RecordDrawing(const KDrawCommand& command);
// Carries out, in order, what the frame recorded and has not drawn yet. Whatever reads the
// frame back, or changes a texture or state the recorded commands use, calls it first.
void FlushFrame();
// Forgets the frame being recorded, undrawn (its window is going away).
void DiscardRecordedFrame();
// The next frame is drawn and presented even when it equals the one presented last (the
// way pictures are drawn changed, not what the frame records).
void RedrawNextFrame();
// A number never handed out before, for a picture whose contents changed.
uint64_t NextPictureVersion();

// The frame ends. True when it must be presented: it differs from the frame presented last,
// or a present was asked for; it has then been drawn. False: nothing was drawn that the
// window does not show already.
bool EndRecordedFrame(bool presentAnyway);
