// An Ogg Vorbis track that is heard only at its start: a tone, then silence. A player
// that starts such a track again is heard again, so tests can tell a track that plays on
// from one that was restarted.
#pragma once

#include <cstdint>
#include <string>

namespace tafutest {

// Mono at sampleRate: toneSeconds of a sine (frequency, peak 0..1), then silentSeconds of silence.
std::string MakeToneThenSilence(int32_t sampleRate, double toneSeconds, double silentSeconds, double frequency,
                                double peak);

}  // namespace tafutest
