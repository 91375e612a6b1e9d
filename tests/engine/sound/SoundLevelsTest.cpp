#include <gtest/gtest.h>

#include "sound/KSample.h"

namespace {

TEST(VolumeTable, KnownLevels) {
  EXPECT_EQ(VolumeTable(0), -10000);
  EXPECT_EQ(VolumeTable(1), -5523);
  EXPECT_EQ(VolumeTable(10), -2761);
  EXPECT_EQ(VolumeTable(25), -1662);
  EXPECT_EQ(VolumeTable(36), -1225);
  EXPECT_EQ(VolumeTable(50), -831);
  EXPECT_EQ(VolumeTable(80), -267);
  EXPECT_EQ(VolumeTable(99), -12);
  EXPECT_EQ(VolumeTable(100), 0);
}

TEST(VolumeTable, RisesWithTheLevelAndClampsOutside) {
  for (int32_t level = 1; level <= 100; ++level) EXPECT_LT(VolumeTable(level - 1), VolumeTable(level)) << level;
  EXPECT_EQ(VolumeTable(-5), VolumeTable(0));
  EXPECT_EQ(VolumeTable(250), VolumeTable(100));
}

TEST(PanTable, KnownPansAndEnds) {
  EXPECT_EQ(PanTable(-100), -10000);
  EXPECT_EQ(PanTable(0), 0);
  EXPECT_EQ(PanTable(100), 10000);
  EXPECT_EQ(PanTable(1), 21);
  EXPECT_EQ(PanTable(10), 228);
  EXPECT_EQ(PanTable(50), 1505);
  EXPECT_EQ(PanTable(99), 10001);
  EXPECT_EQ(PanTable(-1), -21);
  EXPECT_EQ(PanTable(-99), -10001);
}

TEST(PanTable, MirroredAndRisingInside) {
  for (int32_t pan = 1; pan < 100; ++pan) {
    EXPECT_EQ(PanTable(-pan), -PanTable(pan)) << pan;
    EXPECT_LT(PanTable(pan - 1), PanTable(pan)) << pan;
  }
}

TEST(MasterVolumes, NegativeLeavesAMasterAlone) {
  SetMasterVolumes(100, 100);
  SetMasterVolumes(-1, 50);
  EXPECT_EQ(GetMusicMasterVolume(), 100);
  EXPECT_EQ(GetEffectsMasterVolume(), 50);
  SetMasterVolumes(0, -1);
  EXPECT_EQ(GetMusicMasterVolume(), 0);
  EXPECT_EQ(GetEffectsMasterVolume(), 50);
  SetMasterVolumes(100, 100);
}

}  // namespace
