#include "XWindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace tafutest {

namespace {

using Display_ = std::unique_ptr<Display, int (*)(Display*)>;

// Windows come and go while a test looks at them (SDL makes short-lived ones as a game
// starts): a request about a window that has just gone is answered with an error,
// which only means "not this one".
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

Display_ OpenDisplay() {
  XSetErrorHandler(IgnoreXError);
  return Display_(XOpenDisplay(nullptr), XCloseDisplay);
}

bool Search(Display* display, Window window, const std::string& title, XWindowInfo& info) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    const bool same = title == name;
    XFree(name);
    XWindowAttributes attributes{};
    if (same && XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) {
      info = {true, window, attributes.width, attributes.height};
      return true;
    }
  }
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
  bool found = false;
  for (unsigned i = 0; i < count && !found; ++i) found = Search(display, children[i], title, info);
  if (children) XFree(children);
  return found;
}

}  // namespace

XWindowInfo FindXWindow(const std::string& title) {
  XWindowInfo info;
  Display_ display = OpenDisplay();
  if (!display) return info;
  Search(display.get(), DefaultRootWindow(display.get()), title, info);
  return info;
}

std::string XWindowTitle(unsigned long id) {
  Display_ display = OpenDisplay();
  char* name = nullptr;
  if (!display || !XFetchName(display.get(), id, &name) || !name) return {};
  std::string title = name;
  XFree(name);
  return title;
}

uint32_t ReadXWindowPixel(unsigned long id, int32_t x, int32_t y) {
  const std::vector<uint32_t> pixel = ReadXWindowArea(id, x, y, 1, 1);
  return pixel.empty() ? 0 : pixel.front();
}

std::vector<uint32_t> ReadXWindowArea(unsigned long id, int32_t x, int32_t y, int32_t width, int32_t height) {
  Display_ display = OpenDisplay();
  if (!display || width <= 0 || height <= 0) return {};
  XImage* image = XGetImage(display.get(), id, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (!image) return {};
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int32_t row = 0; row < height; ++row) {
    for (int32_t column = 0; column < width; ++column) {
      const unsigned long pixel = XGetPixel(image, column, row);
      const uint32_t red = (pixel >> 16) & 0xFF;
      const uint32_t green = (pixel >> 8) & 0xFF;
      const uint32_t blue = pixel & 0xFF;
      pixels.push_back(red | green << 8 | blue << 16);
    }
  }
  XDestroyImage(image);
  return pixels;
}

bool RequestXWindowClose(unsigned long id) {
  Display_ display = OpenDisplay();
  if (!display) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = id;
  event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(display.get(), id, False, NoEventMask, &event) != 0;
  XFlush(display.get());
  return sent;
}

bool IsKeyboardGrabbed() {
  const Display_ display = OpenDisplay();
  if (!display) return false;
  const int result = XGrabKeyboard(display.get(), DefaultRootWindow(display.get()), False, GrabModeAsync,
                                   GrabModeAsync, CurrentTime);
  if (result == GrabSuccess) XUngrabKeyboard(display.get(), CurrentTime);
  return result == AlreadyGrabbed;
}

XCover::XCover(unsigned long over, uint32_t rgb) {
  XSetErrorHandler(IgnoreXError);
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  display_ = display;
  XWindowAttributes attributes{};
  Window child = 0;
  int x = 0;
  int y = 0;
  if (!XGetWindowAttributes(display, over, &attributes) ||
      !XTranslateCoordinates(display, over, DefaultRootWindow(display), 0, 0, &x, &y, &child))
    return;
  XSetWindowAttributes settings{};
  settings.override_redirect = True;
  settings.background_pixel = rgb;
  window_ = XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(attributes.width),
                          static_cast<unsigned>(attributes.height), 0, CopyFromParent, InputOutput, CopyFromParent,
                          CWOverrideRedirect | CWBackPixel, &settings);
  XMapRaised(display, window_);
  XSync(display, False);
  XSetInputFocus(display, window_, RevertToNone, CurrentTime);
  XSync(display, False);
}

XCover::~XCover() {
  Uncover();
  if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

void XCover::Uncover() {
  if (!display_ || !window_) return;
  Display* display = static_cast<Display*>(display_);
  XDestroyWindow(display, window_);
  XSync(display, False);
  window_ = 0;
}

}  // namespace tafutest
