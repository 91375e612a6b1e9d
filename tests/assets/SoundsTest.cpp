// Every sound decodes, keeps within the time its screen allows, is heard, never clips,
// and the menu tune loops without a jolt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "AssetFiles.h"

using assettest::Sound;

namespace {

constexpr float kPeakLimit = 0.891f;  // -1 dBFS
constexpr float kQuietestRms = 0.02f;  // about -34 dBFS: clearly heard

struct Bound {
  const char* name;
  double shortest, longest;  // seconds
};

const Bound kEffects[] = {
    {"click.ogg", 0.02, 0.150},     {"tool.wav", 0.03, 0.200},      {"color.wav", 0.03, 0.200},
    {"slide.wav", 0.05, 0.250},     {"swap.wav", 0.55, 0.85},       {"test_true.wav", 0.8, 1.3},
    {"test_false.wav", 0.2, 0.999}, {"save_ok.wav", 0.2, 1.5},      {"save_failed.wav", 0.2, 1.5},
    {"animal_cat.wav", 0.3, 1.0},   {"animal_dog.wav", 0.3, 1.0},   {"animal_frog.wav", 0.3, 1.0},
    {"animal_duck.wav", 0.3, 1.0},  {"animal_pig.wav", 0.3, 1.0},   {"animal_elephant.wav", 0.3, 1.0},
};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

Sound Load(const std::string& name) {
  const std::string path = assettest::RuntimePath(name);
  return EndsWith(name, ".ogg") ? assettest::LoadOgg(path) : assettest::LoadWav(path);
}

float Peak(const Sound& s) {
  float peak = 0;
  for (float v : s.samples) peak = std::max(peak, std::fabs(v));
  return peak;
}

float Rms(const Sound& s) {
  double sum = 0;
  for (float v : s.samples) sum += double(v) * v;
  return s.samples.empty() ? 0.0f : static_cast<float>(std::sqrt(sum / s.samples.size()));
}

}  // namespace

TEST(Sounds, EveryEffectDecodesWithinItsLengthAndLevel) {
  for (const Bound& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    const Sound sound = Load(std::string("snd/sfx/") + effect.name);
    ASSERT_TRUE(sound.ok);
    EXPECT_GE(sound.rate, 22050);
    EXPECT_GE(sound.Seconds(), effect.shortest);
    EXPECT_LE(sound.Seconds(), effect.longest);
    EXPECT_LT(Peak(sound), kPeakLimit);
    EXPECT_GT(Rms(sound), kQuietestRms);
  }
}

TEST(Sounds, EffectsStartAndEndQuietly) {
  // A sound that starts or stops on a loud sample clicks.
  for (const Bound& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    const Sound sound = Load(std::string("snd/sfx/") + effect.name);
    ASSERT_TRUE(sound.ok);
    ASSERT_GT(sound.samples.size(), 2u);
    EXPECT_LT(std::fabs(sound.samples.front()), 0.05f);
    EXPECT_LT(std::fabs(sound.samples.back()), 0.05f);
  }
}

TEST(Sounds, MenuTuneLastsLongEnoughAndLoopsWithoutAJolt) {
  const Sound tune = assettest::LoadOgg(assettest::RuntimePath("snd/music/menu.ogg"));
  ASSERT_TRUE(tune.ok);
  EXPECT_GE(tune.Seconds(), 30.0);
  EXPECT_LE(tune.Seconds(), 90.0);
  EXPECT_LT(Peak(tune), kPeakLimit);
  EXPECT_GT(Rms(tune), kQuietestRms);

  // The step from the last sample to the first is no bigger than the steps the tune
  // itself makes around there.
  const auto& s = tune.samples;
  float largestStep = 0;
  for (size_t i = 1; i < 2000; ++i) {
    largestStep = std::max(largestStep, std::fabs(s[i] - s[i - 1]));
    largestStep = std::max(largestStep, std::fabs(s[s.size() - i] - s[s.size() - i - 1]));
  }
  EXPECT_LE(std::fabs(s.front() - s.back()), largestStep);
  EXPECT_LT(std::fabs(s.front() - s.back()), 0.05f);

  // The end is not a fade to silence that would leave a gap at every turn.
  double endEnergy = 0;
  for (size_t i = s.size() - tune.rate / 2; i < s.size(); ++i) endEnergy += double(s[i]) * s[i];
  EXPECT_GT(std::sqrt(endEnergy / (tune.rate / 2)), kQuietestRms / 4);
}
