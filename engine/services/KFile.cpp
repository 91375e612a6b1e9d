#include "KFile.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::vector<KFileSource*>& Sources() {
  static std::vector<KFileSource*> sources;
  return sources;
}

constexpr int kTarBlock = 512;
constexpr int kTarNameLength = 100;
constexpr int kTarSizeOffset = 124;
constexpr int kTarSizeLength = 12;
constexpr int kTarTypeOffset = 156;

int64_t ParseOctal(const unsigned char* field, int length) {
  int64_t value = 0;
  int i = 0;
  while (i < length && field[i] == ' ') ++i;
  for (; i < length && field[i] >= '0' && field[i] <= '7'; ++i) value = value * 8 + (field[i] - '0');
  return value;
}

}  // namespace

KFile::~KFile() { Close(); }

int32_t KFile::Open(const std::string& path, int32_t mode) {
  if (mode != KFILE_MODE_READ) return KFILE_UNSUPPORTED;
  if (IsOpen()) return KFILE_ALREADY_OPEN;
  for (KFileSource* source : Sources()) {
    if (source != this && source->Lookup(path, *this) == KFILE_OK) return KFILE_OK;
  }
  stream_ = std::fopen(path.c_str(), "rb");
  if (!stream_) return KFILE_CANNOT_OPEN;
  // fopen opens a folder too; reading one fails in ways no reader expects.
  struct stat status {};
  if (fstat(fileno(stream_), &status) != 0 || !S_ISREG(status.st_mode)) {
    std::fclose(stream_);
    stream_ = nullptr;
    return KFILE_CANNOT_OPEN;
  }
  borrowed_ = false;
  mode_ = mode;
  base_ = 0;
  length_ = 0;
  sub_ = false;
  return KFILE_OK;
}

int32_t KFile::OpenSubFile(KFile& parent, int64_t length) {
  if (IsOpen() || parent.mode_ != KFILE_MODE_READ) return KFILE_ALREADY_OPEN;
  if (!parent.stream_) return KFILE_SHORT_READ;
  stream_ = parent.stream_;
  borrowed_ = true;
  mode_ = KFILE_MODE_READ;
  base_ = ftello(parent.stream_);
  length_ = std::max<int64_t>(length, 0);
  sub_ = true;
  return KFILE_OK;
}

int32_t KFile::Close() {
  if (stream_ && !borrowed_) std::fclose(stream_);
  stream_ = nullptr;
  borrowed_ = false;
  mode_ = KFILE_MODE_CLOSED;
  base_ = 0;
  length_ = 0;
  sub_ = false;
  return KFILE_OK;
}

int32_t KFile::Seek(int32_t origin, int64_t offset) {
  if (!IsOpen()) return KFILE_ALREADY_OPEN;
  switch (origin) {
    case 0:
      fseeko(stream_, base_ + offset, SEEK_SET);
      return KFILE_OK;
    case 1:
      fseeko(stream_, offset, SEEK_CUR);
      return KFILE_OK;
    case 2:
      if (sub_)
        fseeko(stream_, base_ + length_ - offset, SEEK_SET);
      else
        fseeko(stream_, offset, SEEK_END);
      return KFILE_OK;
    default:
      return KFILE_UNSUPPORTED;
  }
}

int32_t KFile::Tell(int64_t& position) const {
  if (!IsOpen()) return KFILE_ALREADY_OPEN;
  position = ftello(stream_) - base_;
  return KFILE_OK;
}

int32_t KFile::Read(void* buffer, int64_t n) {
  if (!IsOpen()) return KFILE_ALREADY_OPEN;
  if (mode_ != KFILE_MODE_READ) return KFILE_WRONG_MODE;
  if (n <= 0 || n > KFILE_LARGEST_READ) return KFILE_SHORT_READ;
  int64_t wanted = n;
  if (sub_) {
    const int64_t left = base_ + length_ - ftello(stream_);
    wanted = std::clamp<int64_t>(left, 0, n);
  }
  const size_t got = wanted > 0 ? std::fread(buffer, 1, static_cast<size_t>(wanted), stream_) : 0;
  return got == static_cast<size_t>(n) ? KFILE_OK : KFILE_SHORT_READ;
}

bool KFile::ReadWhole(const std::string& path, std::string& out) {
  out.clear();
  KFile file;
  if (file.Open(path) != KFILE_OK) return false;
  int64_t size = 0;
  file.Seek(2, 0);
  file.Tell(size);
  file.Seek(0, 0);
  if (size <= 0 || size > KFILE_LARGEST_READ) return false;
  out.resize(static_cast<size_t>(size));
  if (file.Read(out.data(), size) != KFILE_OK) {
    out.clear();
    return false;
  }
  return true;
}

KFileSource::~KFileSource() { Unregister(); }

void KFileSource::Register() {
  if (!registered_) Sources().push_back(this);
  registered_ = true;
}

void KFileSource::Unregister() {
  auto& sources = Sources();
  sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
  registered_ = false;
}

int32_t KTarSource::RegisterArchive(const std::string& archivePath) {
  const int32_t result = Open(archivePath);
  if (result != KFILE_OK) return result;
  Register();
  return KFILE_OK;
}

int32_t KTarSource::Lookup(const std::string& path, KFile& asking) {
  std::string wanted = path;
  std::replace(wanted.begin(), wanted.end(), '\\', '/');
  if (wanted.size() > kTarNameLength) return KFILE_CANNOT_OPEN;

  int64_t archiveEnd = 0;
  Seek(2, 0);
  Tell(archiveEnd);
  Seek(0, 0);
  unsigned char header[kTarBlock];
  for (;;) {
    const int32_t read = Read(header, kTarBlock);
    if (read != KFILE_OK) return read;
    if (std::all_of(header, header + kTarBlock, [](unsigned char c) { return c == 0; }))
      return KFILE_CANNOT_OPEN;
    const int64_t size = ParseOctal(header + kTarSizeOffset, kTarSizeLength);
    const unsigned char type = header[kTarTypeOffset];
    char name[kTarNameLength + 1] = {};
    std::memcpy(name, header, kTarNameLength);
    if ((type == 0 || type == '0') && strcasecmp(name, wanted.c_str()) == 0) {
      // An entry that claims more bytes than the archive has left was cut short: the
      // archive does not hold that file, however large its header says it is.
      int64_t position = 0;
      Tell(position);
      if (size > archiveEnd - position) return KFILE_CANNOT_OPEN;
      return asking.OpenSubFile(*this, size);
    }
    Seek(1, (size + kTarBlock - 1) / kTarBlock * kTarBlock);
  }
}
