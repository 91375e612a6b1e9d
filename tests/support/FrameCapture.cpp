#include "FrameCapture.h"

#include <utility>

#include "XWindows.h"

namespace tafutest {

ShownFrame ShownFrame::Read() {
  ShownFrame frame;
  const XWindowInfo window = FindXWindow("TAFU test");
  if (!window.found) return frame;
  std::vector<uint32_t> pixels = ReadXWindowArea(window.id, 0, 0, kWidth, kHeight);
  if (pixels.size() != frame.pixels_.size()) return frame;
  frame.found_ = true;
  frame.pixels_ = std::move(pixels);
  return frame;
}

}  // namespace tafutest
