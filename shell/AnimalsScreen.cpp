#include "app/AssetCache.h"
#include "shell/MenuScreens.h"
#include "shell/Screens.h"

namespace {

constexpr size_t kBackground = 0;
constexpr int32_t kAnimalSize = 160;
// The animals' top-left corners, three a row, in the order of kAnimals.
constexpr ButtonPlace kAnimalPlaces[kAnimalCount] = {
    {kAnimalSize, kAnimalSize, 140, 90},  {kAnimalSize, kAnimalSize, 320, 90},  {kAnimalSize, kAnimalSize, 500, 90},
    {kAnimalSize, kAnimalSize, 140, 290}, {kAnimalSize, kAnimalSize, 320, 290}, {kAnimalSize, kAnimalSize, 500, 290},
};

}  // namespace

const Animal* RunAnimalsScreen(const GrownUpSettings& grownUps) {
  AssetCache cache;
  cache.AddPicture("img\\bg\\players.png", false);
  std::vector<Choice> choices;
  for (size_t i = 0; i < kAnimalCount; ++i) {
    KGraphic* picture = cache.Picture(cache.AddPicture(kAnimals[i].picture, true));
    KSample* sound = cache.Sound(cache.AddSound(kAnimals[i].sound));
    // The button plays the animal's own sound in place of the click.
    choices.push_back({MakeGameButton(picture, kAnimalPlaces[i], sound), static_cast<ScreenCode>(i)});
  }
  if (!grownUps.kiosk)
    choices.push_back({MakeMenuButton(SharedAssets.Picture(kSharedExit), 103, 138, 32, 446), kCodeQuit});
  const ScreenCode code = RunSelection(cache.Picture(kBackground), choices);
  return code == kCodeQuit ? nullptr : &kAnimals[static_cast<size_t>(code)];
}
