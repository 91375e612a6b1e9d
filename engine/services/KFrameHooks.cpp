#include "KFrameHooks.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<KFrameHook> hooks;

}  // namespace

void AddFrameHook(KFrameHook hook) {
  if (std::find(hooks.begin(), hooks.end(), hook) == hooks.end()) hooks.push_back(hook);
}

void RunFrameHooks() {
  for (const KFrameHook hook : hooks) hook();
}

bool HasFrameHooks() { return !hooks.empty(); }
