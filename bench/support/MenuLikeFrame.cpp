#include "MenuLikeFrame.h"

#include <array>
#include <string>

namespace tafubench {
namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kCursorLeft = 400;
constexpr int32_t kCursorTop = 300;
constexpr int32_t kCursorRun = 40;

struct Placed {
  const char* name;
  int32_t x;
  int32_t y;
};

constexpr std::array<Placed, 7> kButtons = {{
    {"swap", 624, 437}, {"slide", 605, 249}, {"draw", 136, 205},
    {"copy_draw", 507, 45}, {"copy_paint", 335, 350},
    {"options", 739, 5}, {"exit", 32, 446},
}};

std::unique_ptr<KGraphic> Load(const std::string& name) {
  std::unique_ptr<KGraphic> picture = CreateGraphic();
  if (!picture->LoadPicture(std::string(TAFU_RUNTIME_DIR) + "/img/" + name, true, true)) return nullptr;
  return picture;
}

}  // namespace

bool MenuLikeFrame::Load() {
  background_ = tafubench::Load("bg/menu.png");
  cursor_ = tafubench::Load("ico/cursor.png");
  buttons_.clear();
  for (const Placed& button : kButtons) buttons_.push_back(tafubench::Load(std::string("ico/") + button.name + ".png"));
  return background_ && cursor_;
}

void MenuLikeFrame::Draw(KScreen& screen, int32_t frame) const {
  screen.ResetView();
  background_->Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false);
  for (size_t i = 0; i < kButtons.size(); ++i) {
    if (!buttons_[i]) continue;
    buttons_[i]->BlitAlpha(0, 0, buttons_[i]->GetWidth(), buttons_[i]->GetHeight(), kButtons[i].x, kButtons[i].y,
                           false, false);
  }
  cursor_->BlitAlpha(0, 0, cursor_->GetWidth(), cursor_->GetHeight(), kCursorLeft + frame % kCursorRun, kCursorTop,
                     false, false);
  screen.Flip(false, true);
}

}  // namespace tafubench
