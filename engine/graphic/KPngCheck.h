// A look over a PNG file's chunks before it reaches the decoder.
#pragma once

#include <cstddef>
#include <cstdint>

// Whether the data of every chunk up to the closing IEND lies within the file. Debian's stb_image
// (2.27) sizes its buffer for the picture data by the lengths the chunks claim before it
// reads them, so a file of a few bytes claiming a gigabyte of data had it ask for that
// much memory. Files that end early or break the PNG layout in other ways pass, for the
// decoder to refuse.
bool PngChunksFitTheFile(const uint8_t* data, size_t size);
