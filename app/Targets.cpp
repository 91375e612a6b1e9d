#include "app/Targets.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "app/Scanner.h"
#include "graphic/KGraphic.h"

namespace {

// A choice without a held key holds the button this long, as a child's click lasts, and for
// one frame at least: measured in time, so that a slow frame does not make it a long press.
constexpr int32_t kClickMs = 75;

// The ring: a thick bright band between two dark edges, just outside the box.
struct RingBand {
  int32_t outset;  // pixels outside the box
  int32_t width;
  float r, g, b;
};
constexpr RingBand kRing[] = {
    {10, 10, 0.176f, 0.137f, 0.251f},  // plum edge
    {8, 6, 1.0f, 0.824f, 0.247f},      // yellow band
    {2, 2, 0.176f, 0.137f, 0.251f},    // plum edge inside
};

struct TargetsState {
  std::unique_ptr<KGraphic> painter;  // draws the ring; made when first needed
  TargetList areas;                   // added this frame, in order
  bool leading = false;               // the game placed the pointer
  Box ring;
  bool holding = false;
  int32_t clickMs = 0;  // left of a choice's press
  Scanner scan;
  bool needFrames = false;  // the last frame's targets needed the next frames
};

TargetsState targets;

void Lead(const Box& box) {
  targets.ring = box;
  targets.leading = true;
  PlacePointer(box.CentreX(), box.CentreY());
}

void Click() { targets.clickMs = kClickMs; }

bool AnyWaiting() {
  return std::any_of(targets.areas.begin(), targets.areas.end(), [](const TargetArea& a) { return a.waiting; });
}

void Follow(const ScanAnswer& answer) {
  if (answer.lead) Lead(*answer.lead);
  if (answer.ring) targets.ring = *answer.ring;
  if (answer.press) Click();
  if (answer.restart) targets.leading = false;
}

void FollowScan(const std::vector<KKeyPress>& presses, int32_t elapsedMs) {
  for (const KKeyPress& press : presses) {
    if (press.repeat) continue;
    if (press.keyCode == KEY_SPACE) Follow(targets.scan.Choose(targets.areas));
    if (press.keyCode == KEY_RETURN) Follow(targets.scan.Step(targets.areas));
  }
  // A click in progress ends before the scan looks at the screen again; the scan waits while
  // a click's sound plays, as the click itself does.
  if (targets.clickMs > 0) return;
  Follow(targets.scan.FollowScreen(targets.areas, targets.ring));
  if (!AnyWaiting()) Follow(targets.scan.Wait(targets.areas, elapsedMs));
}

void FollowKeys(const std::vector<KKeyPress>& presses) {
  for (const KKeyPress& press : presses) {
    if (press.control) continue;
    if (press.pad && press.keyCode == KEY_ESCAPE) {
      if (const std::optional<Box> door = DoorOf(targets.areas)) {
        Lead(*door);
        Click();
      }
      continue;
    }
    if (targets.leading && (press.keyCode == KEY_SPACE || press.keyCode == KEY_RETURN) && !press.repeat) Click();
    const std::optional<Box> cell = CellForKey(targets.areas, press, targets.ring);
    if (!cell) continue;
    // The first move only shows where the game starts.
    const std::optional<Box> start = targets.leading ? cell : FirstCell(targets.areas, GetMouseX(), GetMouseY());
    if (start) Lead(*start);
  }
}

// After a screen gave way to another, the ring goes to the target now under it.
void KeepOnATarget() {
  if (targets.scan.On()) return;
  const auto holdsRing = [](const TargetArea& area) { return IsCellOf(area, targets.ring); };
  if (std::any_of(targets.areas.begin(), targets.areas.end(), holdsRing)) return;
  if (const std::optional<Box> cell = CellNearest(targets.areas, targets.ring.CentreX(), targets.ring.CentreY()))
    Lead(*cell);
}

void HoldButton(int32_t elapsedMs) {
  const bool keyHeld = !targets.scan.On() && (IsKeyDown(KEY_SPACE) || IsKeyDown(KEY_RETURN));
  const bool holding = targets.leading && (keyHeld || targets.clickMs > 0);
  targets.clickMs = std::max(targets.clickMs - elapsedMs, 0);
  if (holding != targets.holding) HoldLeftButton(holding);
  targets.holding = holding;
}

void DrawRing(const Box& box) {
  if (!targets.painter) targets.painter = CreateGraphic();
  KGraphic* painter = targets.painter.get();
  if (!painter) return;
  for (const RingBand& band : kRing) {
    const auto left = static_cast<float>(box.x - band.outset);
    const auto top = static_cast<float>(box.y - band.outset);
    const auto right = static_cast<float>(box.x + box.width + band.outset);
    const auto bottom = static_cast<float>(box.y + box.height + band.outset);
    const auto w = static_cast<float>(band.width);
    painter->FillRect(left, top, right, top + w, band.r, band.g, band.b, 1.0f);
    painter->FillRect(left, bottom - w, right, bottom, band.r, band.g, band.b, 1.0f);
    painter->FillRect(left, top + w, left + w, bottom - w, band.r, band.g, band.b, 1.0f);
    painter->FillRect(right - w, top + w, right, bottom - w, band.r, band.g, band.b, 1.0f);
  }
}

}  // namespace

void AddTarget(const TargetArea& area) {
  if (area.width > 0 && area.height > 0 && area.columns > 0 && area.rows > 0) targets.areas.push_back(area);
}

void SetScanning(int32_t stepMs) {
  targets.scan = Scanner(stepMs);
  UseMouseAsSwitch(targets.scan.On());
}

void DriveTargets(const std::vector<KKeyPress>& presses, int32_t elapsedMs) {
  if (targets.leading && !IsPointerPlaced()) targets.leading = false;
  if (targets.scan.On())
    FollowScan(presses, elapsedMs);
  else
    FollowKeys(presses);
  if (targets.leading) KeepOnATarget();
  HoldButton(elapsedMs);
  if (targets.leading) DrawRing(targets.ring);
  targets.needFrames = targets.scan.On() || targets.holding || AnyWaiting();
  targets.areas.clear();
}

bool TargetsNeedFrames() { return targets.needFrames; }
