#include "PuzzleScreenFixture.h"
