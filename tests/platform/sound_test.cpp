// Plays through SDL's "disk" audio driver, which writes what the device would
// have played to a file, so the real playback path is checked without a sound card.
#include "platform/mixer_sound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/disk_audio.h"

namespace {

class DiskAudio : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::TempDir() + "quibbix_sound_" + std::to_string(getpid()) + "_";
    output_ = dir_ + "out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
  std::string dir_, output_;
};

void waitMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

TEST_F(DiskAudio, ThePlayedSamplesReachTheDeviceAndTheCallDoesNotWait) {
  // A ramp that cannot occur by accident, then three seconds of silence: a
  // call that waited for the sound would take that long, while opening the
  // device on first use takes far less even on a busy machine.
  std::vector<int16_t> ramp;
  for (int i = 0; i < 4410; ++i) ramp.push_back(static_cast<int16_t>(i * 7 - 15000));
  std::vector<int16_t> sound = ramp;
  sound.resize(ramp.size() + 3 * 44100, 0);
  const std::string wav = dir_ + "ramp.wav";
  disk_audio::writeWav(wav, sound);

  std::vector<int16_t> played;
  {
    MixerSound mixer;
    const auto start = std::chrono::steady_clock::now();
    mixer.playAsync(wav.c_str());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500))
        << "a three-second sound must not be waited for";
    waitMs(400);
  }
  played = disk_audio::readLeftChannel(output_);
  auto at = std::search(played.begin(), played.end(), ramp.begin(), ramp.end());
  EXPECT_NE(at, played.end()) << "the ramp's samples are not in the device output";
}

TEST_F(DiskAudio, ASecondCallCutsTheFirstOff) {
  const std::vector<int16_t> longTone(44100 * 2, 1234);  // two seconds
  const std::vector<int16_t> shortTone(4410, -2345);
  const std::string first = dir_ + "long.wav", second = dir_ + "short.wav";
  disk_audio::writeWav(first, longTone);
  disk_audio::writeWav(second, shortTone);
  {
    MixerSound sound;
    sound.playAsync(first.c_str());
    waitMs(200);
    sound.playAsync(second.c_str());
    waitMs(500);
  }
  const std::vector<int16_t> played = disk_audio::readLeftChannel(output_);
  size_t lastLong = 0, firstShort = played.size(), lastShort = 0;
  for (size_t i = 0; i < played.size(); ++i) {
    if (played[i] == 1234) lastLong = i;
    if (played[i] == -2345) {
      if (firstShort == played.size()) firstShort = i;
      lastShort = i;
    }
  }
  ASSERT_GT(lastLong, 0u) << "the first sound never played";
  ASSERT_LT(firstShort, played.size()) << "the second sound never played";
  EXPECT_LT(lastLong, firstShort) << "the first sound went on after the second began";
  EXPECT_EQ(lastShort - firstShort + 1, shortTone.size());
  // Far less than the two seconds of the first sound were played.
  EXPECT_LT(lastLong, 44100u);
}

// What the program does at start-up: after preload the file is no longer read,
// so a jump costs no file access or decoding.
TEST_F(DiskAudio, PreloadReadsAndDecodesSoThatPlayingNeedsNoFile) {
  const std::vector<int16_t> tone(4410, 3456);
  const std::string wav = dir_ + "preloaded.wav";
  disk_audio::writeWav(wav, tone);
  {
    MixerSound sound;
    sound.preload(wav.c_str());
    ASSERT_EQ(unlink(wav.c_str()), 0);
    testing::internal::CaptureStderr();
    sound.playAsync(wav.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    waitMs(400);
  }
  const std::vector<int16_t> played = disk_audio::readLeftChannel(output_);
  EXPECT_EQ(std::count(played.begin(), played.end(), 3456), 4410);
}

// Each bad file is reported once, with its reason; a pipe is not waited on.
TEST_F(DiskAudio, AnUnplayableFileIsReportedOnceWithTheReason) {
  const std::string pipe = dir_ + "pipe.wav", noise = dir_ + "noise.wav";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::ofstream(noise) << "not a sound at all";
  const std::pair<std::string, std::string> cases[] = {
      {"no-such-sound.wav", "No such file or directory"},
      {pipe, "not a regular file"},
      {noise, ""}};  // the decoder's own words
  MixerSound sound;
  for (const auto& [name, reason] : cases) {
    testing::internal::CaptureStderr();
    sound.playAsync(name.c_str());
    sound.playAsync(name.c_str());
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string line = "Sound \"" + name + "\" is not played: " + name + ": " + reason;
    EXPECT_NE(err.find(line), std::string::npos) << err;
    EXPECT_EQ(err.find(line), err.rfind(line)) << "reported twice: " << err;
    EXPECT_EQ(err.find("is not played: \n"), std::string::npos) << "no reason: " << err;
  }
  unlink(pipe.c_str());
  unlink(noise.c_str());
}

TEST(NoAudioDevice, SaysSoOnceAndStaysSilent) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  {
    MixerSound sound;
    sound.preload("explode.wav");
    sound.playAsync("explode.wav");
    sound.playAsync("explode.wav");
  }
  const std::string err = testing::internal::GetCapturedStderr();
  unsetenv("SDL_AUDIODRIVER");
  EXPECT_NE(err.find("Sound is off"), std::string::npos) << err;
  EXPECT_EQ(err.find("Sound is off"), err.rfind("Sound is off")) << "reported twice";
}

// With no driver chosen SDL tries the system's own. Where there is no sound
// card (as on the machines the tests run on), ALSA would add lines of its own
// before ours; where there is one, nothing at all is written.
TEST(NoDriverChosen, StandardErrorGetsAtMostOurOneLine) {
  unsetenv("SDL_AUDIODRIVER");
  const std::string wav = testing::TempDir() + "quibbix_plain_" + std::to_string(getpid()) + ".wav";
  disk_audio::writeWav(wav, std::vector<int16_t>(441, 100));
  testing::internal::CaptureStderr();
  {
    MixerSound sound;
    sound.preload(wav.c_str());
  }
  const std::string err = testing::internal::GetCapturedStderr();
  unlink(wav.c_str());
  EXPECT_EQ(err.find("ALSA lib"), std::string::npos) << err;
  EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 1) << err;
}
