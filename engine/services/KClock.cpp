#include "KClock.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

#include "platform/KPlatform.h"


namespace {

bool stepped = false;
uint64_t steppedNow = 0;

uint64_t RealMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

void InitClock() {}

uint64_t GetMilliseconds() { return stepped ? steppedNow : RealMilliseconds(); }

void WaitUntilMilliseconds(uint64_t target) {
  if (stepped) {
    if (steppedNow < target) steppedNow = target;
    return;
  }
  WaitForRealClock(target, RealMilliseconds());
}

void WaitMilliseconds(uint32_t ms, bool pump) {
  const uint64_t start = GetMilliseconds();
  const uint64_t target = start + ms;
  if (!pump) {
    WaitUntilMilliseconds(target);
    return;
  }
  for (;;) {
    const uint64_t now = GetMilliseconds();
    if (now < start || now >= target) return;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PumpEvents();
    WaitUntilMilliseconds(std::min(target, now + 1));
  }
}

void UseSteppedClock(uint64_t startMs) {
  stepped = true;
  steppedNow = startMs;
}

void UseRealClock() { stepped = false; }

void AdvanceSteppedClock(uint64_t ms) { steppedNow += ms; }

bool IsClockStepped() { return stepped; }
