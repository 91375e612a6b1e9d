#include "app/Screens.h"

ScreenCode PaintingScreen(CanvasSize) { return 0; }
