#include "KFindFiles.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <memory>

bool FindFiles(const std::string& pattern, const KFindCallback& callback) {
  if (pattern.empty() || !callback) return false;
  const size_t slash = pattern.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : pattern.substr(0, slash));
  const std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  const bool everything = mask == "*.*" || mask == "*";

  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return false;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (!everything && fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    struct stat info {};
    const bool isFolder = stat((folder + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    if (!callback(name, isFolder ? KFIND_DIRECTORY : 0)) break;
  }
  return true;
}
