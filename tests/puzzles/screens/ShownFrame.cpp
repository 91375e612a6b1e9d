#include "ShownFrame.h"

#include "XWindows.h"

namespace puzzletest {

ShownFrame ShownFrame::Read() {
  ShownFrame frame;
  static const tafutest::XWindowInfo window = tafutest::FindXWindow("TAFU test");
  if (!window.found) return frame;
  std::vector<uint32_t> pixels = tafutest::ReadXWindowArea(window.id, 0, 0, kScreenWidth, kScreenHeight);
  if (pixels.size() == frame.pixels_.size()) frame.pixels_ = std::move(pixels);
  return frame;
}

}  // namespace puzzletest
