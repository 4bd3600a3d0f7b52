// Builds small BMP files in memory for the image tests.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct BmpRecipe {
  uint32_t headerSize = 40;  // 12 or 40 are real; anything else is written as a 40-byte body
  int32_t width = 1;
  int32_t height = 1;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  bool fileHeader = true;
  std::vector<uint32_t> masks;                  // written behind the header when given
  std::vector<std::array<uint8_t, 3>> palette;  // red, green, blue; all entries written
  std::vector<uint8_t> gap;                     // bytes between the colour table and the pixels
  std::vector<uint8_t> pixels;                  // stored as given
  int64_t pixelOffset = -1;                     // file header's offset; -1: right behind the gap
};

inline void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline std::vector<uint8_t> makeBmp(const BmpRecipe& recipe) {
  std::vector<uint8_t> body;
  putLe(body, recipe.headerSize, 4);
  if (recipe.headerSize == 12) {
    putLe(body, static_cast<uint32_t>(recipe.width), 2);
    putLe(body, static_cast<uint32_t>(recipe.height), 2);
    putLe(body, recipe.planes, 2);
    putLe(body, recipe.bitCount, 2);
  } else {
    putLe(body, static_cast<uint32_t>(recipe.width), 4);
    putLe(body, static_cast<uint32_t>(recipe.height), 4);
    putLe(body, recipe.planes, 2);
    putLe(body, recipe.bitCount, 2);
    putLe(body, recipe.compression, 4);
    putLe(body, 0, 4);
    putLe(body, 2835, 4);
    putLe(body, 2835, 4);
    putLe(body, recipe.colorsUsed, 4);
    putLe(body, 0, 4);
    while (body.size() < recipe.headerSize) body.push_back(0);
  }
  for (uint32_t mask : recipe.masks) putLe(body, mask, 4);
  for (const auto& color : recipe.palette) {
    body.push_back(color[2]);
    body.push_back(color[1]);
    body.push_back(color[0]);
    if (recipe.headerSize != 12) body.push_back(0);
  }
  body.insert(body.end(), recipe.gap.begin(), recipe.gap.end());
  const size_t pixelStart = body.size();
  body.insert(body.end(), recipe.pixels.begin(), recipe.pixels.end());
  if (!recipe.fileHeader) return body;

  std::vector<uint8_t> file = {'B', 'M'};
  putLe(file, static_cast<uint32_t>(14 + body.size()), 4);
  putLe(file, 0, 4);
  const uint32_t offset = recipe.pixelOffset >= 0 ? static_cast<uint32_t>(recipe.pixelOffset)
                                                  : static_cast<uint32_t>(14 + pixelStart);
  putLe(file, offset, 4);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// 24-bit rows (blue, green, red), each padded to 4 bytes, from an RGB picture
// given bottom row first.
inline std::vector<uint8_t> rows24(int width, int height, const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> out;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      out.insert(out.end(), {p[2], p[1], p[0]});
    }
    while (out.size() % 4 != 0) out.push_back(0);
  }
  return out;
}
