// Writing and reading 8-bit pictures as PNG: the shot tool's frames, the
// generator's icon.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // 3 bytes per pixel, rows packed, bottom row first
};

// Encodes 8-bit pixels of `channels` bytes each (3: RGB, 4: RGBA) in memory.
// `rowStride` is the distance in bytes from one row in memory to the next as
// the file stores them: negative when the first row in memory is the bottom
// one. False with the encoder's reason in `error`.
bool encodePng(const uint8_t* pixels, int width, int height, int channels, int rowStride,
               std::vector<uint8_t>& png, std::string& error);

// Bottom row first, as OpenGL reads a frame; the file stores it top row first.
// Returns false with a reason in `error` if the file cannot be written; then
// whatever was at `path` is left as it was.
bool writePng(const std::string& path, const RgbPicture& picture, std::string& error);

// Reads any PNG as RGB, bottom row first.
bool readPng(const std::string& path, RgbPicture& picture, std::string& error);
