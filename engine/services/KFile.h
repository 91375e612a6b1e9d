// Files as the engine reads them: whole, from the disk or from a registered archive.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Result codes of every KFile operation.
enum KFileResult : int32_t {
  KFILE_OK = 0,
  KFILE_ALREADY_OPEN = 100,  // also: the file is not open
  KFILE_WRONG_MODE = 101,
  KFILE_UNSUPPORTED = 102,   // mode or seek origin
  KFILE_CANNOT_OPEN = 104,
  KFILE_SHORT_READ = 106,    // also: zero-length read, or no stream to borrow
};

constexpr int32_t KFILE_MODE_CLOSED = 0;
constexpr int32_t KFILE_MODE_READ = 1000;

// No asset comes near this: a larger read is refused rather than tried.
constexpr int64_t KFILE_LARGEST_READ = int64_t{64} << 20;

class KFile {
 public:
  KFile() = default;
  virtual ~KFile();
  KFile(const KFile&) = delete;
  KFile& operator=(const KFile&) = delete;

  // Opens path for reading; registered file sources are asked first. Only a regular file
  // opens (a folder of the same name does not).
  int32_t Open(const std::string& path, int32_t mode = KFILE_MODE_READ);
  // Shares the parent's stream from its current position for length bytes; reads and
  // seeks from the end stay within them.
  int32_t OpenSubFile(KFile& parent, int64_t length);
  int32_t Close();
  // origin 0: from the start, 1: from the current position, 2: from the end.
  int32_t Seek(int32_t origin, int64_t offset);
  int32_t Tell(int64_t& position) const;
  // Reads n bytes; KFILE_SHORT_READ when fewer are left (of a sub-file: within it), or
  // when n is more than KFILE_LARGEST_READ.
  int32_t Read(void* buffer, int64_t n);

  bool IsOpen() const { return mode_ != KFILE_MODE_CLOSED; }
  int32_t Mode() const { return mode_; }

  // Reads a whole file into out; false when it cannot be opened, is empty or is larger
  // than KFILE_LARGEST_READ.
  static bool ReadWhole(const std::string& path, std::string& out);

 private:
  std::FILE* stream_ = nullptr;
  bool borrowed_ = false;
  int32_t mode_ = KFILE_MODE_CLOSED;
  int64_t base_ = 0;
  int64_t length_ = 0;
  bool sub_ = false;  // bounded by base_ and length_
};

// A KFile that other files can be opened from. Sources are asked in the order
// they were registered; the first that holds a path wins.
class KFileSource : public KFile {
 public:
  ~KFileSource() override;
  // Returns KFILE_OK after preparing asking as a sub-file, or a failure code.
  virtual int32_t Lookup(const std::string& path, KFile& asking) = 0;

 protected:
  void Register();
  void Unregister();

 private:
  bool registered_ = false;
};

// An archive in the POSIX tar layout (512-byte headers).
class KTarSource final : public KFileSource {
 public:
  // Opens the archive and registers it; returns the open's result code.
  int32_t RegisterArchive(const std::string& archivePath);
  int32_t Lookup(const std::string& path, KFile& asking) override;
};
