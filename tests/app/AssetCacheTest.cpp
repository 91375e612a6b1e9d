#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "AppTestWindow.h"
#include "TestAssets.h"
#include "app/AssetCache.h"
#include "sound/KSample.h"

namespace {

using tafutest::TestPicture;

class AssetCacheTest : public tafutest::AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    std::filesystem::create_directories(folder_.Path() / "img" / "ico");
    std::filesystem::create_directories(folder_.Path() / "snd" / "sfx");
  }
  void WritePicture(const std::string& name, int32_t width, int32_t height) {
    tafutest::WritePng(MakePath(name), TestPicture(width, height, 0xFF0000FF));
  }
};

TEST_F(AssetCacheTest, EveryAddTakesTheNextIndexOfItsKind) {
  WritePicture("img\\ico\\a.png", 10, 20);
  WritePicture("img\\ico\\b.png", 30, 40);
  tafutest::WriteWave(MakePath("snd\\sfx\\a.wav"), 50);
  AssetCache cache;
  EXPECT_EQ(cache.AddPicture("img\\ico\\a.png", true), 0u);
  EXPECT_EQ(cache.AddSound("snd\\sfx\\a.wav"), 0u);
  EXPECT_EQ(cache.AddPicture("img\\ico\\b.png", false), 1u);
  EXPECT_EQ(cache.AddPicture("img\\ico\\a.png", true), 2u);
  EXPECT_EQ(cache.AddSound("snd\\sfx\\a.wav"), 1u);
  EXPECT_EQ(cache.PictureCount(), 3u);
  EXPECT_EQ(cache.SoundCount(), 2u);
  EXPECT_EQ(cache.MusicCount(), 0u);

  EXPECT_EQ(cache.Picture(0)->GetWidth(), 10.0f);
  EXPECT_EQ(cache.Picture(1)->GetHeight(), 40.0f);
  EXPECT_EQ(cache.Picture(2)->GetWidth(), 10.0f);
  EXPECT_NE(cache.Picture(0), cache.Picture(2)) << "a file added twice is loaded twice";
  EXPECT_NE(cache.Sound(0), cache.Sound(1));
}

TEST_F(AssetCacheTest, MissingFilesKeepTheirIndexAndStaySilentOrInvisible) {
  WritePicture("img\\ico\\b.png", 30, 40);
  tafutest::MessageCapture messages;
  AssetCache cache;
  cache.AddPicture("img\\ico\\missing.png", true);
  cache.AddPicture("img\\ico\\b.png", true);
  cache.AddSound("snd\\sfx\\missing.wav");
  cache.AddMusic("snd\\music\\missing.ogg");
  ASSERT_EQ(cache.PictureCount(), 2u);
  ASSERT_TRUE(cache.Picture(0));
  EXPECT_EQ(cache.Picture(0)->GetWidth(), 0.0f);
  EXPECT_EQ(cache.Picture(1)->GetWidth(), 30.0f);
  cache.Sound(0)->Play();
  EXPECT_FALSE(cache.Sound(0)->IsPlaying());
  cache.Music(0)->PlayStream(true);
  EXPECT_FALSE(cache.Music(0)->IsPlaying());

  EXPECT_THROW(cache.Picture(2), std::out_of_range);
  EXPECT_THROW(cache.Sound(1), std::out_of_range);
  EXPECT_THROW(cache.Music(1), std::out_of_range);
}

TEST_F(AssetCacheTest, DestroyingACacheStopsItsPlayingSound) {
  tafutest::WriteWave(MakePath("snd\\sfx\\long.wav"), 3000);
  {
    AssetCache cache;
    cache.AddSound("snd\\sfx\\long.wav");
    cache.Sound(0)->Play();
    EXPECT_TRUE(cache.Sound(0)->IsPlaying());
    EXPECT_TRUE(IsSoundDeviceOpen());
  }
  EXPECT_FALSE(IsSoundDeviceOpen()) << "the last sound is gone, and the device with it";
}

TEST_F(AssetCacheTest, SharedAssetsHoldElevenPicturesAndSixSoundsInTheirOrder) {
  const char* pictures[] = {"cursor",   "cursor_pen", "cursor_bucket", "cursor_pick", "cursor_eraser", "exit",
                            "star",     "stone",      "test",          "test_true",   "test_false"};
  for (int i = 0; i < 11; ++i) WritePicture(std::string("img\\ico\\") + pictures[i] + ".png", 10 + i, 5);
  const char* sounds[] = {"tool", "slide", "swap", "test_true"};
  for (const char* sound : sounds) tafutest::WriteWave(MakePath(std::string("snd\\sfx\\") + sound + ".wav"), 20);
  tafutest::WriteWave(MakePath("snd\\sfx\\test_false.wav"), 2000);

  tafutest::MessageCapture messages;
  LoadSharedAssets();
  ASSERT_EQ(SharedAssets.PictureCount(), 11u);
  ASSERT_EQ(SharedAssets.SoundCount(), 6u);
  EXPECT_EQ(SharedAssets.MusicCount(), 0u);
  for (size_t i = 0; i < 11; ++i) EXPECT_EQ(SharedAssets.Picture(i)->GetWidth(), 10.0f + i) << pictures[i];
  EXPECT_EQ(SharedAssets.Picture(kSharedExit)->GetWidth(), 15.0f);
  EXPECT_EQ(SharedAssets.Picture(kSharedBucketCursor)->GetWidth(), 12.0f);

  // click.ogg is missing: it keeps index 0 and stays silent; the others play.
  SharedAssets.Sound(kSharedClickSound)->Play();
  EXPECT_FALSE(SharedAssets.Sound(kSharedClickSound)->IsPlaying());
  SharedAssets.Sound(kSharedTestFalseSound)->Play();
  EXPECT_TRUE(SharedAssets.Sound(kSharedTestFalseSound)->IsPlaying());

  KGraphic* exit = SharedAssets.Picture(kSharedExit);
  {
    AssetCache screen;
    screen.AddPicture("img\\ico\\exit.png", true);
    screen.AddSound("snd\\sfx\\swap.wav");
    screen.Sound(0)->Play();
  }
  EXPECT_EQ(SharedAssets.PictureCount(), 11u);
  EXPECT_EQ(SharedAssets.Picture(kSharedExit), exit);
  EXPECT_EQ(exit->GetWidth(), 15.0f);
  EXPECT_TRUE(SharedAssets.Sound(kSharedTestFalseSound)->IsPlaying()) << "a screen's cache leaves shared sounds alone";
}

}  // namespace
