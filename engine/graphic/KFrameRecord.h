// Each frame's drawing, known before it is carried out: the window owns one record, every
// draw of the frame is added to it as a command, and the commands are carried out only when
// the frame must be drawn. Its rules:
//
// 1. A frame equal to the one presented last is not drawn at all (End says so).
// 2. In one that differs, what has not changed since the frame before is copied from a layer
//    that keeps it, and only the rest is drawn again. The layer is used only when the frame
//    starts with a view and then a picture copied square over the whole frame.
// 3. Bounds and covers count only while the frame is square (SetSquareFrame): drawn at the
//    screen's own size with the view at rest. Otherwise every command may reach everywhere.
// 4. Whatever reads the frame back, or changes what recorded commands draw with, flushes
//    first (Flush, FlushUsing), so that the commands draw what they were recorded with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "KDrawCommand.h"

// Carries a command out (the window's GL drawer; a fake in tests).
class KCommandDrawer {
 public:
  virtual ~KCommandDrawer() = default;
  virtual void Draw(const KDrawCommand& command) = 0;
};

// Where the pixels of a frame's unchanged commands are kept from one frame to the next: a
// drawing target of the frame's own size, which the window provides.
class KFrameLayer {
 public:
  virtual ~KFrameLayer() = default;
  // Drawing goes to the kept pixels; false, with drawing still going to the frame, when there
  // is no room for them.
  virtual bool SelectLayer() = 0;
  // Drawing goes to the frame again.
  virtual void SelectFrame() = 0;
  // The kept pixels are copied over the whole frame.
  virtual void CopyLayer() = 0;
};

class KFrameRecord {
 public:
  // layer null: every frame that changes is drawn whole.
  KFrameRecord(KCommandDrawer& drawer, KFrameLayer* layer) : drawer_(drawer), layer_(layer) {}
  KFrameRecord(const KFrameRecord&) = delete;
  KFrameRecord& operator=(const KFrameRecord&) = delete;

  // Adds a command to the frame being recorded.
  void Record(KDrawCommand command);
  // Carries out, in order, what the frame recorded and has not drawn yet.
  void Flush();
  // The same, when a command not drawn yet draws from owner: a picture about to change calls
  // it, and what the frame recorded of other pictures waits for the frame's end.
  void FlushUsing(const void* owner);
  // The commands recorded from now on draw onto a frame of this size whose pixels are the
  // screen's, one for one (rule 3). 0 x 0: they do not.
  void SetSquareFrame(int32_t width, int32_t height);
  void SetLayer(KFrameLayer* layer);
  // The frame ends. True when it must be presented: it differs from the frame presented
  // last, or presentAnyway; it has then been drawn. False: nothing was drawn that the window
  // does not show already. With changed, also where its pixels may differ from those of the
  // frame presented last (everywhere when presentAnyway).
  bool End(bool presentAnyway, KScreenRect* changed = nullptr);

 private:
  struct Recorded {
    KDrawCommand command;
    KScreenRect bounds = kEverywhere;
    KScreenRect cover;
    bool operator==(const Recorded&) const = default;
  };
  std::vector<bool> Unchanged(const std::vector<Recorded>& earlier, bool strict, bool reach, size_t& found,
                              std::vector<bool>* matched = nullptr) const;
  KScreenRect ChangedSincePresented() const;
  bool DrawOverLayer();
  bool RemakeLayer(size_t firstPainting, std::vector<bool>& kept);
  void Draw(const Recorded& recorded) { drawer_.Draw(recorded.command); }

  KCommandDrawer& drawer_;
  KFrameLayer* layer_;
  std::vector<Recorded> current_;
  std::vector<Recorded> presented_;
  // How many commands of the current frame have been drawn.
  size_t drawn_ = 0;
  // The frame whose pixels are the screen's, one for one; all zero when there is none.
  KScreenRect squareFrame_;
  // The painting commands whose pixels the layer holds, in their order; empty: none.
  std::vector<Recorded> layered_;
};
