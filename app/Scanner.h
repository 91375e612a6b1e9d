// One switch: a ring that steps by itself through what can be chosen, every stepMs. It goes
// through the targets in reading order; choosing a grid scans its rows, choosing a row its
// cells, and choosing a button or a cell clicks it. The scan goes on from what was chosen, so
// a second press repeats a button; after a cell the ring goes round its whole grid. A second
// switch steps at once. Only answers: the driver (Targets.cpp) moves the pointer and presses.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/Navigation.h"

// What the scan asks of the game.
struct ScanAnswer {
  std::optional<Box> lead;  // the ring and the pointer go here
  std::optional<Box> ring;  // the ring alone goes here; the pointer stays for the click
  bool press = false;       // the left button is clicked where the pointer is
  bool restart = false;     // the scan began again from the start: the game no longer leads
};

class Scanner {
 public:
  explicit Scanner(int32_t stepMs = 0);
  bool On() const { return stepMs_ > 0; }

  // The second switch: the ring steps at once.
  ScanAnswer Step(const TargetList& targets);
  // The switch: what the ring is on is chosen.
  ScanAnswer Choose(const TargetList& targets);
  // The screen changed under the ring (another screen, a button that came or went): the scan
  // starts again from the first target.
  ScanAnswer FollowScreen(const TargetList& targets, const Box& ring);
  // Time passing, while nothing is waited for: the ring steps once stepMs have passed.
  ScanAnswer Wait(const TargetList& targets, int32_t elapsedMs);

 private:
  // Scanning goes through the targets, then a grid's rows, then the cells of one row.
  enum class Level { Targets, Rows, Cells };

  std::vector<Box> Items(const TargetList& targets) const;
  void Restart();

  int32_t stepMs_;
  int32_t elapsedMs_ = 0;
  Level level_ = Level::Targets;
  int32_t index_ = -1;  // the item the ring is on, -1 before the first step
  TargetArea grid_;     // the grid chosen, below the Targets level
  int32_t row_ = 0;     // the row chosen, at the Cells level
};
