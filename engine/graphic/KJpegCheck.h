// A look over a JPEG file's Huffman tables before it reaches the decoder.
#pragma once

#include <cstddef>
#include <cstdint>

// Whether the Huffman tables of a JPEG file are safe to decode with: no table holds more
// than 256 codes, and every scan uses only tables defined before it. Debian's stb_image
// (2.27) writes past its code table for the first and reads memory it never set for the
// second, so files failing either never reach it. Files that break the JPEG layout in
// other ways pass, for the decoder to refuse.
bool JpegTablesAreSound(const uint8_t* data, size_t size);
