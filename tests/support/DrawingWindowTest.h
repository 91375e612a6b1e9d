// A test with an 800 x 600 window of its own, pictures sized to it, for drawing and reading
// the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "TestSupport.h"
#include "graphic/KGraphic.h"
#include "window/KScreen.h"

namespace tafutest {

struct ClearColour {
  float red;
  float green;
  float blue;
};

class DrawingWindowTest : public ::testing::Test {
 protected:
  static constexpr int32_t kWindowWidth = 800;
  static constexpr int32_t kWindowHeight = 600;

  explicit DrawingWindowTest(ClearColour clear) : clear_(clear) {}

  void SetUp() override {
    screen_ = OpenTestWindow(kWindowWidth, kWindowHeight);
    ASSERT_TRUE(screen_);
    KGraphicGL::SetScreenSize(kWindowWidth, kWindowHeight, -1);
    screen_->SetClearColor(clear_.red, clear_.green, clear_.blue, 1.0f);
  }
  void TearDown() override { screen_.reset(); }

  // Clears the back buffer to the clear colour.
  void ClearScreen() { screen_->SetView(0, 0, 0, 1.0f, true); }

  std::unique_ptr<KScreen> screen_;

 private:
  ClearColour clear_;
};

}  // namespace tafutest
