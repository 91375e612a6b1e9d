// The game's one random generator: 15-bit values, 0 to 32767, whatever the C library's RAND_MAX.
#pragma once

#include <cstdint>

constexpr int32_t KRANDOM_RANGE = 32768;

void SeedRandom(uint32_t seed);
// A value from 0 to 32767.
int32_t Random15();
// A whole number below n: Random15() x n / 32768, truncated.
int32_t RandomBelow(int32_t n);
