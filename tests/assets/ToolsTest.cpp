// The two asset tools on inputs the shipped sources do not reach: long runs, odd rows,
// mistakes in a source file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "AssetFiles.h"
#include "TestSupport.h"
#include "TestPaths.h"

namespace {

int RunTool(const std::string& tool, const std::string& input, const std::string& output) {
  const std::string command = "'" + tool + "' '" + input + "' '" + output + "' 2>/dev/null";
  return std::system(command.c_str());
}

// A grid of the given width: a run of 'a' as long as the row, then rows that alternate.
std::string Grid(int width, const std::string& store) {
  std::string text = "# test grid\nsize " + std::to_string(width) + " 3\nstore " + store +
                     "\ncolour a FF0000\ncolour b 00FF00\ncolour c 0000FF\ngrid\n";
  text += std::string(width, 'a') + "\n";
  for (int x = 0; x < width; ++x) text += "abc"[x % 3];
  text += "\n";
  for (int x = 0; x < width; ++x) text += x % 7 < 3 ? 'b' : "ac"[x % 2];
  return text + "\n";
}

}  // namespace

TEST(PixelArtTool, LongRunsAndLiteralsSurviveRunLengthStorage) {
  tafutest::TempFolder folder;
  for (const std::string store : {"rle24", "raw32"}) {
    SCOPED_TRACE(store);
    const std::string text = Grid(300, store);  // runs and literals longer than one 128-pixel packet
    tafutest::WriteFile(folder / "grid.txt", text);
    ASSERT_EQ(RunTool(tafutest::PixelArtTool(), folder / "grid.txt", folder / "out.tga"), 0);
    const assettest::Tga tga = assettest::LoadTga(folder / "out.tga");
    ASSERT_TRUE(tga.ok);
    ASSERT_EQ(tga.width, 300);
    ASSERT_EQ(tga.height, 3);
    const uint32_t colours[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    const size_t gridStart = text.find("\ngrid\n") + 6;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 300; ++x)
        ASSERT_EQ(tga.At(x, y), colours[text[gridStart + y * 301 + x] - 'a']) << x << "," << y;
  }
}

TEST(PixelArtTool, RefusesGridsThatDoNotMatchTheirSizeOrLegend) {
  tafutest::TempFolder folder;
  const std::string head = "size 3 2\nstore raw32\ncolour a FFFFFF\ngrid\n";
  for (const std::string& body : {std::string("aaa\naa\n"), std::string("aaa\n"), std::string("aaa\naab\n"),
                                  std::string("aaa\naaa\naaa\n")}) {
    tafutest::WriteFile(folder / "grid.txt", head + body);
    EXPECT_NE(RunTool(tafutest::PixelArtTool(), folder / "grid.txt", folder / "out.tga"), 0) << body;
  }
}

TEST(SoundTool, RefusesMistakesInADescription) {
  tafutest::TempFolder folder;
  for (const std::string& text : {std::string("length 0.1\ntone 0 0.1 sine C5 C5 0.5 0.01 0\n"),
                                  std::string("length 0.1\ntone 0 0.1 fiddle C5 C5 0.5 0.01 0.1\n"),
                                  std::string("length 0.1\ntone 0 0.1 sine H5 C5 0.5 0.01 0.1\n"),
                                  std::string("length 0.1\ntempo 100\ntrack sine 0.3 0.01 0.2\nnotes C5\n"),
                                  std::string("length 0.1\n"),  // nothing to hear
                                  std::string("length 0.1\ntone 0 0.1 sine C5 C5 0.5\n")}) {
    tafutest::WriteFile(folder / "sound.snd", text);
    EXPECT_NE(RunTool(tafutest::SoundSynthTool(), folder / "sound.snd", folder / "out.wav"), 0) << text;
  }
}

TEST(SoundTool, ALoopingSoundWrapsItsTailRoundToTheStart) {
  tafutest::TempFolder folder;
  // A bell struck near the end rings on past it; in a loop that ringing opens the sound.
  tafutest::WriteFile(folder / "loop.snd", "length 0.5\nloop\ntone 0.4 0.3 sine A4 A4 0.5 0.005 0.5\n");
  tafutest::WriteFile(folder / "once.snd", "length 0.5\ntone 0.4 0.3 sine A4 A4 0.5 0.005 0.5\n");
  ASSERT_EQ(RunTool(tafutest::SoundSynthTool(), folder / "loop.snd", folder / "loop.wav"), 0);
  ASSERT_EQ(RunTool(tafutest::SoundSynthTool(), folder / "once.snd", folder / "once.wav"), 0);
  const assettest::Sound looped = assettest::LoadWav(folder / "loop.wav");
  const assettest::Sound once = assettest::LoadWav(folder / "once.wav");
  ASSERT_TRUE(looped.ok && once.ok);
  ASSERT_EQ(looped.samples.size(), 22050u);
  float loopStart = 0, onceStart = 0;
  for (size_t i = 0; i < 2000; ++i) {
    loopStart = std::max(loopStart, std::fabs(looped.samples[i]));
    onceStart = std::max(onceStart, std::fabs(once.samples[i]));
  }
  EXPECT_GT(loopStart, 0.3f);
  EXPECT_EQ(onceStart, 0.0f);
  EXPECT_LT(std::fabs(looped.samples.back() - looped.samples.front()), 0.1f);
}
