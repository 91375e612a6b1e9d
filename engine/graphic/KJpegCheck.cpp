#include "KJpegCheck.h"

#include <algorithm>
#include <array>

namespace {

constexpr uint8_t kMarkerStart = 0xFF;
constexpr uint8_t kProgressiveFrame = 0xC2;
constexpr uint8_t kHuffmanTables = 0xC4;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr size_t kCodeLengths = 16;
constexpr int32_t kLargestTable = 256;
constexpr uint8_t kTableSlots = 4;

// Markers that stand alone, without a length: the restart markers, start and end of
// image, TEM, and the stuffed 0x00 of entropy-coded data.
bool IsLonelyMarker(uint8_t marker) { return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9); }

struct TableWatch {
  // [0] DC tables, [1] AC tables, four slots each.
  std::array<std::array<bool, kTableSlots>, 2> defined{};
  bool progressive = false;

  bool Defined(size_t kind, uint8_t slot) const { return slot >= kTableSlots || defined[kind][slot]; }

  // payload: a DHT segment after its length field.
  bool TakeTables(const uint8_t* payload, size_t length) {
    size_t at = 0;
    while (at < length) {
      if (length - at < 1 + kCodeLengths) return false;
      const uint8_t kind = payload[at] >> 4;
      const uint8_t slot = payload[at] & 0x0F;
      int32_t codes = 0;
      for (size_t i = 0; i < kCodeLengths; ++i) codes += payload[at + 1 + i];
      if (codes > kLargestTable) return false;
      if (kind <= 1 && slot < kTableSlots) defined[kind][slot] = true;
      at += 1 + kCodeLengths + static_cast<size_t>(codes);
    }
    return true;
  }

  // payload: an SOS segment after its length field. A first DC scan of a progressive
  // file decodes with DC tables only, its AC scans with AC tables only; a baseline scan
  // uses both. Slots above 3 are left for the decoder to refuse.
  bool CheckScan(const uint8_t* payload, size_t length) const {
    if (length < 1) return true;
    const size_t components = payload[0];
    if (length < 1 + 2 * components + 3) return true;
    const uint8_t spectralStart = payload[1 + 2 * components];
    const uint8_t refinement = payload[3 + 2 * components] >> 4;
    const bool usesDc = !progressive || (spectralStart == 0 && refinement == 0);
    const bool usesAc = !progressive || spectralStart > 0;
    for (size_t c = 0; c < components; ++c) {
      const uint8_t tables = payload[2 + 2 * c];
      if (usesDc && !Defined(0, tables >> 4)) return false;
      if (usesAc && !Defined(1, tables & 0x0F)) return false;
    }
    return true;
  }
};

}  // namespace

// Steps over each segment's payload, and through entropy-coded data byte by byte, so the
// tables and scans of a progressive file that follow its first scan are seen too.
bool JpegTablesAreSound(const uint8_t* data, size_t size) {
  TableWatch watch;
  size_t at = 2;
  while (at + 1 < size) {
    if (data[at] != kMarkerStart) {
      ++at;
      continue;
    }
    const uint8_t marker = data[at + 1];
    if (marker == kMarkerStart) {
      ++at;
      continue;
    }
    if (IsLonelyMarker(marker)) {
      at += 2;
      continue;
    }
    if (at + 4 > size) break;
    const size_t length = static_cast<size_t>(data[at + 2] << 8 | data[at + 3]);
    if (length < 2) break;
    const uint8_t* payload = data + at + 4;
    const size_t payloadLength = std::min(length - 2, size - at - 4);
    if (marker == kProgressiveFrame) watch.progressive = true;
    if (marker == kHuffmanTables && (length - 2 > payloadLength || !watch.TakeTables(payload, payloadLength)))
      return false;
    if (marker == kStartOfScan && !watch.CheckScan(payload, payloadLength)) return false;
    at += 2 + length;
  }
  return true;
}
