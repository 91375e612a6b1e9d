// The painting screen the dispatcher runs, for either canvas size.
#pragma once

#include <cstdint>

#include "board/PictureTypes.h"

// How a studio or its gallery was left: by its exit or the window's close, and the one who
// opened it carries on.
enum class StudioEnd : int32_t { Left = 4 };

StudioEnd PaintingScreen(CanvasSize size);
