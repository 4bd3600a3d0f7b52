#include "platform/wav_format.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;  // the real encoding is in the sub-format

uint16_t le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Chunks {
  const uint8_t* format = nullptr;
  size_t formatSize = 0;
  bool hasData = false;
  size_t dataSize = 0;  // what the file holds of it
};

// The first "fmt " and "data" chunks; a chunk cut short by the end of the
// file counts as far as it goes.
Chunks findChunks(const uint8_t* bytes, size_t size) {
  Chunks found;
  size_t at = 12;
  while (size - at >= 8) {
    const uint8_t* id = bytes + at;
    const uint32_t length = le32(bytes + at + 4);
    at += 8;
    const size_t held = std::min<size_t>(length, size - at);
    if (!found.format && std::memcmp(id, "fmt ", 4) == 0) {
      found.format = bytes + at;
      found.formatSize = held;
    } else if (!found.hasData && std::memcmp(id, "data", 4) == 0) {
      found.hasData = true;
      found.dataSize = held;
    }
    // Chunks are padded to an even length.
    at += std::min<size_t>(size - at, held + (length & 1));
  }
  return found;
}

}  // namespace

bool checkWavFormat(const uint8_t* bytes, size_t size, const PlaybackFormat& device,
                    size_t maxDecodedBytes, std::string& reason) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    reason = "not a RIFF WAVE file";
    return false;
  }
  const Chunks chunks = findChunks(bytes, size);
  if (!chunks.format || chunks.formatSize < 16) {
    reason = "no format chunk";
    return false;
  }
  uint16_t encoding = le16(chunks.format);
  const uint16_t channels = le16(chunks.format + 2);
  const uint32_t rate = le32(chunks.format + 4);
  const uint16_t bits = le16(chunks.format + 14);
  if (encoding == kExtensible && chunks.formatSize >= 26) encoding = le16(chunks.format + 24);

  if (encoding != kPcm && encoding != kFloat) {
    reason = "encoding " + std::to_string(encoding) + " (only PCM is played)";
  } else if (channels < 1 || channels > 2) {
    reason = std::to_string(channels) + " channels (1 or 2 are played)";
  } else if (rate < kMinWavRate || rate > kMaxWavRate) {
    reason = "a sample rate of " + std::to_string(rate) + " Hz (" + std::to_string(kMinWavRate) +
             " to " + std::to_string(kMaxWavRate) + " Hz are played)";
  } else if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
             (encoding == kFloat && bits != 32)) {
    reason = std::to_string(bits) + "-bit samples (8, 16, 24 or 32 bits are played)";
  } else if (!chunks.hasData) {
    reason = "no data chunk";
  } else {
    // Whole frames at the file's rate, as many at the device's, rounded up.
    const uint64_t frames = chunks.dataSize / (channels * (bits / 8u));
    const uint64_t deviceFrames = (frames * static_cast<uint64_t>(device.rate) + rate - 1) / rate;
    const uint64_t decoded = deviceFrames * static_cast<uint64_t>(device.channels) *
                             static_cast<uint64_t>(device.bytesPerSample);
    if (decoded <= maxDecodedBytes) return true;
    reason = "its samples would take " + std::to_string(decoded) + " bytes once converted (" +
             std::to_string(maxDecodedBytes) + " at most)";
  }
  return false;
}
