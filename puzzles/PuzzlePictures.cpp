#include "puzzles/PuzzlePictures.h"

#include "services/KIniFile.h"
#include "services/KPaths.h"
#include "services/KRandom.h"
#include "board/PictureFiles.h"

int32_t PuzzlePictureCount(CanvasSize size) {
  KIniFile ini;
  ini.LoadIni(MakePath("setup.ini"));
  const int32_t count = ini.GetIniInt(size == CanvasSize::Big ? "BIG_IMAGES" : "SMALL_IMAGES", "COUNT", 0);
  ini.Release();
  return count;
}

int32_t PuzzlePictureNumber(int32_t count, int32_t r) {
  if (count <= 0) return 1;
  return static_cast<int32_t>(static_cast<double>(static_cast<int64_t>(r) * count) / KRANDOM_RANGE + 1.0);
}

void LoadRandomPuzzlePicture(PictureKind kind, CanvasSize size, int32_t columns, int32_t rows) {
  const int32_t number = PuzzlePictureNumber(PuzzlePictureCount(size), Random15());
  ReadPictureFile(kind, size, number, columns, rows);
}
