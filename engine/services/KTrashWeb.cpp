// The browser has no desktop trash: a painting thrown away goes to the bin folder of the
// player's own storage, where the grown-ups' page finds it.
#include "KPaths.h"
#include "KTrash.h"

TrashResult MoveToTrash(const std::string& path, std::string& reason) {
  return MoveToBin(path, MakeUserPath("bin"), kBinSize, reason);
}
