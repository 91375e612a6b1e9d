// The row of seven stars and stones that records the results of one visit to a puzzle.
#pragma once

#include <array>
#include <cstdint>

#include "graphic/KGraphic.h"

enum class ResultKind : int32_t { Empty = 0, Star = 1, Stone = 2 };
enum class ResultFade : int32_t { None = 0, In = 1, Out = 2 };

struct ResultSlot {
  ResultKind kind = ResultKind::Empty;
  float opacity = 0.0f;  // 0 invisible, 1 opaque
  ResultFade fade = ResultFade::None;
};

constexpr int32_t kResultSlots = 7;
using ResultRow = std::array<ResultSlot, kResultSlots>;

// The rocking and the turning of the row, kept from one puzzle screen to the next.
struct ResultMotion {
  float wobblePhase = 0.0f;  // radians
  float spinAngle = 0.0f;    // degrees
};
extern ResultMotion SharedResultMotion;

// Where and how one slot is drawn this frame.
struct ResultPose {
  ResultKind kind = ResultKind::Empty;
  float x = 0.0f;
  float y = 0.0f;
  float angle = 0.0f;  // degrees
  float opacity = 0.0f;
};

// What one frame of the row does: the slots to draw, left to right, and whether the
// closing fade-out ended in this frame.
struct ResultFrame {
  std::array<ResultPose, kResultSlots> poses{};
  int32_t count = 0;
  bool finished = false;
};

// Fills the first empty slot with a star (success) or a stone, fading in; nothing
// when the row is full.
void AddResult(ResultRow& row, bool success);
// The number of filled slots, 0 to 7.
int32_t CountResults(const ResultRow& row);
// Starts the closing fade-out: the slots fade out one after another from the left.
void StartClosingFade(ResultRow& row);

// Advances the row by elapsedMs: fades, rocking and turning; returns what to draw.
ResultFrame StepResultRow(ResultRow& row, float elapsedMs, ResultMotion& motion);

// Advances the row by elapsedMs (the frame time) with SharedResultMotion and draws its
// slots with the star and stone pictures; true in the frame in which the closing
// fade-out ends.
bool DrawResultRow(KGraphic& star, KGraphic& stone, ResultRow& row, float elapsedMs);
