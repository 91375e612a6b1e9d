#include "app/AssetCache.h"
#include "shell/MenuScreens.h"

namespace {

enum PaintingSizePicture : size_t { kBackground, kBigPicture, kSmallPicture };

}  // namespace

ScreenCode RunPaintingSizeSelect() {
  AssetCache cache;
  cache.AddPicture("img\\bg\\difficulty.png", false);
  cache.AddPicture("img\\ico\\draw_big.png", true);
  cache.AddPicture("img\\ico\\draw_small.png", true);

  std::vector<Choice> choices = {
      {MakeMenuButton(cache.Picture(kBigPicture), 238, 204, 172, 198), kCodeBigStudio},
      {MakeMenuButton(cache.Picture(kSmallPicture), 102, 86, 502, 257), kCodeSmallStudio},
      {MakeMenuButton(SharedAssets.Picture(kSharedExit), 103, 138, 32, 446), kCodeStayInMenu},
  };
  return RunSelection(cache.Picture(kBackground), choices);
}
