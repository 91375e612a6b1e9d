#include "studio/PaintingExport.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

#include "graphic/KPictureEncode.h"
#include "services/KFindFiles.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"

namespace {

constexpr int32_t kRgbBytes = 3;

struct ExportedSize {
  CanvasSize size;
  const char* prefix;
  int32_t cellPixels;
};

constexpr ExportedSize kExportedSizes[] = {
    {CanvasSize::Big, "big-", kBigExportCell},
    {CanvasSize::Small, "small-", kSmallExportCell},
};

// The drawing folder of a size, as the picture files name it ("draw\big").
std::string PaintingFolder(CanvasSize size) {
  const std::string name = PictureFileName(PictureKind::Drawing, size, 1);
  return name.substr(0, name.rfind('\\'));
}

// The number of a folder entry that is a painting's own file ("12.tga"), or 0 for
// anything else (other names, "007.tga", "saving.tmp").
int32_t PaintingNumberOf(CanvasSize size, const std::string& entry) {
  int32_t number = 0;
  if (std::from_chars(entry.data(), entry.data() + entry.size(), number).ec != std::errc() || number < 1) return 0;
  return PictureFileName(PictureKind::Drawing, size, number) == PaintingFolder(size) + "\\" + entry ? number : 0;
}

// The top-left columns x rows cells of PictureBuffer, each a cellPixels square, as rows of
// red, green and blue bytes, top row first.
std::vector<uint8_t> EnlargedCells(int32_t columns, int32_t rows, int32_t cellPixels) {
  const int32_t width = columns * cellPixels;
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * rows * cellPixels * kRgbBytes);
  for (int32_t y = 0; y < rows * cellPixels; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t cell = PictureBuffer.At(x / cellPixels, y / cellPixels);
      uint8_t* pixel = rgb.data() + (static_cast<size_t>(y) * width + x) * kRgbBytes;
      pixel[0] = static_cast<uint8_t>(cell & 0xFF);
      pixel[1] = static_cast<uint8_t>((cell >> 8) & 0xFF);
      pixel[2] = static_cast<uint8_t>((cell >> 16) & 0xFF);
    }
  }
  return rgb;
}

bool ExportOne(const ExportedSize& exported, int32_t number, const std::string& folder) {
  const int32_t columns = CanvasColumns(exported.size);
  const int32_t rows = CanvasRows(exported.size);
  const std::string source = MakePaintingPath(PictureFileName(PictureKind::Drawing, exported.size, number));
  if (!ReadPictureFile(PictureKind::Drawing, exported.size, number, columns, rows)) {
    std::fprintf(stderr, "tafu: skipped %s: it is not a painting the game can read\n", source.c_str());
    return false;
  }
  const std::string target = folder + "/" + exported.prefix + std::to_string(number) + ".png";
  const std::vector<uint8_t> rgb = EnlargedCells(columns, rows, exported.cellPixels);
  if (!EncodePictureFile(target, KPictureFormat::Png, columns * exported.cellPixels, rows * exported.cellPixels,
                         rgb.data())) {
    std::fprintf(stderr, "tafu: skipped %s: %s could not be written\n", source.c_str(), target.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::vector<int32_t> SavedPaintings(CanvasSize size) {
  std::vector<int32_t> numbers;
  FindFiles(MakePaintingPath(PaintingFolder(size) + "\\*.*"), [&](const std::string& entry, uint32_t flags) {
    if (flags & KFIND_DIRECTORY) return true;
    if (const int32_t number = PaintingNumberOf(size, entry)) numbers.push_back(number);
    return true;
  });
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

ExportCount ExportPaintings(const std::string& folder) {
  ExportCount count;
  if (!CreateFolders(folder)) {
    count.folderReady = false;
    return count;
  }
  for (const ExportedSize& exported : kExportedSizes) {
    for (const int32_t number : SavedPaintings(exported.size)) {
      if (ExportOne(exported, number, folder))
        ++count.written;
      else
        ++count.failed;
    }
  }
  return count;
}
