#include <gtest/gtest.h>

#include "CopyScreenFixture.h"
#include "graphic/KGraphic.h"
#include "puzzles/CopyColoursScreen.h"
#include "puzzles/CopyDrawingScreen.h"

namespace copytest {
namespace {

class CopyBoardsBlending : public CopyScreenTest {
 protected:
  // The frame at rest drawn all blended, then again with opaque boards copied without
  // blending: the same pixels, and the boards were indeed copied so.
  static void ExpectSamePixels(PuzzleFrame& frame) {
    KGraphicGL::SetOpaqueCopies(false);
    Idle(frame, 1);
    const ShownFrame blended;
    KGraphicGL::SetOpaqueCopies(true);
    const uint64_t before = KGraphicGL::GetOpaqueCopies();
    Idle(frame, 1);
    const ShownFrame copied;
    EXPECT_GT(KGraphicGL::GetOpaqueCopies(), before) << "no board was copied without blending";
    EXPECT_EQ(copied.PixelsDifferingFrom(blended), 0);
    EXPECT_EQ(copied.PicturePixel(0, 0, 5, 5), Rgb(kSky));
  }
};

// Copy colours with its board crossed and a little see-through, then poured sky; copy
// drawing as its easy round starts.
TEST_F(CopyBoardsBlending, OpaqueBoardsCopiedWithoutBlendingShowTheSamePixelsAsBlendedOnes) {
  UsePicture(SmallPicture(kSky));
  {
    CopyColoursGame game(kHard);
    PuzzleFrame frame(game, game.FrameSettings());
    UntilPlaying(frame);
    ExpectSamePixels(frame);
    Pick(frame, 0, 0);
    Frame(frame, BoardX(0), CellY(0), true);
    Frame(frame, BoardX(0), CellY(0), false);
    Idle(frame, 2);
    ExpectSamePixels(frame);
  }
  {
    CopyDrawingGame game(kEasy);
    PuzzleFrame frame(game, game.FrameSettings());
    UntilPlaying(frame);
    Idle(frame, 2);
    ExpectSamePixels(frame);
  }
}

}  // namespace
}  // namespace copytest
