#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <functional>
#include <memory>
#include <vector>

#include "FrameCapture.h"
#include "PrivateXServer.h"
#include "TestSupport.h"
#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "XWindows.h"
#include "services/KClock.h"
#include "window/KScreenGL.h"

namespace {

using tafutest::OpenTestWindow;
using tafutest::ReadPixel;

TEST(Window, OpensAtTheRequestedClientSize) {
  auto screen = OpenTestWindow();
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen->GetWidth(), 800);
  EXPECT_EQ(screen->GetHeight(), 600);
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(static_cast<SDL_Window*>(screen->GetWindowHandle()), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_FALSE(screen->IsQuitRequested());
}

TEST(Window, AWindowLeavesVideoRunningForWhoeverStartedIt) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  {
    auto screen = OpenTestWindow();
    ASSERT_TRUE(screen);
  }
  EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(Window, FrameRateHoldsFramesApart) {
  auto screen = OpenTestWindow();
  ASSERT_TRUE(screen);
  auto* gl = static_cast<KScreenGL*>(screen.get());
  gl->SetFrameRate(80);
  EXPECT_EQ(gl->GetFrameDelay(), 12);
  gl->SetFrameRate(0);
  EXPECT_EQ(gl->GetFrameDelay(), 0);
  gl->SetFrameRate(-1);
  EXPECT_EQ(gl->GetFrameDelay(), 0);

  gl->SetFrameRate(80);
  screen->Flip(false, true);
  const uint64_t start = GetMilliseconds();
  for (int i = 0; i < 50; ++i) screen->Flip(false, true);
  EXPECT_GE(GetMilliseconds() - start, 50u * 12u);
}

TEST(Window, SteppedClockMovesByOneFrameDelayPerFlip) {
  auto screen = OpenTestWindow();
  ASSERT_TRUE(screen);
  screen->SetFrameRate(80);
  UseSteppedClock(1000);
  screen->Flip(false, true);
  const uint64_t start = GetMilliseconds();
  for (int i = 0; i < 10; ++i) screen->Flip(false, true);
  const uint64_t elapsed = GetMilliseconds() - start;
  UseRealClock();
  EXPECT_EQ(elapsed, 120u);
}

TEST(Window, QuitEventAndRequestSetTheQuitFlag) {
  auto screen = OpenTestWindow();
  ASSERT_TRUE(screen);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  screen->Flip(false, true);
  EXPECT_TRUE(screen->IsQuitRequested());
  screen.reset();

  auto second = OpenTestWindow();
  ASSERT_TRUE(second);
  second->RequestQuit();
  EXPECT_TRUE(second->IsQuitRequested());
}

TEST(Window, CloseFromTheWindowSystemKeepsTheWindowAndAsksToQuit) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  auto screen = OpenTestWindow();
  ASSERT_TRUE(screen);
  screen->SetTitle("TAFU close test");
  screen->Flip(false, true);
  tafutest::XWindowInfo window;
  for (int i = 0; i < 100 && !window.found; ++i) {
    screen->Flip(false, true);
    window = tafutest::FindXWindow("TAFU close test");
  }
  ASSERT_TRUE(window.found);
  ASSERT_TRUE(tafutest::RequestXWindowClose(window.id));
  for (int i = 0; i < 200 && !screen->IsQuitRequested(); ++i) screen->Flip(false, true);
  EXPECT_TRUE(screen->IsQuitRequested());
  EXPECT_TRUE(tafutest::FindXWindow("TAFU close test").found);
}

TEST(Window, FadeLevelDarkensTheFrame) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  auto screen = OpenTestWindow();
  ASSERT_TRUE(screen);
  screen->SetTitle("TAFU fade test");
  tafutest::XWindowInfo window;
  for (int i = 0; i < 100 && !window.found; ++i) {
    screen->Flip(false, true);
    window = tafutest::FindXWindow("TAFU fade test");
  }
  ASSERT_TRUE(window.found);

  screen->SetClearColor(1, 1, 1, 1);
  screen->SetView(0, 0, 0, 1, true);
  screen->SetFadeLevel(0.25f);
  screen->Flip(false, true);
  // White under black at 75 % opacity: a quarter of full brightness.
  const uint32_t faded = tafutest::ReadXWindowPixel(window.id, 400, 300);
  EXPECT_NEAR(static_cast<int>(faded & 0xFF), 64, 1);
  EXPECT_NEAR(static_cast<int>((faded >> 16) & 0xFF), 64, 1);

  screen->SetFadeLevel(1.0f);
  screen->SetView(0, 0, 0, 1, true);
  screen->Flip(false, true);
  EXPECT_EQ(tafutest::ReadXWindowPixel(window.id, 400, 300), 0xFFFFFFu);
}

TEST(Window, SwitchesBetweenAWindowAndTheWholeDesktopWithoutAModeChange) {
  tafutest::PrivateXServer server({1920, 1080, true});
  ASSERT_EQ(server.Failure(), "");
  const std::string modes = tafutest::DisplayModes();
  auto screen = OpenTestWindow();
  ASSERT_TRUE(screen);
  screen->SetTitle("TAFU switch test");
  const auto sizeBecomes = [&](int32_t width, int32_t height) {
    for (int i = 0; i < 200; ++i) {
      screen->Flip(false, true);
      const tafutest::XWindowInfo window = tafutest::FindXWindow("TAFU switch test");
      if (window.found && window.width == width && window.height == height) return true;
    }
    return false;
  };
  EXPECT_TRUE(sizeBecomes(800, 600));
  EXPECT_TRUE(screen->SetFullScreen(true));
  EXPECT_TRUE(sizeBecomes(1920, 1080));
  EXPECT_EQ(tafutest::DisplayModes(), modes);
  EXPECT_TRUE(screen->SetFullScreen(false));
  EXPECT_TRUE(sizeBecomes(800, 600));
  EXPECT_EQ(screen->GetWidth(), 800);
  EXPECT_EQ(screen->GetHeight(), 600);
  screen.reset();
  EXPECT_EQ(tafutest::DisplayModes(), modes);
}

// A window showing a 16 x 16 picture, and how many frames it presents while a frame
// function draws.
class PresentedFrames {
 public:
  PresentedFrames() : screen_(OpenTestWindow()), pixels_(16 * 16, 0xFF2040C0u) {
    if (!screen_) return;
    picture_ = CreateGraphic();
    picture_->CreateFromPixels(pixels_.data(), 16, 16, true);
  }
  bool Ready() const { return screen_ && picture_; }
  KScreenGL& Screen() { return static_cast<KScreenGL&>(*screen_); }
  KGraphic& Picture() { return *picture_; }
  // Presented frames over count frames, each drawn by draw(frame number).
  uint64_t Run(int count, const std::function<void(int)>& draw) {
    const uint64_t before = Screen().GetPresentedFrames();
    for (int frame = 0; frame < count; ++frame) {
      draw(frame);
      screen_->Flip(false, true);
    }
    return Screen().GetPresentedFrames() - before;
  }
  void PushWindowEvent(uint8_t windowEvent) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = windowEvent;
    event.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(screen_->GetWindowHandle()));
    SDL_PushEvent(&event);
  }

 private:
  std::unique_ptr<KScreen> screen_;
  std::vector<uint32_t> pixels_;
  std::unique_ptr<KGraphic> picture_;
};

TEST(Window, AFrameAtRestIsPresentedOnceAndAgainOnlyAfterAnExpose) {
  PresentedFrames frames;
  ASSERT_TRUE(frames.Ready());
  const auto still = [&](int) { frames.Picture().BlitAlpha(0, 0, 16, 16, 100, 100, false, false); };
  frames.Run(30, still);  // the window settles: shown, focused
  EXPECT_EQ(frames.Run(20, still), 0u);
  frames.PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
  EXPECT_EQ(frames.Run(20, still), 1u);
  // What is on screen is still what a screenshot reads.
  EXPECT_EQ(ReadPixel(105, 105), 0xFF2040C0u);
}

TEST(Window, AKeyThatChangesNothingPresentsNothingAndAPointerMovePresents) {
  PresentedFrames frames;
  ASSERT_TRUE(frames.Ready());
  frames.Screen().SetDrawCursor(true);
  const auto still = [&](int) { frames.Picture().Blit(0, 0, 16, 16, 0, 0, false, false); };
  SetMousePosition(100, 100);
  frames.Run(30, still);
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.scancode = SDL_SCANCODE_Q;
  SDL_PushEvent(&key);
  key.type = SDL_KEYUP;
  SDL_PushEvent(&key);
  EXPECT_EQ(frames.Run(10, still), 0u);
  SetMousePosition(300, 200);
  EXPECT_EQ(frames.Run(10, still), 1u);
}

TEST(Window, AnAnimationPresentsEveryFrame) {
  PresentedFrames frames;
  ASSERT_TRUE(frames.Ready());
  frames.Run(5, [&](int) {});
  const auto pulse = [&](int frame) {
    frames.Picture().BlitAlphaRotoZoom(0, 0, 16, 16, 200, 200, 0, 1.0f + 0.01f * static_cast<float>(frame % 20), 1,
                                       false, false);
  };
  EXPECT_EQ(frames.Run(40, pulse), 40u);
  const auto strip = [&](int frame) { frames.Picture().Blit(0, 0, 16, 16, static_cast<int16_t>(frame), 0, false, false); };
  EXPECT_EQ(frames.Run(40, strip), 40u);
}

TEST(Window, ChangedPixelsOfAPicturePresentTheSamePixelsPresentNothing) {
  std::vector<uint32_t> pixels(4 * 4, 0xFF0000FFu);
  PresentedFrames frames;
  ASSERT_TRUE(frames.Ready());
  std::unique_ptr<KGraphic> board = CreateGraphic();
  ASSERT_TRUE(board->CreateFromPixels(pixels.data(), 4, 4, true));
  const auto draw = [&](int) {
    board->UpdateFromPixels();
    board->Blit(0, 0, 4, 4, 10, 10, false, false);
  };
  frames.Run(30, draw);
  EXPECT_EQ(frames.Run(10, draw), 0u);
  pixels[5] = 0xFF00FF00u;
  EXPECT_EQ(frames.Run(10, draw), 1u);
  EXPECT_EQ(ReadPixel(11, 11), 0xFF00FF00u);
}

// A scene whose parts change at different times, as each frame shows it: a background, a
// see-through picture drawn in a view moved aside, a picture sliding under a see-through one
// that stays, one that turns once, an opaque copy of a picture whose pixels change half-way,
// and a pointer hopping over them all.
// Each frame is drawn after before() and read by after().
void PlayChangingScene(KScreen& screen, const std::function<void()>& before, const std::function<void()>& after) {
  std::vector<uint32_t> backgroundPixels(800 * 600);
  for (size_t i = 0; i < backgroundPixels.size(); ++i) backgroundPixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u) >> 8;
  std::vector<uint32_t> glassPixels(32 * 32, 0x80FF8000u);
  std::vector<uint32_t> boardPixels(40 * 40, 0xFF0000FFu);
  const std::unique_ptr<KGraphic> background = CreateGraphic();
  const std::unique_ptr<KGraphic> glass = CreateGraphic();
  const std::unique_ptr<KGraphic> board = CreateGraphic();
  background->CreateFromPixels(backgroundPixels.data(), 800, 600, true);
  glass->CreateFromPixels(glassPixels.data(), 32, 32, true);
  board->CreateFromPixels(boardPixels.data(), 40, 40, true);
  for (int frame = 0; frame < 24; ++frame) {
    if (frame == 12) std::fill(boardPixels.begin(), boardPixels.begin() + 400, 0xFF00FF00u);
    before();
    board->UpdateFromPixels();
    background->Blit(0, 0, 800, 600, 0, 0, false, false);
    screen.SetView(60, 40, 0, 1.0f, false);
    glass->BlitAlpha(0, 0, 32, 32, 600, 200, false, false);
    screen.ResetView();
    board->Blit(0, 0, 40, 40, static_cast<int16_t>(90 + 2 * frame), 100, false, false);
    glass->BlitAlpha(0, 0, 32, 32, 120, 110, false, false);
    glass->BlitAlphaRotoZoom(0, 0, 32, 32, 300, 300, frame < 8 ? 0.0f : 30.0f, 1.0f, 1.0f, false, false);
    board->BlitAlpha(0, 0, 40, 40, 500, 400, false, false);
    glass->BlitAlpha(0, 0, 32, 32, static_cast<int16_t>(100 + frame % 3 * 200), 410, false, false);
    screen.Flip(false, true);
    after();
  }
}

std::vector<tafutest::ShownFrame> PlayChangingScene(bool keepLayer) {
  std::vector<tafutest::ShownFrame> shown;
  std::unique_ptr<KScreen> screen = OpenTestWindow();
  if (!screen) return shown;
  if (!keepLayer) static_cast<KScreenGL&>(*screen).Frames().SetLayer(nullptr);
  PlayChangingScene(*screen, [] {}, [&] { shown.push_back(tafutest::ShownFrame::Read()); });
  return shown;
}

TEST(Window, AFrameDrawnOverTheKeptLayerHasThePixelsOfOneDrawnWhole) {
  const std::vector<tafutest::ShownFrame> layered = PlayChangingScene(true);
  const std::vector<tafutest::ShownFrame> whole = PlayChangingScene(false);
  ASSERT_EQ(layered.size(), 24u);
  ASSERT_EQ(whole.size(), 24u);
  for (size_t frame = 0; frame < layered.size(); ++frame) {
    ASSERT_TRUE(layered[frame].Found() && whole[frame].Found());
    EXPECT_EQ(layered[frame].PixelsDifferingFrom(whole[frame]), 0) << "frame " << frame;
  }
}

// Full screen the frame is scaled, and shown again only where it changed: each frame of the
// scene leaves the window as showing it whole does (an expose shows it whole).
TEST(Window, AScaledFrameShownWhereItChangedEqualsTheFrameShownWhole) {
  tafutest::PrivateXServer server({1920, 1080, false});
  ASSERT_EQ(server.Failure(), "");
  PresentedFrames frames;
  ASSERT_TRUE(frames.Ready());
  ASSERT_TRUE(frames.Screen().SetFullScreen(true));
  const auto play = [&](bool whole) {
    std::vector<std::vector<uint32_t>> shown;
    PlayChangingScene(
        frames.Screen(), [&] { if (whole) frames.PushWindowEvent(SDL_WINDOWEVENT_EXPOSED); },
        [&] { shown.push_back(tafutest::ReadXWindowArea(tafutest::FindXWindow("TAFU test").id, 0, 0, 1920, 1080)); });
    return shown;
  };
  play(true);  // the window settles at its full size
  const std::vector<std::vector<uint32_t>> parts = play(false);
  const std::vector<std::vector<uint32_t>> whole = play(true);
  for (size_t frame = 0; frame < 24; ++frame) {
    ASSERT_EQ(parts[frame].size(), 1920u * 1080u);
    EXPECT_TRUE(parts[frame] == whole[frame]) << "frame " << frame;
  }
}

TEST(Window, PicturesThatStayAreNotDrawnAgainWhileAnotherMoves) {
  std::vector<uint32_t> backgroundPixels(800 * 600, 0xFF808080u);
  PresentedFrames frames;
  ASSERT_TRUE(frames.Ready());
  std::unique_ptr<KGraphic> background = CreateGraphic();
  ASSERT_TRUE(background->CreateFromPixels(backgroundPixels.data(), 800, 600, true));
  const auto draw = [&](int frame) {
    background->Blit(0, 0, 800, 600, 0, 0, false, false);
    background->BlitAlpha(0, 0, 100, 100, 300, 300, false, false);
    frames.Picture().Blit(0, 0, 16, 16, static_cast<int16_t>(frame), 0, false, false);
  };
  frames.Run(10, draw);
  const uint64_t copies = KGraphicGL::GetOpaqueCopies();
  EXPECT_EQ(frames.Run(10, draw), 10u);
  EXPECT_EQ(KGraphicGL::GetOpaqueCopies(), copies);
}

}  // namespace
