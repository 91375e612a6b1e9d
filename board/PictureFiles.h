// Picture files: shipped puzzle pictures and the child's saved paintings, as TGA files
// of one pixel per cell, read into and written from PictureBuffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/PictureTypes.h"

// Paintings are browsed from 1 to 299; 0 and 300 are the nothing-found answers
// of FindNextPainting and FindPreviousPainting.
constexpr int32_t kNoNextPainting = 0;
constexpr int32_t kNoPreviousPainting = 300;

// The folder that holds the paintings' "draw" folder: the user folder, unless a grown-up
// chose another (an empty folder goes back to the user folder).
void SetPaintingsFolder(const std::string& folder);
std::string GetPaintingsFolder();
// A painting's file name ("draw\small\12.tga") as a native path in the paintings folder.
std::string MakePaintingPath(const std::string& name);

// The game's name of a picture file, such as "game\big\3.tga" or "draw\small\12.tga".
std::string PictureFileName(PictureKind kind, CanvasSize size, int32_t number);

// Reads picture file number of that kind and size into the top-left columns x rows
// cells of PictureBuffer, every cell opaque. The file must be exactly columns x rows
// pixels (type 2 or 10, 16, 24 or 32 bits per pixel). A shipped game picture that
// cannot be read ends the program with exit status -1 after its message. A painting
// that cannot be read is reported on standard error and false comes back, with
// PictureBuffer untouched.
bool ReadPictureFile(PictureKind kind, CanvasSize size, int32_t number, int32_t columns, int32_t rows);
// As ReadPictureFile for a painting, from the drawing folder below another paintings
// folder (a brother's or sister's).
bool ReadPaintingIn(const std::string& folder, CanvasSize size, int32_t number, int32_t columns, int32_t rows);

// A painting file of a drawing folder and when it was last written (the file system's
// clock, in its own units: only for comparing).
struct SavedPainting {
  int32_t number;
  int64_t changed;
};
// The paintings of that size below a paintings folder, numbered 1 to 299 as the gallery
// shows them, in no particular order; none when the folder is missing.
std::vector<SavedPainting> ListPaintingsIn(const std::string& folder, CanvasSize size);

// Writes the top-left columns x rows cells of PictureBuffer as the next free painting
// number of that size, creating the drawing folder when needed; past 299, the lowest free
// number. The file is written under a temporary name of its own and then given its number
// only where no painting has it, so an existing painting is never overwritten, not even by
// another copy of the game saving at the same moment. False when it could not be written
// or every number from 1 to 299 is taken.
bool SavePainting(CanvasSize size, int32_t columns, int32_t rows);

// One more than the highest painting number in the size's drawing folder, at least 1.
int32_t NextPaintingNumber(CanvasSize size);
// The next painting above number, wrapping round to the lowest; 0 when there is none.
int32_t FindNextPainting(CanvasSize size, int32_t number);
// The next painting below number, wrapping round to the highest below 300; 300 when there is none.
int32_t FindPreviousPainting(CanvasSize size, int32_t number);
// Moves a painting's file to the trash, where a grown-up can get it back, or removes it where
// there is no trash; false, reported on standard error, when it is still there.
bool DeletePainting(CanvasSize size, int32_t number);
