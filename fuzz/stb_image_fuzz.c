/* stb_image compiled into the fuzz targets and their regression tests, so that coverage
   and the sanitizers reach inside the decoders (Debian's libstb is not instrumented). */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
