// The painting screen the dispatcher runs, for either canvas size; it returns the code it ends with.
#pragma once

#include "app/ScreenCodes.h"
#include "board/PictureTypes.h"

ScreenCode PaintingScreen(CanvasSize size);
