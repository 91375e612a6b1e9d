// The gallery behind a studio's Load button: the saved paintings of one canvas size,
// shown one at a time on the studio's own canvas.
#pragma once

#include <cstdint>

#include "board/PictureTypes.h"
#include "studio/StudioScreens.h"

// Runs the gallery of that size from inside the studio. PictureBuffer afterwards holds
// the painting taken, or the studio's canvas as it was when the child left with Exit.
StudioEnd GalleryScreen(CanvasSize size);

// The painting each size's gallery showed last (0 or 300 when it found none), kept from
// one visit to the next for the whole run; it starts at 0.
int32_t& GalleryPosition(CanvasSize size);
