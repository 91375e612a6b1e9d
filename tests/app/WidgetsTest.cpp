#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>

#include "GameState.h"
#include "TestAssets.h"
#include "TestSupport.h"
#include "app/Widgets.h"
#include "input/KControls.h"
#include "input/KControlsEvents.h"
#include "input/KScriptedInput.h"
#include "sound/KSample.h"

namespace {

// A button at (100, 50), 80 x 40, without picture or sound.
class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { UseScriptedInput(); }
  void TearDown() override { tafutest::ResetGameState(); }

  static ImageButton Button(AnimationMode mode = kPulseWhileHovered, PulseSettings pulse = kButtonPulse) {
    return MakeButton(nullptr, 80, 40, 100, 50, nullptr, mode, pulse);
  }
  // The next frame, with the pointer at (x, y) and the left button as given.
  static void Frame(int32_t x, int32_t y, bool left) {
    ControlsBeginFrame();
    SetScriptedPointer(x, y);
    SetScriptedButton(MOUSE_LEFT, left);
  }
};

TEST_F(ButtonTest, MakeButtonStoresThePlaceAndStartsAtRest) {
  const ImageButton button = MakeButton(nullptr, 80, 40, 100, 50, nullptr, kPulseWhileHovered, kButtonPulse);
  EXPECT_EQ(button.x, 100.0f);
  EXPECT_EQ(button.y, 50.0f);
  EXPECT_EQ(button.width, 80.0f);
  EXPECT_EQ(button.height, 40.0f);
  EXPECT_EQ(button.zoom, 1.0f);
  EXPECT_EQ(button.opacity, 1.0f);
  EXPECT_EQ(button.direction, 1);
  EXPECT_EQ(button.previousZoom, 1.1f);
  EXPECT_FALSE(button.pulsing || button.pressed || button.waitingForSound);
}

TEST_F(ButtonTest, ContainsHasStrictEdges) {
  const ImageButton button = Button();
  EXPECT_FALSE(button.Contains(100, 70));
  EXPECT_FALSE(button.Contains(140, 50));
  EXPECT_FALSE(button.Contains(180, 70));
  EXPECT_FALSE(button.Contains(140, 90));
  EXPECT_TRUE(button.Contains(100.5f, 50.5f));
  EXPECT_TRUE(button.Contains(179, 89));
  ImageButton zoomed = button;
  zoomed.zoom = 2.0f;
  EXPECT_FALSE(zoomed.Contains(90, 70));  // the hit area ignores the zoom
}

TEST_F(ButtonTest, PressAndReleaseOverTheButtonClicksOnTheReleaseFrame) {
  ImageButton button = Button();
  Frame(140, 70, false);
  EXPECT_FALSE(button.WasClicked());
  Frame(140, 70, true);
  EXPECT_FALSE(button.WasClicked());
  Frame(141, 71, true);
  EXPECT_FALSE(button.WasClicked());
  Frame(141, 71, false);
  EXPECT_TRUE(button.WasClicked());
  Frame(141, 71, false);
  EXPECT_FALSE(button.WasClicked());
}

TEST_F(ButtonTest, APressThatStartsOrEndsOffTheButtonDoesNotClick) {
  ImageButton button = Button();
  Frame(20, 20, true);  // pressed outside
  EXPECT_FALSE(button.WasClicked());
  Frame(140, 70, true);  // moved onto it
  EXPECT_FALSE(button.WasClicked());
  Frame(140, 70, false);  // released over it
  EXPECT_FALSE(button.WasClicked());

  Frame(140, 70, true);  // pressed over it
  EXPECT_FALSE(button.WasClicked());
  Frame(300, 70, true);  // slid off
  EXPECT_FALSE(button.WasClicked());
  Frame(300, 70, false);  // released outside
  EXPECT_FALSE(button.WasClicked());
  Frame(140, 70, false);
  EXPECT_FALSE(button.WasClicked());

  Frame(100, 70, true);  // on the left edge is not over it
  EXPECT_FALSE(button.WasClicked());
  Frame(100, 70, false);
  EXPECT_FALSE(button.WasClicked());
}

TEST_F(ButtonTest, AQuickTapBetweenTwoFramesStillClicks) {
  ImageButton button = Button();
  ControlsBeginFrame();
  SetScriptedPointer(140, 70);
  SetScriptedButton(MOUSE_LEFT, true);
  SetScriptedButton(MOUSE_LEFT, false);
  EXPECT_FALSE(button.WasClicked());
  ControlsBeginFrame();
  EXPECT_TRUE(button.WasClicked());
}

TEST_F(ButtonTest, WasPressedHoldsEveryFrameWhileHeldOverTheButton) {
  ImageButton button = Button();
  for (int frame = 0; frame < 4; ++frame) {
    Frame(140 + frame, 70, true);
    EXPECT_TRUE(button.WasPressed()) << "frame " << frame;
  }
  Frame(300, 70, true);
  EXPECT_FALSE(button.WasPressed());
  Frame(140, 70, false);
  EXPECT_FALSE(button.WasPressed());
}

TEST_F(ButtonTest, AToggleFlipsOnThePressOncePerPress) {
  int pictureA = 0;
  int pictureB = 0;
  auto* a = reinterpret_cast<KGraphic*>(&pictureA);
  auto* b = reinterpret_cast<KGraphic*>(&pictureB);
  ToggleButton toggle = MakeToggle(a, b, 80, 40, 100, 50, nullptr, kPulseWhileHovered, kButtonPulse);
  EXPECT_FALSE(toggle.on);

  Frame(140, 70, true);
  EXPECT_TRUE(toggle.WasToggled());
  EXPECT_TRUE(toggle.on);
  EXPECT_EQ(toggle.picture, b);
  EXPECT_EQ(toggle.otherPicture, a);
  for (int frame = 0; frame < 3; ++frame) {
    Frame(140, 70, true);
    EXPECT_FALSE(toggle.WasToggled());
  }
  Frame(140, 70, false);
  EXPECT_FALSE(toggle.WasToggled());
  Frame(140, 70, true);
  EXPECT_TRUE(toggle.WasToggled());
  EXPECT_FALSE(toggle.on);
  EXPECT_EQ(toggle.picture, a);

  Frame(20, 20, false);
  EXPECT_FALSE(toggle.WasToggled());
  Frame(20, 20, true);  // pressed outside, then slid on: no toggle
  EXPECT_FALSE(toggle.WasToggled());
  Frame(140, 70, true);
  EXPECT_FALSE(toggle.WasToggled());
  EXPECT_FALSE(toggle.on);
}

TEST_F(ButtonTest, PulseSwingsBetweenItsBoundsAtItsRates) {
  ImageButton button = Button();
  Frame(140, 70, false);
  button.Update(100);
  EXPECT_NEAR(button.zoom, 1.04f, 1e-5);
  EXPECT_TRUE(button.pulsing);

  float highest = button.zoom;
  float lowest = button.zoom;
  for (int frame = 0; frame < 400; ++frame) {
    const float before = button.zoom;
    button.Update(10);
    const float step = button.zoom - before;
    if (step > 0) {
      EXPECT_NEAR(step, 0.004f, 1e-5);
    } else if (step < 0) {
      EXPECT_NEAR(step, -0.003f, 1e-5);
    }
    highest = std::max(highest, button.zoom);
    lowest = std::min(lowest, button.zoom);
  }
  EXPECT_LT(highest, 1.08f);
  EXPECT_GT(highest, 1.075f);
  EXPECT_GT(lowest, 0.92f);
  EXPECT_LT(lowest, 0.925f);
}

TEST_F(ButtonTest, AfterThePointerLeavesThePulseSettlesOnItsNextPassThroughOne) {
  ImageButton button = Button();
  Frame(140, 70, false);
  for (int frame = 0; frame < 5; ++frame) button.Update(10);  // growing, at 1.02
  const float left = button.zoom;
  Frame(300, 300, false);
  float highest = left;
  int frames = 0;
  while (button.pulsing && frames < 1000) {
    button.Update(10);
    highest = std::max(highest, button.zoom);
    ++frames;
  }
  EXPECT_FALSE(button.pulsing);
  EXPECT_GT(highest, 1.075f) << "it first completes its rise";
  EXPECT_LT(button.zoom, 1.0f);
  EXPECT_GT(button.zoom, 1.0f - 0.003f - 1e-5f);
  EXPECT_EQ(button.direction, 1);
  const float settled = button.zoom;
  button.Update(10);
  EXPECT_EQ(button.zoom, settled);
}

TEST_F(ButtonTest, GrowModeGrowsToItsAmplitudeAndShrinksBack) {
  ImageButton button = Button(kGrowWhileHovered, {1.2f, 1.0f, 0.5f});
  Frame(140, 70, false);
  for (int frame = 0; frame < 30; ++frame) button.Update(10);
  EXPECT_NEAR(button.zoom, 1.2f, 0.011f);
  EXPECT_GE(button.zoom, 1.2f);
  Frame(300, 300, false);
  button.Update(100);
  EXPECT_NEAR(button.zoom, 1.15f, 0.011f);
  for (int frame = 0; frame < 100; ++frame) button.Update(10);
  EXPECT_LE(button.zoom, 1.0f);
  EXPECT_GT(button.zoom, 0.99f);
}

TEST_F(ButtonTest, OtherModesDoNotAnimate) {
  ImageButton button = Button(kNoAnimation);
  Frame(140, 70, false);
  for (int frame = 0; frame < 10; ++frame) button.Update(10);
  EXPECT_EQ(button.zoom, 1.0f);
}

TEST_F(ButtonTest, ALedBarHasAtMostTwentyOverlappingLeds) {
  int litPicture = 0;
  int unlitPicture = 0;
  auto* lit = reinterpret_cast<KGraphic*>(&litPicture);
  auto* unlit = reinterpret_cast<KGraphic*>(&unlitPicture);
  LedBar bar(lit, unlit, 30, 20, 25, 100, 50, nullptr, kPulseWhileHovered, kButtonPulse);
  EXPECT_EQ(bar.Count(), 20);
  EXPECT_EQ(bar.Led(0).x, 100.0f);
  EXPECT_EQ(bar.Led(1).x, 124.0f);
  EXPECT_EQ(bar.Led(19).x, 100.0f + 24.0f * 19);
  for (int32_t i = 0; i < bar.Count(); ++i) EXPECT_EQ(bar.Led(i).picture, unlit);

  bar.SetLevel(4);
  for (int32_t i = 0; i < bar.Count(); ++i) EXPECT_EQ(bar.Led(i).picture, i <= 4 ? lit : unlit) << "LED " << i;
  bar.SetLevel(0);
  EXPECT_EQ(bar.Led(0).picture, lit);
  EXPECT_EQ(bar.Led(1).picture, unlit);

  LedBar empty(lit, unlit, 30, 20, -3, 0, 0, nullptr, kPulseWhileHovered, kButtonPulse);
  EXPECT_EQ(empty.Count(), 0);
  EXPECT_EQ(empty.ClickedIndex(), -1);
}

TEST_F(ButtonTest, ALedBarClickSetsTheLevelToTheClickedLed) {
  LedBar bar(nullptr, nullptr, 30, 20, 10, 100, 50, nullptr, kPulseWhileHovered, kButtonPulse);
  // x 100 + 24 i .. 130 + 24 i: 250 lies on LEDs 5 (220..250, edge) and 6 (244..274).
  Frame(250, 60, false);
  EXPECT_EQ(bar.ClickedIndex(), -1);
  Frame(250, 60, true);
  EXPECT_EQ(bar.ClickedIndex(), -1);
  Frame(250, 60, false);
  EXPECT_EQ(bar.ClickedIndex(), 6);
  EXPECT_EQ(bar.Level(), 6);
  Frame(230, 60, true);  // LEDs 4 (196..226 no) and 5 (220..250): only 5
  bar.ClickedIndex();
  Frame(230, 60, false);
  EXPECT_EQ(bar.ClickedIndex(), 5);
  EXPECT_EQ(bar.Level(), 5);
}

}  // namespace

namespace {

// A button with a click sound of 150 ms.
class SoundButtonTest : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    tafutest::WriteWave(folder_ / "click.wav", 150);
    ASSERT_TRUE(click_.LoadSample(folder_ / "click.wav", 100, false, 1));
  }

  // Frames until the widget reports, at most about three seconds; the mouse meanwhile
  // presses and releases over it again, which must change nothing.
  template <typename Report>
  int FramesUntil(Report report) {
    for (int frame = 1; frame < 300; ++frame) {
      Frame(140, 70, frame % 2 == 0);
      const bool playing = click_.IsPlaying();
      if (report()) {
        EXPECT_FALSE(playing) << "reported while the sound still played";
        return frame;
      }
      SDL_Delay(10);
    }
    return -1;
  }

  tafutest::TempFolder folder_;
  KSample click_;
};

TEST_F(SoundButtonTest, TheClickIsReportedOnceItsSoundHasEnded) {
  ImageButton button = MakeButton(nullptr, 80, 40, 100, 50, &click_, kPulseWhileHovered, kButtonPulse);
  Frame(140, 70, true);
  EXPECT_FALSE(button.WasClicked());
  EXPECT_FALSE(click_.IsPlaying());
  Frame(140, 70, false);
  EXPECT_FALSE(button.WasClicked());
  EXPECT_TRUE(click_.IsPlaying());
  EXPECT_TRUE(button.waitingForSound);

  EXPECT_GT(FramesUntil([&] { return button.WasClicked(); }), 3);
  Frame(140, 70, false);
  EXPECT_FALSE(button.WasClicked()) << "presses made while the sound played are not kept";
  EXPECT_FALSE(click_.IsPlaying());
}

TEST_F(SoundButtonTest, AToggleWithASoundFlipsOnceItsSoundHasEnded) {
  ToggleButton toggle = MakeToggle(nullptr, nullptr, 80, 40, 100, 50, &click_, kPulseWhileHovered, kButtonPulse);
  Frame(140, 70, true);
  EXPECT_FALSE(toggle.WasToggled());
  EXPECT_TRUE(click_.IsPlaying());
  EXPECT_FALSE(toggle.on);
  EXPECT_GT(FramesUntil([&] { return toggle.WasToggled(); }), 3);
  EXPECT_TRUE(toggle.on);
}

TEST_F(SoundButtonTest, AClickSoundThatDidNotLoadReportsOnTheNextFrame) {
  KSample silent;
  EXPECT_FALSE(silent.LoadSample(folder_ / "missing.wav", 100, false, 1));
  ImageButton button = MakeButton(nullptr, 80, 40, 100, 50, &silent, kPulseWhileHovered, kButtonPulse);
  Frame(140, 70, true);
  EXPECT_FALSE(button.WasClicked());
  Frame(140, 70, false);
  EXPECT_FALSE(button.WasClicked());
  Frame(140, 70, false);
  EXPECT_TRUE(button.WasClicked());
}

}  // namespace
