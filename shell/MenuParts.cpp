#include "app/AssetCache.h"
#include "app/Frame.h"
#include "shell/MenuScreens.h"

ImageButton MakeMenuButton(KGraphic* picture, int32_t width, int32_t height, int32_t x, int32_t y) {
  return MakeGameButton(picture, {width, height, x, y}, SharedAssets.Sound(kSharedClickSound));
}

ScreenCode RunSelection(KGraphic* background, std::vector<Choice>& choices) {
  while (true) {
    BeginFrame();
    for (Choice& choice : choices)
      if (choice.button.WasClicked()) return choice.code;
    DrawBackground(background);
    for (Choice& choice : choices) choice.button.Update(static_cast<float>(FrameTime));
    if (!EndFrame()) return kCodeQuit;
  }
}
