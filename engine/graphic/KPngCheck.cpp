#include "KPngCheck.h"

#include <cstring>

namespace {

constexpr size_t kSignatureSize = 8;
constexpr size_t kLengthSize = 4;
constexpr size_t kTypeSize = 4;
constexpr size_t kCrcSize = 4;

uint32_t ReadBigEndian(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
         static_cast<uint32_t>(at[2]) << 8 | static_cast<uint32_t>(at[3]);
}

}  // namespace

bool PngChunksFitTheFile(const uint8_t* data, size_t size) {
  size_t at = kSignatureSize;
  while (size >= at && size - at >= kLengthSize + kTypeSize) {
    const size_t length = ReadBigEndian(data + at);
    const uint8_t* type = data + at + kLengthSize;
    const size_t left = size - at - kLengthSize - kTypeSize;
    if (length > left) return false;
    if (std::memcmp(type, "IEND", kTypeSize) == 0) return true;
    at += kLengthSize + kTypeSize + length + kCrcSize;
  }
  return true;
}
