// Writing and reading 8-bit RGB pictures as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // 3 bytes per pixel, rows packed, bottom row first
};

// Bottom row first, as OpenGL reads a frame; the file stores it top row first.
// Returns false with a reason in `error` if the file cannot be written; then
// whatever was at `path` is left as it was.
bool writePng(const std::string& path, const RgbPicture& picture, std::string& error);

// Reads any PNG as RGB, bottom row first.
bool readPng(const std::string& path, RgbPicture& picture, std::string& error);
