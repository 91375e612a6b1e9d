// Picture widgets: a positioned picture, buttons that pulse under the pointer and report a
// press-and-release click (after their click sound has played), toggles and LED bars.
// Widgets are plain values; the pictures and sounds they point at belong to an AssetCache.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class KGraphic;
class KSample;

enum AnimationMode : int32_t {
  kNoAnimation = 0,
  kGrowWhileHovered = 1,
  kPulseWhileHovered = 2,
};

// Zoom units; the rates are per second. In kGrowWhileHovered the amplitude is the largest
// zoom, in kPulseWhileHovered the swing either side of 1.
struct PulseSettings {
  float amplitude = 0;
  float growRate = 0;
  float shrinkRate = 0;
};

// Every button of the game pulses like this.
constexpr PulseSettings kButtonPulse = {0.08f, 0.4f, 0.3f};

struct Sprite {
  KGraphic* picture = nullptr;
  float width = 0;
  float height = 0;
  float x = 0;
  float y = 0;
  float zoom = 1.0f;
  float angle = 0;
  float opacity = 1.0f;

  // The picture's (0, 0, width, height) at (x, y), turned and zoomed about its centre.
  void Draw() const;
  // Strictly inside the unzoomed rectangle: a point on the left or top edge is outside.
  bool Contains(float px, float py) const;
};

struct ImageButton : Sprite {
  int32_t direction = 1;
  bool pulsing = false;
  float previousZoom = 1.1f;
  bool waitingForSound = false;
  KSample* clickSound = nullptr;
  AnimationMode mode = kNoAnimation;
  PulseSettings pulse;
  bool pressed = false;
  // The left button as the last click or toggle test saw it, so that only a press that
  // starts over the button counts (not one dragged onto it).
  bool leftWasDown = false;

  // Advances the hover animation by elapsedMs, then draws.
  void Update(float elapsedMs);
  // True once for a press and release both over the button; with a click sound, on the
  // first call after the sound has finished (the mouse is ignored until then).
  bool WasClicked();
  // The left button is held over the button now.
  bool WasPressed();
  // The pointer is over the button.
  bool IsHovered() const;
  // A press held now does not count: only one that begins from here on (after another
  // screen has run on top of this one).
  void IgnoreHeldPress();
  // In place of Update while the button has nothing to do: drawn faded and still, and a
  // press on it is no click, now or once it has something to do again.
  void UpdateDimmed();

 protected:
  // Reads the left button; true when it went down since the last test.
  bool PressStarted();
};

ImageButton MakeButton(KGraphic* picture, int32_t width, int32_t height, int32_t x, int32_t y, KSample* clickSound,
                       AnimationMode mode, PulseSettings pulse);

// Where a button sits (top-left corner) and how large it is.
struct ButtonPlace {
  int32_t width;
  int32_t height;
  int32_t x;
  int32_t y;
};

// The exit door of the puzzles, the studios and the galleries.
constexpr ButtonPlace kActivityExitPlace = {103, 138, 10, 465};

// A button as every screen of the game has them: pulsing under the pointer with
// kButtonPulse, with its click sound (none when null).
ImageButton MakeGameButton(KGraphic* picture, const ButtonPlace& place, KSample* clickSound);

struct ToggleButton : ImageButton {
  bool on = false;
  KGraphic* otherPicture = nullptr;

  // True once per press over the toggle (on the press; with a click sound, once it has
  // finished), and the toggle has flipped.
  bool WasToggled();
  // Exchanges the shown and the other picture; on = !on.
  void Toggle();
};

ToggleButton MakeToggle(KGraphic* picture, KGraphic* otherPicture, int32_t width, int32_t height, int32_t x,
                        int32_t y, KSample* clickSound, AnimationMode mode, PulseSettings pulse);

// A row of at most 20 LED buttons, each overlapping the one before by 6 pixels; the LEDs
// up to the level are lit.
class LedBar {
 public:
  static constexpr int32_t kMaxLeds = 20;
  static constexpr int32_t kOverlap = 6;

  LedBar(KGraphic* lit, KGraphic* unlit, int32_t width, int32_t height, int32_t count, int32_t x, int32_t y,
         KSample* clickSound, AnimationMode mode, PulseSettings pulse);

  // The first LED that reports a click this frame (that LED becomes the level), else -1.
  int32_t ClickedIndex();
  void SetLevel(int32_t index);
  void Update(float elapsedMs);

  int32_t Count() const { return count_; }
  int32_t Level() const { return level_; }
  const ImageButton& Led(int32_t index) const { return leds_.at(static_cast<size_t>(index)); }

 private:
  int32_t count_ = 0;
  int32_t level_ = 0;
  std::array<ImageButton, kMaxLeds> leds_{};
  KGraphic* lit_ = nullptr;
  KGraphic* unlit_ = nullptr;
};
