// Screen codes returned by the menu and by screens, and the difficulties of the puzzles.
#pragma once

#include <cstdint>

using ScreenCode = int32_t;
using Difficulty = int32_t;

constexpr ScreenCode kCodeBigStudio = 0;
constexpr ScreenCode kCodeSmallStudio = 1;
constexpr ScreenCode kCodeSlideBase = 2;        // 2, 3, 4: slide puzzle, easy to hard
constexpr ScreenCode kCodeSwapBase = 5;         // 5, 6, 7: swap puzzle
constexpr ScreenCode kCodeCopyDrawingBase = 8;  // 8, 9, 10: copy-drawing game
constexpr ScreenCode kCodeCopyColoursBase = 11; // 11, 12, 13: copy-colours game
// Added to a base (22, 25, 28): the slide, swap or copy-drawing game at medium, played on
// the players' own paintings.
constexpr ScreenCode kCodeOwnPaintings = 20;
constexpr ScreenCode kCodeStayInMenu = 95;
// What the dispatcher answers once a screen it ran has ended: the menu again.
constexpr ScreenCode kCodeBackToMenu = 0;
constexpr ScreenCode kCodeRebuildMenu = 98;
constexpr ScreenCode kCodeQuit = 100;

constexpr Difficulty kEasy = 1;
constexpr Difficulty kMedium = 2;
constexpr Difficulty kHard = 3;
