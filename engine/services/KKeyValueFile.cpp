#include "KKeyValueFile.h"

#include <glib.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "KFile.h"

namespace {

// GLib's parser wants every key under a group; each line is read as the one line of a group.
constexpr const char* kGroup = "line";

struct KeyFileFree {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};

// Reads one line into values; false when it is not a blank line, a comment or "key = value".
bool ReadLine(const std::string& line, int32_t number, std::vector<KKeyValue>& values) {
  std::unique_ptr<GKeyFile, KeyFileFree> file(g_key_file_new());
  const std::string text = std::string("[") + kGroup + "]\n" + line + "\n";
  if (!g_key_file_load_from_data(file.get(), text.c_str(), text.size(), G_KEY_FILE_NONE, nullptr)) return false;
  gsize groups = 0;
  g_strfreev(g_key_file_get_groups(file.get(), &groups));
  if (groups != 1) return false;  // a "[group]" line of its own
  gsize count = 0;
  gchar** keys = g_key_file_get_keys(file.get(), kGroup, &count, nullptr);
  bool read = true;
  if (count == 1) {
    gchar* value = g_key_file_get_string(file.get(), kGroup, keys[0], nullptr);
    if (value) values.push_back({number, keys[0], value});
    read = value != nullptr;
    g_free(value);
  }
  g_strfreev(keys);
  return read;
}

}  // namespace

KKeyValueFile ReadKeyValueFile(const std::string& path) {
  KKeyValueFile file;
  std::error_code error;
  file.found = std::filesystem::exists(path, error);
  std::string text;
  if (!file.found || std::filesystem::is_directory(path, error)) return file;
  // An empty file reads as nothing at all.
  const bool empty = std::filesystem::file_size(path, error) == 0 && !error;
  if (!empty && !KFile::ReadWhole(path, text)) return file;
  file.readable = true;
  std::istringstream lines(text);
  std::string line;
  for (int32_t number = 1; std::getline(lines, line); ++number) {
    // Spaces left at the ends of lines, unseen in an editor, are not part of a value.
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (!ReadLine(line, number, file.values)) file.unreadableLines.push_back(number);
  }
  return file;
}
