#include "ShownFrame.h"

#include <gtest/gtest.h>

#include "XWindows.h"

// Last: Xlib defines names such as None that the headers above use.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace copytest {

ShownFrame::ShownFrame() : pixels_(static_cast<size_t>(kWidth * kHeight)) {
  const tafutest::XWindowInfo window = tafutest::FindXWindow("TAFU test");
  EXPECT_TRUE(window.found) << "no test window to read";
  Display* display = XOpenDisplay(nullptr);
  if (!window.found || !display) return;
  if (XImage* image = XGetImage(display, window.id, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap)) {
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        pixels_[static_cast<size_t>(y * kWidth + x)] =
            static_cast<uint32_t>(((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16);
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
}

}  // namespace copytest
