// Play without a mouse: what can be chosen on the screen, and the keys, pads and switches
// that choose it.
//
// Every button adds itself while it is drawn, and a screen adds its grids (a canvas, the
// palette, a copy game's boards) once a frame. At the frame's end the game's own pointer is
// moved among them and the mouse's left button pressed there, so that the screens never
// know which hand chose:
// - the arrow keys (a pad's d-pad and left stick) go to the nearest target in their
//   direction, within a grid to the next cell; Tab and Shift+Tab step in reading order;
// - Space or Enter (a pad's A or X) is the left button, held as long as the key is, and for
//   75 ms at least, as a child's click lasts; held while the arrows move, it paints;
// - a pad's B chooses the screen's exit door;
// - with scanning on, a ring steps through the targets by itself (a grid row by row, then
//   along the row chosen) and Space, or the mouse's left button, chooses; Enter, or its
//   right button, steps at once, for a second switch.
// A bright ring shows the target while the game leads; moving the mouse hands it back.
// Where the ring goes is decided by Navigation (keys) and Scanner (switches); this driver
// owns the frame's list of targets, moves the pointer, holds the button and draws the ring.
#pragma once

#include <cstdint>
#include <vector>

#include "app/Navigation.h"
#include "input/KControls.h"

// Something that can be chosen in this frame.
void AddTarget(const TargetArea& area);

// One switch: the ring steps by itself every stepMs; off (0) by default.
void SetScanning(int32_t stepMs);

// At the frame's end, before the cursor: follows this frame's keys and the scanning clock,
// places the pointer, holds the button and draws the ring; then forgets this frame's targets.
void DriveTargets(const std::vector<KKeyPress>& presses, int32_t elapsedMs);

// Whether the targets need every frame: scanning, a choice's press, a click sound waited for.
bool TargetsNeedFrames();
