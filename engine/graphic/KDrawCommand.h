// One drawing of a frame as the frame record keeps it: a view, an untextured shape or a
// textured quad, with everything it draws with captured when it was asked for. The GL
// drawer (KDrawGL) carries a command out from these same corners, and the record finds the
// pixels it may change (Bounds) and those it paints afresh (Cover) from them too. No GL here:
// the record and its tests work without a window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <variant>

// A rectangle of the screen in pixels from its top-left corner: left and top inside it,
// right and bottom just past it.
struct KScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  bool Meets(const KScreenRect& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
  bool Holds(const KScreenRect& other) const {
    return left <= other.left && top <= other.top && right >= other.right && bottom >= other.bottom;
  }
  bool operator==(const KScreenRect&) const = default;
};

// Every pixel a command could reach, whatever the view.
constexpr KScreenRect kEverywhere{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};

// A corner in GL pixels (y up from the bottom edge) and the texel it shows (0..1).
struct KCorner {
  float x = 0, y = 0, u = 0, v = 0;
  bool operator==(const KCorner&) const = default;
};

struct KColour {
  float r = 1, g = 1, b = 1, a = 1;
  bool operator==(const KColour&) const = default;
};

// Where a shape's corners are measured from: the view's origin, or a point the corners turn
// and zoom about.
struct KPlacement {
  bool moved = false;  // the corners are around (x, y), turned by angle and zoomed
  float x = 0, y = 0, angle = 0, zoom = 1;
  bool operator==(const KPlacement&) const = default;
};

// Projection and view transform; with clear, the frame is cleared to the colour first.
struct KViewCommand {
  int16_t width = 0, height = 0;
  float x = 0, y = 0, angle = 0, zoom = 1;
  bool clear = false;
  KColour clearColour{0, 0, 0, 0};
  bool operator==(const KViewCommand&) const = default;
};

enum class KShapeKind : uint8_t { Rectangle, Line, Point };
constexpr size_t CornerCount(KShapeKind kind) { return kind == KShapeKind::Rectangle ? 4 : kind == KShapeKind::Line ? 2 : 1; }

// An untextured rectangle (four corners), line (two) or point (one), in one colour.
struct KShapeCommand {
  KShapeKind kind = KShapeKind::Rectangle;
  std::array<KCorner, 4> corners{};
  KColour colour;
  bool blended = true;
  bool operator==(const KShapeCommand&) const = default;
};

// How a textured quad meets the pixels under it.
struct KBlend {
  bool on = false;
  uint32_t source = 0, destination = 0;
  bool operator==(const KBlend&) const = default;
};

// A textured quad: every picture draw becomes one.
struct KQuadCommand {
  uint32_t texture = 0;
  KPlacement placement;
  std::array<KCorner, 4> corners{};
  KColour colour;
  KBlend blend;
  // An opaque picture copied without blending where it would otherwise blend (counted).
  bool opaqueCopy = false;
  bool operator==(const KQuadCommand&) const = default;
};

struct KDrawCommand {
  // What the command draws from (a picture or the window) and which contents of it.
  const void* owner = nullptr;
  uint64_t version = 0;
  std::variant<KViewCommand, KShapeCommand, KQuadCommand> drawing;

  bool operator==(const KDrawCommand&) const = default;
  // False for a command that only sets how the commands after it draw (a view that does not
  // clear).
  bool Paints() const;
};

// Every pixel the command may change on a screen of this height, from the corners it is
// drawn with.
KScreenRect BoundsOf(const KDrawCommand& command, int32_t screenHeight);
// The pixels it paints afresh whatever was under them: a textured quad copied square and
// unblended; empty for anything else.
KScreenRect CoverOf(const KDrawCommand& command, int32_t screenHeight);
