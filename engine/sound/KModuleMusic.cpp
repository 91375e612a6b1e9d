#include "KModuleMusic.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kRepeatForever = -1;
constexpr int32_t kPlayOnce = 0;
constexpr size_t kFrameBytes = 4;
constexpr size_t kRenderFrames = 4096;
constexpr const char* kModuleKinds[] = {"it", "xm", "s3m", "mod"};

// Opens one of the four module kinds, or returns null. The library's own loading
// notes are dropped. Without dithering the same module always renders the same samples.
std::unique_ptr<openmpt::module> OpenModule(const std::string& file) {
  std::ostringstream notes;
  try {
    auto module = std::make_unique<openmpt::module>(file.data(), file.size(), notes);
    module->ctl_set_integer("dither", 0);
    const std::string kind = module->get_metadata("type");
    const bool known = std::any_of(std::begin(kModuleKinds), std::end(kModuleKinds),
                                   [&kind](const char* name) { return kind == name; });
    return known ? std::move(module) : nullptr;
  } catch (const std::exception&) {
    return nullptr;
  }
}

}  // namespace

KModuleMusic::KModuleMusic() = default;
KModuleMusic::~KModuleMusic() = default;

bool KModuleMusic::Load(std::string file) {
  module_ = OpenModule(file);
  file_ = module_ ? std::move(file) : std::string();
  return module_ != nullptr;
}

void KModuleMusic::SetLooping(bool looping) {
  if (module_) module_->set_repeat_count(looping ? kRepeatForever : kPlayOnce);
}

size_t KModuleMusic::Render(int16_t* stereo, size_t frames, int32_t rate) {
  if (!module_) return 0;
  size_t done = 0;
  while (done < frames) {
    const size_t got = module_->read_interleaved_stereo(rate, frames - done, stereo + 2 * done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

void KModuleMusic::Rewind() {
  if (module_) module_->set_position_seconds(0.0);
}

bool KModuleMusic::RenderToFile(const std::string& path, int64_t length, int32_t rate) const {
  if (!module_ || length < 0) return false;
  std::unique_ptr<openmpt::module> copy = OpenModule(file_);
  if (!copy) return false;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::vector<int16_t> block(kRenderFrames * 2);
  uint64_t framesLeft = static_cast<uint64_t>(length) / kFrameBytes;
  bool written = true;
  while (framesLeft > 0 && written) {
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(framesLeft, kRenderFrames));
    const size_t got = copy->read_interleaved_stereo(rate, wanted, block.data());
    if (got == 0) break;
    written = std::fwrite(block.data(), kFrameBytes, got, out) == got;
    framesLeft -= got;
  }
  return std::fclose(out) == 0 && written;
}
