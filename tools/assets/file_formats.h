// The bytes of the two file formats the toy reads: an uncompressed 24-bit BMP
// with the 14-byte file header and the 40-byte info header (rows bottom-up,
// each padded to 4 bytes), and a mono 16-bit PCM WAV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/canvas.h"

namespace assets {

std::vector<uint8_t> encodeBmp24(const Canvas& canvas);
std::vector<uint8_t> encodeWav16(const std::vector<int16_t>& samples, uint32_t sampleRate);

// Writes the whole buffer; false if the file could not be written.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace assets
