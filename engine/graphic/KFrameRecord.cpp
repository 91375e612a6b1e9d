#include "KFrameRecord.h"

#include <algorithm>
#include <utility>

void KFrameRecord::Record(KDrawCommand command) {
  Recorded recorded{std::move(command), kEverywhere, {}};
  if (!(squareFrame_ == KScreenRect{})) {
    recorded.bounds = BoundsOf(recorded.command, squareFrame_.bottom);
    recorded.cover = CoverOf(recorded.command, squareFrame_.bottom);
  }
  current_.push_back(std::move(recorded));
}

void KFrameRecord::Flush() {
  while (drawn_ < current_.size()) Draw(current_[drawn_++]);
}

void KFrameRecord::FlushUsing(const void* owner) {
  const auto undrawn = current_.begin() + static_cast<std::ptrdiff_t>(drawn_);
  if (std::any_of(undrawn, current_.end(), [owner](const Recorded& r) { return r.command.owner == owner; })) Flush();
}

void KFrameRecord::SetSquareFrame(int32_t width, int32_t height) { squareFrame_ = {0, 0, width, height}; }

void KFrameRecord::SetLayer(KFrameLayer* layer) {
  layer_ = layer;
  layered_.clear();
}

// Marks the painting commands of the frame that the layer can hold: those found in earlier,
// in its order, that no unmarked command before them reaches into. Drawn before all the
// others they give the same pixels, since nothing drawn in between lies under or over them.
// Strict: each must be the next of earlier (the layer's own commands); else earlier is the
// frame before, some of whose commands may have changed or gone. Without reach, a command
// found is marked even where a changed one lies under it: it is drawn the same over that
// place. Counts those found, and marks them in matched (earlier's size) when given.
std::vector<bool> KFrameRecord::Unchanged(const std::vector<Recorded>& earlier, bool strict, bool reach,
                                          size_t& found, std::vector<bool>* matched) const {
  std::vector<bool> kept(current_.size(), false);
  std::vector<KScreenRect> changed;
  auto next = earlier.begin();
  found = 0;
  for (size_t i = 0; i < current_.size(); ++i) {
    const Recorded& recorded = current_[i];
    if (!recorded.command.Paints()) continue;
    const bool reached = reach && std::any_of(changed.begin(), changed.end(), [&recorded](const KScreenRect& rect) {
      return rect.Meets(recorded.bounds);
    });
    auto at = earlier.end();
    if (!reached && next != earlier.end()) {
      if (!strict)
        at = std::find(next, earlier.end(), recorded);
      else if (*next == recorded)
        at = next;
    }
    if (at == earlier.end()) {
      changed.push_back(recorded.bounds);
      continue;
    }
    kept[i] = true;
    if (matched) (*matched)[static_cast<size_t>(at - earlier.begin())] = true;
    next = at + 1;
    ++found;
  }
  return kept;
}

// Draws the commands unchanged since the frame before into the layer, the views among them;
// false, with nothing drawn, when the first painting command is not among them or does not
// paint the whole frame, or when the layer cannot be had.
bool KFrameRecord::RemakeLayer(size_t firstPainting, std::vector<bool>& kept) {
  layered_.clear();
  size_t found = 0;
  kept = Unchanged(presented_, false, true, found);
  if (!kept[firstPainting] || !current_[firstPainting].cover.Holds(squareFrame_) || !layer_->SelectLayer())
    return false;
  for (size_t i = 0; i < current_.size(); ++i) {
    if (kept[i]) layered_.push_back(current_[i]);
    if (kept[i] || !current_[i].command.Paints()) Draw(current_[i]);
  }
  layer_->SelectFrame();
  return true;
}

// Draws a frame that differs from the one before over a copy of the layer, made again when
// it no longer holds what the frame keeps (rule 2). False, with nothing drawn, when the frame
// cannot be drawn this way.
bool KFrameRecord::DrawOverLayer() {
  const auto firstPainting =
      std::find_if(current_.begin(), current_.end(), [](const Recorded& r) { return r.command.Paints(); });
  if (!layer_ || squareFrame_ == KScreenRect{} || firstPainting == current_.begin() ||
      firstPainting == current_.end())
    return false;

  size_t found = 0;
  std::vector<bool> kept = Unchanged(layered_, true, true, found);
  if (layered_.empty() || found != layered_.size()) {
    if (!RemakeLayer(static_cast<size_t>(firstPainting - current_.begin()), kept)) return false;
  }
  layer_->CopyLayer();
  for (size_t i = 0; i < current_.size(); ++i)
    if (!kept[i]) Draw(current_[i]);
  drawn_ = current_.size();
  return true;
}

// Every pixel outside the bounds of the painting commands that are new or gone is drawn by
// the same commands, in the same order, as in the frame presented last. A command drawn the
// same over a changed place changes only pixels of that place, counted already: a strip
// sliding under the strips beside it changes its own rows, not theirs.
KScreenRect KFrameRecord::ChangedSincePresented() const {
  size_t found = 0;
  std::vector<bool> matched(presented_.size(), false);
  const std::vector<bool> kept = Unchanged(presented_, false, false, found, &matched);
  KScreenRect changed;
  const auto grow = [&changed](const Recorded& recorded) {
    if (!recorded.command.Paints()) return;
    const KScreenRect& b = recorded.bounds;
    changed = changed == KScreenRect{} ? b
                                       : KScreenRect{std::min(changed.left, b.left), std::min(changed.top, b.top),
                                                     std::max(changed.right, b.right), std::max(changed.bottom, b.bottom)};
  };
  for (size_t i = 0; i < current_.size(); ++i)
    if (!kept[i]) grow(current_[i]);
  for (size_t i = 0; i < presented_.size(); ++i)
    if (!matched[i]) grow(presented_[i]);
  return changed;
}

bool KFrameRecord::End(bool presentAnyway, KScreenRect* changed) {
  const bool same = current_ == presented_;
  if (changed) *changed = presentAnyway ? kEverywhere : same ? KScreenRect{} : ChangedSincePresented();
  // A frame partly drawn already is finished whole, so that the target holds all of it.
  if ((!same || presentAnyway || drawn_ > 0) && (drawn_ > 0 || !DrawOverLayer())) Flush();
  presented_ = std::move(current_);
  current_.clear();
  drawn_ = 0;
  return !same || presentAnyway;
}
