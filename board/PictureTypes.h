// Which picture and which canvas a screen works on.
#pragma once

// Big is 50 x 40 cells, Small 15 x 15.
enum class CanvasSize { Big, Small };
// Game pictures are shipped with the game; Drawing pictures are the child's saved paintings.
enum class PictureKind { Game, Drawing };
