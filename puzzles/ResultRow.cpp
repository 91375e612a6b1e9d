#include "puzzles/ResultRow.h"

#include <algorithm>
#include <cmath>

ResultMotion SharedResultMotion;

namespace {

constexpr float kWobbleSpeed = 3.14f;  // radians per second
constexpr float kWobbleWrap = 6.29f;
constexpr float kSpinSpeed = 360.0f;  // degrees per second
constexpr float kSpinWrap = 360.0f;
constexpr float kFadeSpeed = 1.0f;  // opacity per second
constexpr float kStarSwing = 30.0f;
constexpr float kStoneSwing = -14.0f;
constexpr float kSlotLag = 0.25f;  // radians behind the left neighbour
constexpr float kRowLeft = 134.0f;
constexpr float kSlotPitch = 67.0f;
constexpr float kRowTop = 500.0f;
constexpr float kMsPerSecond = 1000.0f;
constexpr float kStarWidth = 66.0f;
constexpr float kStarHeight = 59.0f;
constexpr float kStoneWidth = 64.0f;
constexpr float kStoneHeight = 69.0f;

}  // namespace

void AddResult(ResultRow& row, bool success) {
  for (ResultSlot& slot : row) {
    if (slot.kind != ResultKind::Empty) continue;
    slot.fade = ResultFade::In;
    slot.kind = success ? ResultKind::Star : ResultKind::Stone;
    return;
  }
}

int32_t CountResults(const ResultRow& row) {
  for (int32_t i = 0; i < kResultSlots; ++i)
    if (row[static_cast<size_t>(i)].kind == ResultKind::Empty) return i;
  return kResultSlots;
}

void StartClosingFade(ResultRow& row) { row[0].fade = ResultFade::Out; }

ResultFrame StepResultRow(ResultRow& row, float elapsedMs, ResultMotion& motion) {
  const float seconds = elapsedMs / kMsPerSecond;
  motion.wobblePhase += elapsedMs * kWobbleSpeed / kMsPerSecond;
  if (motion.wobblePhase >= kWobbleWrap) motion.wobblePhase = 0.0f;
  motion.spinAngle += elapsedMs * kSpinSpeed / kMsPerSecond;
  if (motion.spinAngle >= kSpinWrap) motion.spinAngle = 0.0f;

  ResultFrame frame;
  for (int32_t i = 0; i < kResultSlots; ++i) {
    ResultSlot& slot = row[static_cast<size_t>(i)];
    if (slot.fade == ResultFade::In) {
      if (slot.opacity < 1.0f) slot.opacity += seconds * kFadeSpeed;
    } else if (slot.fade == ResultFade::Out) {
      if (slot.opacity > 0.0f) {
        slot.opacity -= seconds * kFadeSpeed;
      } else {
        if (i == kResultSlots - 1) {
          frame.finished = true;
          return frame;
        }
        row[static_cast<size_t>(i + 1)].fade = ResultFade::Out;
        slot.fade = ResultFade::None;
        motion.spinAngle = 0.0f;
      }
    }
    if (slot.kind == ResultKind::Empty) return frame;

    const float swing = slot.kind == ResultKind::Star ? kStarSwing : kStoneSwing;
    const float spin = slot.fade == ResultFade::Out ? motion.spinAngle : 0.0f;
    ResultPose& pose = frame.poses[static_cast<size_t>(frame.count++)];
    pose.kind = slot.kind;
    pose.x = kRowLeft + kSlotPitch * static_cast<float>(i);
    pose.y = kRowTop;
    pose.angle = swing * std::sin(motion.wobblePhase - static_cast<float>(i) * kSlotLag) + spin;
    pose.opacity = std::clamp(slot.opacity, 0.0f, 1.0f);
  }
  return frame;
}

bool DrawResultRow(KGraphic& star, KGraphic& stone, ResultRow& row, float elapsedMs) {
  const ResultFrame frame = StepResultRow(row, elapsedMs, SharedResultMotion);
  for (int32_t i = 0; i < frame.count; ++i) {
    const ResultPose& pose = frame.poses[static_cast<size_t>(i)];
    const bool isStar = pose.kind == ResultKind::Star;
    KGraphic& picture = isStar ? star : stone;
    picture.BlitAlphaRotoZoom(0, 0, isStar ? kStarWidth : kStoneWidth, isStar ? kStarHeight : kStoneHeight,
                              static_cast<int16_t>(pose.x), static_cast<int16_t>(pose.y), pose.angle, 1.0f,
                              pose.opacity, kNoFlip, kNoFlip);
  }
  return frame.finished;
}
