#include "platform/wav_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Header {
  uint16_t encoding = 1;
  uint16_t channels = 1;
  uint32_t rate = 22050;
  uint16_t bits = 16;
  uint32_t dataBytes = 4000;
  uint32_t dataHeld = 4000;  // what the file really holds
};

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A RIFF WAVE file with an odd-length chunk before its format chunk.
std::vector<uint8_t> wav(const Header& h) {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (char c : std::string("LIST")) out.push_back(static_cast<uint8_t>(c));
  put(out, 3, 4);
  out.insert(out.end(), {1, 2, 3, 0});
  for (char c : std::string("fmt ")) out.push_back(static_cast<uint8_t>(c));
  put(out, 16, 4);
  const uint32_t frameBytes = h.channels * h.bits / 8u;
  put(out, h.encoding, 2);
  put(out, h.channels, 2);
  put(out, h.rate, 4);
  put(out, h.rate * frameBytes, 4);
  put(out, frameBytes, 2);
  put(out, h.bits, 2);
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  put(out, h.dataBytes, 4);
  out.resize(out.size() + h.dataHeld);
  return out;
}

std::string check(const std::vector<uint8_t>& bytes) {
  std::string reason;
  // The program's device: 44.1 kHz, 16-bit stereo; at most 1 MB decoded here.
  const bool played = checkWavFormat(bytes.data(), bytes.size(), {44100, 2, 2}, 1 << 20, reason);
  return played ? "played" : reason;
}

}  // namespace

TEST(WavFormat, OnlyShortPcmSoundsOfUsualRatesChannelsAndDepthsAreLetThrough) {
  EXPECT_EQ(check(wav({})), "played");
  EXPECT_EQ(check(wav({.encoding = 3, .channels = 2, .rate = 192000, .bits = 32})), "played");
  EXPECT_EQ(check(wav({.rate = 8000, .bits = 8})), "played");
  EXPECT_EQ(check(wav({.rate = 1, .bits = 8})),
            "a sample rate of 1 Hz (8000 to 192000 Hz are played)");
  EXPECT_EQ(check(wav({.rate = 192001})),
            "a sample rate of 192001 Hz (8000 to 192000 Hz are played)");
  EXPECT_EQ(check(wav({.channels = 3})), "3 channels (1 or 2 are played)");
  EXPECT_EQ(check(wav({.bits = 12})), "12-bit samples (8, 16, 24 or 32 bits are played)");
  EXPECT_EQ(check(wav({.encoding = 3, .bits = 16})),
            "16-bit samples (8, 16, 24 or 32 bits are played)");
  EXPECT_EQ(check(wav({.encoding = 2, .bits = 4})), "encoding 2 (only PCM is played)");
  EXPECT_EQ(check({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}), "no format chunk");
  EXPECT_EQ(check({'O', 'g', 'g', 'S'}), "not a RIFF WAVE file");
  // A frame of 8000 Hz mono is 5.5125 frames of 4 bytes at the device: 47554
  // frames fit in 1 MB, one more does not; a data chunk that claims more than the file
  // holds counts only what it holds.
  EXPECT_EQ(check(wav({.rate = 8000, .bits = 8, .dataBytes = 47554, .dataHeld = 47554})), "played");
  EXPECT_EQ(check(wav({.rate = 8000, .bits = 8, .dataBytes = 47555, .dataHeld = 47555})),
            "its samples would take 1048588 bytes once converted (1048576 at most)");
  EXPECT_EQ(check(wav({.rate = 8000, .bits = 8, .dataBytes = 4000000, .dataHeld = 100})), "played");
}
