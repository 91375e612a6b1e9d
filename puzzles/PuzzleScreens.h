// The puzzle screens the dispatcher runs; each returns the round it was left in.
#pragma once

#include <cstdint>

#include "app/ScreenCodes.h"

// The round of a puzzle screen; its value is what the screen returns when left.
enum class PuzzleRound : int32_t { SetUp = 0, FadeIn = 1, FadeOut = 3, Play = 4, Finished = 5 };

PuzzleRound SlidePuzzleScreen(Difficulty difficulty);
PuzzleRound SwapPuzzleScreen(Difficulty difficulty);
PuzzleRound CopyDrawingScreen(Difficulty difficulty);
PuzzleRound CopyColoursScreen(Difficulty difficulty);
