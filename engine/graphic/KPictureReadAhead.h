// Picture files read and decoded ahead on a thread of their own (ReadPicturesAhead):
// LoadPicture takes a picture read ahead instead of reading and decoding the file again.
#pragma once

#include <string>

#include "KPictureDecode.h"

// Takes the picture read ahead from path, waiting while it is still being decoded; false
// when it was not asked for, was taken already, or could not be read or decoded.
bool TakePictureReadAhead(const std::string& path, KDecodedPicture& out);
