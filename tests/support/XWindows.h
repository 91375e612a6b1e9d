// Talking to the X server the way a desktop would: finding windows and asking them to close.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tafutest {

struct XWindowInfo {
  bool found = false;
  unsigned long id = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The first mapped top-level window with exactly this title.
XWindowInfo FindXWindow(const std::string& title);
// The window's title now; empty when it has gone.
std::string XWindowTitle(unsigned long id);
// The pixel the X server shows at (x, y) of the window, as 0x00BBGGRR.
uint32_t ReadXWindowPixel(unsigned long id, int32_t x, int32_t y);
// What the X server shows in a width x height area of the window from (x, y), rows top
// first, each pixel as 0x00BBGGRR; empty when it cannot be read.
std::vector<uint32_t> ReadXWindowArea(unsigned long id, int32_t x, int32_t y, int32_t width, int32_t height);
// Sends WM_DELETE_WINDOW, as a click on the window's close button does.
bool RequestXWindowClose(unsigned long id);
// Whether another client holds the keyboard: a grab of our own is refused while it does.
bool IsKeyboardGrabbed();

// Another program's window of one colour laid over a window and given the input focus, as
// when a parent opens something over the game; Uncover takes it away again, leaving the
// focus nowhere.
class XCover {
 public:
  XCover(unsigned long over, uint32_t rgb);
  ~XCover();
  XCover(const XCover&) = delete;
  XCover& operator=(const XCover&) = delete;
  bool IsShown() const { return window_ != 0; }
  void Uncover();

 private:
  void* display_ = nullptr;
  unsigned long window_ = 0;
};

}  // namespace tafutest
