#include "KFrameHooks.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

std::vector<KFrameHook> hooks;
uint32_t longestRest = std::numeric_limits<uint32_t>::max();

}  // namespace

void AddFrameHook(KFrameHook hook) {
  if (std::find(hooks.begin(), hooks.end(), hook) != hooks.end()) return;
  hooks.push_back(hook);
  longestRest = 0;
}

void RunFrameHooks() {
  longestRest = std::numeric_limits<uint32_t>::max();
  for (const KFrameHook hook : hooks) longestRest = std::min(longestRest, hook());
}

uint32_t LongestRestForHooks() { return longestRest; }
