// Module music (Impulse Tracker, XM, S3M, MOD) rendered to 16-bit stereo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace openmpt {
class module;
}

class KModuleMusic {
 public:
  KModuleMusic();
  ~KModuleMusic();
  KModuleMusic(const KModuleMusic&) = delete;
  KModuleMusic& operator=(const KModuleMusic&) = delete;

  // Takes the whole module file; false when it is none of the four module kinds.
  bool Load(std::string file);
  bool IsLoaded() const { return module_ != nullptr; }
  // Looping modules play forever; others end after their last order.
  void SetLooping(bool looping);
  // Renders up to frames stereo frames at rate; fewer once the module has ended.
  size_t Render(int16_t* stereo, size_t frames, int32_t rate);
  void Rewind();
  // Writes the module from its start to a raw file of 16-bit stereo frames at rate:
  // length bytes (whole frames), or less when it ends first. Playback is not disturbed.
  bool RenderToFile(const std::string& path, int64_t length, int32_t rate) const;

 private:
  std::string file_;
  std::unique_ptr<openmpt::module> module_;
};
