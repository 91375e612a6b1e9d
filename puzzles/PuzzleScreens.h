// The puzzle screens the dispatcher runs; each returns the round it was left in.
#pragma once

#include <cstdint>
#include <vector>

#include "app/ScreenCodes.h"
#include "puzzles/PuzzlePictures.h"

// The round of a puzzle screen; its value is what the screen returns when left.
enum class PuzzleRound : int32_t { SetUp = 0, FadeIn = 1, FadeOut = 3, Play = 4, Finished = 5 };

// The swap, slide and copy-drawing puzzles play the given paintings in turn, or with none
// shipped pictures at random.
PuzzleRound SlidePuzzleScreen(Difficulty difficulty, std::vector<OwnPainting> paintings = {});
PuzzleRound SwapPuzzleScreen(Difficulty difficulty, std::vector<OwnPainting> paintings = {});
PuzzleRound CopyDrawingScreen(Difficulty difficulty, std::vector<OwnPainting> paintings = {});
PuzzleRound CopyColoursScreen(Difficulty difficulty);
