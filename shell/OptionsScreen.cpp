#include <utility>

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "shell/MenuScreens.h"
#include "app/Settings.h"
#include "sound/KSample.h"

namespace {

enum OptionsPicture : size_t {
  kBackground,
  kLedOff,
  kLedOnGreen,
  kLedOnBlue,
  kToggleOff,
  kToggleOn,
};

constexpr int32_t kLedCount = 10;
constexpr int32_t kLedWidth = 34;
constexpr int32_t kLedHeight = 26;
constexpr int32_t kVolumePerLed = 10;
constexpr int32_t kNoLed = -1;

LedBar MakeVolumeBar(KGraphic* lit, KGraphic* unlit, int32_t x, int32_t y, int32_t volume) {
  LedBar bar(lit, unlit, kLedWidth, kLedHeight, kLedCount, x, y, SharedAssets.Sound(kSharedClickSound),
             kPulseWhileHovered, kButtonPulse);
  bar.SetLevel(volume / kVolumePerLed);
  return bar;
}

void TakeClickedLed(LedBar& bar, int32_t& pending) {
  const int32_t clicked = bar.ClickedIndex();
  if (clicked != kNoLed) pending = clicked;
}

// A muted run stays silent; the new volume is saved for the next.
void ApplyVolumes() {
  const Settings inEffect = SettingsInEffect();
  SetMasterVolumes(inEffect.musicVolume, inEffect.effectsVolume);
}

}  // namespace

ScreenCode RunOptions() {
  AssetCache cache;
  cache.AddPicture("img\\bg\\options.png", false);
  cache.AddPicture("img\\ico\\ledoff.png", true);
  cache.AddPicture("img\\ico\\ledon_green.png", true);
  cache.AddPicture("img\\ico\\ledon_blue.png", true);
  cache.AddPicture("img\\ico\\toggleoff.png", true);
  cache.AddPicture("img\\ico\\toggleon.png", true);

  // On (showing the lit switch) means windowed.
  ToggleButton windowMode = MakeToggle(cache.Picture(kToggleOff), cache.Picture(kToggleOn), 60, 68, 572, 106,
                                       SharedAssets.Sound(kSharedClickSound), kPulseWhileHovered, kButtonPulse);
  if (CurrentSettings.windowed != 0) windowMode.Toggle();
  ImageButton back = MakeMenuButton(SharedAssets.Picture(kSharedExit), 103, 138, 32, 446);
  const Settings shown = SettingsShown();
  LedBar music = MakeVolumeBar(cache.Picture(kLedOnBlue), cache.Picture(kLedOff), 397, 312, shown.musicVolume);
  LedBar effects = MakeVolumeBar(cache.Picture(kLedOnGreen), cache.Picture(kLedOff), 436, 466, shown.effectsVolume);

  // A LED clicked in a frame that took another change is taken in a following frame, so
  // the volume always matches its lit bar.
  int32_t musicLed = kNoLed;
  int32_t effectsLed = kNoLed;
  while (true) {
    BeginFrame();
    // Both bars are asked every frame, so a click relights its bar at once; at most one
    // change is taken per frame.
    TakeClickedLed(music, musicLed);
    TakeClickedLed(effects, effectsLed);
    bool changed = true;
    if (windowMode.WasToggled()) {
      // The running window stays as it is; the next start opens in the new mode.
      CurrentSettings.windowed = windowMode.on ? 1 : 0;
    } else if (musicLed != kNoLed) {
      CurrentSettings.musicVolume = std::exchange(musicLed, kNoLed) * kVolumePerLed;
      CurrentOverrides.musicVolume.reset();
      ApplyVolumes();
    } else if (effectsLed != kNoLed) {
      CurrentSettings.effectsVolume = std::exchange(effectsLed, kNoLed) * kVolumePerLed;
      CurrentOverrides.effectsVolume.reset();
      ApplyVolumes();
    } else if (back.WasClicked()) {
      break;
    } else {
      changed = false;
    }
    if (changed) SaveSettings();

    DrawBackground(cache.Picture(kBackground));
    const float elapsed = static_cast<float>(FrameTime);
    back.Update(elapsed);
    windowMode.Update(elapsed);
    music.Update(elapsed);
    effects.Update(elapsed);
    if (!EndFrame()) break;
  }
  return 0;
}
