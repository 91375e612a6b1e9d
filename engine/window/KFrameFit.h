// Where the game's fixed-size frame goes on a window of any size, and how pointer
// positions on the window map back into the frame.
#pragma once

#include <cstdint>

#include "graphic/KDrawCommand.h"

// A rectangle of window pixels, (left, top) from the window's top-left corner.
struct KFrameRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The largest rectangle of the frame's shape that fits the output, centred; the rest of
// the output is the black bars.
KFrameRect FitFrame(int32_t outputWidth, int32_t outputHeight, int32_t frameWidth, int32_t frameHeight);

// The pixels the frame is drawn at on an output of this size: the output's own, unless the
// world would be smaller there than its own size (a smaller window shows the world's pixels
// scaled down); then the world's.
KFrameRect FrameTargetSize(int32_t outputWidth, int32_t outputHeight, int32_t worldWidth, int32_t worldHeight);

// The rectangle shows every frame pixel as a whole k x k block.
bool IsWholeMultiple(const KFrameRect& rect, int32_t frameWidth, int32_t frameHeight);

// The window pixels whose colour can come from the given part of the frame (any rectangle in
// frame pixels, kEverywhere and the margins past the frame's edges included), with the frame
// placed at placement and scaled smoothly: the part and one frame pixel around it, clipped to
// bounds.
KFrameRect WindowAreaOf(const KScreenRect& framePart, const KFrameRect& placement, const KFrameRect& bounds,
                        int32_t frameWidth, int32_t frameHeight);

// The largest whole k >= 1 with k x the frame inside 90 % of the usable area.
int32_t WindowScale(int32_t usableWidth, int32_t usableHeight, int32_t frameWidth, int32_t frameHeight);

// A window position along one axis in frame pixels: the inverse of the scaling, so that
// the bars lie outside 0 .. frameSize - 1.
int32_t WindowToFrame(int32_t position, int32_t rectStart, int32_t rectSize, int32_t frameSize);
// A frame position along one axis in window pixels (the middle of its block).
int32_t FrameToWindow(int32_t position, int32_t rectStart, int32_t rectSize, int32_t frameSize);
