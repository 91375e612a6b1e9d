#include "KFrameRecord.h"

#include <algorithm>
#include <utility>

namespace {

struct FrameRecord {
  std::vector<KDrawCommand> current;
  std::vector<KDrawCommand> presented;
  // How many commands of the current frame have reached GL.
  size_t drawn = 0;
  uint64_t version = 0;
  // The frame whose pixels are the screen's, one for one; all zero when there is none.
  KScreenRect squareFrame;
  KFrameLayer* layer = nullptr;
  // The painting commands whose pixels the layer holds, in their order; empty: none.
  std::vector<KDrawCommand> layered;
};

FrameRecord record;

void Draw(const KDrawCommand& command) { command.draw(command); }

// Marks the painting commands of the frame that the layer can hold: those found in earlier,
// in its order, that no unmarked command before them reaches into. Drawn before all the
// others they give the same pixels, since nothing drawn in between lies under or over them.
// Strict: each must be the next of earlier (the layer's own commands); else earlier is the
// frame before, some of whose commands may have changed or gone. Counts those found.
std::vector<bool> Unchanged(const std::vector<KDrawCommand>& frame, const std::vector<KDrawCommand>& earlier,
                            bool strict, size_t& found) {
  std::vector<bool> kept(frame.size(), false);
  std::vector<KScreenRect> changed;
  auto next = earlier.begin();
  found = 0;
  for (size_t i = 0; i < frame.size(); ++i) {
    const KDrawCommand& command = frame[i];
    if (!command.paints) continue;
    const bool reached = std::any_of(changed.begin(), changed.end(),
                                     [&command](const KScreenRect& rect) { return rect.Meets(command.bounds); });
    auto at = earlier.end();
    if (!reached && next != earlier.end()) {
      if (!strict)
        at = std::find(next, earlier.end(), command);
      else if (*next == command)
        at = next;
    }
    if (at == earlier.end()) {
      changed.push_back(command.bounds);
      continue;
    }
    kept[i] = true;
    next = at + 1;
    ++found;
  }
  return kept;
}

// Draws a frame that differs from the one before over a copy of the layer: the layer is
// made again, from the commands unchanged since the frame before, when it no longer holds
// what the frame keeps. False, with nothing drawn, when the frame cannot be drawn this way:
// there is no layer, or the frame does not start with a view and a picture painting it all.
bool DrawOverLayer() {
  const std::vector<KDrawCommand>& frame = record.current;
  const auto firstPainting =
      std::find_if(frame.begin(), frame.end(), [](const KDrawCommand& command) { return command.paints; });
  if (!record.layer || record.squareFrame == KScreenRect{} || firstPainting == frame.begin() ||
      firstPainting == frame.end())
    return false;

  size_t found = 0;
  std::vector<bool> kept = Unchanged(frame, record.layered, true, found);
  if (record.layered.empty() || found != record.layered.size()) {
    record.layered.clear();
    kept = Unchanged(frame, record.presented, false, found);
    const auto first = static_cast<size_t>(firstPainting - frame.begin());
    if (!kept[first] || !firstPainting->cover.Holds(record.squareFrame) || !record.layer->SelectLayer()) return false;
    for (size_t i = 0; i < frame.size(); ++i) {
      if (kept[i]) record.layered.push_back(frame[i]);
      if (kept[i] || !frame[i].paints) Draw(frame[i]);
    }
    record.layer->SelectFrame();
  }
  record.layer->CopyLayer();
  for (size_t i = 0; i < frame.size(); ++i)
    if (!kept[i]) Draw(frame[i]);
  record.drawn = frame.size();
  return true;
}

}  // namespace

void RecordDrawing(const KDrawCommand& command) {
  record.current.push_back(command);
  if (record.squareFrame == KScreenRect{}) {
    record.current.back().bounds = kEverywhere;
    record.current.back().cover = {};
  }
}

void FlushFrame() {
  // A command may itself flush (a picture that binds its texture): step the count first.
  while (record.drawn < record.current.size()) {
    const KDrawCommand command = record.current[record.drawn++];
    Draw(command);
  }
}

void FlushFrameUsing(const void* owner) {
  const auto undrawn = record.current.begin() + static_cast<std::ptrdiff_t>(record.drawn);
  if (std::any_of(undrawn, record.current.end(),
                  [owner](const KDrawCommand& command) { return command.owner == owner; }))
    FlushFrame();
}

void SetSquareFrame(int32_t width, int32_t height) { record.squareFrame = {0, 0, width, height}; }

void SetFrameLayer(KFrameLayer* layer) {
  record.layer = layer;
  record.layered.clear();
}

void DiscardRecordedFrame() {
  record.current.clear();
  record.presented.clear();
  record.drawn = 0;
  record.squareFrame = {};
  SetFrameLayer(nullptr);
}

void RedrawNextFrame() {
  record.presented.clear();
  record.layered.clear();
}

uint64_t NextPictureVersion() { return ++record.version; }

bool EndRecordedFrame(bool presentAnyway) {
  const bool same = record.current == record.presented;
  // A frame partly drawn already is finished whole, so that the target holds all of it.
  if ((!same || presentAnyway || record.drawn > 0) && (record.drawn > 0 || !DrawOverLayer())) FlushFrame();
  record.presented = std::move(record.current);
  record.current.clear();
  record.drawn = 0;
  return !same || presentAnyway;
}
