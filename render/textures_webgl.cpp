// Texture set-up in WebGL 1. It makes no mipmaps that match the desktop's, and
// repeats only pictures whose sides are powers of two, so: the mipmapped
// pictures are brought to 256 x 256 as on the desktop and their smaller levels
// halved here, as GLU halves them; a cut-out picture of another size is scaled
// to the next powers of two, pixel by pixel so that the key colour stays exact.
#include <GLES2/gl2.h>

#include <cstdio>
#include <vector>

#include "image/dib_loader.h"
#include "image/rgb_resample.h"
#include "render/textures.h"
#include "render/webgl_context.h"

namespace {

constexpr int kCutoutEntry = 3;

// The power of two at or above `side`, but no more than the driver takes.
int32_t powerOfTwoFor(int32_t side) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  int32_t power = 1;
  while (power < side && power * 2 <= largest) power *= 2;
  return power;
}

void uploadMipmapped(const RgbImage& image) {
  const int32_t size = kMipmapBaseSize;
  std::vector<uint8_t> level(static_cast<size_t>(size) * size * 3);
  resampleRgb(image.pixels, image.width, image.height, level.data(), size, size);
  std::vector<uint8_t> next(level.size() / 4);
  for (int32_t n = 0, side = size; side >= 1; ++n, side /= 2) {
    glTexImage2D(GL_TEXTURE_2D, n, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, level.data());
    if (side == 1) break;
    halveRgb(level.data(), side, side, next.data());
    level.swap(next);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
}

void uploadCutout(const RgbImage& image) {
  const int32_t width = powerOfTwoFor(image.width);
  const int32_t height = powerOfTwoFor(image.height);
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> rgb(pixelCount * 3), rgba(pixelCount * 4);
  pickNearestRgb(image.pixels, image.width, image.height, rgb.data(), width, height);
  keyCutoutPixels(rgb.data(), pixelCount, rgba.data());
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

}  // namespace

void loadTextures(SceneState& state) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int i = 0; i < kTextureCount; ++i) {
    RgbImage*& image = state.imageSlots[i];
    image = loadTexturePicture(i, state.showLoadErrors);
    GLuint name = 0;
    glGenTextures(1, &name);
    state.textures.slot(i) = name;
    glBindTexture(GL_TEXTURE_2D, name);
    if (image) {
      if (i == kCutoutEntry) {
        uploadCutout(*image);
      } else {
        uploadMipmapped(*image);
      }
      webGl().texturesWithImages.push_back(name);
    } else if (state.showLoadErrors != 0) {
      std::fprintf(stderr, "Texture from %s left empty.\n", kTextureFiles[i]);
    }
    freeRgbImage(image);
    image = nullptr;
  }
}
