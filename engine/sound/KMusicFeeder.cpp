// Feeding a playing music voice: each half of its circular buffer is refilled once the play
// position has passed it, by a thread of the object's own, or once a frame where there are
// no threads (the browser).
#include <algorithm>
#include <cstring>
#include <vector>

#include "KSampleState.h"
#include "KSample.h"
#include "platform/KPlatform.h"
#include "services/KFrameHooks.h"

namespace {

constexpr size_t kModuleHalfFrames = kMusicHalfSize / 4;
// Longer than a half plays (93 ms), so that a playing track wakes its feeder only for its
// halves; a stopped one is looked at five times a second, a held one once a minute.
constexpr int32_t kFeederWaitMs = 200;
constexpr int32_t kHeldWaitMs = 60000;
constexpr uint32_t kMsPerSecond = 1000;
constexpr uint32_t kNothingToFeed = UINT32_MAX;
constexpr int32_t kNoWait = 0;

// Decodes into half h until it is full. A looping track goes on from its start within the
// same half, so its loop point has no gap; any other track stops at its end, the rest of the
// half silent. A hole in the data (a lost page) is passed over; another decoding error counts
// as the end of the track.
void FillOggHalf(KSampleState& s, size_t h) {
  uint8_t* buffer = s.half.data();
  std::memset(buffer, 0, kMusicHalfSize);
  size_t filled = 0;
  // A track that gives nothing right after a rewind would be rewound for ever.
  bool justRewound = false;
  while (filled < kMusicHalfSize && !s.ended && !s.stopRequest) {
    const long got = s.decoder.Read(buffer + filled, kMusicHalfSize - filled);
    if (got > 0) {
      filled += static_cast<size_t>(got);
      justRewound = false;
    } else if (got == OV_HOLE) {
      continue;
    } else if (s.looping && !justRewound) {
      s.decoder.Rewind();
      justRewound = true;
    } else {
      s.ended = true;
    }
  }
  s.voices[0]->Write(h * kMusicHalfSize, buffer, kMusicHalfSize);
  if (s.ended) StopMusic(s);
}

void FillModuleHalf(KSampleState& s, size_t h) {
  int16_t* frames = reinterpret_cast<int16_t*>(s.half.data());
  std::memset(frames, 0, kMusicHalfSize);
  if (!s.ended && !s.stopRequest) {
    const size_t rendered = s.module->Render(frames, kModuleHalfFrames, kSoundDeviceRate);
    if (rendered < kModuleHalfFrames && !s.looping) s.ended = true;
  }
  s.voices[0]->Write(h * kMusicHalfSize, frames, kMusicHalfSize);
  if (s.ended) StopMusic(s);
}

void FillHalf(KSampleState& s, size_t h) {
  std::lock_guard<std::mutex> lock(s.music);
  if (s.decoder.IsOpen()) {
    FillOggHalf(s, h);
  } else if (s.module) {
    FillModuleHalf(s, h);
  }
}

// Applies the music master when it changed since it was last seen.
void FollowMusicMaster(KSampleState& s) {
  const int32_t master = GetMusicMasterVolume();
  if (master == s.seenMaster) return;
  ApplyVolume(s);
  s.seenMaster = master;
}

// Listens for the play position passing the start and the middle of the music voice. The
// voice plays from its start, so the middle comes round first; the master is applied anew.
void ListenForHalves(KSampleState& s) {
  for (KNotifyEvent& event : s.halfEvents) event.Wait(0);
  s.nextHalfEvent = 1;
  s.seenMaster = -1;
  s.voices[0]->SetNotifications({{0, &s.halfEvents[0]}, {kMusicHalfSize, &s.halfEvents[1]}});
}

// Waits up to waitMs for the play position to pass the start or the middle, whichever comes
// next, and refills the half just played; false when it did not come round.
bool FeedNextHalf(KSampleState& s, int32_t waitMs) {
  if (!s.halfEvents[s.nextHalfEvent].Wait(waitMs)) return false;
  FillHalf(s, 1 - s.nextHalfEvent);
  s.nextHalfEvent = 1 - s.nextHalfEvent;
  return true;
}

// Without threads of ours (the browser), the playing music objects are fed once a frame;
// a window with none playing (stopped, or held by a silent master) rests as long as it likes.
std::vector<KSampleState*> fedMusic;

// While a track plays, the window rests at most half of what one of its halves plays (46 ms
// for a stereo track at 44100 Hz, 93 ms for a mono one), so that a half that has played is
// filled again well before the other half is done; and never longer than a feeder thread
// waits for a stopped track.
uint32_t FeedGapMs(const KVoiceFormat& format) {
  const size_t halfMs = kMusicHalfSize * kMsPerSecond / static_cast<size_t>(format.BytesPerSecond());
  return static_cast<uint32_t>(std::min<size_t>(halfMs / 2, kFeederWaitMs));
}

uint32_t FeedMusicVoices() {
  uint32_t gap = kNothingToFeed;
  for (KSampleState* s : fedMusic) {
    FollowMusicMaster(*s);
    while (FeedNextHalf(*s, kNoWait)) continue;
    const KVoice* voice = s->voices[0].get();
    if (voice && voice->IsPlaying() && !voice->IsHeld()) gap = std::min(gap, FeedGapMs(voice->Format()));
  }
  return gap;
}

// The feeder thread of a playing music object, until it is asked to stop. The music master
// is looked at before each wait, and a change of it ends the wait, so that it is heard at once.
void RunFeeder(KSampleState& s) {
  KVoice* voice = s.voices[0].get();
  ListenForHalves(s);
  s.ready = true;
  while (!s.stopRequest) {
    FollowMusicMaster(s);
    // A held track's halves do not come round: it sleeps until a master changes or it ends.
    FeedNextHalf(s, voice->IsHeld() ? kHeldWaitMs : kFeederWaitMs);
  }
  voice->SetNotifications({});
}

}  // namespace

void StartFeeder(KSampleState& s) {
  if (!HasThreads()) {
    ListenForHalves(s);
    fedMusic.push_back(&s);
    AddFrameHook(FeedMusicVoices);
    s.ready = true;
    return;
  }
  for (KNotifyEvent& event : s.halfEvents) AddLevelListener(event);
  s.feeder = std::thread(RunFeeder, std::ref(s));
  while (!s.ready) std::this_thread::yield();
}

void EndFeeder(KSampleState& s) {
  const auto fed = std::find(fedMusic.begin(), fedMusic.end(), &s);
  if (fed != fedMusic.end()) {
    fedMusic.erase(fed);
    if (KVoice* voice = s.voices[0].get()) voice->SetNotifications({});
  }
  if (!s.feeder.joinable()) return;
  for (KNotifyEvent& event : s.halfEvents) event.Set();
  s.feeder.join();
  for (KNotifyEvent& event : s.halfEvents) RemoveLevelListener(event);
}

void StopMusic(KSampleState& s) {
  KVoice* voice = s.voices[0].get();
  if (!voice) return;
  voice->Stop();
  voice->Clear(0, voice->Size());
  s.decoder.Rewind();
  if (s.module) s.module->Rewind();
  voice->SetPosition(0);
}

