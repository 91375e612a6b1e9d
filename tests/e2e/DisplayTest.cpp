// The real game on displays of other sizes than its 800 x 600 world: full screen on a wide
// display, a large window on a 4K one that the player resizes, and taps from a touch screen.
#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "PrivateXServer.h"
#include "ScreenPictures.h"
#include "graphic/KPictureDecode.h"
#include "services/KFile.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using tafutest::WaitFor;

using Spot = tafutest::Point;
using tafutest::IsBluish;
using tafutest::Channel;
using tafutest::IsWarm;

// Where the 800 x 600 world lies on the window: its top-left corner and how many window
// pixels one world pixel takes.
struct Placement {
  double left;
  double top;
  double scale;
  Spot At(Spot world) const {
    return {static_cast<int32_t>(left + (world.x + 0.5) * scale), static_cast<int32_t>(top + (world.y + 0.5) * scale)};
  }
};

// 1920 x 1080 full screen: 1440 x 1080 in the middle, bars of 240 each side; 3840 x 2160:
// 2880 x 2160, bars of 480.
constexpr Placement kWideFullScreen = {240, 0, 1.8};
constexpr Placement k4KFullScreen = {480, 0, 3.6};
constexpr Placement kOwnSize = {0, 0, 1};

// Cell (10, 10) of the big canvas, and a point far from it.
constexpr Spot kCanvasCell = {273, 145};
constexpr Spot kAway = {790, 590};

// A margin round the menu's buttons for their pulse.
constexpr int32_t kPulseMargin = 25;

bool IsDark(uint32_t pixel) { return Channel(pixel, 0) < 60 && Channel(pixel, 8) < 60 && Channel(pixel, 16) < 60; }

std::string Settings(bool windowed) { return {windowed ? '\1' : '\0', 0, 0, 0, 0x32, 0, 0, 0, 0x32, 0, 0, 0}; }

bool UnderAButton(double x, double y) {
  for (const tafutest::Box& box : tafutest::kMenuButtons)
    if (x > box.x - kPulseMargin && x < box.x + box.width + kPulseMargin && y > box.y - kPulseMargin &&
        y < box.y + box.height + kPulseMargin)
      return true;
  return false;
}

// A picture at a position between its pixels, as smooth scaling blends it.
uint32_t Smoothed(const KDecodedPicture& picture, double x, double y) {
  x = std::clamp(x, 0.0, picture.width - 1.0);
  y = std::clamp(y, 0.0, picture.height - 1.0);
  const int32_t x0 = static_cast<int32_t>(x);
  const int32_t y0 = static_cast<int32_t>(y);
  const int32_t x1 = std::min(x0 + 1, picture.width - 1);
  const int32_t y1 = std::min(y0 + 1, picture.height - 1);
  const double fx = x - x0;
  const double fy = y - y0;
  uint32_t result = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const auto at = [&](int32_t px, int32_t py) {
      return static_cast<double>(picture.rgba.get()[(static_cast<size_t>(py) * picture.width + px) * 4 + channel]);
    };
    const double top = at(x0, y0) * (1 - fx) + at(x1, y0) * fx;
    const double bottom = at(x0, y1) * (1 - fx) + at(x1, y1) * fx;
    result |= static_cast<uint32_t>(std::lround(top * (1 - fy) + bottom * fy)) << (8 * channel);
  }
  return result;
}

bool Near(uint32_t a, uint32_t b, int32_t tolerance) {
  for (const int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  return true;
}

// Points spread over the world where one screen differs from the next.
const std::vector<Spot> kProbes = {{200, 200}, {400, 120}, {700, 300}, {400, 580}, {30, 30}, {480, 330}};

class GameOnDisplay : public tafutest::GameLauncher {
 public:
  std::vector<uint32_t> Probes() const {
    std::vector<uint32_t> pixels;
    for (const Spot& probe : kProbes) pixels.push_back(Pixel(At(probe).x, At(probe).y));
    return pixels;
  }
  // Another screen has taken the place of the one the probes saw.
  bool WaitForChange(const std::vector<uint32_t>& before) const {
    return WaitFor([&] {
      const std::vector<uint32_t> now = Probes();
      size_t changed = 0;
      for (size_t i = 0; i < now.size(); ++i) changed += Near(now[i], before[i], 24) ? 0 : 1;
      return changed >= 2;
    }, 10s);
  }
  explicit GameOnDisplay(Placement placement) : placement_(placement) {}
  void Place(Placement placement) { placement_ = placement; }
  Spot At(Spot world) const { return placement_.At(world); }
  bool WaitForSize(int32_t width, int32_t height) {
    return WaitFor([&] { return FindWindowAgain() && Window().width == width && Window().height == height; }, 10s);
  }
  bool WaitForWorld(Spot world, bool (*wanted)(uint32_t)) const {
    const Spot spot = At(world);
    return WaitForPixel(spot.x, spot.y, wanted, 20s);
  }
  bool ClickWorld(Spot world) const { return Click(At(world).x, At(world).y); }
  bool TouchWorld(Spot world) const { return TouchDown(At(world).x, At(world).y); }

 private:
  Placement placement_;
};

// The menu's buttons drawn on the window as sharp as in an 800 x 600 one: their outlines'
// edges at most two pixels wide (stretching the world's frame made them four at 1.8 times).
void ExpectSharpButtons(const GameOnDisplay& game, Placement placement) {
  for (const tafutest::Box& button : tafutest::kMenuButtons) {
    const Spot from = placement.At({button.x, button.y});
    const Spot to = placement.At({button.x + button.width - 1, button.y + button.height - 1});
    const std::vector<uint32_t> area = game.Area(from.x, from.y, to.x - from.x, to.y - from.y);
    const double width = tafutest::MedianEdgeWidth(area, to.x - from.x, {0, 0, to.x - from.x, to.y - from.y});
    EXPECT_GT(width, 0) << "button at " << button.x << ", " << button.y;
    EXPECT_LE(width, 2) << "button at " << button.x << ", " << button.y;
  }
}

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xrandr >/dev/null") != 0)
      GTEST_SKIP() << "needs Xvfb, xdotool and xrandr";
  }
};

class FullScreen : public Display, public ::testing::WithParamInterface<bool> {};

TEST_P(FullScreen, FillsAWideDesktopWithoutAModeChangeAndTheSwitchGivesAWindowNextTime) {
  tafutest::PrivateXServer server({1920, 1080, GetParam()});
  ASSERT_EQ(server.Failure(), "");
  const std::string modes = tafutest::DisplayModes();
  ASSERT_NE(modes.find("current 1920 x 1080"), std::string::npos) << modes;

  GameOnDisplay game(kWideFullScreen);
  tafutest::WriteFile(game.File("options.raw"), Settings(false));
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForSize(1920, 1080));
  ASSERT_TRUE(game.Focus());
  ASSERT_TRUE(game.MoveTo(100, 1000));  // over a bar: the game's cursor is out of the world
  ASSERT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsBluish));

  // The middle is the menu's drawing at twice its size, drawn at 0.9 of that.
  std::string bytes;
  ASSERT_TRUE(KFile::ReadWhole(std::string(tafutest::RuntimeDir()) + "/img/bg/menu@2x.png", bytes));
  KDecodedPicture menu;
  ASSERT_TRUE(DecodePicture(bytes.data(), bytes.size(), KPictureFormat::Png, 4096, menu));
  ASSERT_EQ(menu.width, 1600);
  const std::vector<uint32_t> middle = game.Area(240, 0, 1440, 1080);
  ASSERT_EQ(middle.size(), 1440u * 1080u);
  size_t compared = 0;
  size_t differing = 0;
  for (int32_t y = 0; y < 1080; y += 3) {
    for (int32_t x = 0; x < 1440; x += 3) {
      if (UnderAButton((x + 0.5) / 1.8 - 0.5, (y + 0.5) / 1.8 - 0.5)) continue;
      ++compared;
      if (!Near(middle[static_cast<size_t>(y) * 1440 + x], Smoothed(menu, (x + 0.5) / 0.9 - 0.5, (y + 0.5) / 0.9 - 0.5), 12))
        ++differing;
    }
  }
  EXPECT_GT(compared, 50000u);
  EXPECT_LT(differing, compared / 100) << differing << " of " << compared << " differ";
  ExpectSharpButtons(game, kWideFullScreen);
  // The columns either side go on with the meadow, from the drawings of what lies past the
  // menu's left and right edges at twice their size (300 x 600 each at their own).
  compared = 0;
  differing = 0;
  for (const auto& [columnLeft, file, edge] : {std::tuple{0, "menu@left@2x.png", -300}, {1680, "menu@right@2x.png", 800}}) {
    ASSERT_TRUE(KFile::ReadWhole(std::string(tafutest::RuntimeDir()) + "/img/bg/" + file, bytes));
    KDecodedPicture meadow;
    ASSERT_TRUE(DecodePicture(bytes.data(), bytes.size(), KPictureFormat::Png, 4096, meadow));
    ASSERT_EQ(meadow.width, 600);
    const std::vector<uint32_t> column = game.Area(columnLeft, 0, 240, 1080);
    for (int32_t y = 0; y < 1080; y += 3) {
      for (int32_t x = 0; x < 240; x += 3) {
        // The game's pointer stands over the left column.
        if (columnLeft + x < 200 && y > 950) continue;
        ++compared;
        const double worldX = (columnLeft + x + 0.5 - 240) / 1.8;
        const double worldY = (y + 0.5) / 1.8;
        const uint32_t drawn = Smoothed(meadow, (worldX - edge) * 2 - 0.5, worldY * 2 - 0.5);
        if (!Near(column[static_cast<size_t>(y) * 240 + x], drawn, 12)) ++differing;
      }
    }
  }
  EXPECT_LT(differing, compared / 100) << differing << " of " << compared << " differ in the columns";

  ASSERT_TRUE(game.ClickWorld(tafutest::kOptions));
  ASSERT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsWarm));
  ASSERT_TRUE(game.ClickWorld(tafutest::kWindowToggle));
  ASSERT_TRUE(WaitFor([&] { return tafutest::ReadFile(game.File("options.raw")) == Settings(true); }, 5s));
  EXPECT_EQ(tafutest::DisplayModes(), modes);
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_EQ(tafutest::DisplayModes(), modes);

  GameOnDisplay again(kOwnSize);
  tafutest::WriteFile(again.File("options.raw"), Settings(true));
  ASSERT_TRUE(again.Start());
  EXPECT_TRUE(again.WaitForSize(800, 600));
  EXPECT_TRUE(again.WaitForWorld(tafutest::kMenuSky, IsBluish));
  EXPECT_EQ(tafutest::DisplayModes(), modes);
}

INSTANTIATE_TEST_SUITE_P(WindowManager, FullScreen, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Openbox" : "None";
                         });

TEST_F(Display, AWindowOn4KOpensThreeTimesAsLargeAndSharpAndKeepsClicksOnButtonsWhenResized) {
  tafutest::PrivateXServer server({3840, 2160, true});
  ASSERT_EQ(server.Failure(), "");
  GameOnDisplay game({0, 0, 3});
  tafutest::WriteFile(game.File("options.raw"), Settings(true));
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForSize(2400, 1800));
  ASSERT_TRUE(game.Focus());
  ASSERT_TRUE(game.MoveTo(2390, 1790));
  ASSERT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsBluish));

  ExpectSharpButtons(game, {0, 0, 3});

  ASSERT_TRUE(game.Resize(1000, 600));
  ASSERT_TRUE(game.WaitForSize(1000, 600));
  game.Place({100, 0, 1});
  ASSERT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsBluish));
  ASSERT_TRUE(game.ClickWorld(tafutest::kOptions));
  EXPECT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsWarm));
}

TEST_F(Display, FullScreenOn4KDrawsTheButtonsAsSharpAsAWindow) {
  tafutest::PrivateXServer server({3840, 2160, false});
  ASSERT_EQ(server.Failure(), "");
  GameOnDisplay game(k4KFullScreen);
  tafutest::WriteFile(game.File("options.raw"), Settings(false));
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForSize(3840, 2160));
  ASSERT_TRUE(game.Focus());
  ASSERT_TRUE(game.MoveTo(100, 2000));
  ASSERT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsBluish));
  ExpectSharpButtons(game, k4KFullScreen);
  ASSERT_TRUE(game.ClickWorld(tafutest::kOptions));
  EXPECT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsWarm));
}

TEST_F(Display, APressArrivingWithItsPositionClicksAButtonAndPaintsACell) {
  tafutest::PrivateXServer server({1024, 768, false});
  ASSERT_EQ(server.Failure(), "");
  GameOnDisplay game(kOwnSize);
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForWorld(tafutest::kMenuSky, IsBluish));

  const std::vector<uint32_t> menu = game.Probes();
  ASSERT_TRUE(game.TouchWorld(tafutest::kPaint));
  ASSERT_TRUE(game.Release());
  ASSERT_TRUE(game.WaitForChange(menu));
  const std::vector<uint32_t> selection = game.Probes();
  ASSERT_TRUE(game.TouchWorld(tafutest::kBig));
  ASSERT_TRUE(game.Release());
  ASSERT_TRUE(game.WaitForChange(selection));

  ASSERT_TRUE(game.MoveTo(kAway.x, kAway.y));
  ASSERT_TRUE(WaitFor([&] { return !IsDark(game.Pixel(kCanvasCell.x, kCanvasCell.y)); }, 5s));
  ASSERT_TRUE(game.TouchWorld(kCanvasCell));
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(game.Release());
  ASSERT_TRUE(game.MoveTo(kAway.x, kAway.y));
  EXPECT_TRUE(game.WaitForWorld(kCanvasCell, IsDark));
}

}  // namespace
