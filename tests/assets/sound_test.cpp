// The jump sound as the toy will play it: the WAV file the build wrote.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/assets/asset_files.h"
#include "tools/assets/det_math.h"
#include "tools/assets/jump_sound.h"

namespace {

TEST(JumpSound, FileIsMono16BitPcmWithConsistentSizes) {
  std::vector<uint8_t> bytes = readBytes(builtAsset(kJumpSoundFile));
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(readLe(bytes, 4, 4), bytes.size() - 8);
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(readLe(bytes, 16, 4), 16u);
  EXPECT_EQ(readLe(bytes, 20, 2), 1u);  // PCM
  EXPECT_EQ(readLe(bytes, 22, 2), 1u);  // mono
  uint32_t rate = readLe(bytes, 24, 4);
  EXPECT_EQ(rate, assets::kSampleRate);
  EXPECT_EQ(readLe(bytes, 28, 4), rate * 2);
  EXPECT_EQ(readLe(bytes, 32, 2), 2u);
  EXPECT_EQ(readLe(bytes, 34, 2), 16u);
  EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
  EXPECT_EQ(readLe(bytes, 40, 4), bytes.size() - 44);
}

TEST(JumpSound, LastsUnderASecondAndAHalfPeaksBelowFullScaleAndEndsInSilence) {
  std::vector<uint8_t> bytes = readBytes(builtAsset(kJumpSoundFile));
  ASSERT_GT(bytes.size(), 44u);
  std::vector<int> samples;
  for (size_t at = 44; at + 1 < bytes.size(); at += 2)
    samples.push_back(int16_t(uint16_t(readLe(bytes, at, 2))));
  double seconds = double(samples.size()) / assets::kSampleRate;
  EXPECT_GE(seconds, 0.3);
  EXPECT_LE(seconds, 1.5);

  int peak = 0;
  for (int s : samples) peak = std::max(peak, std::abs(s));
  EXPECT_LT(peak, 32767) << "clipped";
  EXPECT_GT(peak, 16000) << "too quiet to hear over the scene";
  EXPECT_LT(std::abs(samples.back()), 8) << "a click at the end";

  // Punchy: most of the energy is in the first third.
  double early = 0, late = 0;
  for (size_t i = 0; i < samples.size(); ++i)
    (i < samples.size() / 3 ? early : late) += double(samples[i]) * samples[i];
  EXPECT_GT(early, 3 * late);
}

TEST(DeterministicMaths, SeriesAgreeWithTheLibraryToRoundingNoise) {
  for (double x = -40.0; x <= 40.0; x += 0.0137) {
    EXPECT_NEAR(assets::detSin(x), std::sin(x), 1e-13) << x;
  }
  for (double x = -30.0; x <= 30.0; x += 0.0113) {
    EXPECT_NEAR(assets::detExp(x) / std::exp(x), 1.0, 1e-13) << x;
  }
}

}  // namespace
