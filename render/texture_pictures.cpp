// What every graphics backend's textures share: the pictures, found and
// loaded, and the cut-out texture's pixels.
#include <cstdio>
#include <cstring>
#include <string>

#include "image/dib_loader.h"
#include "platform/data_folder.h"
#include "render/textures.h"

RgbImage* loadTexturePicture(int entry, uint8_t showLoadErrors) {
  std::string whereLooked;
  const std::string path = findDataFile(kTextureFiles[entry], &whereLooked);
  if (showLoadErrors != 0 && !whereLooked.empty()) {
    std::fprintf(stderr, "%s is in none of the folders searched: %s\n", kTextureFiles[entry],
                 whereLooked.c_str());
  }
  return loadDibImage(path.c_str(), showLoadErrors);
}

void keyCutoutPixels(const uint8_t* rgb, size_t pixelCount, uint8_t* rgba) {
  for (size_t p = 0; p < pixelCount; ++p, rgb += 3, rgba += 4) {
    std::memcpy(rgba, rgb, 3);
    const bool keyed = rgb[0] == kCutoutKeyColour[0] && rgb[1] == kCutoutKeyColour[1] &&
                       rgb[2] == kCutoutKeyColour[2];
    rgba[3] = keyed ? 0 : 255;
  }
}
