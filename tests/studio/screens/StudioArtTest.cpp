#include <filesystem>

#include "StudioFixture.h"
#include "TestPaths.h"

namespace studiotest {
namespace {

using tafutest::InputScript;

// The game's own pictures in the temporary program folder.
class StudioArtTest : public StudioTest {
 protected:
  void SetUp() override {
    StudioTest::SetUp();
    std::filesystem::copy(std::filesystem::path(tafutest::RuntimeDir()) / "img", folder_.Path() / "img",
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  }
};

// Every pixel of every swatch the studio shows is its palette colour, except under the
// selection frame, 17 pixels square around the black entry.
void ExpectSwatchesMatchThePalette(CanvasSize size) {
  const std::vector<uint32_t> shown =
      ReadScreen(kPaletteLeft, kPaletteTop, kPaletteColumns * kSwatchSide, kPaletteRows * kSwatchSide);
  for (int32_t row = 0; row < kPaletteRows; ++row) {
    for (int32_t column = 0; column < kPaletteColumns; ++column) {
      const PaletteEntry entry = {column, row};
      for (int32_t y = 0; y < kSwatchSide; ++y) {
        for (int32_t x = 0; x < kSwatchSide; ++x) {
          const int32_t dx = SwatchLeft(entry) + x - SwatchLeft(kStartingEntry);
          const int32_t dy = SwatchTop(entry) + y - SwatchTop(kStartingEntry);
          if (dx >= 0 && dx <= 16 && dy >= 0 && dy <= 16) continue;
          const size_t at = static_cast<size_t>((row * kSwatchSide + y) * kPaletteColumns * kSwatchSide +
                                                column * kSwatchSide + x);
          ASSERT_EQ(shown[at], PaletteColour(entry) & 0x00FFFFFFu)
              << (size == CanvasSize::Big ? "big" : "small") << " studio, entry " << column << ", " << row
              << " pixel " << x << ", " << y;
        }
      }
    }
  }
}

TEST_F(StudioArtTest, TheBigStudioBackgroundShowsEveryPaletteColourWhereItsSwatchIs) {
  InputScript script;
  script.MoveTo(400, 590).Wait(1).Do([] { ExpectSwatchesMatchThePalette(CanvasSize::Big); });
  ClickButton(script, kStudioExit);
  RunStudio(CanvasSize::Big, script);
  EXPECT_TRUE(script.Finished());
}

TEST_F(StudioArtTest, TheSmallStudioBackgroundShowsEveryPaletteColourWhereItsSwatchIs) {
  InputScript script;
  script.MoveTo(400, 590).Wait(1).Do([] { ExpectSwatchesMatchThePalette(CanvasSize::Small); });
  ClickButton(script, kStudioExit);
  RunStudio(CanvasSize::Small, script);
  EXPECT_TRUE(script.Finished());
}

}  // namespace
}  // namespace studiotest
