// Pixels to picture files, without any GL: what a screenshot does once the frame is read
// back, and what a program does to hand its own pictures to other programs.
#pragma once

#include <cstdint>
#include <string>

#include "KGraphic.h"

// Writes width x height pixels of three bytes each (red, green, blue; rows top first) to
// path as a BMP, JPEG, TGA or PNG file. False for KPictureFormat::None, for an empty
// picture, or when the file could not be written.
bool EncodePictureFile(const std::string& path, KPictureFormat format, int32_t width, int32_t height,
                       const uint8_t* rgb);
