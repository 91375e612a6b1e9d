// The browser build carries no module player (the game plays none): every module fails to
// load, so a KSample told to play one stays silent as it does for any unreadable track.
#include "KModuleMusic.h"

namespace openmpt {
class module {};
}  // namespace openmpt

KModuleMusic::KModuleMusic() = default;
KModuleMusic::~KModuleMusic() = default;

bool KModuleMusic::Load(std::string) {
  module_.reset();
  file_.clear();
  return false;
}

void KModuleMusic::SetLooping(bool) {}

size_t KModuleMusic::Render(int16_t*, size_t, int32_t) { return 0; }

void KModuleMusic::Rewind() {}

bool KModuleMusic::RenderToFile(const std::string&, int64_t, int32_t) const { return false; }
