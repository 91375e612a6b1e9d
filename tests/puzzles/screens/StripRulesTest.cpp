#include <gtest/gtest.h>

#include <map>
#include <set>

#include "puzzles/StripRules.h"
#include "services/KRandom.h"

namespace {

int32_t Displaced(const StripOffsets& offsets) {
  int32_t count = 0;
  for (int32_t offset : offsets) count += offset != 0;
  return count;
}

TEST(ShuffleStrips, EachExchangeSwapsTwoNeighbours) {
  SeedRandom(3);
  for (int round = 0; round < 200; ++round) {
    StripOrder order{0, 1, 2, 3};
    ShuffleStrips(order, 1);
    int32_t moved = 0;
    int32_t first = -1;
    for (int32_t s = 0; s < kStripCount; ++s) {
      if (order[static_cast<size_t>(s)] == s) continue;
      if (first < 0) first = s;
      ++moved;
    }
    ASSERT_EQ(moved, 2);
    EXPECT_EQ(order[static_cast<size_t>(first)], first + 1);
    EXPECT_EQ(order[static_cast<size_t>(first) + 1], first);
  }
}

TEST(ShuffleStrips, AnOddNumberOfExchangesNeverLeavesTheOrderSolved) {
  SeedRandom(11);
  std::set<StripOrder> seen;
  for (int32_t exchanges : {1, 3, 13}) {
    for (int round = 0; round < 300; ++round) {
      StripOrder order{0, 1, 2, 3};
      ShuffleStrips(order, exchanges);
      EXPECT_FALSE(IsOrderSolved(order)) << exchanges;
      seen.insert(order);
    }
  }
  // Odd permutations of four strips: twelve of them, and the hard shuffle reaches them all.
  EXPECT_EQ(seen.size(), 12u);
}

TEST(IsOrderSolved, OnlyTheIdentity) {
  EXPECT_TRUE(IsOrderSolved({0, 1, 2, 3}));
  EXPECT_FALSE(IsOrderSolved({1, 0, 2, 3}));
  EXPECT_FALSE(IsOrderSolved({0, 1, 3, 2}));
  EXPECT_FALSE(IsOrderSolved({3, 2, 1, 0}));
}

TEST(DisplaceStrips, ShiftsAsManyUpperStripsAsTheDifficultyByEvenInRangeAmounts) {
  SeedRandom(5);
  std::map<int32_t, int32_t> amounts;
  std::set<int32_t> strips;
  for (int32_t difficulty = 1; difficulty <= 3; ++difficulty) {
    for (int round = 0; round < 2000; ++round) {
      StripOffsets offsets{9, 9, 9, 9};
      DisplaceStrips(offsets, difficulty, 50);
      ASSERT_EQ(Displaced(offsets), difficulty);
      EXPECT_EQ(offsets[3], 0);
      EXPECT_FALSE(AreOffsetsSolved(offsets));
      for (int32_t s = 0; s < 3; ++s) {
        const int32_t offset = offsets[static_cast<size_t>(s)];
        if (offset == 0) continue;
        strips.insert(s);
        EXPECT_EQ(offset % 2, 0);
        EXPECT_GE(offset, -48);
        EXPECT_LE(offset, 46);
        ++amounts[offset];
      }
    }
  }
  EXPECT_EQ(strips, (std::set<int32_t>{0, 1, 2}));
  // Every even amount from -48 to 46 but 0 comes up.
  EXPECT_EQ(amounts.size(), 47u);
}

// The raw shift formula gives -52 for a random value of 0 and -50 just above it; such
// draws are taken again, so a fresh strip is always within the ring.
TEST(DisplaceStrips, DrawsAgainWhenTheShiftWouldLeaveTheRing) {
  for (uint32_t seed = 0; seed < 400; ++seed) {
    SeedRandom(seed);
    StripOffsets offsets{};
    DisplaceStrips(offsets, 3, 50);
    for (int32_t offset : offsets) EXPECT_GT(offset, -50) << seed;
  }
}

TEST(DisplaceStrips, NeverMoreStripsThanCanMove) {
  SeedRandom(1);
  StripOffsets offsets{};
  DisplaceStrips(offsets, 4, 50);
  EXPECT_EQ(Displaced(offsets), 3);
  EXPECT_EQ(offsets[3], 0);
}

TEST(AreOffsetsSolved, OnlyWhenEveryOffsetIsZero) {
  EXPECT_TRUE(AreOffsetsSolved({0, 0, 0, 0}));
  EXPECT_FALSE(AreOffsetsSolved({0, 0, 0, 2}));
  EXPECT_FALSE(AreOffsetsSolved({-50, 0, 0, 0}));
  EXPECT_FALSE(AreOffsetsSolved({0, 48, 0, 0}));
}

TEST(StepOffset, TwoCellsRoundTheRing) {
  EXPECT_EQ(StepOffset(48, SlideDirection::Right, 50), 0);
  EXPECT_EQ(StepOffset(-48, SlideDirection::Left, 50), 0);
  EXPECT_EQ(StepOffset(46, SlideDirection::Right, 50), 48);
  EXPECT_EQ(StepOffset(0, SlideDirection::Left, 50), -2);
  EXPECT_EQ(StepOffset(-46, SlideDirection::Left, 50), -48);
  EXPECT_EQ(StepOffset(-2, SlideDirection::Right, 50), 0);
  EXPECT_EQ(StepOffset(6, SlideDirection::None, 50), 6);
}

TEST(ShiftedColumn, PictureColumnsWrapRoundTheScreen) {
  EXPECT_EQ(ShiftedColumn(0, 0, 50), 0);
  EXPECT_EQ(ShiftedColumn(49, 2, 50), 1);
  EXPECT_EQ(ShiftedColumn(0, -2, 50), 48);
  EXPECT_EQ(ShiftedColumn(10, 46, 50), 6);
  EXPECT_EQ(ShiftedColumn(47, -48, 50), 49);
}

}  // namespace
