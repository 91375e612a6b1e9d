// Choosing the picture a puzzle round is played on: a shipped one at random, or the
// players' own paintings in turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/AssetCache.h"
#include "board/PictureTypes.h"

// How many shipped pictures of that size "setup.ini" announces (key "COUNT" of
// section "BIG_IMAGES" or "SMALL_IMAGES"); 0 when the file or the key is missing.
int32_t PuzzlePictureCount(CanvasSize size);

// A picture number from 1 to count for a 15-bit random value r; a count below 1 gives 1.
int32_t PuzzlePictureNumber(int32_t count, int32_t r);

// Draws a picture number of that size at random and reads it into the top-left
// columns x rows cells of PictureBuffer.
void LoadRandomPuzzlePicture(PictureKind kind, CanvasSize size, int32_t columns, int32_t rows);

// A paintings folder whose paintings can be played as puzzles, and the small picture of
// the player who painted them (null when the game has no players).
struct PaintingsFolder {
  std::string folder;
  const char* painter = nullptr;
};

// One saved painting, where it is kept and who painted it.
struct OwnPainting {
  std::string folder;
  int32_t number = 0;
  const char* painter = nullptr;
  int64_t changed = 0;
};

// The paintings of that size in all the folders, newest first: the one written last, and
// of two written at the same moment the one of the higher number.
std::vector<OwnPainting> FindOwnPaintings(const std::vector<PaintingsFolder>& folders, CanvasSize size);

// Reads a painting of that size into the top-left cells of PictureBuffer; false, reported
// on standard error and with PictureBuffer untouched, when it cannot be read.
bool ReadOwnPainting(const OwnPainting& painting, CanvasSize size);

// The pictures of a puzzle's rounds: shipped ones at random, or the given paintings in
// their order, round after round, from the first again after the last. A painting that
// cannot be read is passed over; when none can, the round gets a shipped picture.
class PuzzlePictures {
 public:
  explicit PuzzlePictures(CanvasSize size, std::vector<OwnPainting> paintings = {});

  // Reads the next round's picture into the top-left cells of PictureBuffer.
  void LoadNext();
  // The small picture of the player who painted the picture read last; null for a shipped
  // picture, or a painting of a game without players.
  const char* Painter() const { return painter_; }

 private:
  bool LoadNextPainting();

  CanvasSize size_;
  std::vector<OwnPainting> paintings_;
  size_t next_ = 0;
  const char* painter_ = nullptr;
};

// The painter's animal, small, where a puzzle screen shows it beside its picture.
class PainterBadge {
 public:
  // Draws painter's small picture 40 x 40 with its top-left corner at (x, y), at opacity;
  // nothing for null.
  void Draw(const char* painter, float x, float y, float opacity);

 private:
  AssetCache assets_;
  std::vector<std::string> loaded_;
};
