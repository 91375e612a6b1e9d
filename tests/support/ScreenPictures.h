// Whole pictures of the game's window: waiting until a screen stands still, keeping its
// picture as a PNG and telling where another picture differs from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "GameLauncher.h"

namespace tafutest {

constexpr int32_t kWindowWidth = 800;
constexpr int32_t kWindowHeight = 600;

// 800 x 600 pixels, rows top first, 0x00BBGGRR as the X server gives them.
using WindowPicture = std::vector<uint32_t>;

// Waits until the window has shown the same picture for a second; that picture, or
// empty after 15 s.
WindowPicture WaitForRest(const GameLauncher& game);
// A tenth of the window: a click that changed this many pixels has led to another screen.
constexpr size_t kNewScreenPixels = static_cast<size_t>(kWindowWidth) * kWindowHeight / 10;

// Clicks at spot, rests the pointer at restAt, where nothing pulses, waits until changed
// pixels differ from before (another screen, unless told less) and then for rest as above. A
// button of the new screen under spot would keep a zoom a little off its size once passed over.
WindowPicture ClickAndWaitForRest(const GameLauncher& game, Point spot, Point restAt,
                                  size_t changed = kNewScreenPixels);

bool WritePicturePng(const std::string& path, const WindowPicture& picture);
// Empty when the file is missing or not 800 x 600.
WindowPicture ReadPicturePng(const std::string& path);

// Where two pictures differ by more than tolerance in a colour channel: empty when nowhere,
// else how many pixels, by how much at most, and the smallest box holding them all.
std::string PictureDifference(const WindowPicture& shown, const WindowPicture& reference, int32_t tolerance);

// How sharp a picture of width x height pixels (rows top first) is inside box: the median
// width, in pixels, of the strong edges met along its rows. An edge is a run of neighbours
// whose brightness keeps stepping the same way by more than 8, 100 or more from end to end;
// its width is the number of steps. 0 when there is none.
double MedianEdgeWidth(const std::vector<uint32_t>& pixels, int32_t width, Box box);

}  // namespace tafutest
