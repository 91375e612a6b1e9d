#include "GameState.h"

#include "app/AssetCache.h"
#include "app/Settings.h"
#include "board/PictureFiles.h"
#include "input/KScriptedInput.h"
#include "services/KClock.h"
#include "services/KPaths.h"
#include "sound/KSample.h"
#include "studio/GalleryScreen.h"

namespace tafutest {

void ResetGameState() {
  UseRealInput();
  UseRealClock();
  SharedAssets.Clear();
  SetModuleFolder("");
  SetUserFolder("");
  CurrentSettings = Settings{};
  SetMasterVolumes(100, 100);
  GalleryPosition(CanvasSize::Big) = kNoNextPainting;
  GalleryPosition(CanvasSize::Small) = kNoNextPainting;
}

}  // namespace tafutest
