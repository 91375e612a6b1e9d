#include "app/AssetCache.h"

#include "services/KPaths.h"

AssetCache SharedAssets;

namespace {

constexpr int32_t kFullVolume = 100;
constexpr int16_t kOneVoice = 1;
constexpr int32_t kSlideVolume = 36;

struct SharedPictureFile {
  const char* name;
  bool smooth;
};

constexpr SharedPictureFile kSharedPictures[] = {
    {"img\\ico\\cursor.png", false},       {"img\\ico\\cursor_pen.png", true},
    {"img\\ico\\cursor_bucket.png", true}, {"img\\ico\\cursor_pick.png", true},
    {"img\\ico\\cursor_eraser.png", true}, {"img\\ico\\exit.png", true},
    {"img\\ico\\star.png", true},          {"img\\ico\\stone.png", true},
    {"img\\ico\\test.png", true},          {"img\\ico\\test_true.png", true},
    {"img\\ico\\test_false.png", true},
};

constexpr const char* kSharedSounds[] = {
    "snd\\sfx\\click.ogg", "snd\\sfx\\tool.wav",      "snd\\sfx\\slide.wav",
    "snd\\sfx\\swap.wav",  "snd\\sfx\\test_true.wav", "snd\\sfx\\test_false.wav",
};

}  // namespace

AssetCache::~AssetCache() { Clear(); }

void AssetCache::Clear() {
  pictures_.clear();
  sounds_.clear();
  music_.clear();
}

size_t AssetCache::AddPicture(const std::string& name, bool smooth) {
  std::unique_ptr<KGraphic> picture = CreateGraphic();
  if (picture) {
    picture->LoadPicture(MakePath(name), kTrueColour, kKeepAlpha);
    picture->SetFiltering(smooth);
  }
  pictures_.push_back(std::move(picture));
  return pictures_.size() - 1;
}

size_t AssetCache::AddSound(const std::string& name) {
  auto sound = std::make_unique<KSample>();
  sound->LoadSample(MakePath(name), kFullVolume, false, kOneVoice);
  sounds_.push_back(std::move(sound));
  return sounds_.size() - 1;
}

size_t AssetCache::AddMusic(const std::string& name) {
  auto music = std::make_unique<KSample>();
  music->LoadStream(MakePath(name));
  music_.push_back(std::move(music));
  return music_.size() - 1;
}

KGraphic* AssetCache::Picture(size_t index) const { return pictures_.at(index).get(); }
KSample* AssetCache::Sound(size_t index) const { return sounds_.at(index).get(); }
KSample* AssetCache::Music(size_t index) const { return music_.at(index).get(); }

void LoadSharedAssets() {
  for (const SharedPictureFile& file : kSharedPictures) SharedAssets.AddPicture(file.name, file.smooth);
  for (const char* name : kSharedSounds) SharedAssets.AddSound(name);
  SharedAssets.Sound(kSharedSlideSound)->SetVolume(kSlideVolume);
}
