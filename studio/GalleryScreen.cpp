#include "studio/GalleryScreen.h"

#include <memory>

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "app/Widgets.h"
#include "studio/CanvasGeometry.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"

namespace {


enum GalleryPicture : size_t { kBackgroundPicture, kPreviousPicture, kNextPicture, kTakePicture, kDeletePicture };

constexpr ButtonPlace kPreviousPlace = {70, 60, 185, 505};
constexpr ButtonPlace kNextPlace = {69, 60, 282, 505};
constexpr ButtonPlace kTakePlace = {142, 77, 405, 490};
constexpr ButtonPlace kDeletePlace = {67, 102, 573, 478};

// One search per painting number at most: after that every painting has been tried.
constexpr int32_t kMostSearches = kNoPreviousPainting;

int32_t BigGalleryPosition = kNoNextPainting;
int32_t SmallGalleryPosition = kNoNextPainting;

struct GalleryButtons {
  ImageButton previous, next, take, remove, exit;
};

enum class GalleryExit { Stay, Take, Restore };

void LoadGalleryAssets(AssetCache& assets, const CanvasGeometry& canvas) {
  assets.AddPicture(canvas.galleryBackground, false);
  assets.AddPicture("img\\ico\\slide_left.png", true);
  assets.AddPicture("img\\ico\\slide_right.png", true);
  assets.AddPicture("img\\ico\\load.png", true);
  assets.AddPicture("img\\ico\\delete.png", true);
}

GalleryButtons MakeGalleryButtons(const AssetCache& assets) {
  KSample* click = SharedAssets.Sound(kSharedClickSound);
  GalleryButtons buttons;
  buttons.previous = MakeGameButton(assets.Picture(kPreviousPicture), kPreviousPlace, click);
  buttons.next = MakeGameButton(assets.Picture(kNextPicture), kNextPlace, click);
  buttons.take = MakeGameButton(assets.Picture(kTakePicture), kTakePlace, click);
  buttons.remove = MakeGameButton(assets.Picture(kDeletePicture), kDeletePlace, click);
  buttons.exit = MakeGameButton(SharedAssets.Picture(kSharedExit), kActivityExitPlace, click);
  return buttons;
}

bool IsPaintingNumber(int32_t number) { return number > kNoNextPainting && number < kNoPreviousPainting; }

using PaintingSearch = int32_t (*)(CanvasSize size, int32_t number);

// Moves the gallery position with search to the next painting that can be read and
// shows it; a painting that cannot be read counts as missing, and the search goes round
// at most once. False, with the position at nothing, when no painting was found.
bool ShowFoundPainting(const CanvasGeometry& canvas, PaintingSearch search, int32_t nothing) {
  int32_t& position = GalleryPosition(canvas.size);
  int32_t firstUnreadable = nothing;
  for (int32_t searches = 0; searches < kMostSearches; ++searches) {
    position = search(canvas.size, position);
    if (!IsPaintingNumber(position)) return false;
    if (position == firstUnreadable) break;
    if (ReadPictureFile(PictureKind::Drawing, canvas.size, position, canvas.columns, canvas.rows)) return true;
    if (firstUnreadable == nothing) firstUnreadable = position;
  }
  position = nothing;
  return false;
}

bool ShowNextPainting(const CanvasGeometry& canvas) {
  return ShowFoundPainting(canvas, FindNextPainting, kNoNextPainting);
}

bool ShowPreviousPainting(const CanvasGeometry& canvas) {
  return ShowFoundPainting(canvas, FindPreviousPainting, kNoPreviousPainting);
}

// Only a painting the gallery found is deleted; with none shown there is nothing to delete.
// A painting that could not be removed stays shown.
void DeleteShownPainting(const CanvasGeometry& canvas) {
  const int32_t shown = GalleryPosition(canvas.size);
  if (!IsPaintingNumber(shown)) return;
  if (!DeletePainting(canvas.size, shown)) return;
  if (!ShowNextPainting(canvas)) ClearPictureBuffer();
}

// Draws and tests the buttons in their order; acts on a click at once.
GalleryExit RunButtons(GalleryButtons& buttons, const CanvasGeometry& canvas) {
  const auto elapsed = static_cast<float>(FrameTime);
  buttons.next.Update(elapsed);
  if (buttons.next.WasClicked()) ShowNextPainting(canvas);
  buttons.previous.Update(elapsed);
  if (buttons.previous.WasClicked()) ShowPreviousPainting(canvas);
  buttons.take.Update(elapsed);
  if (buttons.take.WasClicked()) return GalleryExit::Take;
  buttons.exit.Update(elapsed);
  if (buttons.exit.WasClicked()) return GalleryExit::Restore;
  buttons.remove.Update(elapsed);
  if (buttons.remove.WasClicked()) DeleteShownPainting(canvas);
  return GalleryExit::Stay;
}

}  // namespace

int32_t& GalleryPosition(CanvasSize size) {
  return size == CanvasSize::Big ? BigGalleryPosition : SmallGalleryPosition;
}

StudioEnd GalleryScreen(CanvasSize size) {
  const CanvasGeometry& canvas = GetCanvasGeometry(size);
  AssetCache assets;
  LoadGalleryAssets(assets, canvas);
  GalleryButtons buttons = MakeGalleryButtons(assets);
  const auto studioCanvas = std::make_unique<CellGrid>(PictureBuffer);
  CanvasView view;
  view.Create(canvas);
  ClearPictureBuffer();
  ShowNextPainting(canvas);
  CursorKind = kCursorArrow;

  while (true) {
    BeginFrame();
    DrawBackground(assets.Picture(kBackgroundPicture));
    view.Draw();
    const GalleryExit exit = RunButtons(buttons, canvas);
    // Taking with no painting shown would only bring an empty canvas: the child's comes back.
    const bool nothingShown = !IsPaintingNumber(GalleryPosition(canvas.size));
    if (exit == GalleryExit::Restore || (exit == GalleryExit::Take && nothingShown)) PictureBuffer = *studioCanvas;
    if (exit != GalleryExit::Stay) break;
    if (!EndFrame()) break;
  }
  return StudioEnd::Left;
}
