// Plays a screen function frame by frame: a list of input steps, one per frame, given to
// the screen through the scripted input. Step 0 is what the screen sees in its first
// frame, step n what it sees after its n-th Flip. After the last step the input stays as
// it was left; once the frame limit is reached the window is asked to quit, so a screen
// that never returns by itself still ends.
//
//   InputScript script;
//   script.MoveTo(100, 100).Click(420, 310).Wait(5);
//   script.Play(*MainScreen);
//   const ScreenCode code = RunMainMenu();
//
// Use the stepped clock (UseSteppedClock) as well when the screen's timing matters:
// every Flip then moves it on by one frame delay.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "input/KControls.h"
#include "input/KScriptedInput.h"
#include "window/KScreen.h"

namespace tafutest {

class InputScript {
 public:
  static constexpr uint32_t kDefaultFrameLimit = 10000;

  InputScript() { UseScriptedInput(); }
  ~InputScript() { UseRealInput(); }
  InputScript(const InputScript&) = delete;
  InputScript& operator=(const InputScript&) = delete;

  // One frame with the pointer at (x, y).
  InputScript& MoveTo(int32_t x, int32_t y) {
    return Step([x, y] { SetScriptedPointer(x, y); });
  }
  // One frame each: the left button goes down, then up.
  InputScript& Press() {
    return Step([] { SetScriptedButton(MOUSE_LEFT, true); });
  }
  InputScript& Release() {
    return Step([] { SetScriptedButton(MOUSE_LEFT, false); });
  }
  // Press and release within one frame, as a quick tap between two frames.
  InputScript& Tap() {
    return Step([] {
      SetScriptedButton(MOUSE_LEFT, true);
      SetScriptedButton(MOUSE_LEFT, false);
    });
  }
  // Three frames: point at (x, y), press, release.
  InputScript& Click(int32_t x, int32_t y) { return MoveTo(x, y).Press().Release(); }
  InputScript& KeyDown(int32_t keyCode) {
    return Step([keyCode] { SetScriptedKey(keyCode, true); });
  }
  InputScript& KeyUp(int32_t keyCode) {
    return Step([keyCode] { SetScriptedKey(keyCode, false); });
  }
  // Frames in which nothing changes.
  InputScript& Wait(uint32_t frames) {
    for (uint32_t i = 0; i < frames; ++i) Step([] {});
    return *this;
  }
  // One frame that runs any action (check a state, change a setting, step the clock).
  InputScript& Do(std::function<void()> action) { return Step(std::move(action)); }
  // Holds at this step, frame after frame, until the condition is true (at most maxFrames).
  InputScript& WaitUntil(std::function<bool()> condition, uint32_t maxFrames = kDefaultFrameLimit) {
    steps_.push_back({[] {}, std::move(condition), maxFrames});
    return *this;
  }

  // Gives the screen step 0 now and one further step at each Flip of the screen.
  void Play(KScreen& screen, uint32_t frameLimit = kDefaultFrameLimit) {
    auto state = std::make_shared<PlayState>();
    state->steps = steps_;
    state->screen = &screen;
    state->frameLimit = frameLimit;
    state_ = state;
    state->Advance();
    SetFrameScript([state](uint32_t) { state->Advance(); });
  }
  // Flips the screen has made since Play.
  uint32_t FramesPlayed() const { return state_ ? state_->frames : 0; }
  // Every step has been given.
  bool Finished() const { return state_ && state_->next >= state_->steps.size(); }

 private:
  struct StepEntry {
    std::function<void()> action;
    std::function<bool()> until;  // empty: one frame
    uint32_t maxFrames = 1;
  };

  struct PlayState {
    std::vector<StepEntry> steps;
    KScreen* screen = nullptr;
    uint32_t frameLimit = kDefaultFrameLimit;
    size_t next = 0;
    uint32_t held = 0;
    uint32_t frames = 0;
    bool started = false;

    void Advance() {
      if (started) ++frames;
      started = true;
      if (frames >= frameLimit) {
        if (!screen->IsQuitRequested()) screen->RequestQuit();
        return;
      }
      while (next < steps.size()) {
        StepEntry& step = steps[next];
        if (step.until) {
          if (!step.until() && ++held < step.maxFrames) return;
          held = 0;
          ++next;
          continue;
        }
        step.action();
        ++next;
        return;
      }
    }
  };

  InputScript& Step(std::function<void()> action) {
    steps_.push_back({std::move(action), {}, 1});
    return *this;
  }

  std::vector<StepEntry> steps_;
  std::shared_ptr<PlayState> state_;
};

}  // namespace tafutest
