#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include "PrivateXServer.h"
#include "TestSupport.h"
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

}  // namespace
