/* The browser build compiles the picture decoder and encoder it links into itself; the
   desktop build links Debian's library of the same code instead. */
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>
