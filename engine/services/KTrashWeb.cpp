// The browser has no desktop trash: a painting thrown away goes to the bin folder of the
// player's own storage, laid out as the desktop's trash is, where the grown-ups' page finds it.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "KPaths.h"
#include "KTrash.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kInfoSuffix = ".trashinfo";

// A path as a trash info file writes it: every byte but letters, digits, "/" and "-_.~" as %XX.
std::string EscapePath(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || std::string_view("/-_.~").find(c) != std::string_view::npos) {
      escaped += c;
    } else {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0xF];
    }
  }
  return escaped;
}

std::string LocalDateTime(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

// Names in the bin begin with the moment they were thrown away, in milliseconds of 13 digits,
// so that sorting the names sorts the files from the oldest.
std::string FreeBinName(const fs::path& files, const std::string& name) {
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
  char stamp[24];
  std::snprintf(stamp, sizeof stamp, "%013lld", static_cast<long long>(now));
  std::string candidate = std::string(stamp) + "-" + name;
  for (int n = 2; fs::exists(files / candidate); ++n) candidate = std::string(stamp) + "." + std::to_string(n) + "-" + name;
  return candidate;
}

void DropOldest(const fs::path& bin, size_t keep) {
  std::error_code error;
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(bin / "files", error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i + keep < names.size(); ++i) {
    fs::remove(bin / "files" / names[i], error);
    fs::remove(bin / "info" / (names[i] + kInfoSuffix), error);
  }
}

// The file goes into the bin folder as the desktop's trash keeps a file: the file in
// bin/files/, and beside it bin/info/NAME.trashinfo with its original path and the time it
// was thrown away. Past keep files the oldest are dropped for good.
TrashResult MoveToBin(const std::string& path, const std::string& bin, size_t keep, std::string& reason) {
  std::error_code error;
  const fs::path files = fs::path(bin) / "files";
  const fs::path info = fs::path(bin) / "info";
  fs::create_directories(files, error);
  fs::create_directories(info, error);
  if (!fs::is_directory(files) || !fs::is_directory(info)) {
    reason = "the bin cannot be made";
    return TrashResult::NoTrash;
  }
  if (!fs::exists(fs::symlink_status(path, error))) {
    reason = std::strerror(ENOENT);
    return TrashResult::Failed;
  }
  const std::string name = FreeBinName(files, fs::path(path).filename().string());
  const fs::path infoFile = info / (name + kInfoSuffix);
  {
    std::ofstream out(infoFile, std::ios::binary);
    out << "[Trash Info]\nPath=" << EscapePath(fs::absolute(path, error).string())
        << "\nDeletionDate=" << LocalDateTime(std::time(nullptr)) << "\n";
    if (!out.flush()) {
      reason = "the bin cannot be written";
      fs::remove(infoFile, error);
      return TrashResult::Failed;
    }
  }
  fs::rename(path, files / name, error);
  if (error) {
    reason = error.message();
    fs::remove(infoFile, error);
    return TrashResult::Failed;
  }
  DropOldest(bin, keep);
  return TrashResult::Trashed;
}

}  // namespace

TrashResult MoveToTrash(const std::string& path, std::string& reason) {
  return MoveToBin(path, MakeUserPath("bin"), kBinSize, reason);
}
