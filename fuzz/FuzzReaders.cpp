#include "FuzzReaders.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Settings.h"
#include "graphic/KPictureDecode.h"
#include "services/KFile.h"
#include "services/KIniFile.h"
#include "services/KPaths.h"
#include "sound/KOggDecoder.h"
#include "sound/KSample.h"
#include "sound/KWaveFile.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"
#include "shell/GrownUpSettings.h"

namespace tafufuzz {

namespace {

constexpr int32_t kPaintingNumber = 1;
constexpr size_t kTgaWidthOffset = 12;
constexpr size_t kTgaHeightOffset = 14;
constexpr int32_t kFallbackSide = 15;
// Large enough for every picture the game ships, small enough that a fuzzed header
// cannot ask the decoders for more memory than a fuzzing run has.
constexpr int32_t kLargestDecodedSide = 4096;
constexpr size_t kIniValueSize = 64;
constexpr const char* kArchiveName = "archive.tar";
constexpr const char* kGrownUpSettingsName = "tafu.conf";
constexpr int32_t kHighestVolume = 100;

std::string& ScratchFolder() {
  static std::string folder;
  return folder;
}

// A new file each time: rewriting a file in place makes ext4 flush it on close, which
// would slow a fuzzing run to a few hundred inputs a second.
void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::remove(path.c_str());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

int32_t HeaderSide(const uint8_t* data, size_t size, size_t offset, int32_t largest) {
  if (size < offset + 2) return kFallbackSide;
  const int32_t side = data[offset] | data[offset + 1] << 8;
  return side >= 1 && side <= largest ? side : kFallbackSide;
}

}  // namespace

void UseScratchFolder(const std::string& folder) {
  ScratchFolder() = folder;
  SetModuleFolder(folder);
  SetUserFolder(folder);
}

bool FeedPictureFile(const uint8_t* data, size_t size) {
  const std::string name = PictureFileName(PictureKind::Drawing, CanvasSize::Small, kPaintingNumber);
  WriteBytes(MakeUserPath(name), data, size);
  const int32_t columns = HeaderSide(data, size, kTgaWidthOffset, kGridColumns);
  const int32_t rows = HeaderSide(data, size, kTgaHeightOffset, kGridRows);
  return ReadPictureFile(PictureKind::Drawing, CanvasSize::Small, kPaintingNumber, columns, rows);
}

bool FeedWave(const uint8_t* data, size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  KWaveData wave;
  if (!ScanWave(file, wave)) return false;
  // What the mixer will copy must lie inside the file.
  if (wave.dataOffset > file.size() || wave.dataLength > file.size() - wave.dataOffset) __builtin_trap();
  return true;
}

bool FeedOgg(const uint8_t* data, size_t size) {
  KVoiceFormat format;
  std::string pcm;
  return DecodeOgg(std::string(reinterpret_cast<const char*>(data), size), format, pcm);
}

int32_t FeedPictureDecoders(const uint8_t* data, size_t size) {
  static constexpr std::array<KPictureFormat, 4> kFormats = {KPictureFormat::Tga, KPictureFormat::Jpeg,
                                                             KPictureFormat::Bmp, KPictureFormat::Png};
  int32_t accepted = 0;
  for (KPictureFormat format : kFormats) {
    KDecodedPicture picture;
    if (!DecodePicture(data, size, format, kLargestDecodedSide, picture)) continue;
    // Every pixel is touched, so a picture smaller than its stated size shows.
    const size_t bytes = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4;
    const uint8_t* pixels = picture.rgba.get();
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < bytes; i += 4) sum = static_cast<uint8_t>(sum + pixels[i + 3]);
    ++accepted;
  }
  return accepted;
}

int32_t FeedIni(const uint8_t* data, size_t size) {
  const std::string path = MakePath("setup.ini");
  WriteBytes(path, data, size);
  KIniFile ini;
  if (!ini.LoadIni(path)) return 0;
  static constexpr std::array<std::array<const char*, 2>, 4> kKeys = {{
      {"DEBUG", "SHOWFPS"}, {"BIG_IMAGES", "COUNT"}, {"SMALL_IMAGES", "COUNT"}, {"", ""}}};
  int32_t found = 0;
  for (const auto& [section, key] : kKeys) {
    std::array<char, kIniValueSize> value{};
    if (ini.GetIniString(section, key, value.data(), static_cast<int32_t>(value.size()))) ++found;
    ini.GetIniInt(section, key, -1);
  }
  // A destination of one character only ever receives the terminator.
  char one = 'x';
  ini.GetIniString("DEBUG", "SHOWFPS", &one, 1);
  return found;
}

bool FeedSettings(const uint8_t* data, size_t size) {
  WriteBytes(MakeUserPath("options.raw"), data, size);
  CurrentSettings = Settings{};
  LoadSettings();
  SetMasterVolumes(CurrentSettings.musicVolume, CurrentSettings.effectsVolume);
  // Whatever the file says, the levels stay within what the mixer knows.
  const int32_t music = GetMusicMasterVolume();
  const int32_t effects = GetEffectsMasterVolume();
  if (music < 0 || music > 100 || effects < 0 || effects > 100) __builtin_trap();
  const SettingsBytes written = EncodeSettings(CurrentSettings);
  return std::equal(data, data + std::min(size, written.size()), written.begin());
}

bool FeedGrownUpSettings(const uint8_t* data, size_t size) {
  const std::string path = MakeUserPath(kGrownUpSettingsName);
  WriteBytes(path, data, size);
  GrownUpSettings settings;
  ReadSettingsFile(path, settings);
  bool setVolume = false;
  for (const std::optional<int32_t>& volume : {settings.musicVolume, settings.effectsVolume}) {
    if (!volume) continue;
    if (*volume < 0 || *volume > kHighestVolume) __builtin_trap();
    setVolume = true;
  }
  return setVolume;
}

int32_t FeedTar(const uint8_t* data, size_t size) {
  const std::string path = MakePath(kArchiveName);
  WriteBytes(path, data, size);
  // Names no file on the disk has, so only the archive can answer.
  static constexpr std::array<const char*, 3> kNames = {"packed/setup.ini", "packed\\game\\1.tga",
                                                        "PACKED/SND/CLICK.OGG"};
  KTarSource archive;
  if (archive.RegisterArchive(path) != KFILE_OK) return 0;
  int32_t found = 0;
  for (const char* name : kNames) {
    std::string whole;
    if (KFile::ReadWhole(name, whole)) ++found;
  }
  return found;
}

}  // namespace tafufuzz
