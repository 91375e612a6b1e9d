#include "app/AssetCache.h"
#include "shell/MenuScreens.h"

namespace {

enum DifficultyPicture : size_t { kBackground, kEasyPicture, kMediumPicture, kHardPicture };

}  // namespace

ScreenCode RunDifficultySelect(ScreenCode base) {
  AssetCache cache;
  cache.AddPicture("img\\bg\\difficulty.png", false);
  cache.AddPicture("img\\ico\\diff_easy.png", true);
  cache.AddPicture("img\\ico\\diff_medium.png", true);
  cache.AddPicture("img\\ico\\diff_hard.png", true);

  std::vector<Choice> choices = {
      {MakeMenuButton(cache.Picture(kEasyPicture), 145, 147, 100, 227), base},
      {MakeMenuButton(cache.Picture(kMediumPicture), 153, 161, 300, 220), base + 1},
      {MakeMenuButton(cache.Picture(kHardPicture), 188, 195, 500, 203), base + 2},
      {MakeMenuButton(SharedAssets.Picture(kSharedExit), 103, 138, 32, 446), kCodeStayInMenu},
  };
  return RunSelection(cache.Picture(kBackground), choices);
}
