// A look at a WAV file's header before the audio library decodes it. The
// library converts every sound to the device's format in one buffer, sized
// from the header: a rate of 1 Hz makes it ask for a negative size, and a
// long file at a low rate for gigabytes. So only the formats a short sound
// needs are let through, and the decoded size is bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the audio device plays, which every sound is converted to.
struct PlaybackFormat {
  int rate;  // frames a second
  int channels;
  int bytesPerSample;
};

inline constexpr int kMinWavRate = 8000;
inline constexpr int kMaxWavRate = 192000;

// True when the RIFF WAVE file in `bytes` is PCM (integer or 32-bit float)
// at 8,000 to 192,000 Hz, in 1 or 2 channels of 8, 16, 24 or 32 bits, and its
// samples converted to `device` take at most `maxDecodedBytes`. Else false,
// with the reason in a few words ("a sample rate of 1 Hz (8000 to 192000 Hz
// are played)"). A data chunk longer than the file counts as far as it goes.
bool checkWavFormat(const uint8_t* bytes, size_t size, const PlaybackFormat& device,
                    size_t maxDecodedBytes, std::string& reason);
