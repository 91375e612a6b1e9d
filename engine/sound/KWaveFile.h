// Finding the format and the sound data inside a wave file held in memory.
#pragma once

#include <cstddef>
#include <string>

#include "KSoundDevice.h"

struct KWaveData {
  KVoiceFormat format;
  size_t dataOffset = 0;  // where the sound data begins in the file
  size_t dataLength = 0;  // bytes of whole frames, clipped to the file
};

// Scans the file byte by byte: the first "fmt " marks the format record (8 bytes on),
// the first "data" ends the scan (its length follows the four letters, the sound 8
// bytes on). False when no format comes before the data, when there is no data, or
// when the format is not PCM the mixer can play.
bool ScanWave(const std::string& file, KWaveData& wave);
