// The desktop's trash through GIO, which files a file as the freedesktop trash asks: in the
// home trash for a file on the home's disk, in a trash at the top of the file's own disk
// otherwise.
#include <gio/gio.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "KTrash.h"

TrashResult MoveToTrash(const std::string& path, std::string& reason) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) {
    reason = std::strerror(errno);
    return TrashResult::Failed;
  }
  // The local file system alone: no desktop services are started or asked.
  GFile* file = g_vfs_get_file_for_path(g_vfs_get_local(), path.c_str());
  GError* error = nullptr;
  const bool trashed = g_file_trash(file, nullptr, &error);
  g_object_unref(file);
  if (trashed) return TrashResult::Trashed;
  const bool unsupported = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED);
  reason = error->message;
  g_error_free(error);
  return unsupported ? TrashResult::NoTrash : TrashResult::Failed;
}
