#include "ShownFrame.h"

#include <gtest/gtest.h>

#include "XWindows.h"

namespace copytest {

ShownFrame::ShownFrame() : pixels_(static_cast<size_t>(kWidth * kHeight)) {
  const tafutest::XWindowInfo window = tafutest::FindXWindow("TAFU test");
  EXPECT_TRUE(window.found) << "no test window to read";
  if (!window.found) return;
  std::vector<uint32_t> pixels = tafutest::ReadXWindowArea(window.id, 0, 0, kWidth, kHeight);
  if (pixels.size() == pixels_.size()) pixels_ = std::move(pixels);
}

}  // namespace copytest
