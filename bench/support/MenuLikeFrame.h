// A frame like the main menu's, from the game's own pictures: the menu's background, its
// seven buttons where the menu puts them, and the cursor, drawn with no frame limit.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphic/KGraphic.h"
#include "window/KScreen.h"

namespace tafubench {

class MenuLikeFrame {
 public:
  // False when the game's pictures are missing (the game is not built yet).
  bool Load();
  // Draws and presents frame number frame; the cursor moves, so that every frame differs.
  void Draw(KScreen& screen, int32_t frame) const;

 private:
  std::unique_ptr<KGraphic> background_;
  std::unique_ptr<KGraphic> cursor_;
  std::vector<std::unique_ptr<KGraphic>> buttons_;
};

}  // namespace tafubench
