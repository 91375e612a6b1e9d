// Sound effects and music: one KSample per sound, on one process-wide sound device.
//
// An effect is decoded whole at load time into one to nine identical voices; each Play
// restarts the next voice, so a quickly repeated effect overlaps itself. Music (an Ogg
// Vorbis track or a module) stays in memory and is fed, half a buffer at a time, into
// one circular voice by a feeder thread while it plays (in the browser, which gives us no
// threads, by a frame hook of its own, once a frame).
//
// The first KSample opens the device and the last one destroyed closes it. Without a
// device every load fails and nothing sounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct KSampleState;

// Master volumes, 0..100. A negative argument leaves that master as it is. The music
// master reaches a playing track at its next mixed period (at 0 the track waits where it is, not
// decoded, and goes on from there when the music is turned up); an effect picks up the
// effects master at its next Play.
void SetMasterVolumes(int32_t musicVolume, int32_t effectsVolume);
int32_t GetMusicMasterVolume();
int32_t GetEffectsMasterVolume();

// The volume curve in hundredths of a decibel (0 full level, -10000 silence) for a level
// 0..100, and the pan curve for a pan -100 (left) .. 100 (right). Out-of-range arguments
// are clamped.
int32_t VolumeTable(int32_t level);
int32_t PanTable(int32_t pan);

// True while the sound device is open (some KSample holds it).
bool IsSoundDeviceOpen();

class KSample {
 public:
  KSample();
  ~KSample();
  KSample(const KSample&) = delete;
  KSample& operator=(const KSample&) = delete;

  // Effect: a path containing ".ogg" is decoded as Ogg Vorbis, any other file is read as
  // a wave file (PCM, 8 or 16 bits, mono or stereo). The voice count is clamped to 1..9.
  bool LoadSample(const std::string& path, int32_t volume, bool looping, int16_t voiceCount);
  // Music: an Ogg Vorbis track, from a file or copied from a memory block. Data that is
  // not Ogg Vorbis shows the message "error could not detect ogg file" and fails; a file
  // that cannot be read just fails.
  bool LoadStream(const std::string& path);
  bool LoadStream(const void* data, size_t size);
  // Music: a module (Impulse Tracker, XM, S3M, MOD) rendered at the device rate.
  bool LoadModule(const std::string& path);

  // Effect: starts the next voice from its beginning.
  void Play();
  // Music: starts the track (PlayStream) or the module (PlayModule) from its beginning;
  // a looping track starts again after a short gap (at most half of its 32 KB buffer).
  void PlayStream(bool looping);
  void PlayModule(bool looping);
  // Music: stops and rewinds.
  void StopStream();
  // True while any voice plays.
  bool IsPlaying() const;

  // Own volume 0..100, scaled by the music or effects master.
  void SetVolume(int32_t volume);
  // -100 (left) .. 100 (right); anything outside becomes 100.
  void SetPan(int32_t pan);

  // Renders the loaded module from its start into a raw file of 16-bit stereo samples
  // at the device rate: length bytes, or less when the module ends first.
  bool RenderModule(const std::string& path, int64_t length);

 private:
  std::unique_ptr<KSampleState> state_;
};
