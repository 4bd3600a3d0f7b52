// Helpers for tests that play sound through SDL's "disk" audio driver, which
// writes what the device would have played to a file: a WAV in the device's
// own format (16-bit stereo at 44.1 kHz, so samples pass unchanged), and the
// left channel of what was played.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace disk_audio {

inline void putU32(std::ofstream& out, uint32_t v) {
  out.write(reinterpret_cast<const char*>(&v), 4);
}
inline void putU16(std::ofstream& out, uint16_t v) {
  out.write(reinterpret_cast<const char*>(&v), 2);
}

// Each sample goes to both channels.
inline void writeWav(const std::string& path, const std::vector<int16_t>& samples) {
  std::ofstream out(path, std::ios::binary);
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 4);
  out.write("RIFF", 4);
  putU32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  putU32(out, 16);
  putU16(out, 1);
  putU16(out, 2);
  putU32(out, 44100);
  putU32(out, 44100 * 4);
  putU16(out, 4);
  putU16(out, 16);
  out.write("data", 4);
  putU32(out, dataBytes);
  for (int16_t s : samples) {
    putU16(out, static_cast<uint16_t>(s));
    putU16(out, static_cast<uint16_t>(s));
  }
}

inline std::vector<int16_t> readLeftChannel(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<int16_t> left;
  int16_t frame[2];
  while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) left.push_back(frame[0]);
  return left;
}

}  // namespace disk_audio
