#include "board/PictureFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <vector>

#include "services/KFile.h"
#include "services/KFindFiles.h"
#include "services/KMessage.h"
#include "services/KPaths.h"
#include "services/KTrash.h"
#include "board/PictureBuffer.h"

namespace {

// Empty: the paintings are kept in the user folder.
std::string& ChosenPaintingsFolder() {
  static std::string folder;
  return folder;
}

constexpr int32_t kLastBrowsedPainting = 299;
constexpr size_t kExtensionLength = 4;
constexpr size_t kLongestStem = 11;

constexpr size_t kHeaderSize = 18;
// Header, the longest ID field and colour map, and the largest grid at four bytes a
// pixel with a packet byte each stay well below this.
constexpr int64_t kLargestPictureFile = 1 << 20;
constexpr uint8_t kTypeTrueColour = 2;
constexpr uint8_t kTypeRunLength = 10;
constexpr uint8_t kRunPacketBit = 0x80;
constexpr uint8_t kPacketCountMask = 0x7F;
constexpr uint8_t kSavedDepth = 32;
// Written under a name of its own in the drawing folder, so that two copies of the game
// saving at once never write into each other's file.
constexpr const char* kSaveTempPattern = "saving-XXXXXX";

const char* kCannotOpen = "Image could not be open for reading.";
const char* kEndOfFile = "Unexpected end of file.";
const char* kCannotCreate = "Image could not be open for writing.";

std::string DrawingFolder(CanvasSize size) { return size == CanvasSize::Big ? "draw\\big" : "draw\\small"; }

std::string FolderOf(PictureKind kind, CanvasSize size) {
  if (kind == PictureKind::Drawing) return DrawingFolder(size);
  return size == CanvasSize::Big ? "game\\big" : "game\\small";
}

bool FitsGrid(int32_t columns, int32_t rows) {
  return columns >= 1 && columns <= kGridColumns && rows >= 1 && rows <= kGridRows;
}

uint16_t Little16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

struct PictureHeader {
  uint8_t idLength = 0;
  uint8_t colourMapType = 0;
  uint8_t imageType = 0;
  uint16_t colourMapLength = 0;
  uint8_t colourMapEntryBits = 0;
  int16_t width = 0;
  int16_t height = 0;
  uint8_t depth = 0;
};

PictureHeader ParseHeader(const uint8_t* bytes) {
  PictureHeader header;
  header.idLength = bytes[0];
  header.colourMapType = bytes[1];
  header.imageType = bytes[2];
  header.colourMapLength = Little16(bytes + 5);
  header.colourMapEntryBits = bytes[7];
  header.width = static_cast<int16_t>(Little16(bytes + 12));
  header.height = static_cast<int16_t>(Little16(bytes + 14));
  header.depth = bytes[16];
  return header;
}

// The cell value of one file pixel; 16-bit pixels keep their five bits per channel
// at the top of each byte.
uint32_t ConvertPixel(const uint8_t* b, int32_t bytesPerPixel) {
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  if (bytesPerPixel == 2) {
    red = (b[1] & 0x7Cu) << 1;
    green = ((b[1] & 0x03u) << 6) | ((b[0] & 0xE0u) >> 2);
    blue = (b[0] & 0x1Fu) << 3;
  } else {
    red = b[2];
    green = b[1];
    blue = b[0];
  }
  return kOpaque | blue << 16 | green << 8 | red;
}

// How a failed read is reported: a shipped picture stops the game, as it always has;
// a painting is only reported, so the child's canvas survives a bad file.
class ReadFailure {
 public:
  ReadFailure(PictureKind kind, std::string caption) : kind_(kind), caption_(std::move(caption)) {}

  // Shows boxText in a message box (for a painting: on standard error) and writes
  // errorText to standard error; for a shipped picture the program then ends with -1.
  bool ReportOrExit(const char* boxText, const std::string& errorText) const {
    if (kind_ == PictureKind::Game) {
      if (boxText) ShowMessage(caption_, boxText);
      std::fputs(errorText.c_str(), stderr);
      std::exit(-1);
    }
    if (boxText) std::fprintf(stderr, "%s: %s\n", caption_.c_str(), boxText);
    std::fputs(errorText.c_str(), stderr);
    return false;
  }

 private:
  PictureKind kind_;
  std::string caption_;
};

std::string AtPixel(int32_t stored) { return "Unexpected end of file at pixel " + std::to_string(stored) + "\n"; }

enum class FileRead { Read, CannotOpen, TooLarge };

// The whole file; a folder cannot be opened as a picture.
FileRead ReadBytes(const std::string& path, std::vector<uint8_t>& bytes) {
  KFile file;
  if (file.Open(path) != KFILE_OK) return FileRead::CannotOpen;
  int64_t size = 0;
  file.Seek(2, 0);
  file.Tell(size);
  file.Seek(0, 0);
  if (size > kLargestPictureFile) return FileRead::TooLarge;
  if (size <= 0) return FileRead::Read;
  bytes.resize(static_cast<size_t>(size));
  if (file.Read(bytes.data(), size) != KFILE_OK) bytes.clear();
  return FileRead::Read;
}

// Decodes the pixels that follow the header into cells, file order, checking every
// read against the end of the file and every packet against the last pixel.
class PixelDecoder {
 public:
  PixelDecoder(const std::vector<uint8_t>& bytes, size_t start, int32_t bytesPerPixel, std::vector<uint32_t>& cells,
               const ReadFailure& failure)
      : bytes_(bytes), at_(start), bytesPerPixel_(bytesPerPixel), cells_(cells), failure_(failure) {}

  bool DecodeTrueColour() {
    while (stored_ < cells_.size()) {
      const uint8_t* pixel = Take(bytesPerPixel_);
      if (!pixel) return failure_.ReportOrExit(nullptr, AtPixel(Stored()));
      cells_[stored_++] = ConvertPixel(pixel, bytesPerPixel_);
    }
    return true;
  }

  bool DecodeRunLength() {
    while (stored_ < cells_.size()) {
      const uint8_t* packet = Take(bytesPerPixel_ + 1);
      if (!packet) return failure_.ReportOrExit(kEndOfFile, AtPixel(Stored()));
      const size_t count = static_cast<size_t>(packet[0] & kPacketCountMask) + 1;
      if (count > cells_.size() - stored_)
        return failure_.ReportOrExit(nullptr, "Run-length packet runs past the last pixel at pixel " +
                                            std::to_string(Stored()) + "\n");
      const uint32_t first = ConvertPixel(packet + 1, bytesPerPixel_);
      cells_[stored_++] = first;
      if (packet[0] & kRunPacketBit) {
        std::fill_n(cells_.begin() + static_cast<std::ptrdiff_t>(stored_), count - 1, first);
        stored_ += count - 1;
        continue;
      }
      for (size_t i = 1; i < count; ++i) {
        const uint8_t* pixel = Take(bytesPerPixel_);
        if (!pixel) return failure_.ReportOrExit(kEndOfFile, AtPixel(Stored()));
        cells_[stored_++] = ConvertPixel(pixel, bytesPerPixel_);
      }
    }
    return true;
  }

 private:
  const uint8_t* Take(int32_t n) {
    if (at_ > bytes_.size() || bytes_.size() - at_ < static_cast<size_t>(n)) return nullptr;
    const uint8_t* taken = bytes_.data() + at_;
    at_ += static_cast<size_t>(n);
    return taken;
  }
  int32_t Stored() const { return static_cast<int32_t>(stored_); }

  const std::vector<uint8_t>& bytes_;
  size_t at_;
  int32_t bytesPerPixel_;
  std::vector<uint32_t>& cells_;
  const ReadFailure& failure_;
  size_t stored_ = 0;
};

std::string SizeMismatch(const PictureHeader& header, int32_t columns, int32_t rows) {
  return "Image is " + std::to_string(header.width) + " x " + std::to_string(header.height) + ", expected " +
         std::to_string(columns) + " x " + std::to_string(rows) + "\n";
}

void AppendLittle16(std::string& out, int32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

std::string EncodePainting(int32_t columns, int32_t rows) {
  std::string out;
  out.reserve(kHeaderSize + 4 * static_cast<size_t>(columns * rows));
  out.append(2, '\0');
  out.push_back(static_cast<char>(kTypeTrueColour));
  out.append(5, '\0');
  AppendLittle16(out, 0);
  AppendLittle16(out, 0);
  AppendLittle16(out, columns);
  AppendLittle16(out, rows);
  out.push_back(static_cast<char>(kSavedDepth));
  out.push_back('\0');
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < columns; ++c) {
      const uint32_t cell = PictureBuffer.At(c, r);
      out.push_back(static_cast<char>((cell >> 16) & 0xFF));
      out.push_back(static_cast<char>((cell >> 8) & 0xFF));
      out.push_back(static_cast<char>(cell & 0xFF));
      out.push_back(static_cast<char>((cell >> 24) & 0xFF));
    }
  }
  return out;
}

// Writes bytes to the file and flushes them to the disk; false on any failure.
bool WriteDurably(std::FILE* file, const std::string& bytes) {
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}

// A new file with a name of its own from the pattern, readable as a painting file made
// with fopen would be; null when it cannot be made.
std::FILE* CreateTemporary(std::string& path) {
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  const int descriptor = mkstemp(name.data());
  if (descriptor < 0) return nullptr;
  path = name.data();
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  std::FILE* file = fdopen(descriptor, "wb");
  if (!file) {
    close(descriptor);
    std::remove(path.c_str());
  }
  return file;
}

enum class Placing { Done, Taken, Failed };

// Gives the written painting its number's name unless a painting has it already.
Placing PlaceUnder(const std::string& temporary, const std::string& path) {
  if (link(temporary.c_str(), path.c_str()) == 0) return Placing::Done;
  if (errno == EEXIST) return Placing::Taken;
  // Folders without hard links (a FAT memory stick): claim the name, then rename onto the claim.
  const int claim = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (claim < 0) return errno == EEXIST ? Placing::Taken : Placing::Failed;
  close(claim);
  if (std::rename(temporary.c_str(), path.c_str()) == 0) return Placing::Done;
  std::remove(path.c_str());
  return Placing::Failed;
}

// Tries the numbers from first up to the last browsed one, then from 1 up to first; the
// painting goes under the first number no painting has.
bool PlaceAsFreeNumber(CanvasSize size, const std::string& temporary, int32_t first) {
  for (int32_t tried = 0; tried < kLastBrowsedPainting; ++tried) {
    const int32_t number = (first - 1 + tried) % kLastBrowsedPainting + 1;
    const std::string path = MakePaintingPath(PictureFileName(PictureKind::Drawing, size, number));
    const Placing placing = PlaceUnder(temporary, path);
    if (placing == Placing::Done) return true;
    if (placing == Placing::Failed) {
      std::perror("Failed to name outputfile");
      return false;
    }
  }
  std::fputs("Every painting number is taken\n", stderr);
  return false;
}

bool PaintingExists(CanvasSize size, int32_t number) {
  const std::string path = MakePaintingPath(PictureFileName(PictureKind::Drawing, size, number));
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  KFile file;
  return file.Open(path) == KFILE_OK;
}

int32_t SearchUp(CanvasSize size, int32_t number) {
  for (int32_t i = std::max(number + 1, 1); i <= kLastBrowsedPainting; ++i)
    if (PaintingExists(size, i)) return i;
  return kNoNextPainting;
}

int32_t SearchDown(CanvasSize size, int32_t number) {
  for (int32_t i = std::min(number - 1, kLastBrowsedPainting); i >= 1; --i)
    if (PaintingExists(size, i)) return i;
  return kNoPreviousPainting;
}

// Reads the picture file at path into the top-left columns x rows cells of PictureBuffer;
// a failure is reported as failure says.
bool ReadPictureAt(const std::string& path, const ReadFailure& failure, int32_t columns, int32_t rows) {
  if (!FitsGrid(columns, rows))
    return failure.ReportOrExit(nullptr, "A picture of " + std::to_string(columns) + " x " + std::to_string(rows) +
                                       " cells does not fit the grid\n");

  std::vector<uint8_t> bytes;
  const FileRead read = ReadBytes(path, bytes);
  if (read == FileRead::CannotOpen) return failure.ReportOrExit(kCannotOpen, "");
  if (read == FileRead::TooLarge) return failure.ReportOrExit(nullptr, "Image file is too large\n");
  if (bytes.size() < kHeaderSize) return failure.ReportOrExit(nullptr, "Unexpected end of file in the header\n");

  const PictureHeader header = ParseHeader(bytes.data());
  if (header.imageType != kTypeTrueColour && header.imageType != kTypeRunLength)
    return failure.ReportOrExit(nullptr, "Can only handle image type 2 and 10\n");
  if (header.depth != 16 && header.depth != 24 && header.depth != 32)
    return failure.ReportOrExit(nullptr, "Can only handle pixel depths of 16, 24, and 32\n");
  if (header.colourMapType != 0 && header.colourMapType != 1)
    return failure.ReportOrExit(nullptr, "Can only handle colour map types of 0 and 1\n");
  if (header.width != columns || header.height != rows)
    return failure.ReportOrExit(nullptr, SizeMismatch(header, columns, rows));

  size_t start = kHeaderSize + header.idLength;
  if (header.colourMapType == 1)
    start += static_cast<size_t>(header.colourMapLength) * ((header.colourMapEntryBits + 7u) / 8u);

  std::vector<uint32_t> cells(static_cast<size_t>(columns * rows), 0);
  PixelDecoder decoder(bytes, start, header.depth / 8, cells, failure);
  const bool decoded =
      header.imageType == kTypeTrueColour ? decoder.DecodeTrueColour() : decoder.DecodeRunLength();
  if (!decoded) return false;

  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < columns; ++c) PictureBuffer.At(c, r) = cells[static_cast<size_t>(r * columns + c)];
  return true;
}

// The number of a painting's file name ("12.tga"), or 0 when the name is no painting's
// the gallery shows: digits only, from 1 to 299.
int32_t PaintingNumberOf(const std::string& entry) {
  if (entry.size() <= kExtensionLength || entry.size() > kExtensionLength + 3) return 0;
  const std::string stem = entry.substr(0, entry.size() - kExtensionLength);
  if (!std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
  const int32_t number = std::stoi(stem);
  return number >= 1 && number <= kLastBrowsedPainting ? number : 0;
}

}  // namespace

void SetPaintingsFolder(const std::string& folder) { ChosenPaintingsFolder() = folder; }

std::string GetPaintingsFolder() {
  return ChosenPaintingsFolder().empty() ? GetUserFolder() : ChosenPaintingsFolder();
}

std::string MakePaintingPath(const std::string& name) { return MakePathIn(GetPaintingsFolder(), name); }

std::string PictureFileName(PictureKind kind, CanvasSize size, int32_t number) {
  return FolderOf(kind, size) + "\\" + std::to_string(number) + ".tga";
}

bool ReadPictureFile(PictureKind kind, CanvasSize size, int32_t number, int32_t columns, int32_t rows) {
  const std::string name = PictureFileName(kind, size, number);
  // Shipped pictures sit in the program folder, paintings in the player's folder.
  const std::string path = kind == PictureKind::Game ? MakePath(name) : MakePaintingPath(name);
  return ReadPictureAt(path, ReadFailure(kind, name), columns, rows);
}

bool ReadPaintingIn(const std::string& folder, CanvasSize size, int32_t number, int32_t columns, int32_t rows) {
  const std::string name = PictureFileName(PictureKind::Drawing, size, number);
  return ReadPictureAt(MakePathIn(folder, name), ReadFailure(PictureKind::Drawing, name), columns, rows);
}

std::vector<SavedPainting> ListPaintingsIn(const std::string& folder, CanvasSize size) {
  std::vector<SavedPainting> found;
  const std::string drawings = MakePathIn(folder, DrawingFolder(size));
  FindFiles(drawings + "/*.tga", [&](const std::string& entry, uint32_t flags) {
    if (flags & KFIND_DIRECTORY) return true;
    const int32_t number = PaintingNumberOf(entry);
    if (number == 0) return true;
    std::error_code error;
    const auto changed = std::filesystem::last_write_time(drawings + "/" + entry, error);
    if (!error) found.push_back({number, static_cast<int64_t>(changed.time_since_epoch().count())});
    return true;
  });
  return found;
}

bool SavePainting(CanvasSize size, int32_t columns, int32_t rows) {
  if (!FitsGrid(columns, rows)) return false;
  const std::string folder = DrawingFolder(size);
  CreateFolders(MakePaintingPath(folder));
  const int32_t next = NextPaintingNumber(size);
  const std::string name = PictureFileName(PictureKind::Drawing, size, next);
  std::string temporary = MakePaintingPath(folder + "\\" + kSaveTempPattern);

  std::FILE* file = CreateTemporary(temporary);
  if (!file) {
    ShowMessage(name, kCannotCreate);
    std::fputs("Failed to open outputfile\n", stderr);
    return false;
  }
  if (!WriteDurably(file, EncodePainting(columns, rows))) {
    std::fputs("Failed to write outputfile\n", stderr);
    std::remove(temporary.c_str());
    return false;
  }
  // The gallery shows numbers up to 299 only: past them, the lowest free number is used.
  const bool placed = PlaceAsFreeNumber(size, temporary, next > kLastBrowsedPainting ? 1 : next);
  std::remove(temporary.c_str());
  // The new name must last as well as the painting.
  return placed && MakeFolderLasting(MakePaintingPath(folder));
}

int32_t NextPaintingNumber(CanvasSize size) {
  int32_t next = 1;
  FindFiles(MakePaintingPath(DrawingFolder(size) + "\\*.*"), [&next](const std::string& entry, uint32_t flags) {
    if (flags & KFIND_DIRECTORY) return true;
    if (entry.size() < kExtensionLength) return true;
    const std::string stem = entry.substr(0, entry.size() - kExtensionLength);
    if (stem.size() > kLongestStem) return true;
    const long number = std::strtol(stem.c_str(), nullptr, 10);
    if (number != 0 && number >= next && number < std::numeric_limits<int32_t>::max()) next = static_cast<int32_t>(number) + 1;
    return true;
  });
  return next;
}

int32_t FindNextPainting(CanvasSize size, int32_t number) {
  const int32_t found = SearchUp(size, number);
  if (found == kNoNextPainting && number > 0) return SearchUp(size, 0);
  return found;
}

int32_t FindPreviousPainting(CanvasSize size, int32_t number) {
  const int32_t found = SearchDown(size, number);
  if (found == kNoPreviousPainting && number > 0) return SearchDown(size, kNoPreviousPainting);
  return found;
}

bool DeletePainting(CanvasSize size, int32_t number) {
  const std::string path = MakePaintingPath(PictureFileName(PictureKind::Drawing, size, number));
  std::string reason;
  const TrashResult trash = MoveToTrash(path, reason);
  if (trash == TrashResult::Failed) {
    std::fprintf(stderr, "Error deleting file: %s\n", reason.c_str());
    return false;
  }
  if (trash == TrashResult::NoTrash && std::remove(path.c_str()) != 0) {
    std::perror("Error deleting file");
    return false;
  }
  return MakeFolderLasting(MakePaintingPath(DrawingFolder(size)));
}
