// The cut-out texture's pixels, the same for every graphics backend.
#include <cstring>

#include "render/textures.h"

void keyCutoutPixels(const uint8_t* rgb, size_t pixelCount, uint8_t* rgba) {
  for (size_t p = 0; p < pixelCount; ++p, rgb += 3, rgba += 4) {
    std::memcpy(rgba, rgb, 3);
    const bool keyed = rgb[0] == kCutoutKeyColour[0] && rgb[1] == kCutoutKeyColour[1] &&
                       rgb[2] == kCutoutKeyColour[2];
    rgba[3] = keyed ? 0 : 255;
  }
}
