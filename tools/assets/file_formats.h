// The bytes of the two file formats the toy reads: an uncompressed 24-bit BMP
// with the 14-byte file header and the 40-byte info header (rows bottom-up,
// each padded to 4 bytes), and a mono 16-bit PCM WAV; and the icon's PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/canvas.h"
#include "tools/assets/icon.h"

namespace assets {

std::vector<uint8_t> encodeBmp24(const Canvas& canvas);
std::vector<uint8_t> encodeWav16(const std::vector<int16_t>& samples, uint32_t sampleRate);
// An RGBA PNG; empty if the encoder failed.
std::vector<uint8_t> encodePng(const RgbaPicture& picture);

// Replaces the file with the whole buffer; false with the reason if it could
// not be written, leaving the old file as it was.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& reason);

}  // namespace assets
