#include "KPictureReadAhead.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "KGraphic.h"
#include "platform/KPlatform.h"

namespace {

// A picture being read, or read: empty when it could not be read or decoded.
struct Entry {
  bool done = false;
  KDecodedPicture picture;
};

// The files asked for and the thread decoding them; the thread is waited for at exit.
struct ReadAhead {
  std::mutex mutex;
  std::condition_variable decoded;
  std::map<std::string, Entry> entries;
  std::thread reader;

  ~ReadAhead() {
    if (reader.joinable()) reader.join();
  }
};

ReadAhead& TheReadAhead() {
  static ReadAhead readAhead;
  return readAhead;
}

void ReadAll(std::vector<std::string> paths) {
  ReadAhead& ahead = TheReadAhead();
  for (const std::string& path : paths) {
    KDecodedPicture picture;
    ReadAndDecodePicture(path, kLargestPictureSide, picture);
    {
      std::lock_guard<std::mutex> lock(ahead.mutex);
      Entry& entry = ahead.entries[path];
      entry.done = true;
      entry.picture = std::move(picture);
    }
    ahead.decoded.notify_all();
  }
}

}  // namespace

void ReadPicturesAhead(const std::vector<std::string>& pictures, float scale) {
  // Where there are no threads of ours (the browser), each picture is read as it is loaded.
  if (!HasThreads()) return;
  std::vector<std::string> paths;
  for (const std::string& picture : pictures) {
    int32_t times = 1;
    paths.push_back(DrawingAtScale(picture, scale, times));
  }
  ReadAhead& ahead = TheReadAhead();
  if (ahead.reader.joinable()) ahead.reader.join();
  {
    std::lock_guard<std::mutex> lock(ahead.mutex);
    for (const std::string& path : paths) ahead.entries[path] = Entry{};
  }
  ahead.reader = std::thread(ReadAll, paths);
}

bool TakePictureReadAhead(const std::string& path, KDecodedPicture& out) {
  ReadAhead& ahead = TheReadAhead();
  std::unique_lock<std::mutex> lock(ahead.mutex);
  const auto found = ahead.entries.find(path);
  if (found == ahead.entries.end()) return false;
  ahead.decoded.wait(lock, [&] { return found->second.done; });
  out = std::move(found->second.picture);
  ahead.entries.erase(found);
  return out.rgba != nullptr;
}
