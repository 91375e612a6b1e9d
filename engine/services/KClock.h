// The millisecond clock every animation and the frame limiter run on.
#pragma once

#include <cstdint>

void InitClock();
// Milliseconds on a monotonic clock; callers use the low 32 bits for differences.
uint64_t GetMilliseconds();
// Waits until ms have passed, letting pending window events queue up when pump is set.
void WaitMilliseconds(uint32_t ms, bool pump);
// Waits until the clock reads at least target: sleeps, then spins the last millisecond.
void WaitUntilMilliseconds(uint64_t target);

// A clock that only moves when told to, so tests can run frames in steps.
// While it is on, waiting moves it forward instead of sleeping.
void UseSteppedClock(uint64_t startMs);
void UseRealClock();
void AdvanceSteppedClock(uint64_t ms);
bool IsClockStepped();
