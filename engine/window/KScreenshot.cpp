#include "KScreenGL.h"

// Screenshots need the picture encoders; until they exist nothing is written.
bool KScreenGL::SaveScreenshot(const std::string&, uint32_t, int32_t, int32_t) { return false; }
