#include <gtest/gtest.h>

#include "services/KFrameHooks.h"

namespace {

uint32_t musicGap = 40;

// The window rests no longer than its hooks last said, and a hook just added runs first.
TEST(FrameHooks, TheWindowRestsAsLongAsTheHooksLastSaid) {
  AddFrameHook([] { return musicGap; });
  EXPECT_EQ(LongestRestForHooks(), 0u);
  RunFrameHooks();
  EXPECT_EQ(LongestRestForHooks(), 40u);
  musicGap = UINT32_MAX;
  RunFrameHooks();
  EXPECT_EQ(LongestRestForHooks(), UINT32_MAX);
}

}  // namespace
