#include "KClock.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {

bool stepped = false;
uint64_t steppedNow = 0;

uint64_t RealMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

#ifndef __EMSCRIPTEN__
// The sleep ends this long before the target; only this last stretch is spun, so an
// idle screen costs little more than drawing its frames.
constexpr std::chrono::microseconds kSpin{250};
#endif

}  // namespace

void InitClock() {}

uint64_t GetMilliseconds() { return stepped ? steppedNow : RealMilliseconds(); }

void WaitUntilMilliseconds(uint64_t target) {
  if (stepped) {
    if (steppedNow < target) steppedNow = target;
    return;
  }
#ifdef __EMSCRIPTEN__
  // The page lives on only while the game waits: the wait hands the browser its turn, even
  // when it is over already.
  const uint64_t now = RealMilliseconds();
  emscripten_sleep(static_cast<unsigned int>(target > now ? target - now : 0));
#else
  using namespace std::chrono;
  const steady_clock::time_point deadline{milliseconds(target)};
  if (steady_clock::now() < deadline - kSpin) std::this_thread::sleep_until(deadline - kSpin);
  while (steady_clock::now() < deadline) {
  }
#endif
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
