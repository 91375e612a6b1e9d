#include "KDrawCommand.h"

#include <algorithm>
#include <cmath>

namespace {

// How far beyond its corners a shape may change pixels (smoothing, lines, rounding).
constexpr float kReach = 2.0f;

// The first count corners in screen pixels from the top-left, as (left, top, right, bottom).
KScreenRect Extent(const std::array<KCorner, 4>& corners, size_t count, int32_t screenHeight, float reach) {
  float left = corners[0].x, right = left, top = screenHeight - corners[0].y, bottom = top;
  for (size_t i = 1; i < count; ++i) {
    left = std::min(left, corners[i].x);
    right = std::max(right, corners[i].x);
    top = std::min(top, screenHeight - corners[i].y);
    bottom = std::max(bottom, screenHeight - corners[i].y);
  }
  const auto whole = [](float value) { return static_cast<int32_t>(value); };
  return {whole(std::floor(left - reach)), whole(std::floor(top - reach)), whole(std::ceil(right + reach)),
          whole(std::ceil(bottom + reach))};
}

// Every pixel corners placed this way may change; moved, turned any way about their origin.
KScreenRect PlacedArea(const KPlacement& placement, const std::array<KCorner, 4>& corners, size_t count,
                       int32_t screenHeight) {
  if (!placement.moved) return Extent(corners, count, screenHeight, kReach);
  float reach = 0;
  for (size_t i = 0; i < count; ++i) reach = std::max(reach, std::hypot(corners[i].x, corners[i].y));
  return Extent({KCorner{placement.x, placement.y}}, 1, screenHeight, std::abs(placement.zoom) * reach + kReach);
}

}  // namespace

bool KDrawCommand::Paints() const {
  const auto* view = std::get_if<KViewCommand>(&drawing);
  return !view || view->clear;
}

KScreenRect BoundsOf(const KDrawCommand& command, int32_t screenHeight) {
  if (const auto* quad = std::get_if<KQuadCommand>(&command.drawing))
    return PlacedArea(quad->placement, quad->corners, 4, screenHeight);
  if (const auto* shape = std::get_if<KShapeCommand>(&command.drawing))
    return PlacedArea({}, shape->corners, CornerCount(shape->kind), screenHeight);
  return kEverywhere;
}

KScreenRect CoverOf(const KDrawCommand& command, int32_t screenHeight) {
  const auto* quad = std::get_if<KQuadCommand>(&command.drawing);
  if (!quad || quad->placement.moved || quad->blend.on) return {};
  const std::array<KCorner, 4>& c = quad->corners;
  const bool square = c[0].x == c[1].x && c[2].x == c[3].x && c[1].y == c[2].y && c[0].y == c[3].y;
  return square ? Extent(c, 4, screenHeight, 0) : KScreenRect{};
}
