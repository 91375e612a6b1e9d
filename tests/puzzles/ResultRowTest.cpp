#include <gtest/gtest.h>

#include <cmath>

#include "puzzles/ResultRow.h"

namespace {

TEST(ResultRows, SlotsFillFromTheLeftAndAnEighthResultChangesNothing) {
  ResultRow row;
  EXPECT_EQ(CountResults(row), 0);
  for (int i = 0; i < 7; ++i) {
    AddResult(row, i % 3 != 1);
    EXPECT_EQ(CountResults(row), i + 1);
    EXPECT_EQ(row[static_cast<size_t>(i)].fade, ResultFade::In);
  }
  EXPECT_EQ(row[0].kind, ResultKind::Star);
  EXPECT_EQ(row[1].kind, ResultKind::Stone);
  const ResultRow full = row;
  AddResult(row, true);
  EXPECT_EQ(CountResults(row), 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(row[static_cast<size_t>(i)].kind, full[static_cast<size_t>(i)].kind);
    EXPECT_EQ(row[static_cast<size_t>(i)].fade, full[static_cast<size_t>(i)].fade);
  }
}

TEST(ResultRows, NewResultsFadeInOverASecondAndRock) {
  ResultRow row;
  ResultMotion motion;
  AddResult(row, true);
  AddResult(row, false);
  ResultFrame frame{};
  for (int i = 0; i < 40; ++i) frame = StepResultRow(row, 12.5f, motion);
  EXPECT_NEAR(row[0].opacity, 0.5f, 1e-4);
  ASSERT_EQ(frame.count, 2);  // the first empty slot ends the row
  EXPECT_FLOAT_EQ(frame.poses[0].x, 134.0f);
  EXPECT_FLOAT_EQ(frame.poses[1].x, 201.0f);
  EXPECT_FLOAT_EQ(frame.poses[1].y, 500.0f);
  EXPECT_NEAR(motion.wobblePhase, 1.57f, 1e-4);
  EXPECT_NEAR(frame.poses[0].angle, 30.0f * std::sin(1.57f), 1e-3);
  EXPECT_NEAR(frame.poses[1].angle, -14.0f * std::sin(1.57f - 0.25f), 1e-3);
  for (int i = 0; i < 60; ++i) frame = StepResultRow(row, 12.5f, motion);
  EXPECT_FLOAT_EQ(frame.poses[0].opacity, 1.0f);
  EXPECT_FALSE(frame.finished);
}

TEST(ResultRows, WobbleAndSpinWrapAndCarryOverFromScreenToScreen) {
  ResultRow row;
  ResultMotion motion;
  motion.wobblePhase = 6.28f;
  motion.spinAngle = 359.0f;
  StepResultRow(row, 10.0f, motion);
  EXPECT_EQ(motion.wobblePhase, 0.0f);
  EXPECT_EQ(motion.spinAngle, 0.0f);
  StepResultRow(row, 100.0f, motion);
  EXPECT_NEAR(motion.wobblePhase, 0.314f, 1e-5);
  EXPECT_NEAR(motion.spinAngle, 36.0f, 1e-4);
}

// With seven results shown, the closing fade takes each slot out over about a second,
// turning, and reports its end in the frame in which slot 6 has reached 0.
TEST(ResultRows, ClosingFadeEndsAboutSevenSecondsAfterItStarts) {
  ResultRow row;
  ResultMotion motion;
  for (int i = 0; i < 7; ++i) AddResult(row, i % 2 == 0);
  for (int i = 0; i < 120; ++i) StepResultRow(row, 12.5f, motion);
  StartClosingFade(row);
  int frames = 0;
  bool sawSpin = false;
  ResultFrame frame{};
  do {
    frame = StepResultRow(row, 12.5f, motion);
    ++frames;
    if (frame.count > 0 && row[0].fade == ResultFade::Out && motion.spinAngle > 0.0f)
      sawSpin = sawSpin || std::abs(frame.poses[0].angle - 30.0f * std::sin(motion.wobblePhase)) > 1.0f;
    ASSERT_LT(frames, 2000);
  } while (!frame.finished);
  EXPECT_TRUE(sawSpin);
  const double seconds = frames * 12.5 / 1000.0;
  EXPECT_GT(seconds, 6.9);
  EXPECT_LT(seconds, 7.3);
  EXPECT_LE(row[6].opacity, 0.0f);
  EXPECT_EQ(frame.count, 6);  // slots 0 to 5 were still drawn, invisible
  for (int i = 0; i < 6; ++i) EXPECT_EQ(frame.poses[static_cast<size_t>(i)].opacity, 0.0f);
}

}  // namespace
