// Throwing a file away so that a grown-up can still get it back. On the desktop the file goes
// to the desktop's trash (the home trash, or the trash at the top of the file's own disk),
// where the file manager lists and restores it. The browser has no such trash: there the
// file goes to a bin folder of the same form in the player's own storage, which keeps the
// last kBinSize files thrown away.
#pragma once

#include <cstddef>
#include <string>

enum class TrashResult {
  Trashed,  // the file is in the trash
  NoTrash,  // no trash can be had for this file; it is where it was
  Failed,   // the trash refused the file; it is where it was
};

constexpr size_t kBinSize = 50;

// Moves the file at path to the trash; when it is not trashed, reason says why.
TrashResult MoveToTrash(const std::string& path, std::string& reason);
