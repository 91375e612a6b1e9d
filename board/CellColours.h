// Colour arithmetic on cell values (0xAABBGGRR); every operation keeps the alpha byte.
#pragma once

#include <cstdint>

// 255 above 255, 0 below 0, otherwise x truncated.
uint32_t ClampChannel(double x);
// Every colour channel plus d.
uint32_t ColourLift(uint32_t value, double d);
// Every colour channel divided by k.
uint32_t ColourDarken(uint32_t value, double k);
// Every colour channel multiplied by k.
uint32_t ColourBrighten(uint32_t value, double k);
// Every colour channel becomes the value's brightness, 0.299 red + 0.587 green + 0.114 blue.
uint32_t ColourGrey(uint32_t value);
