// An input event as the window hands it to an event handler.
#pragma once

#include <cstdint>

enum KEventType : int32_t {
  KEVENT_NONE = 0,
  KEVENT_MOUSE_MOVED = 1,
  KEVENT_BUTTON_RELEASED = 2,
  KEVENT_BUTTON_PRESSED = 3,
  KEVENT_CHARACTER = 5,
  KEVENT_KEY_PRESSED = 6,
  KEVENT_KEY_RELEASED = 7,
  KEVENT_DOUBLE_CLICKED = 8,
  KEVENT_WHEEL = 11,
};

struct KEvent {
  int32_t type = KEVENT_NONE;
  int32_t x = 0;           // pointer position in client pixels when the event came
  int32_t y = 0;
  int32_t button = 0;      // 1 left, 2 right, 3 middle, 0 none
  int16_t wheel = 0;       // wheel delta, 120 per notch
  uint8_t character = 0;   // typed character; scan code for key presses; low byte of the key for releases
  int32_t virtualKey = 0;  // the platform's key value of key events
  int32_t message = 0;     // the platform's event number
  int32_t key = 93;        // engine key code, 93 (unknown) for anything but keys
  int32_t lParam = 0;
};
