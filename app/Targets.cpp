#include "app/Targets.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>

#include "graphic/KGraphic.h"

namespace {

// A rectangle that can carry the ring: a cell, a row of a grid, a whole target.
struct Box {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t CentreX() const { return x + width / 2; }
  int32_t CentreY() const { return y + height / 2; }
  bool Contains(int32_t px, int32_t py) const { return x < px && px < x + width && y < py && py < y + height; }
  bool operator==(const Box&) const = default;
};

// A move off a cell is weighed by how far it goes ahead and, twice as much, how far aside.
constexpr int32_t kAsideWeight = 2;
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

// Scanning goes through the targets, then a grid's rows, then the cells of one row.
enum class ScanLevel { Targets, Rows, Cells };

struct ScanState {
  int32_t stepMs = 0;  // 0: no scanning
  int32_t elapsedMs = 0;
  ScanLevel level = ScanLevel::Targets;
  int32_t index = -1;  // the item the ring is on, -1 before the first step
  TargetArea grid;     // the grid chosen, below the Targets level
  int32_t row = 0;     // the row chosen, at the Cells level
};

struct TargetsState {
  std::unique_ptr<KGraphic> painter;  // draws the ring; made when first needed
  std::vector<TargetArea> areas;      // added this frame, in order
  bool leading = false;           // the game placed the pointer
  Box ring;
  bool holding = false;
  int32_t clickMs = 0;  // left of a choice's press
  ScanState scan;
  bool needFrames = false;  // the last frame's targets needed the next frames
};

TargetsState targets;

Box BoxOf(const TargetArea& area) { return {area.x, area.y, area.width, area.height}; }

Box CellOf(const TargetArea& area, int32_t column, int32_t row) {
  const int32_t width = area.width / area.columns;
  const int32_t height = area.height / area.rows;
  return {area.x + column * width, area.y + row * height, width, height};
}

Box RowOf(const TargetArea& area, int32_t row) {
  const Box first = CellOf(area, 0, row);
  return {area.x, first.y, area.width, first.height};
}

std::vector<Box> AllCells() {
  std::vector<Box> cells;
  for (const TargetArea& area : targets.areas)
    for (int32_t row = 0; row < area.rows; ++row)
      for (int32_t column = 0; column < area.columns; ++column) cells.push_back(CellOf(area, column, row));
  return cells;
}

std::vector<TargetArea> InReadingOrder() {
  std::vector<TargetArea> order = targets.areas;
  std::stable_sort(order.begin(), order.end(),
                   [](const TargetArea& a, const TargetArea& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  return order;
}

// The cell ahead of from in direction (dx, dy) that is nearest, counting sideways steps double.
std::optional<Box> CellToward(const Box& from, int32_t dx, int32_t dy) {
  std::optional<Box> best;
  int64_t bestScore = std::numeric_limits<int64_t>::max();
  for (const Box& cell : AllCells()) {
    const int32_t ahead = (cell.CentreX() - from.CentreX()) * dx + (cell.CentreY() - from.CentreY()) * dy;
    const int32_t aside = std::abs((cell.CentreX() - from.CentreX()) * dy + (cell.CentreY() - from.CentreY()) * dx);
    if (ahead <= 0) continue;
    const int64_t score = ahead + kAsideWeight * int64_t{aside};
    if (score < bestScore) {
      bestScore = score;
      best = cell;
    }
  }
  return best;
}

// Where the game starts leading: the cell under the pointer, else the first in reading order.
std::optional<Box> FirstCell() {
  for (const Box& cell : AllCells())
    if (cell.Contains(GetMouseX(), GetMouseY())) return cell;
  const std::vector<TargetArea> order = InReadingOrder();
  if (order.empty()) return std::nullopt;
  return CellOf(order.front(), 0, 0);
}

// The cell under the point, or else the nearest one.
std::optional<Box> CellNearest(int32_t x, int32_t y) {
  std::optional<Box> best;
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (const Box& cell : AllCells()) {
    if (cell.Contains(x, y)) return cell;
    const int64_t dx = cell.CentreX() - x;
    const int64_t dy = cell.CentreY() - y;
    if (dx * dx + dy * dy < bestDistance) {
      bestDistance = dx * dx + dy * dy;
      best = cell;
    }
  }
  return best;
}

// Tab order: the targets in reading order, each entered at its first cell.
std::optional<Box> CellByTab(const Box& from, bool backwards) {
  const std::vector<TargetArea> order = InReadingOrder();
  if (order.empty()) return std::nullopt;
  const auto size = static_cast<int32_t>(order.size());
  int32_t at = backwards ? 0 : -1;
  for (int32_t i = 0; i < size; ++i)
    if (BoxOf(order[static_cast<size_t>(i)]).Contains(from.CentreX(), from.CentreY())) at = i;
  const int32_t next = ((at + (backwards ? -1 : 1)) % size + size) % size;
  return CellOf(order[static_cast<size_t>(next)], 0, 0);
}

std::optional<Box> CellForKey(const KKeyPress& press, const Box& from) {
  switch (press.keyCode) {
    case KEY_LEFT: return CellToward(from, -1, 0);
    case KEY_RIGHT: return CellToward(from, 1, 0);
    case KEY_UP: return CellToward(from, 0, -1);
    case KEY_DOWN: return CellToward(from, 0, 1);
    case KEY_TAB: return CellByTab(from, press.shift);
    default: return std::nullopt;
  }
}

void Lead(const Box& box) {
  targets.ring = box;
  targets.leading = true;
  PlacePointer(box.CentreX(), box.CentreY());
}

void Click() { targets.clickMs = kClickMs; }

void ChooseDoor() {
  for (const TargetArea& area : targets.areas) {
    if (!area.door) continue;
    Lead(BoxOf(area));
    Click();
    return;
  }
}

// The items the ring steps through at the scan's level.
std::vector<Box> ScanItems() {
  const ScanState& scan = targets.scan;
  std::vector<Box> items;
  if (scan.level == ScanLevel::Targets)
    for (const TargetArea& area : InReadingOrder()) items.push_back(BoxOf(area));
  if (scan.level == ScanLevel::Rows)
    for (int32_t row = 0; row < scan.grid.rows; ++row) items.push_back(RowOf(scan.grid, row));
  if (scan.level == ScanLevel::Cells)
    for (int32_t column = 0; column < scan.grid.columns; ++column) items.push_back(CellOf(scan.grid, column, scan.row));
  return items;
}

void RestartScan() {
  targets.scan.level = ScanLevel::Targets;
  targets.scan.index = -1;
  targets.scan.elapsedMs = 0;
}

void StepScan() {
  const std::vector<Box> items = ScanItems();
  targets.scan.elapsedMs = 0;
  if (items.empty()) return RestartScan();
  targets.scan.index = (targets.scan.index + 1) % static_cast<int32_t>(items.size());
  Lead(items[static_cast<size_t>(targets.scan.index)]);
}

// The switch chose the item the ring is on: a button is clicked, a grid entered by its rows,
// a row by its cells, and a cell clicked. The scan goes on from what was chosen, so a second
// press repeats a button; after a cell the ring goes round its whole grid, the pointer
// staying on the cell for the click.
void ChooseScanned() {
  ScanState& scan = targets.scan;
  if (scan.index < 0) return;
  scan.elapsedMs = 0;
  if (scan.level == ScanLevel::Targets) {
    const std::vector<TargetArea> order = InReadingOrder();
    if (scan.index >= static_cast<int32_t>(order.size())) return RestartScan();
    scan.grid = order[static_cast<size_t>(scan.index)];
    if (scan.grid.columns * scan.grid.rows == 1) return Click();
    scan.level = ScanLevel::Rows;
    scan.index = -1;
    return StepScan();
  }
  if (scan.level == ScanLevel::Rows) {
    scan.row = scan.index;
    scan.level = ScanLevel::Cells;
    scan.index = -1;
    return StepScan();
  }
  Click();
  const std::vector<TargetArea> order = InReadingOrder();
  const auto grid = std::find_if(order.begin(), order.end(), [&](const TargetArea& a) { return BoxOf(a) == BoxOf(scan.grid); });
  scan.level = ScanLevel::Targets;
  scan.index = static_cast<int32_t>(grid - order.begin());
  targets.ring = BoxOf(scan.grid);
}

// The screen changed under the ring (another screen, a button that came or went): the scan
// starts again from the first target, once a click in progress has ended.
void RestartIfStale() {
  const ScanState& scan = targets.scan;
  if (scan.level != ScanLevel::Targets || scan.index < 0 || targets.clickMs > 0) return;
  const std::vector<Box> items = ScanItems();
  if (scan.index < static_cast<int32_t>(items.size()) && items[static_cast<size_t>(scan.index)] == targets.ring) return;
  RestartScan();
  targets.leading = false;
}

void FollowScan(const std::vector<KKeyPress>& presses, int32_t elapsedMs) {
  for (const KKeyPress& press : presses) {
    if (press.repeat) continue;
    if (press.keyCode == KEY_SPACE) ChooseScanned();
    if (press.keyCode == KEY_RETURN) StepScan();
  }
  RestartIfStale();
  // The scan waits while a click's sound plays, as the click itself does.
  const bool waiting = std::any_of(targets.areas.begin(), targets.areas.end(), [](const TargetArea& a) { return a.waiting; });
  if (waiting || targets.clickMs > 0) return;
  targets.scan.elapsedMs += elapsedMs;
  if (targets.scan.elapsedMs >= targets.scan.stepMs) StepScan();
}

void FollowKeys(const std::vector<KKeyPress>& presses) {
  for (const KKeyPress& press : presses) {
    if (press.control) continue;
    if (press.pad && press.keyCode == KEY_ESCAPE) {
      ChooseDoor();
      continue;
    }
    if (targets.leading && (press.keyCode == KEY_SPACE || press.keyCode == KEY_RETURN) && !press.repeat) Click();
    const std::optional<Box> cell = CellForKey(press, targets.ring);
    if (!cell) continue;
    // The first move only shows where the game starts.
    const std::optional<Box> start = targets.leading ? cell : FirstCell();
    if (start) Lead(*start);
  }
}

// After a screen gave way to another, the ring goes to the target now under it.
// Whether box is one of the area's cells, found from its centre without listing them.
bool IsCellOf(const TargetArea& area, const Box& box) {
  if (!BoxOf(area).Contains(box.CentreX(), box.CentreY())) return false;
  const int32_t column = (box.CentreX() - area.x) / (area.width / area.columns);
  const int32_t row = (box.CentreY() - area.y) / (area.height / area.rows);
  return CellOf(area, column, row) == box;
}

void KeepOnATarget() {
  if (targets.scan.stepMs > 0) return;
  const auto holdsRing = [](const TargetArea& area) { return IsCellOf(area, targets.ring); };
  if (std::any_of(targets.areas.begin(), targets.areas.end(), holdsRing)) return;
  if (const std::optional<Box> cell = CellNearest(targets.ring.CentreX(), targets.ring.CentreY())) Lead(*cell);
}

void HoldButton(int32_t elapsedMs) {
  const bool keyHeld = targets.scan.stepMs == 0 && (IsKeyDown(KEY_SPACE) || IsKeyDown(KEY_RETURN));
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
  targets.scan = ScanState{};
  targets.scan.stepMs = std::max(stepMs, 0);
  UseMouseAsSwitch(targets.scan.stepMs > 0);
}

void DriveTargets(const std::vector<KKeyPress>& presses, int32_t elapsedMs) {
  if (targets.leading && !IsPointerPlaced()) targets.leading = false;
  if (targets.scan.stepMs > 0)
    FollowScan(presses, elapsedMs);
  else
    FollowKeys(presses);
  if (targets.leading) KeepOnATarget();
  HoldButton(elapsedMs);
  if (targets.leading) DrawRing(targets.ring);
  targets.needFrames = targets.scan.stepMs > 0 || targets.holding ||
                       std::any_of(targets.areas.begin(), targets.areas.end(), [](const TargetArea& a) { return a.waiting; });
  targets.areas.clear();
}

bool TargetsNeedFrames() { return targets.needFrames; }
