#include <gtest/gtest.h>

#include <cstdint>

#include "services/KFrameHooks.h"

namespace {

uint32_t musicGap = 40;
uint32_t Music() { return musicGap; }

// The window rests no longer than its hooks last said they may wait, and a hook just added
// runs before any rest.
TEST(FrameHooks, TheWindowRestsAsLongAsTheHooksLastSaid) {
  EXPECT_EQ(LongestRestForHooks(), UINT32_MAX);
  AddFrameHook(Music);
  EXPECT_EQ(LongestRestForHooks(), 0u);
  RunFrameHooks();
  EXPECT_EQ(LongestRestForHooks(), 40u);
  musicGap = UINT32_MAX;
  RunFrameHooks();
  EXPECT_EQ(LongestRestForHooks(), UINT32_MAX);
}

}  // namespace
