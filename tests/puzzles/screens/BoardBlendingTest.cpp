#include <functional>
#include <vector>

#include "PuzzleScreenFixture.h"
#include "graphic/KGraphic.h"
#include "shell/Screens.h"

namespace {

using puzzletest::FramesFor;
using puzzletest::ShownFrame;

constexpr uint32_t kFadeInFrames = FramesFor(1200);

class BoardBlending : public puzzletest::PuzzleScreenTest {
 protected:
  // What a round shows at rest after its fade-in, then two and eight frames after a click
  // on the arrow at (x, y), while the strips move; drawn with opaque boards copied without
  // blending or with everything blended. Both runs start alike: seed, clock and pointer.
  std::vector<ShownFrame> RestAndMoving(bool opaqueCopies, const std::function<void()>& play, int32_t x, int32_t y) {
    KGraphicGL::SetOpaqueCopies(opaqueCopies);
    SeedRandom(7);
    UseSteppedClock(1000);
    SetScriptedButton(MOUSE_LEFT, false);
    SetScriptedKey(KEY_ESCAPE, false);
    std::vector<ShownFrame> frames;
    const auto read = [&] { frames.push_back(ShownFrame::Read()); };
    tafutest::InputScript script;
    script.MoveTo(x, y).Wait(kFadeInFrames).Do(read).Press().Release().Do(read).Wait(5).Do(read).KeyDown(KEY_ESCAPE);
    script.Play(*MainScreen, 2000);
    play();
    KGraphicGL::SetOpaqueCopies(true);
    return frames;
  }

  // The frames drawn both ways are the same, pixel for pixel, and the board was indeed
  // copied without blending where it is opaque.
  void ExpectSamePixels(const std::function<void()>& play, int32_t x, int32_t y) {
    const uint64_t before = KGraphicGL::GetOpaqueCopies();
    const std::vector<ShownFrame> copied = RestAndMoving(true, play, x, y);
    const uint64_t between = KGraphicGL::GetOpaqueCopies();
    const std::vector<ShownFrame> blended = RestAndMoving(false, play, x, y);
    EXPECT_GT(between, before) << "the board was never copied without blending";
    EXPECT_EQ(KGraphicGL::GetOpaqueCopies(), between) << "copied without blending while that was off";
    ASSERT_EQ(copied.size(), 3u);
    ASSERT_EQ(blended.size(), 3u);
    EXPECT_GE(copied[0].CellAt(puzzletest::kSwapLeft, puzzletest::kBoardTop).strip, 0) << "no board shown";
    for (size_t i = 0; i < copied.size(); ++i)
      EXPECT_EQ(copied[i].PixelsDifferingFrom(blended[i]), 0) << "frame " << i;
  }
};

TEST_F(BoardBlending, OpaqueBoardsCopiedWithoutBlendingShowTheSamePixelsAsBlendedOnes) {
  // The swap puzzle's first arrow, and the slide puzzle's left arrow on the top strip.
  ExpectSamePixels([] { SwapPuzzleScreen(kEasy); }, 688 + 30, 146);
  ExpectSamePixels([] { SlidePuzzleScreen(kEasy); }, 94 + 35, 98);
}

}  // namespace
