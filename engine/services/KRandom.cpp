#include "KRandom.h"

namespace {
// The classic linear congruential generator, whose bits 16..30 make the value.
uint32_t state = 1;
}

void SeedRandom(uint32_t seed) { state = seed; }

int32_t Random15() {
  state = state * 1103515245u + 12345u;
  return static_cast<int32_t>((state >> 16) & 0x7FFF);
}

int32_t RandomBelow(int32_t n) { return static_cast<int32_t>(static_cast<int64_t>(Random15()) * n / KRANDOM_RANGE); }
