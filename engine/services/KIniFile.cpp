#include "KIniFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "KFile.h"

namespace {
constexpr int32_t kIntValueSize = 256;
}

bool KIniFile::LoadIni(const std::string& path) {
  path_ = path;
  Release();
  loaded_ = KFile::ReadWhole(path, text_);
  return loaded_;
}

void KIniFile::Release() {
  text_.clear();
  loaded_ = false;
}

bool KIniFile::GetIniString(const char* section, const char* key, char* destination, int32_t size) const {
  if (size <= 1 || !destination) return false;
  destination[0] = '\0';
  if (!loaded_) return false;

  const size_t sectionAt = text_.find("[" + std::string(section) + "]");
  if (sectionAt == std::string::npos) return false;
  // The key is looked for from the section on, also in later sections.
  const std::string keyEquals = std::string(key) + "=";
  const size_t keyAt = text_.find(keyEquals, sectionAt);
  if (keyAt == std::string::npos) return false;

  const size_t valueAt = keyAt + keyEquals.size();
  // A value ends at CR or at a lone LF, but its first character never ends it.
  size_t end = valueAt + 1;
  while (end < text_.size() && text_[end] != '\r' && !(text_[end] == '\n' && text_[end - 1] != '\r')) ++end;
  end = std::min(end, text_.size());

  const size_t length = std::min<size_t>(end - valueAt, static_cast<size_t>(size - 1));
  std::memcpy(destination, text_.data() + valueAt, length);
  destination[length] = '\0';
  return true;
}

int32_t KIniFile::GetIniInt(const char* section, const char* key, int32_t def) const {
  if (!loaded_) return 0;
  char value[kIntValueSize];
  if (!GetIniString(section, key, value, kIntValueSize)) return def;
  return std::atoi(value);
}
