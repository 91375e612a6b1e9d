#include "puzzles/PuzzlePictures.h"

#include <algorithm>

#include "services/KIniFile.h"
#include "services/KPaths.h"
#include "services/KRandom.h"
#include "app/Widgets.h"
#include "board/PictureFiles.h"

namespace {

// The small animal pictures are 80 x 80; the badge shows them at half that.
constexpr float kAnimalSide = 80.0f;
constexpr float kBadgeZoom = 0.5f;

}  // namespace

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

std::vector<OwnPainting> FindOwnPaintings(const std::vector<PaintingsFolder>& folders, CanvasSize size) {
  std::vector<OwnPainting> found;
  for (const PaintingsFolder& shelf : folders)
    for (const SavedPainting& saved : ListPaintingsIn(shelf.folder, size))
      found.push_back({shelf.folder, saved.number, shelf.painter, saved.changed});
  std::sort(found.begin(), found.end(), [](const OwnPainting& a, const OwnPainting& b) {
    return a.changed != b.changed ? a.changed > b.changed : a.number > b.number;
  });
  return found;
}

bool ReadOwnPainting(const OwnPainting& painting, CanvasSize size) {
  return ReadPaintingIn(painting.folder, size, painting.number, CanvasColumns(size), CanvasRows(size));
}

PuzzlePictures::PuzzlePictures(CanvasSize size, std::vector<OwnPainting> paintings)
    : size_(size), paintings_(std::move(paintings)) {}

void PuzzlePictures::LoadNext() {
  painter_ = nullptr;
  if (LoadNextPainting()) return;
  LoadRandomPuzzlePicture(PictureKind::Game, size_, CanvasColumns(size_), CanvasRows(size_));
}

bool PuzzlePictures::LoadNextPainting() {
  for (size_t tried = 0; tried < paintings_.size(); ++tried) {
    const OwnPainting& painting = paintings_[next_];
    next_ = (next_ + 1) % paintings_.size();
    if (ReadOwnPainting(painting, size_)) {
      painter_ = painting.painter;
      return true;
    }
  }
  return false;
}

void PainterBadge::Draw(const char* painter, float x, float y, float opacity) {
  if (!painter) return;
  auto at = std::find(loaded_.begin(), loaded_.end(), painter);
  if (at == loaded_.end()) {
    assets_.AddPicture(painter, true);
    at = loaded_.insert(loaded_.end(), painter);
  }
  Sprite badge;
  badge.picture = assets_.Picture(static_cast<size_t>(at - loaded_.begin()));
  badge.width = kAnimalSide;
  badge.height = kAnimalSide;
  // Zoomed about its centre: the half-size picture's corner lands at (x, y).
  badge.x = x - kAnimalSide * kBadgeZoom / 2;
  badge.y = y - kAnimalSide * kBadgeZoom / 2;
  badge.zoom = kBadgeZoom;
  badge.opacity = opacity;
  badge.Draw();
}
