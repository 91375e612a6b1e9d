#include "app/Widgets.h"

#include <algorithm>

#include "app/AssetCache.h"
#include "app/Targets.h"
#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "sound/KSample.h"

namespace {

constexpr float kMsPerSecond = 1000.0f;
// How much of a button with nothing to do shows over the screen.
constexpr float kDimmedOpacity = 0.35f;

bool PointerOver(const Sprite& sprite) {
  return sprite.Contains(static_cast<float>(GetMouseX()), static_cast<float>(GetMouseY()));
}

void GrowWhileHovered(ImageButton& button, float elapsedMs) {
  if (PointerOver(button)) {
    if (button.zoom < button.pulse.amplitude) button.zoom += elapsedMs * button.pulse.growRate / kMsPerSecond;
  } else if (button.zoom > 1.0f) {
    button.zoom -= elapsedMs * button.pulse.shrinkRate / kMsPerSecond;
  }
}

void PulseWhileHovered(ImageButton& button, float elapsedMs) {
  const bool hovered = PointerOver(button);
  if (hovered) button.pulsing = true;
  if (!button.pulsing) return;
  if (button.direction > 0) {
    const float grown = button.zoom + elapsedMs * button.pulse.growRate / kMsPerSecond;
    if (grown < 1.0f + button.pulse.amplitude)
      button.zoom = grown;
    else
      button.direction = -1;
  } else {
    const float shrunk = button.zoom - elapsedMs * button.pulse.shrinkRate / kMsPerSecond;
    if (shrunk > 1.0f - button.pulse.amplitude)
      button.zoom = shrunk;
    else
      button.direction = 1;
  }
  // Once the pointer has left, the pulse ends on its next pass through the normal size.
  const bool crossedOne = (button.zoom < 1.0f) != (button.previousZoom < 1.0f);
  if (!hovered && crossedOne) {
    button.pulsing = false;
    button.direction = 1;
  }
  button.previousZoom = button.zoom;
}

}  // namespace

void Sprite::Draw() const {
  if (!picture) return;
  picture->BlitAlphaRotoZoom(0, 0, width, height, static_cast<int16_t>(x), static_cast<int16_t>(y), angle, zoom,
                             opacity, kNoFlip, kNoFlip);
}

bool Sprite::Contains(float px, float py) const {
  return x < px && px < x + width && y < py && py < y + height;
}

bool ImageButton::IsHovered() const { return PointerOver(*this); }

void ImageButton::Update(float elapsedMs) {
  if (mode == kGrowWhileHovered) GrowWhileHovered(*this, elapsedMs);
  if (mode == kPulseWhileHovered) PulseWhileHovered(*this, elapsedMs);
  Draw();
  // Every screen's way out shows the same door.
  const bool door = kSharedExit < SharedAssets.PictureCount() && picture == SharedAssets.Picture(kSharedExit);
  AddTarget({.x = static_cast<int32_t>(x), .y = static_cast<int32_t>(y), .width = static_cast<int32_t>(width),
             .height = static_cast<int32_t>(height), .door = door, .waiting = waitingForSound});
}

bool ImageButton::PressStarted() {
  const bool down = IsLeftButtonDown();
  const bool started = down && !leftWasDown;
  leftWasDown = down;
  return started;
}

bool ImageButton::WasClicked() {
  const bool pressStarted = PressStarted();
  if (waitingForSound) {
    if (clickSound && clickSound->IsPlaying()) return false;
    waitingForSound = false;
    return true;
  }
  if (leftWasDown) {
    if (!pressed && pressStarted && IsHovered()) pressed = true;
    return false;
  }
  if (pressed && IsHovered()) {
    pressed = false;
    if (!clickSound) return true;
    clickSound->Play();
    waitingForSound = true;
    return false;
  }
  pressed = false;
  return false;
}

void ImageButton::IgnoreHeldPress() {
  leftWasDown = IsLeftButtonDown();
  pressed = false;
}

void ImageButton::UpdateDimmed() {
  IgnoreHeldPress();
  waitingForSound = false;
  zoom = 1.0f;
  pulsing = false;
  direction = 1;
  Sprite faded = *this;
  faded.opacity = kDimmedOpacity;
  faded.Draw();
}

bool ImageButton::WasPressed() {
  if (!IsLeftButtonDown() || !IsHovered()) return false;
  pressed = true;
  return true;
}

ImageButton MakeButton(KGraphic* picture, int32_t width, int32_t height, int32_t x, int32_t y, KSample* clickSound,
                       AnimationMode mode, PulseSettings pulse) {
  ImageButton button;
  button.picture = picture;
  button.width = static_cast<float>(width);
  button.height = static_cast<float>(height);
  button.x = static_cast<float>(x);
  button.y = static_cast<float>(y);
  button.clickSound = clickSound;
  button.mode = mode;
  button.pulse = pulse;
  return button;
}

ImageButton MakeGameButton(KGraphic* picture, const ButtonPlace& place, KSample* clickSound) {
  return MakeButton(picture, place.width, place.height, place.x, place.y, clickSound, kPulseWhileHovered, kButtonPulse);
}

bool ToggleButton::WasToggled() {
  const bool pressStarted = PressStarted();
  if (waitingForSound) {
    if (clickSound && clickSound->IsPlaying()) return false;
    waitingForSound = false;
    Toggle();
    return true;
  }
  if (!leftWasDown) {
    pressed = false;
    return false;
  }
  if (pressed || !pressStarted || !IsHovered()) return false;
  pressed = true;
  if (clickSound) {
    clickSound->Play();
    waitingForSound = true;
    return false;
  }
  Toggle();
  return true;
}

void ToggleButton::Toggle() {
  std::swap(picture, otherPicture);
  on = !on;
}

ToggleButton MakeToggle(KGraphic* picture, KGraphic* otherPicture, int32_t width, int32_t height, int32_t x,
                        int32_t y, KSample* clickSound, AnimationMode mode, PulseSettings pulse) {
  ToggleButton toggle;
  static_cast<ImageButton&>(toggle) = MakeButton(picture, width, height, x, y, clickSound, mode, pulse);
  toggle.otherPicture = otherPicture;
  return toggle;
}

LedBar::LedBar(KGraphic* lit, KGraphic* unlit, int32_t width, int32_t height, int32_t count, int32_t x, int32_t y,
               KSample* clickSound, AnimationMode mode, PulseSettings pulse)
    : count_(std::clamp(count, 0, kMaxLeds)), lit_(lit), unlit_(unlit) {
  for (int32_t i = 0; i < count_; ++i)
    leds_[static_cast<size_t>(i)] = MakeButton(unlit, width, height, x + (width - kOverlap) * i, y, clickSound, mode, pulse);
}

int32_t LedBar::ClickedIndex() {
  for (int32_t i = 0; i < count_; ++i) {
    if (leds_[static_cast<size_t>(i)].WasClicked()) {
      SetLevel(i);
      return i;
    }
  }
  return -1;
}

void LedBar::SetLevel(int32_t index) {
  level_ = index;
  for (int32_t i = 0; i < count_; ++i) leds_[static_cast<size_t>(i)].picture = i <= level_ ? lit_ : unlit_;
}

void LedBar::Update(float elapsedMs) {
  for (int32_t i = 0; i < count_; ++i) leds_[static_cast<size_t>(i)].Update(elapsedMs);
}
