// The desktop's trash through GIO, which files a file as the freedesktop trash asks: in the
// home trash for a file on the home's disk, in a trash at the top of the file's own disk
// otherwise. GIO is opened when a file is thrown away, not at start: it and the libraries
// it brings would add a megabyte to every game, most of which never throw anything away.
#include <dlfcn.h>
#include <gio/gio.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "KTrash.h"

namespace {

constexpr const char* kGioLibrary = "libgio-2.0.so.0";

// The GIO calls the trash makes, found in the opened library.
struct Gio {
  decltype(&g_vfs_get_local) vfsGetLocal;
  decltype(&g_vfs_get_file_for_path) vfsGetFileForPath;
  decltype(&g_file_trash) fileTrash;
  decltype(&g_object_unref) objectUnref;
  decltype(&g_io_error_quark) ioErrorQuark;
};

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool FindGio(void* library, Gio& gio) {
  return Find(library, "g_vfs_get_local", gio.vfsGetLocal) &&
         Find(library, "g_vfs_get_file_for_path", gio.vfsGetFileForPath) &&
         Find(library, "g_file_trash", gio.fileTrash) && Find(library, "g_object_unref", gio.objectUnref) &&
         Find(library, "g_io_error_quark", gio.ioErrorQuark);
}

TrashResult Trash(const Gio& gio, const std::string& path, std::string& reason) {
  // The local file system alone: no desktop services are started or asked.
  GFile* file = gio.vfsGetFileForPath(gio.vfsGetLocal(), path.c_str());
  GError* error = nullptr;
  const bool trashed = gio.fileTrash(file, nullptr, &error);
  gio.objectUnref(file);
  if (trashed) return TrashResult::Trashed;
  const bool unsupported = g_error_matches(error, gio.ioErrorQuark(), G_IO_ERROR_NOT_SUPPORTED);
  reason = error->message;
  g_error_free(error);
  return unsupported ? TrashResult::NoTrash : TrashResult::Failed;
}

}  // namespace

TrashResult MoveToTrash(const std::string& path, std::string& reason) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) {
    reason = std::strerror(errno);
    return TrashResult::Failed;
  }
  // GObject's types cannot be unloaded: the library stays once opened, and later opens find it.
  // Without it the file stays where it is: a broken install must not delete for good.
  void* library = dlopen(kGioLibrary, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  Gio gio;
  if (!library || !FindGio(library, gio)) {
    const char* why = dlerror();
    reason = why ? why : kGioLibrary;
    if (library) dlclose(library);
    return TrashResult::Failed;
  }
  const TrashResult result = Trash(gio, path, reason);
  dlclose(library);
  return result;
}
