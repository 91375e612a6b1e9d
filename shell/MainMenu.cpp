#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "shell/MenuScreens.h"
#include "shell/Screens.h"
#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "services/KPaths.h"
#include "sound/KSample.h"

namespace {

enum MenuPicture : size_t {
  kBackground,
  kPaintPicture,
  kSwapPicture,
  kSlidePicture,
  kCopyDrawingPicture,
  kCopyColoursPicture,
  kOptionsPicture,
};
// The menu's pictures in the order above, and whether each is drawn smoothed.
constexpr std::pair<const char*, bool> kMenuPictureFiles[] = {
    {"img\\bg\\menu.png", false},      {"img\\ico\\draw.png", true},       {"img\\ico\\swap.png", true},
    {"img\\ico\\slide.png", true},     {"img\\ico\\copy_draw.png", true},  {"img\\ico\\copy_paint.png", true},
    {"img\\ico\\options.png", true},
};
constexpr size_t kMenuMusic = 0;
// The player's animal, in the corner no button takes.
constexpr int32_t kPlayerSize = 80;
constexpr int32_t kPlayerX = 10;
constexpr int32_t kPlayerY = 10;

// The buttons in the order they are asked for a click and drawn.
enum MenuButton : size_t { kPaint, kSlide, kSwap, kCopyDrawing, kCopyColours, kOptions, kExit, kMenuButtonCount };
using MenuButtons = std::array<ImageButton, kMenuButtonCount>;

MenuButtons MakeMenuButtons(const AssetCache& cache) {
  MenuButtons buttons;
  buttons[kPaint] = MakeMenuButton(cache.Picture(kPaintPicture), 165, 141, 136, 205);
  buttons[kSwap] = MakeMenuButton(cache.Picture(kSwapPicture), 146, 148, 624, 437);
  buttons[kSlide] = MakeMenuButton(cache.Picture(kSlidePicture), 152, 129, 605, 249);
  buttons[kCopyDrawing] = MakeMenuButton(cache.Picture(kCopyDrawingPicture), 193, 171, 507, 45);
  buttons[kCopyColours] = MakeMenuButton(cache.Picture(kCopyColoursPicture), 187, 168, 335, 350);
  buttons[kOptions] = MakeMenuButton(cache.Picture(kOptionsPicture), 61, 61, 739, 5);
  buttons[kExit] = MakeMenuButton(SharedAssets.Picture(kSharedExit), 103, 138, 32, 446);
  return buttons;
}

// Runs the action of the menu button that was clicked; the screens it opens run to their end here.
ScreenCode RunMenuAction(size_t button, const std::vector<PaintingsFolder>& shelf) {
  switch (button) {
    case kPaint: return RunPaintingSizeSelect();
    case kSlide: return RunDifficultySelect(kCodeSlideBase, shelf);
    case kSwap: return RunDifficultySelect(kCodeSwapBase, shelf);
    case kCopyDrawing: return RunDifficultySelect(kCodeCopyDrawingBase, shelf);
    case kCopyColours: return kCodeCopyColoursBase + kHard - 1;
    case kOptions: RunOptions(); return kCodeStayInMenu;
    case kExit: return kCodeQuit;
  }
  return kCodeStayInMenu;
}

// A kiosk has no exit door; locked options have no button.
bool IsShown(size_t button, const GrownUpSettings& grownUps) {
  if (button == kExit) return !grownUps.kiosk;
  if (button == kOptions) return !grownUps.lockOptions;
  return true;
}

// The first button that reports a click this frame chooses the code; none leaves the child in the menu.
// A press that began on a screen the action opened and is still held does not count here.
ScreenCode AskMenuButtons(MenuButtons& buttons, const GrownUpSettings& grownUps,
                          const std::vector<PaintingsFolder>& shelf) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (!IsShown(i, grownUps) || !buttons[i].WasClicked()) continue;
    const ScreenCode code = RunMenuAction(i, shelf);
    for (ImageButton& button : buttons) button.IgnoreHeldPress();
    return code;
  }
  return kCodeStayInMenu;
}

}  // namespace

void ReadMenuAhead(float scale) {
  std::vector<std::string> paths;
  for (const auto& [name, smooth] : kMenuPictureFiles) paths.push_back(MakePath(name));
  ReadPicturesAhead(paths, scale);
}

ScreenCode RunMainMenu(const GrownUpSettings& grownUps, const Animal* player,
                       const std::vector<PaintingsFolder>& shelf) {
  AssetCache cache;
  for (const auto& [name, smooth] : kMenuPictureFiles) cache.AddPicture(name, smooth);
  cache.AddMusic("snd\\music\\menu.ogg");
  MenuButtons buttons = MakeMenuButtons(cache);
  std::optional<ImageButton> playerButton;
  if (player)
    playerButton = MakeMenuButton(cache.Picture(cache.AddPicture(player->smallPicture, true)), kPlayerSize,
                                  kPlayerSize, kPlayerX, kPlayerY);

  // The music plays on over the selection and options screens.
  KSample* music = cache.Music(kMenuMusic);
  music->PlayStream(true);

  ScreenCode code = kCodeStayInMenu;
  while (true) {
    BeginFrame();
    code = AskMenuButtons(buttons, grownUps, shelf);
    if (code == kCodeStayInMenu && playerButton && playerButton->WasClicked()) code = kCodeChangePlayer;
    if (MainScreen->IsQuitRequested()) code = kCodeQuit;
    // F1 rebuilds the menu, whatever was chosen in this frame.
    if (IsKeyDown(KEY_F1)) code = kCodeRebuildMenu;
    if (code != kCodeStayInMenu) break;
    DrawBackground(cache.Picture(kBackground));
    for (size_t i = 0; i < buttons.size(); ++i)
      if (IsShown(i, grownUps)) buttons[i].Update(static_cast<float>(FrameTime));
    if (playerButton) playerButton->Update(static_cast<float>(FrameTime));
    EndFrame();
  }
  music->StopStream();
  return code;
}
