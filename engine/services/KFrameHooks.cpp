#include "KFrameHooks.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

struct Hook {
  KFrameHook run;
  uint32_t longestGapMs;
};

std::vector<Hook> hooks;

}  // namespace

void AddFrameHook(KFrameHook hook, uint32_t longestGapMs) {
  const auto same = [hook](const Hook& added) { return added.run == hook; };
  if (std::none_of(hooks.begin(), hooks.end(), same)) hooks.push_back({hook, longestGapMs});
}

void RunFrameHooks() {
  for (const Hook& hook : hooks) hook.run();
}

uint32_t LongestRestForHooks() {
  uint32_t longest = std::numeric_limits<uint32_t>::max();
  for (const Hook& hook : hooks) longest = std::min(longest, hook.longestGapMs);
  return longest;
}
