// Every picture the screens load exists at the size they draw it; icons and cursors
// are cut out on transparent ground; the studio backgrounds carry the exact palette.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "AssetFiles.h"

using assettest::LoadPng;
using assettest::Rgba;

namespace {

struct Size {
  const char* name;
  int width, height;
};

const Size kIcons[] = {
    {"cursor", 88, 110},       {"cursor_pick", 82, 141},   {"cursor_pen", 85, 160},
    {"cursor_eraser", 88, 116}, {"cursor_bucket", 89, 151}, {"exit", 103, 138},
    {"star", 66, 59},          {"stone", 64, 69},          {"test", 89, 94},
    {"test_true", 89, 94},     {"test_false", 89, 94},     {"draw", 165, 141},
    {"swap", 146, 148},        {"slide", 152, 129},        {"copy_draw", 193, 171},
    {"copy_paint", 187, 168},  {"options", 61, 61},        {"diff_easy", 145, 147},
    {"diff_medium", 153, 161}, {"diff_hard", 188, 195},    {"draw_big", 238, 204},
    {"draw_small", 102, 86},   {"ledoff", 34, 26},         {"ledon_green", 34, 26},
    {"ledon_blue", 34, 26},    {"toggleoff", 60, 68},      {"toggleon", 60, 68},
    {"swap_arrow", 61, 103},   {"slide_left", 70, 60},     {"slide_right", 69, 60},
    {"save", 120, 88},         {"load", 142, 77},          {"delete", 67, 102},
    {"undo", 100, 88},         {"redo", 100, 88},
    {"animal_cat", 160, 160},  {"animal_dog", 160, 160},   {"animal_frog", 160, 160},
    {"animal_duck", 160, 160}, {"animal_pig", 160, 160},   {"animal_elephant", 160, 160},
    {"animal_cat_small", 80, 80},  {"animal_dog_small", 80, 80}, {"animal_frog_small", 80, 80},
    {"animal_duck_small", 80, 80}, {"animal_pig_small", 80, 80}, {"animal_elephant_small", 80, 80},
};

const Size kBackgrounds[] = {
    {"menu", 800, 600},      {"difficulty", 800, 600}, {"options", 800, 600},
    {"swap", 800, 600},      {"slide", 800, 600},      {"copy", 800, 600},
    {"copycolors", 800, 600}, {"draw", 800, 600},       {"smalldraw", 800, 600},
    {"draw_load", 800, 600}, {"smalldraw_load", 800, 600}, {"slide_leftpane", 35, 404},
    {"slide_rightpane", 35, 404}, {"players", 800, 600},
};

struct HotSpot {
  const char* name;
  int x, y;
};

const HotSpot kCursors[] = {
    {"cursor", 6, 5}, {"cursor_pick", 4, 3}, {"cursor_pen", 5, 5}, {"cursor_eraser", 4, 3}, {"cursor_bucket", 29, 140},
};

// The painting palette, 7 columns by 19 rows, as cell values 0xAABBGGRR.
const uint32_t kPalette[19][7] = {
    {0xFFD1F9FE, 0xFFA3F3FE, 0xFF6FEEFD, 0xFF41E8FD, 0xFF17DFFC, 0xFF00C3DD, 0xFF00A5C0},
    {0xFFD0F1FF, 0xFFA1E2FE, 0xFF72D3FE, 0xFF43C4FD, 0xFF14B5FC, 0xFF0092D9, 0xFF006FB6},
    {0xFFCAE1FF, 0xFF99C2FF, 0xFF66A3FF, 0xFF3285FF, 0xFF0065FF, 0xFF0049E1, 0xFF00099D},
    {0xFFD6D5FC, 0xFFABABF9, 0xFF817FF6, 0xFF5655F3, 0xFF2F2BEF, 0xFF0F0DD1, 0xFF0100AE},
    {0xFFDBD8F1, 0xFFB4B1E3, 0xFF9089D4, 0xFF6D62C3, 0xFF4436BA, 0xFF261999, 0xFF010175},
    {0xFFDFCBF8, 0xFFB899EE, 0xFF9B66E5, 0xFF7833DA, 0xFF5400D3, 0xFF3800B5, 0xFF160091},
    {0xFFF2D6F3, 0xFFDEABE7, 0xFFD684D6, 0xFFC459CD, 0xFFB431BE, 0xFF9812A2, 0xFF760080},
    {0xFFEECEE1, 0xFFDC9BC2, 0xFFC96BA2, 0xFFB83885, 0xFFA30569, 0xFF860048, 0xFF660024},
    {0xFFE7D2D0, 0xFFD2A49D, 0xFFBC776E, 0xFFA2483D, 0xFF8D1C0C, 0xFF6E0000, 0xFF520001},
    {0xFFF1DCCD, 0xFFE5BB96, 0xFFDA956A, 0xFFC67433, 0xFFB85200, 0xFFA03202, 0xFF781100},
    {0xFFF4E9CE, 0xFFE9D399, 0xFFE0BE65, 0xFFD3A732, 0xFFC69100, 0xFFAA7300, 0xFF855000},
    {0xFFDFE5CC, 0xFFBCCB98, 0xFF9CB067, 0xFF7A9633, 0xFF587D00, 0xFF3A5E00, 0xFF153A02},
    {0xFFCFEADA, 0xFFA3D3B7, 0xFF75BD93, 0xFF46A76F, 0xFF15904D, 0xFF00732D, 0xFF024E0C},
    {0xFFD0EAE4, 0xFF99D4C6, 0xFF67BEAA, 0xFF32A98D, 0xFF019370, 0xFF007453, 0xFF03532C},
    {0xFFD6DFE3, 0xFFA8B7C7, 0xFF7D9FAC, 0xFF527E8F, 0xFF245F73, 0xFF094055, 0xFF001E31},
    {0xFFD1DBE2, 0xFFA0B4C6, 0xFF708FA8, 0xFF43688E, 0xFF14436F, 0xFF002452, 0xFF000131},
    {0xFFCCDAEC, 0xFF9AB4DC, 0xFF668EC8, 0xFF3569B6, 0xFF0046A1, 0xFF002686, 0xFF000461},
    {0xFF8D8F90, 0xFF767879, 0xFF606263, 0xFF404243, 0xFF333536, 0xFF0E0D0F, 0xFF000000},
    {0xFFFFFFFF, 0xFFE9E9E9, 0xFFD2D2D2, 0xFFBCBCBC, 0xFFA3A5A6, 0xFF8D8D8D, 0xFF808080},
};

std::string Icon(const char* name) { return assettest::RuntimePath(std::string("img/ico/") + name + ".png"); }
std::string Background(const char* name) {
  return assettest::RuntimePath(std::string("img/bg/") + name + ".png");
}

}  // namespace

TEST(Pictures, EveryIconHasItsSizeAndTransparentCorners) {
  for (const Size& icon : kIcons) {
    SCOPED_TRACE(icon.name);
    const Rgba image = LoadPng(Icon(icon.name));
    ASSERT_EQ(image.width, icon.width);
    ASSERT_EQ(image.height, icon.height);
    const int right = image.width - 1, bottom = image.height - 1;
    EXPECT_EQ(image.Alpha(0, 0), 0);
    EXPECT_EQ(image.Alpha(right, 0), 0);
    EXPECT_EQ(image.Alpha(0, bottom), 0);
    EXPECT_EQ(image.Alpha(right, bottom), 0);
    int opaque = 0, soft = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const uint8_t a = image.Alpha(x, y);
        opaque += a == 255;
        soft += a > 0 && a < 255;
      }
    }
    EXPECT_GT(opaque, image.width * image.height / 8) << "too little to see";
    EXPECT_GT(soft, 0) << "hard, jagged edges";
  }
}

TEST(Pictures, EveryCursorIsOpaqueAtItsHotSpot) {
  for (const HotSpot& cursor : kCursors) {
    SCOPED_TRACE(cursor.name);
    const Rgba image = LoadPng(Icon(cursor.name));
    ASSERT_GT(image.width, 0);
    bool found = false;
    for (int y = cursor.y - 2; y <= cursor.y + 2; ++y)
      for (int x = cursor.x - 2; x <= cursor.x + 2; ++x)
        found = found || (x >= 0 && y >= 0 && x < image.width && y < image.height && image.Alpha(x, y) == 255);
    EXPECT_TRUE(found);
    // A cursor that points up and to the left has nothing beyond its tip.
    if (cursor.x > 10 || cursor.y > 10) continue;
    for (int y = 0; y < cursor.y - 3; ++y)
      for (int x = 0; x < cursor.x - 3; ++x) EXPECT_EQ(image.Alpha(x, y), 0) << x << "," << y;
  }
}

TEST(Pictures, EveryBackgroundHasItsSizeAndCoversTheScreen) {
  for (const Size& background : kBackgrounds) {
    SCOPED_TRACE(background.name);
    const Rgba image = LoadPng(Background(background.name));
    ASSERT_EQ(image.width, background.width);
    ASSERT_EQ(image.height, background.height);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) ASSERT_EQ(image.Alpha(x, y), 255) << x << "," << y;
  }
}

TEST(Pictures, StudioBackgroundsCarryThePaletteExactly) {
  for (const char* name : {"draw", "smalldraw"}) {
    SCOPED_TRACE(name);
    const Rgba image = LoadPng(Background(name));
    ASSERT_EQ(image.width, 800);
    for (int r = 0; r < 19; ++r) {
      for (int c = 0; c < 7; ++c) {
        const int left = 11 + 15 * c, top = 39 + 15 * r;
        EXPECT_EQ(image.Colour(left + 7, top + 7), kPalette[r][c]) << "swatch " << c << "," << r;
        // The whole swatch, not just its centre, so the picked colour is the shown one.
        EXPECT_EQ(image.Colour(left + 1, top + 1), kPalette[r][c]) << "swatch " << c << "," << r;
        EXPECT_EQ(image.Colour(left + 13, top + 13), kPalette[r][c]) << "swatch " << c << "," << r;
      }
    }
  }
}

TEST(Pictures, BoardsAndCanvasesLieOnCalmGround) {
  // Areas the screens cover cell by cell stay one plain colour, so a half-drawn board
  // never mixes with the background.
  struct Area {
    const char* background;
    int left, top, right, bottom;
  };
  const Area areas[] = {
      {"swap", 170, 41, 669, 440},  {"slide", 168, 41, 667, 440}, {"copy", 122, 161, 347, 386},
      {"copy", 374, 161, 599, 386}, {"copycolors", 122, 161, 347, 386}, {"copycolors", 374, 161, 599, 386},
      {"draw", 168, 40, 668, 440},  {"smalldraw", 307, 119, 532, 344}, {"draw_load", 168, 40, 668, 440},
      {"smalldraw_load", 307, 119, 532, 344},
  };
  for (const Area& area : areas) {
    SCOPED_TRACE(area.background);
    const Rgba image = LoadPng(Background(area.background));
    ASSERT_EQ(image.width, 800);
    const uint32_t ground = image.Colour((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    for (int y = area.top + 2; y <= area.bottom - 2; y += 3)
      for (int x = area.left + 2; x <= area.right - 2; x += 3) ASSERT_EQ(image.Colour(x, y), ground) << x << "," << y;
  }
}

TEST(Pictures, SlidePanesMatchTheBackgroundTheyCover) {
  const Rgba slide = LoadPng(Background("slide"));
  ASSERT_EQ(slide.width, 800);
  for (auto [name, left] : {std::pair{"slide_leftpane", 133}, std::pair{"slide_rightpane", 668}}) {
    SCOPED_TRACE(name);
    const Rgba pane = LoadPng(Background(name));
    ASSERT_EQ(pane.width, 35);
    int differing = 0;
    for (int y = 0; y < pane.height; ++y) {
      for (int x = 0; x < pane.width; ++x) {
        const uint32_t a = pane.Colour(x, y), b = slide.Colour(left + x, 39 + y);
        for (int shift = 0; shift < 24; shift += 8)
          differing += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 24;
      }
    }
    EXPECT_LT(differing, pane.width * pane.height / 50);
  }
}
