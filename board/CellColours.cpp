#include "board/CellColours.h"

namespace {

constexpr uint32_t kAlphaMask = 0xFF000000u;

uint32_t Red(uint32_t value) { return value & 0xFF; }
uint32_t Green(uint32_t value) { return (value >> 8) & 0xFF; }
uint32_t Blue(uint32_t value) { return (value >> 16) & 0xFF; }

uint32_t Compose(uint32_t value, double red, double green, double blue) {
  return (value & kAlphaMask) | ClampChannel(blue) << 16 | ClampChannel(green) << 8 | ClampChannel(red);
}

}  // namespace

uint32_t ClampChannel(double x) {
  if (x > 255.0) return 255;
  if (x >= 0.0) return static_cast<uint32_t>(x);
  return 0;
}

uint32_t ColourLift(uint32_t value, double d) {
  return Compose(value, Red(value) + d, Green(value) + d, Blue(value) + d);
}

uint32_t ColourDarken(uint32_t value, double k) {
  return Compose(value, Red(value) / k, Green(value) / k, Blue(value) / k);
}

uint32_t ColourBrighten(uint32_t value, double k) {
  return Compose(value, Red(value) * k, Green(value) * k, Blue(value) * k);
}

uint32_t ColourGrey(uint32_t value) {
  const double grey = 0.299 * Red(value) + 0.587 * Green(value) + 0.114 * Blue(value);
  return Compose(value, grey, grey, grey);
}
