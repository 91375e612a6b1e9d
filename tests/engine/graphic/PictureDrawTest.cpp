// Drawing with pictures, read back from the frame.
#include <gtest/gtest.h>

#include <vector>

#include "PictureTestSupport.h"
#include "graphic/KGraphic.h"

namespace {

using namespace picturetest;

using PictureDraw = PictureScreen;

// A 2 x 2 picture: red, green on the top row; blue, yellow below.
std::vector<uint32_t> FourColours() { return {kRed, kGreen, kBlue, kYellow}; }

TEST_F(PictureDraw, BlitPutsTheTopLeftCornerAtTheGivenPoint) {
  std::vector<uint32_t> pixels = {kRed, kGreen, kBlue, kYellow, kMagenta, kBlack, kWhite, kRed};
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 4, 2, true));
  EXPECT_EQ(picture.GetWidth(), 4.0f);
  EXPECT_EQ(picture.GetHeight(), 2.0f);

  picture.Blit(0, 0, 4, 2, 100, 50, false, false);
  EXPECT_EQ(ScreenRgb(100, 50), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(103, 50), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(100, 51), Rgb(kMagenta));
  EXPECT_EQ(ScreenRgb(101, 51), Rgb(kBlack));
  for (auto [x, y] : {std::pair{99, 50}, {104, 50}, {100, 49}, {100, 52}}) EXPECT_EQ(ScreenRgb(x, y), Rgb(kWhite));

  // A source rectangle inside the picture.
  picture.Blit(1, 0, 3, 2, 200, 60, false, false);
  EXPECT_EQ(ScreenRgb(200, 60), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(201, 61), Rgb(kWhite));
  EXPECT_EQ(ScreenRgb(202, 60), Rgb(kWhite));
}

TEST_F(PictureDraw, FlipsMirrorTheSourceRectangle) {
  struct Case {
    bool flipX;
    bool flipY;
    uint32_t topLeft, topRight, bottomLeft, bottomRight;
  };
  const Case cases[] = {
      {false, false, kRed, kGreen, kBlue, kYellow},
      {true, false, kGreen, kRed, kYellow, kBlue},
      {false, true, kBlue, kYellow, kRed, kGreen},
      {true, true, kYellow, kBlue, kGreen, kRed},
  };
  std::vector<uint32_t> pixels = FourColours();
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 2, 2, true));
  int16_t x = 10;
  for (const Case& flip : cases) {
    picture.Blit(0, 0, 2, 2, x, 10, flip.flipX, flip.flipY);
    picture.BlitAlpha(0, 0, 2, 2, x, 20, flip.flipX, flip.flipY);
    for (int y : {10, 20}) {
      SCOPED_TRACE(testing::Message() << "flipX " << flip.flipX << " flipY " << flip.flipY << " row " << y);
      EXPECT_EQ(ScreenRgb(x, y), Rgb(flip.topLeft));
      EXPECT_EQ(ScreenRgb(x + 1, y), Rgb(flip.topRight));
      EXPECT_EQ(ScreenRgb(x, y + 1), Rgb(flip.bottomLeft));
      EXPECT_EQ(ScreenRgb(x + 1, y + 1), Rgb(flip.bottomRight));
    }
    x += 10;
  }
}

TEST_F(PictureDraw, BlitIsOpaqueAndBlitAlphaBlends) {
  const uint32_t halfRed = 0x800000FF;
  const uint32_t clearGreen = 0x0000FF00;
  std::vector<uint32_t> pixels = {halfRed, clearGreen};
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 2, 1, true));

  picture.Blit(0, 0, 2, 1, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(11, 10), Rgb(kGreen));

  picture.BlitAlpha(0, 0, 2, 1, 10, 20, false, false);
  EXPECT_TRUE(ColourNear(ScreenRgb(10, 20), 0xFF8080FF, 2));
  EXPECT_EQ(ScreenRgb(11, 20), Rgb(kWhite));
}

TEST_F(PictureDraw, BlitAlphaRotoZoomFadesTurnsAndZoomsAboutTheCentre) {
  std::vector<uint32_t> red(16, kRed);
  KGraphicGL square;
  ASSERT_TRUE(square.CreateFromPixels(red.data(), 4, 4, true));

  // Half opacity over white, drawn like BlitAlpha when neither turned nor zoomed.
  square.BlitAlphaRotoZoom(0, 0, 4, 4, 10, 10, 0, 1.0f, 0.5f, false, false);
  EXPECT_TRUE(ColourNear(ScreenRgb(10, 10), 0xFF8080FF, 2));
  EXPECT_TRUE(ColourNear(ScreenRgb(13, 13), 0xFF8080FF, 2));
  EXPECT_EQ(ScreenRgb(14, 10), Rgb(kWhite));

  // Zoom 2 about the centre (102, 102): 98..105 both ways.
  square.BlitAlphaRotoZoom(0, 0, 4, 4, 100, 100, 0, 2.0f, 1.0f, false, false);
  EXPECT_EQ(ScreenRgb(98, 98), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(105, 105), Rgb(kRed));
  for (auto [x, y] : {std::pair{97, 98}, {106, 105}, {98, 97}, {98, 106}}) EXPECT_EQ(ScreenRgb(x, y), Rgb(kWhite));

  // A 4 x 2 picture, red on the left and green on the right, turned a quarter
  // counter-clockwise about (202, 201): it stands 2 wide and 4 high, red below.
  std::vector<uint32_t> halves = {kRed, kRed, kGreen, kGreen, kRed, kRed, kGreen, kGreen};
  KGraphicGL bar;
  ASSERT_TRUE(bar.CreateFromPixels(halves.data(), 4, 2, true));
  bar.BlitAlphaRotoZoom(0, 0, 4, 2, 200, 200, 90, 1.0f, 1.0f, false, false);
  EXPECT_EQ(ScreenRgb(201, 199), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(202, 200), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(201, 201), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(202, 202), Rgb(kRed));
  for (auto [x, y] : {std::pair{200, 201}, {203, 201}, {201, 198}, {201, 203}}) EXPECT_EQ(ScreenRgb(x, y), Rgb(kWhite));

  // Nothing at all for opacity 0 or below, or zoom 0.
  square.BlitAlphaRotoZoom(0, 0, 4, 4, 300, 300, 0, 1.0f, 0.0f, false, false);
  square.BlitAlphaRotoZoom(0, 0, 4, 4, 310, 300, 0, 1.0f, -0.5f, false, false);
  square.BlitAlphaRotoZoom(0, 0, 4, 4, 320, 300, 0, 0.0f, 1.0f, false, false);
  square.BlitRotoZoom(0, 0, 4, 4, 330, 300, 0, 0.0f, false, false);
  for (int x : {300, 302, 310, 312, 320, 322, 330, 332}) EXPECT_EQ(ScreenRgb(x, 302), Rgb(kWhite));
}

TEST_F(PictureDraw, BlitRotoZoomTurnsAnOpaqueCopy) {
  std::vector<uint32_t> pixels = FourColours();
  pixels[0] = 0x000000FF;  // red, fully transparent: an opaque copy still shows it
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 2, 2, true));
  // Half a turn about the centre swaps the corners.
  picture.BlitRotoZoom(0, 0, 2, 2, 50, 50, 180, 1.0f, false, false);
  EXPECT_EQ(ScreenRgb(50, 50), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(51, 50), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(50, 51), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(51, 51), Rgb(kRed));
}

TEST_F(PictureDraw, TintColoursBlendedDrawsOnly) {
  std::vector<uint32_t> white(4, kWhite);
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(white.data(), 2, 2, true));
  picture.FillRect(0, 0, 100, 100, 0, 0, 0, 1);

  // Out-of-range values are clamped: (2, 0.5, -1, 1) tints with (1, 0.5, 0, 1).
  picture.SetTint(2, 0.5f, -1, 1);
  picture.BlitAlpha(0, 0, 2, 2, 10, 10, false, false);
  EXPECT_TRUE(ColourNear(ScreenRgb(10, 10), 0xFF0080FF, 1));

  // The tint's alpha multiplies the opacity.
  picture.SetTint(0, 0, 1, 0.5f);
  picture.BlitAlphaRotoZoom(0, 0, 2, 2, 20, 10, 0, 1.0f, 1.0f, false, false);
  EXPECT_TRUE(ColourNear(ScreenRgb(20, 10), 0xFF800000, 1));
  picture.BlitAlphaRotoZoom(0, 0, 2, 2, 30, 10, 0, 1.0f, 0.5f, false, false);
  EXPECT_TRUE(ColourNear(ScreenRgb(30, 10), 0xFF400000, 1));

  // The opaque copy is never tinted, not even right after a tinted draw.
  picture.Blit(0, 0, 2, 2, 40, 10, false, false);
  EXPECT_EQ(ScreenRgb(40, 10), Rgb(kWhite));

  // (1, 1, 1, 1) turns the tint off.
  picture.SetTint(1, 1, 1, 1);
  picture.BlitAlpha(0, 0, 2, 2, 50, 10, false, false);
  EXPECT_EQ(ScreenRgb(50, 10), Rgb(kWhite));
}

TEST_F(PictureDraw, ColourKeyClearsKeyPixelsOfTheCallersBuffer) {
  std::vector<uint32_t> pixels = {kMagenta, kRed, 0x80FF00FF, kBlue};
  KGraphicGL picture;
  picture.SetColorKey(true, 255, 0, 255);
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 2, 2, true));
  // Whatever its alpha, a pixel of the key colour becomes transparent black.
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0, kRed, 0, kBlue}));

  picture.BlitAlpha(0, 0, 2, 2, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kWhite));
  EXPECT_EQ(ScreenRgb(11, 10), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(10, 11), Rgb(kWhite));
  EXPECT_EQ(ScreenRgb(11, 11), Rgb(kBlue));
}

TEST_F(PictureDraw, CreateFromPixelsRejectsBadBuffers) {
  std::vector<uint32_t> pixels(4, kRed);
  KGraphicGL picture;
  EXPECT_FALSE(picture.CreateFromPixels(nullptr, 2, 2, true));
  EXPECT_FALSE(picture.CreateFromPixels(pixels.data(), 0, 2, true));
  EXPECT_FALSE(picture.CreateFromPixels(pixels.data(), 2, 0, true));
  EXPECT_FALSE(picture.CreateFromPixels(pixels.data(), -2, 2, true));
  EXPECT_EQ(picture.GetWidth(), 0.0f);
  // Nothing to draw and nothing to update: no texture, no pixels.
  picture.UpdateFromPixels();
  picture.Blit(0, 0, 2, 2, 10, 10, false, false);
  picture.BlitAlpha(0, 0, 2, 2, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kWhite));
}

TEST_F(PictureDraw, UpdateFromPixelsShowsTheNewPixels) {
  std::vector<uint32_t> board(6, kRed);
  std::vector<uint32_t> other(4, kBlue);
  KGraphicGL picture;
  KGraphicGL second;
  ASSERT_TRUE(picture.CreateFromPixels(board.data(), 3, 2, true));
  ASSERT_TRUE(second.CreateFromPixels(other.data(), 2, 2, true));
  picture.Blit(0, 0, 3, 2, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(12, 11), Rgb(kRed));

  // Changed while another picture is bound, then updated and drawn.
  board[5] = kGreen;
  second.Blit(0, 0, 2, 2, 30, 10, false, false);
  picture.UpdateFromPixels();
  picture.Blit(0, 0, 3, 2, 10, 20, false, false);
  EXPECT_EQ(ScreenRgb(12, 21), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(11, 21), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(30, 10), Rgb(kBlue));

  // Without an update the texture keeps what it had.
  board[0] = kYellow;
  picture.Blit(0, 0, 3, 2, 10, 30, false, false);
  EXPECT_EQ(ScreenRgb(10, 30), Rgb(kRed));
}

// Rows changed apart from each other, then the last row alone: each update shows them all.
TEST_F(PictureDraw, UpdateFromPixelsShowsEveryChangedRow) {
  std::vector<uint32_t> board(3 * 5, kRed);
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(board.data(), 3, 5, true));
  board[1 * 3 + 0] = kGreen;
  board[3 * 3 + 2] = kBlue;
  picture.UpdateFromPixels();
  board[4 * 3 + 1] = kYellow;
  picture.Blit(0, 0, 3, 5, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(10, 11), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(11, 12), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(12, 13), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(11, 14), Rgb(kRed));
  picture.UpdateFromPixels();
  picture.Blit(0, 0, 3, 5, 20, 10, false, false);
  EXPECT_EQ(ScreenRgb(21, 14), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(22, 13), Rgb(kBlue));
}

TEST_F(PictureDraw, UntexturedDrawingBetweenBlitsForcesABind) {
  std::vector<uint32_t> red(4, kRed);
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(red.data(), 2, 2, true));
  picture.Blit(0, 0, 2, 2, 10, 10, false, false);
  picture.FillRect(100, 100, 110, 110, 0, 0, 1, 1);
  picture.Blit(0, 0, 2, 2, 20, 10, false, false);
  picture.DrawLine(100, 200, 150, 200, 0, 1, 0, 1);
  picture.BlitAlpha(0, 0, 2, 2, 30, 10, false, false);
  picture.DrawPoint(300, 300, 0, 0, 0, 1);
  picture.Blit(0, 0, 2, 2, 40, 10, false, false);
  for (int x : {10, 20, 30, 40}) EXPECT_EQ(ScreenRgb(x + 1, 11), Rgb(kRed)) << x;

  // The window's fade switches texturing off behind the pictures' backs.
  screen_->SetFadeLevel(0.5f);
  screen_->Flip(false, true);
  screen_->SetFadeLevel(1.0f);
  ClearScreen();
  picture.Blit(0, 0, 2, 2, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kRed));
}

TEST_F(PictureDraw, RectanglesLinesAndPointsLightWholePixels) {
  KGraphicGL pen;
  pen.FillRect(10, 20, 30, 40, 0, 0, 1, 1);
  EXPECT_EQ(ScreenRgb(10, 20), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(29, 39), Rgb(kBlue));
  for (auto [x, y] : {std::pair{9, 20}, {30, 20}, {10, 19}, {10, 40}}) EXPECT_EQ(ScreenRgb(x, y), Rgb(kWhite));

  pen.FillRect(50, 20, 60, 30, 0, 0, 0, 0.5f);
  EXPECT_TRUE(ColourNear(ScreenRgb(55, 25), 0xFF808080, 1));

  pen.DrawLine(100, 300, 150, 300, 1, 0, 0, 1);
  EXPECT_EQ(ScreenRgb(100, 300), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(140, 300), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(140, 299), Rgb(kWhite));
  EXPECT_EQ(ScreenRgb(140, 301), Rgb(kWhite));

  pen.DrawLine(200, 300, 200, 350, 0, 1, 0, 1);
  EXPECT_EQ(ScreenRgb(200, 320), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(199, 320), Rgb(kWhite));
  EXPECT_EQ(ScreenRgb(201, 320), Rgb(kWhite));

  pen.DrawPoint(400, 400, 0, 0, 0, 1);
  EXPECT_EQ(ScreenRgb(400, 400), Rgb(kBlack));
  for (auto [x, y] : {std::pair{399, 400}, {401, 400}, {400, 399}, {400, 401}}) EXPECT_EQ(ScreenRgb(x, y), Rgb(kWhite));

  // Whatever was drawn before, the next textured draw is white-based again.
  std::vector<uint32_t> white(4, kWhite);
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(white.data(), 2, 2, true));
  picture.FillRect(500, 500, 520, 520, 0, 0, 0, 1);
  picture.Blit(0, 0, 2, 2, 505, 505, false, false);
  EXPECT_EQ(ScreenRgb(505, 505), Rgb(kWhite));
}

TEST_F(PictureDraw, DrawStretchedAndBlitQuadMapTheSourceOntoTheDestination) {
  std::vector<uint32_t> pixels = FourColours();
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 2, 2, true));

  picture.DrawStretched(0, 0, 2, 2, 100, 100, 120, 120, 1.0f, 0);
  EXPECT_EQ(ScreenRgb(100, 100), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(119, 100), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(100, 119), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(119, 119), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(120, 110), Rgb(kWhite));
  EXPECT_EQ(ScreenRgb(110, 120), Rgb(kWhite));

  // Turned half about the rectangle's centre; a negative opacity counts as 1.
  picture.DrawStretched(0, 0, 2, 2, 200, 100, 220, 120, -1.0f, 180);
  EXPECT_EQ(ScreenRgb(201, 101), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(218, 118), Rgb(kRed));

  picture.DrawStretched(0, 0, 2, 2, 300, 100, 320, 120, 0.5f, 0);
  EXPECT_TRUE(ColourNear(ScreenRgb(305, 105), 0xFF8080FF, 2));

  // The destination points mirrored left to right.
  picture.BlitQuad(0, 0, 2, 0, 2, 2, 0, 2, 420, 100, 400, 100, 400, 120, 420, 120);
  EXPECT_EQ(ScreenRgb(401, 101), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(418, 101), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(401, 118), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(418, 118), Rgb(kBlue));
}

TEST_F(PictureDraw, DrawTiledRepeatsTheTextureCountTimes) {
  std::vector<uint32_t> pixels = FourColours();
  KGraphicGL picture;
  picture.SetRepeat(true);
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 2, 2, true));
  picture.DrawTiled(300, 300, 8, 8, 2, 0);
  // The texture runs from the bottom-right corner, two texels per 4 pixels.
  EXPECT_EQ(ScreenRgb(300, 300), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(302, 300), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(300, 302), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(302, 302), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(304, 300), Rgb(kYellow));
  EXPECT_EQ(ScreenRgb(306, 306), Rgb(kRed));
  EXPECT_EQ(ScreenRgb(308, 300), Rgb(kWhite));
}

TEST_F(PictureDraw, BlendModesChangeTheFactors) {
  const uint32_t clearRed = 0x000000C8;  // red 200, alpha 0
  std::vector<uint32_t> pixels = {clearRed, kBlue};
  KGraphicGL picture;
  ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), 2, 1, true));
  picture.FillRect(0, 0, 100, 100, 0, 0, 0, 1);

  picture.BlitAlpha(0, 0, 2, 1, 10, 10, false, false);
  EXPECT_EQ(ScreenRgb(10, 10), Rgb(kBlack));
  // (one, one minus source alpha): colours add where alpha is 0.
  picture.SetBlendMode(2);
  picture.BlitAlpha(0, 0, 2, 1, 10, 20, false, false);
  EXPECT_EQ(ScreenRgb(10, 20), 0x0000C8u);
  // An unknown mode changes nothing.
  picture.SetBlendMode(7);
  picture.BlitAlpha(0, 0, 2, 1, 10, 30, false, false);
  EXPECT_EQ(ScreenRgb(10, 30), 0x0000C8u);
  // (zero, one minus source alpha): an opaque pixel clears what is below.
  picture.FillRect(0, 40, 100, 50, 1, 1, 1, 1);
  picture.SetBlendMode(3);
  picture.BlitAlpha(0, 0, 2, 1, 10, 40, false, false);
  EXPECT_EQ(ScreenRgb(11, 40), Rgb(kBlack));
  EXPECT_EQ(ScreenRgb(10, 40), Rgb(kWhite));
}

TEST(PictureSize, TexturesArePowersOfTwoFromFour) {
  EXPECT_EQ(KGraphicGL::TextureSide(3, 3), 4);
  EXPECT_EQ(KGraphicGL::TextureSide(5, 3), 8);
  EXPECT_EQ(KGraphicGL::TextureSide(800, 600), 1024);
  EXPECT_EQ(KGraphicGL::TextureSide(1, 1), 4);
  EXPECT_EQ(KGraphicGL::TextureSide(4, 4), 4);
  EXPECT_EQ(KGraphicGL::TextureSide(1, 1024), 1024);
  EXPECT_EQ(KGraphicGL::TextureSide(1025, 1), 2048);
}

void InvertRed(int32_t, int32_t y, uint8_t* r, uint8_t*, uint8_t*) {
  if (y < 300) *r = static_cast<uint8_t>(255 - *r);
}

TEST_F(PictureDraw, GrabBackBufferCopiesTheFrame) {
  KGraphicGL pen;
  pen.FillRect(0, 0, 400, 300, 1, 0, 0, 1);
  pen.FillRect(400, 300, 800, 600, 0, 0, 1, 1);

  KGraphicGL frame;
  ASSERT_TRUE(frame.GrabBackBuffer(InvertRed));
  EXPECT_EQ(frame.GetWidth(), 800.0f);
  EXPECT_EQ(frame.GetHeight(), 600.0f);
  ClearScreen();
  frame.Blit(0, 0, 800, 600, 0, 0, false, false);
  EXPECT_EQ(ScreenRgb(0, 0), Rgb(kBlack));
  EXPECT_EQ(ScreenRgb(500, 100), 0xFFFF00u);
  EXPECT_EQ(ScreenRgb(799, 599), Rgb(kBlue));
  EXPECT_EQ(ScreenRgb(100, 500), Rgb(kWhite));

  // With the colour key on, key pixels become transparent.
  KGraphicGL keyed;
  keyed.SetColorKey(true, 0, 0, 255);
  ASSERT_TRUE(keyed.GrabBackBuffer(nullptr));
  pen.FillRect(0, 0, 800, 600, 0, 1, 0, 1);
  keyed.BlitAlpha(0, 0, 800, 600, 0, 0, false, false);
  EXPECT_EQ(ScreenRgb(799, 599), Rgb(kGreen));
  EXPECT_EQ(ScreenRgb(0, 0), Rgb(kBlack));
}

// What the front buffer holds after a swap is the driver's business (Mesa's
// software renderer reads it as black), so only the picture's shape is checked.
TEST_F(PictureDraw, GrabFrontBufferMakesAScreenSizedPicture) {
  screen_->Flip(false, true);
  KGraphicGL frame;
  ASSERT_TRUE(frame.GrabFrontBuffer());
  EXPECT_EQ(frame.GetWidth(), 800.0f);
  EXPECT_EQ(frame.GetHeight(), 600.0f);
  frame.FreePicture();
  EXPECT_EQ(frame.GetWidth(), 0.0f);
}

// An opaque picture at full opacity is copied without blending: its frame must be the one
// blending gives. The same cells with one see-through pixel outside what is drawn still
// blend, and both frames are compared pixel by pixel.
TEST_F(PictureDraw, AnOpaquePictureAtFullOpacityGivesTheFrameBlendingGives) {
  constexpr int32_t kSide = 24;
  std::vector<uint32_t> cells(kSide * kSide);
  for (size_t i = 0; i < cells.size(); ++i) cells[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
  std::vector<uint32_t> seeThrough = cells;
  seeThrough.back() = 0x00FFFFFFu;
  std::vector<uint32_t> background(kSide * kSide, 0xFF80C040u);
  const auto frame = [&](std::vector<uint32_t>& pixels) {
    KGraphicGL under;
    KGraphicGL board;
    EXPECT_TRUE(under.CreateFromPixels(background.data(), kSide, kSide, true));
    EXPECT_TRUE(board.CreateFromPixels(pixels.data(), kSide, kSide, true));
    under.Blit(0, 0, kSide, kSide, 0, 0, false, false);
    board.BlitAlpha(0, 0, kSide - 1, kSide - 1, 0, 0, false, false);
    board.BlitAlphaRotoZoom(0, 0, kSide - 1, kSide - 1, 40, 10, 30, 1.5f, 1.0f, false, false);
    std::vector<uint32_t> read;
    for (int32_t y = 0; y < 60; ++y)
      for (int32_t x = 0; x < 90; ++x) read.push_back(ScreenRgb(x, y));
    return read;
  };
  EXPECT_EQ(frame(cells), frame(seeThrough));
}

}  // namespace
