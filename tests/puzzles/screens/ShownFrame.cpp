#include "ShownFrame.h"

#include "XWindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace puzzletest {

ShownFrame ShownFrame::Read() {
  ShownFrame frame;
  static const tafutest::XWindowInfo window = tafutest::FindXWindow("TAFU test");
  if (!window.found) return frame;
  const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
  if (!display) return frame;
  XImage* image = XGetImage(display.get(), window.id, 0, 0, kScreenWidth, kScreenHeight, AllPlanes, ZPixmap);
  if (!image) return frame;
  for (int32_t y = 0; y < kScreenHeight; ++y)
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      frame.pixels_[static_cast<size_t>(y * kScreenWidth + x)] =
          static_cast<uint32_t>(((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16));
    }
  XDestroyImage(image);
  return frame;
}

}  // namespace puzzletest
