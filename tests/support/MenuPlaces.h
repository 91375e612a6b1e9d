// Where the child clicks in the main menu, its selection screens and the options screen, in
// window pixels, and the colours that tell the menu and the options screen apart.
#pragma once

#include <cstdint>

#include "TestSupport.h"

namespace tafutest {

// The buttons' centres, and for the swap button and the medium difficulty their first pixel
// inside the top-left corner, so that a button moved by one pixel misses.
constexpr Point kPaint = {218, 275};
constexpr Point kSwap = {625, 438};  // the button at (624, 437)
constexpr Point kSlide = {681, 313};
constexpr Point kCopyDrawing = {603, 130};
constexpr Point kCopyColours = {428, 434};
constexpr Point kOptions = {769, 35};
constexpr Point kExit = {83, 515};  // also Back on the selection and options screens
constexpr Point kEasyButton = {172, 300};
constexpr Point kMediumButton = {301, 221};  // the button at (300, 220)
constexpr Point kHardButton = {594, 300};
constexpr Point kBig = {291, 300};
constexpr Point kSmall = {553, 300};
constexpr Point kWindowToggle = {602, 140};
constexpr Point kNowhere = {790, 590};

// The menu's picture buttons, whole.
constexpr Box kMenuPaint = {136, 205, 165, 141}, kMenuSwap = {624, 437, 146, 148}, kMenuSlide = {605, 249, 152, 129};
constexpr Box kMenuCopyDrawing = {507, 45, 193, 171}, kMenuCopyColours = {335, 350, 187, 168};
constexpr Box kMenuOptions = {739, 5, 61, 61}, kMenuExit = {32, 446, 103, 138};
constexpr Box kMenuButtons[] = {kMenuPaint, kMenuSwap, kMenuSlide, kMenuCopyDrawing, kMenuCopyColours, kMenuOptions, kMenuExit};

// LED i of the music and the effects bars.
constexpr Point MusicLed(int32_t i) { return {397 + 28 * i + 17, 325}; }
constexpr Point EffectsLed(int32_t i) { return {436 + 28 * i + 17, 479}; }

// Open sky in the menu, the warm wall in the options screen.
constexpr Point kMenuSky = {200, 200};

// Pixels as the X server gives them, 0xBBGGRR: the menu's blue sky, the options screen's wall.
constexpr bool IsBluish(uint32_t pixel) { return ((pixel >> 16) & 0xFF) > (pixel & 0xFF) + 40; }
constexpr bool IsWarm(uint32_t pixel) { return (pixel & 0xFF) > ((pixel >> 16) & 0xFF) + 10; }

}  // namespace tafutest
