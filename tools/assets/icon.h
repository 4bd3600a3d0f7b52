// The program's icon: a hamster's face seen from the front, on a see-through
// background, for the desktop entry.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

inline constexpr int kIconSize = 256;

struct RgbaPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // red, green, blue, alpha; top row first
};

RgbaPicture paintIcon();

}  // namespace assets
