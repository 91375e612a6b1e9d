#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

#include "SoundCapture.h"
#include "StudioFixture.h"

namespace studiotest {
namespace {

using tafutest::InputScript;
using tafutest::SoundCapture;

constexpr uint32_t kColourSoundMs = 60;
constexpr uint32_t kSaveOkMs = 80;
constexpr uint32_t kSaveFailedMs = 250;
constexpr int32_t kSoundThreshold = 300;

// Lets real time pass, for the sound device, while the screen stands on one frame.
std::function<void()> Pause(int ms) {
  return [ms] { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
}

// The lengths in milliseconds of the stretches of sound in what the device mixed,
// stretches less than 15 ms apart counting as one.
std::vector<double> SoundLengths(const std::vector<int16_t>& samples) {
  const size_t gap = tafutest::FramesIn(15);
  std::vector<double> lengths;
  size_t start = 0;
  size_t last = 0;
  bool inSound = false;
  for (size_t i = 0; i < tafutest::FrameCount(samples); ++i) {
    if (std::abs(samples[2 * i]) <= kSoundThreshold && std::abs(samples[2 * i + 1]) <= kSoundThreshold) continue;
    if (inSound && i - last > gap) {
      lengths.push_back(static_cast<double>(last + 1 - start) * 1000.0 / tafutest::kCaptureRate);
      inSound = false;
    }
    if (!inSound) start = i;
    inSound = true;
    last = i;
  }
  if (inSound) lengths.push_back(static_cast<double>(last + 1 - start) * 1000.0 / tafutest::kCaptureRate);
  return lengths;
}

class StudioSoundTest : public StudioTest {
 protected:
  void SetUp() override {
    StudioTest::SetUp();
    tafutest::WriteWave(ProgramFile("snd\\sfx\\color.wav"), kColourSoundMs);
    tafutest::WriteWave(ProgramFile("snd\\sfx\\save_ok.wav"), kSaveOkMs);
    tafutest::WriteWave(ProgramFile("snd\\sfx\\save_failed.wav"), kSaveFailedMs);
  }

  // Everything mixed until the screen ended, once the device has written it out.
  std::vector<int16_t> Mixed() {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return capture_.Samples();
  }

  SoundCapture capture_{folder_ / "mixed.raw"};
};

InputScript& Dab(InputScript& script, CanvasSize size, int32_t column, int32_t row) {
  const Spot cell = CellSpot(size, column, row);
  return script.MoveTo(cell.x, cell.y).Press().Wait(1).Release();
}

TEST_F(StudioSoundTest, HoldingOnThePaletteSoundsOnceAndSlidingOnWhileItPlaysIsSilent) {
  const PaletteEntry first = {1, 2};
  const PaletteEntry second = {2, 2};
  InputScript script;
  bool secondFramed = false;
  const Spot a = SwatchSpot(first);
  const Spot b = SwatchSpot(second);
  script.MoveTo(a.x, a.y).Press().MoveTo(b.x, b.y);
  for (int i = 0; i < 6; ++i) script.Do(Pause(100));
  script.Release().Do(Pause(100)).Do([&] {
    secondFramed = ScreenPixel(SwatchLeft(second) + 8, SwatchTop(second)) == 0x4C4C4Cu;
  });
  Dab(script, CanvasSize::Big, 4, 4);
  ClickButton(script, kStudioExit);

  RunStudio(CanvasSize::Big, script);
  const std::vector<double> sounds = SoundLengths(Mixed());
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_NEAR(sounds[0], kColourSoundMs, 10);
  EXPECT_TRUE(secondFramed);
  EXPECT_EQ(PictureBuffer.At(4, 4), PaletteColour(second));
}

TEST_F(StudioSoundTest, TwoSavesWriteTwoConsecutiveFilesOfTheSamePicture) {
  WritePainting(CanvasSize::Small, 4, kBlack);
  InputScript script;
  Dab(script.Wait(1), CanvasSize::Small, 3, 4);
  ClickButton(script, kSaveButton).Do(Pause(200));
  ClickButton(script, kSaveButton).Do(Pause(200));
  ClickButton(script, kStudioExit);

  RunStudio(CanvasSize::Small, script);
  const std::vector<double> sounds = SoundLengths(Mixed());
  ASSERT_EQ(sounds.size(), 2u);
  for (const double length : sounds) EXPECT_NEAR(length, kSaveOkMs, 10);
  const std::string first = tafutest::ReadFile(PaintingPath(CanvasSize::Small, 5));
  EXPECT_EQ(first.size(), 18u + 15u * 15u * 4u);
  EXPECT_EQ(tafutest::ReadFile(PaintingPath(CanvasSize::Small, 6)), first);
  ClearPictureBuffer();
  ASSERT_TRUE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Small, 6, 15, 15));
  EXPECT_EQ(PaintedCells(), (std::vector<std::pair<int32_t, int32_t>>{{3, 4}}));
}

TEST_F(StudioSoundTest, ASaveThatCannotBeWrittenSoundsTheFailureAndKeepsThePainting) {
  const std::string blocker = MakeUserPath("draw");
  tafutest::WriteFile(blocker, "a file where the drawing folder belongs");
  tafutest::MessageCapture messages;
  InputScript script;
  bool failedSaveKept = false;
  Dab(script.Wait(1), CanvasSize::Big, 7, 8);
  ClickButton(script, kSaveButton).Do(Pause(400)).Do([&] {
    failedSaveKept = PictureBuffer.At(7, 8) == kBlack && !std::filesystem::is_directory(blocker);
    std::filesystem::remove(blocker);
  });
  ClickButton(script, kSaveButton).Do(Pause(200));
  ClickButton(script, kStudioExit);

  RunStudio(CanvasSize::Big, script);
  const std::vector<double> sounds = SoundLengths(Mixed());
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_NEAR(sounds[0], kSaveFailedMs, 10);
  EXPECT_NEAR(sounds[1], kSaveOkMs, 10);
  EXPECT_TRUE(failedSaveKept);
  EXPECT_EQ(PictureBuffer.At(7, 8), kBlack);
  ClearPictureBuffer();
  ASSERT_TRUE(ReadPictureFile(PictureKind::Drawing, CanvasSize::Big, 1, 50, 40));
  EXPECT_EQ(PaintedCells(), (std::vector<std::pair<int32_t, int32_t>>{{7, 8}}));
}

}  // namespace
}  // namespace studiotest
