// The reader of "setup.ini": the raw text is kept and searched on every lookup.
#pragma once

#include <cstdint>
#include <string>

class KIniFile {
 public:
  // Reads the whole file; false when it is missing or empty.
  bool LoadIni(const std::string& path);
  // Copies the value of key in section into destination (at most size - 1
  // characters, terminated); false when it is not found or size <= 1.
  bool GetIniString(const char* section, const char* key, char* destination, int32_t size) const;
  // The value as an integer, def when the key is not found, 0 with no file loaded.
  int32_t GetIniInt(const char* section, const char* key, int32_t def) const;
  void Release();
  bool IsLoaded() const { return loaded_; }

 private:
  std::string path_;
  std::string text_;
  bool loaded_ = false;
};
