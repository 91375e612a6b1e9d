#include "puzzles/PuzzleFrame.h"

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "input/KControls.h"
#include "services/KClock.h"
#include "sound/KSample.h"

namespace {

constexpr float kMsPerSecond = 1000.0f;
// The result picture stays on the test button for this long of play, read on the clock: a
// count of frames would be shorter wherever frames come slower than the last second's rate.
constexpr uint64_t kTestDisplayMs = 1800;

constexpr int32_t kTestButtonX = 662;
constexpr int32_t kTestButtonY = 478;
constexpr int32_t kTestButtonWidth = 89;
constexpr int32_t kTestButtonHeight = 94;

bool SkipKeysHeld() { return IsKeyDown(KEY_C) && IsKeyDown(KEY_N); }

}  // namespace

ImageButton MakePuzzleButton(KGraphic* picture, int32_t width, int32_t height, int32_t x, int32_t y,
                             KSample* clickSound) {
  return MakeGameButton(picture, {width, height, x, y}, clickSound);
}

void PlaySharedSound(size_t index) {
  if (KSample* sound = SharedAssets.Sound(index)) sound->Play();
}

PuzzleFrame::PuzzleFrame(PuzzleGame& game, const PuzzleFrameSettings& settings)
    : game_(game),
      settings_(settings),
      testShownMs_(GetMilliseconds()),
      testButton_(MakePuzzleButton(SharedAssets.Picture(kSharedTest), kTestButtonWidth, kTestButtonHeight,
                                   kTestButtonX, kTestButtonY, nullptr)),
      exitButton_(MakeGameButton(SharedAssets.Picture(kSharedExit), kActivityExitPlace,
                                 SharedAssets.Sound(kSharedClickSound))) {}

float PuzzleFrame::Elapsed() const { return static_cast<float>(FrameTime); }

PuzzleRound PuzzleFrame::Run() {
  while (RunFrame()) {
  }
  return round_;
}

bool PuzzleFrame::RunFrame() {
  BeginFrame();
  StepTestDisplay();
  StepRound();
  if (settings_.keys == PuzzleKeys::BeforeDrawing && !HandleKeys()) return false;

  DrawBackground(settings_.background);
  game_.DrawBoard(*this);
  game_.HandleBoardInput(*this);
  HandleTestButton();
  exitButton_.Update(Elapsed());
  if (exitButton_.WasClicked()) return false;
  game_.HandleToolButtons(*this);
  if (DrawResultRow(*SharedAssets.Picture(kSharedStar), *SharedAssets.Picture(kSharedStone), results_, Elapsed()))
    round_ = PuzzleRound::Finished;

  const bool goingOn = EndFrame();
  if (settings_.keys == PuzzleKeys::AfterFlip && !HandleKeys()) return false;
  return goingOn && round_ != PuzzleRound::Finished;
}

void PuzzleFrame::StepTestDisplay() {
  if (GetMilliseconds() - testShownMs_ >= kTestDisplayMs)
    testButton_.picture = SharedAssets.Picture(kSharedTest);
  else
    StayAwake();
}

void PuzzleFrame::StepRound() {
  switch (round_) {
    case PuzzleRound::SetUp:
      game_.SetUpRound();
      round_ = PuzzleRound::FadeIn;
      break;
    case PuzzleRound::FadeIn:
      if (opacity_ >= 1.0f) {
        opacity_ = 1.0f;
        inputEnabled_ = true;
        round_ = PuzzleRound::Play;
      }
      opacity_ += Elapsed() / kMsPerSecond;
      break;
    case PuzzleRound::FadeOut:
      if (opacity_ <= 0.0f) {
        opacity_ = 0.0f;
        round_ = PuzzleRound::SetUp;
      }
      opacity_ -= Elapsed() / kMsPerSecond;
      break;
    case PuzzleRound::Play:
    case PuzzleRound::Finished:
      break;
  }
}

bool PuzzleFrame::HandleKeys() {
  if (SkipKeysHeld() && round_ != PuzzleRound::SetUp && round_ != PuzzleRound::FadeIn) {
    round_ = PuzzleRound::FadeOut;
    if (settings_.skipDisablesInput) inputEnabled_ = false;
  }
  return !IsKeyDown(KEY_ESCAPE);
}

void PuzzleFrame::HandleTestButton() {
  testButton_.Update(Elapsed());
  if (inputEnabled_ && testButton_.WasClicked()) Test();
}

void PuzzleFrame::Test() {
  const bool solved = game_.CheckBoard();
  testButton_.picture = SharedAssets.Picture(solved ? kSharedTestTrue : kSharedTestFalse);
  PlaySharedSound(solved ? kSharedTestTrueSound : kSharedTestFalseSound);
  testShownMs_ = GetMilliseconds();
  AddResult(results_, solved);
  if (CountResults(results_) == kResultSlots) {
    inputEnabled_ = false;
    StartClosingFade(results_);
  } else if (solved) {
    inputEnabled_ = false;
    round_ = PuzzleRound::FadeOut;
  }
}
