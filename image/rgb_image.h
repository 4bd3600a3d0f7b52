// A decoded picture: 3 bytes per pixel (red, green, blue), rows packed with no
// padding, bottom row first. The record and its pixels are two heap blocks
// from malloc; the owner releases the pixels first, then the record.
#pragma once

#include <cstdint>

struct RgbImage {
  int32_t width;    // pixels per row, always positive
  int32_t height;   // rows, always positive
  uint8_t* pixels;  // width * height * 3 bytes
};

// Releases the pixels, then the record; null is allowed.
void freeRgbImage(RgbImage* image);
