// The frame every puzzle screen runs: the round that fades a picture in, lets the child
// play and fades it out again; the test button with its result picture; the row of seven
// stars and stones; the exit button; Escape and the hidden C+N skip. Each puzzle brings
// its own round set-up, board, buttons and check through a PuzzleGame.
//
//   struct SwapGame : PuzzleGame { ... };
//   PuzzleRound SwapPuzzleScreen(Difficulty difficulty) {
//     SwapGame game(difficulty);
//     PuzzleFrame frame(game, {game.Background(), PuzzleKeys::AfterFlip, false});
//     return frame.Run();
//   }
//
// One frame, in this order:
//    1. the view, the frame counter and FrameTime;
//    2. the test button's result picture: 1.8 s of play after the test it shows
//       "img\ico\test.png" again;
//    3. the round step: SetUp calls SetUpRound and fades in; FadeIn raises the opacity by
//       one per second and enables input at 1; FadeOut lowers it to 0 and sets up anew;
//    4. with PuzzleKeys::BeforeDrawing: C+N, then Escape (which leaves at once);
//    5. the background;
//    6. DrawBoard, then HandleBoardInput;
//    7. the test button (only while input is enabled): CheckBoard, the result picture and
//       sound, a star or a stone; the seventh result disables input and starts the row's
//       closing fade-out, otherwise a solved board disables input and fades out;
//    8. the exit button (always; it reports its click once its sound has played);
//    9. HandleToolButtons;
//   10. the result row; once its closing fade-out has ended the round is Finished;
//   11. the cursor (CursorKind goes back to the arrow after it), then Flip;
//   12. with PuzzleKeys::AfterFlip: C+N, then Escape;
//   13. the screen is left on a quit request or when Finished.
// C+N (both held) while the round is neither SetUp nor FadeIn fades the picture out
// without a result.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/ScreenCodes.h"
#include "app/Widgets.h"
#include "puzzles/PuzzleScreens.h"
#include "puzzles/ResultRow.h"

class KGraphic;
class KSample;

// Where in the frame the keys are read.
enum class PuzzleKeys {
  AfterFlip,      // after the frame is shown (swap and slide puzzles)
  BeforeDrawing,  // right after the round step, before anything is drawn (copy games)
};

struct PuzzleFrameSettings {
  KGraphic* background = nullptr;  // drawn opaque over the whole screen each frame
  PuzzleKeys keys = PuzzleKeys::AfterFlip;
  bool skipDisablesInput = false;  // C+N also disables input (the slide puzzle)
};

class PuzzleFrame;

// What one puzzle adds to the frame. Animations advance by frame.Elapsed().
class PuzzleGame {
 public:
  virtual ~PuzzleGame() = default;
  // A new round: shuffle, load a picture.
  virtual void SetUpRound() = 0;
  // The board (and whatever else the puzzle draws under its buttons), at frame.Opacity().
  virtual void DrawBoard(PuzzleFrame& frame) = 0;
  // The puzzle's own buttons and mouse, before the test button.
  virtual void HandleBoardInput(PuzzleFrame& frame) = 0;
  // Judges the board for the test button: true when solved.
  virtual bool CheckBoard() = 0;
  // Buttons asked after the exit button (the copy games' tools).
  virtual void HandleToolButtons(PuzzleFrame&) {}
};

// A puzzle button: it pulses while hovered, like every button of the game.
ImageButton MakePuzzleButton(KGraphic* picture, int32_t width, int32_t height, int32_t x, int32_t y,
                             KSample* clickSound);

// Plays a sound of SharedAssets.
void PlaySharedSound(size_t index);

class PuzzleFrame {
 public:
  // Needs SharedAssets loaded (test, exit, star and stone pictures, the test sounds).
  PuzzleFrame(PuzzleGame& game, const PuzzleFrameSettings& settings);

  // Runs frames until the screen is left: the exit button, Escape, a quit request, or
  // the row of seven results has faded out. Returns the round state at that moment.
  PuzzleRound Run();
  // One frame; false when the screen is left in it.
  bool RunFrame();

  PuzzleRound Round() const { return round_; }
  // The board's opacity: 0 invisible, 1 opaque.
  float Opacity() const { return opacity_; }
  bool IsInputEnabled() const { return inputEnabled_; }
  void SetInputEnabled(bool enabled) { inputEnabled_ = enabled; }
  // This frame's FrameTime in milliseconds.
  float Elapsed() const;
  const ResultRow& Results() const { return results_; }
  const ImageButton& TestButton() const { return testButton_; }
  const ImageButton& ExitButton() const { return exitButton_; }

 private:
  void StepTestDisplay();
  void StepRound();
  // False when Escape leaves the screen.
  bool HandleKeys();
  void HandleTestButton();
  void Test();

  PuzzleGame& game_;
  PuzzleFrameSettings settings_;
  PuzzleRound round_ = PuzzleRound::SetUp;
  float opacity_ = 0.0f;
  bool inputEnabled_ = false;
  uint64_t testShownMs_;  // when the test button last showed a result
  ResultRow results_{};
  ImageButton testButton_;
  ImageButton exitButton_;
};
