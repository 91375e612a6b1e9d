#include "PlayHelpers.h"

#include <chrono>
#include <cstdlib>
#include <string>

#include "MenuPlaces.h"
#include "StudioPlaces.h"
#include "graphic/KPictureDecode.h"
#include "services/KFile.h"
#include "TestPaths.h"

namespace tafutest {

namespace {

constexpr int32_t kLedCount = 10;
constexpr int32_t kLitMargin = 60;
constexpr int32_t kBackgroundTolerance = 12;

// LED i of a bar is lit when the channel at shift stands out over red.
int32_t CountLit(const GameLauncher& game, Point (*place)(int32_t), int shift) {
  int32_t count = 0;
  for (int32_t i = 0; i < kLedCount; ++i) {
    const uint32_t pixel = game.Pixel(place(i));
    count += Channel(pixel, shift) > Channel(pixel, 0) + kLitMargin ? 1 : 0;
  }
  return count;
}

}  // namespace

int32_t LitMusicLeds(const GameLauncher& game) { return CountLit(game, MusicLed, 16); }
int32_t LitEffectsLeds(const GameLauncher& game) { return CountLit(game, EffectsLed, 8); }

bool ShowsMenuBackground(const GameLauncher& game, const Box& box) {
  std::string bytes;
  KDecodedPicture menu;
  if (!KFile::ReadWhole(std::string(tafutest::RuntimeDir()) + "/img/bg/menu.png", bytes) ||
      !DecodePicture(bytes.data(), bytes.size(), KPictureFormat::Png, 4096, menu))
    return false;
  const std::vector<uint32_t> shown = game.Area(box.x, box.y, box.width, box.height);
  for (int32_t y = 0; y < box.height; ++y) {
    for (int32_t x = 0; x < box.width; ++x) {
      const uint8_t* wanted = menu.rgba.get() + (static_cast<size_t>(box.y + y) * menu.width + box.x + x) * 4;
      const uint32_t pixel = shown[static_cast<size_t>(y) * box.width + x];
      for (int channel = 0; channel < 3; ++channel)
        if (std::abs(Channel(pixel, 8 * channel) - wanted[channel]) > kBackgroundTolerance) return false;
    }
  }
  return true;
}

bool OpenBigCanvas(const GameLauncher& game) {
  // The size screen comes once the click has sounded.
  if (!game.WaitForMenu() || !game.ActAndSeeScreenChange([&] { return game.Click(kPaint); })) return false;
  return game.Click(kBig) && game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p == kFirstSwatchColour; });
}

bool PaintAStrokeAndSave(const GameLauncher& game) {
  return game.Click(kRedSwatch) &&
         game.Drag(BigCanvasCell(kStrokeFirst, kStrokeRow), BigCanvasCell(kStrokeLast, kStrokeRow)) &&
         game.WaitForPixel(BigCanvasCell(kStrokeFirst, kStrokeRow), [](uint32_t p) { return p == kRed; }) &&
         game.Click(kSaveMiddle);
}

}  // namespace tafutest
