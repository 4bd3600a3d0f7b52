// Texture set-up: each picture is uploaded once and freed at once. Uploads
// read tightly packed rows, so the unpack alignment is 1 around them and put
// back afterwards.
#include "render/textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/dib_loader.h"
#include "image/rgb_resample.h"
#include "platform/message_box.h"

namespace {

constexpr int kCutoutEntry = 3;

// Asks the driver, through a proxy texture, whether it takes a level-0 image
// of this size and format.
bool textureFits(GLint internalFormat, GLenum format, GLsizei width, GLsizei height) {
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE,
               nullptr);
  GLint taken = 0;
  glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &taken);
  return taken != 0;
}

// Shrinks `width` and `height` to the largest size the driver takes: each to
// GL_MAX_TEXTURE_SIZE first, then the longer side halved while the proxy still
// refuses. False if not even 1 x 1 is taken.
bool shrinkToFit(GLint internalFormat, GLenum format, int32_t& width, int32_t& height) {
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (maxSize > 0) {
    width = std::min<int32_t>(width, maxSize);
    height = std::min<int32_t>(height, maxSize);
  }
  while (!textureFits(internalFormat, format, width, height)) {
    if (width == 1 && height == 1) return false;
    if (width >= height) {
      width = std::max(1, width / 2);
    } else {
      height = std::max(1, height / 2);
    }
  }
  return true;
}

// gluBuild2DMipmaps reads a full 256 x 256 picture, whatever the file held.
// Level 0 is offered the picture as it is first (the mipmaps then replace it),
// unless the driver would refuse a picture that large.
void uploadMipmapped(const RgbImage& image, uint8_t* scaled) {
  const uint8_t* base = image.pixels;
  if (image.width != kMipmapBaseSize || image.height != kMipmapBaseSize) {
    resampleRgb(image.pixels, image.width, image.height, scaled, kMipmapBaseSize, kMipmapBaseSize);
    base = scaled;
  }
  if (textureFits(3, GL_RGB, image.width, image.height)) {
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.pixels);
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, 3, kMipmapBaseSize, kMipmapBaseSize, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 base);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, kMipmapBaseSize, kMipmapBaseSize, GL_RGB,
                    GL_UNSIGNED_BYTE, base);
}

// A picture larger than the driver's textures is scaled down to fit, pixel by
// pixel so that the key colour stays exact, with a line on stderr. Returns
// false (texture left empty) when no size fits or a buffer cannot be had,
// after the loader's "Out of memory." box.
bool uploadCutout(const RgbImage& image, const char* fileName, uint8_t* scratch,
                  uint8_t showLoadErrors) {
  int32_t width = image.width, height = image.height;
  const bool fits = shrinkToFit(GL_RGBA8, GL_RGBA, width, height);
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  const bool scale = fits && (width != image.width || height != image.height);
  uint8_t* scaled = scale ? static_cast<uint8_t*>(std::malloc(pixelCount * 3)) : nullptr;
  uint8_t* rgba = pixelCount * 4 > kCutoutScratchBytes
                      ? static_cast<uint8_t*>(std::malloc(pixelCount * 4))
                      : scratch;
  const bool made = fits && rgba && (scaled || !scale);
  if (!made) {
    if (showLoadErrors != 0) showMessageBox("Error", "Out of memory.");
  } else {
    if (scale) {
      pickNearestRgb(image.pixels, image.width, image.height, scaled, width, height);
      if (showLoadErrors != 0) {
        std::fprintf(stderr,
                     "%s: %d x %d is larger than the driver's textures; scaled to %d x %d\n",
                     fileName, image.width, image.height, width, height);
      }
    }
    keyCutoutPixels(scale ? scaled : image.pixels, pixelCount, rgba);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  }
  std::free(scaled);
  if (rgba != scratch) std::free(rgba);
  return made;
}

}  // namespace

void loadTextures(SceneState& state) {
  // One buffer serves both the cut-out conversion (256 x 256 x 4) and the
  // scaling of an odd-sized mipmapped picture (256 x 256 x 3).
  uint8_t* scratch = static_cast<uint8_t*>(std::malloc(kCutoutScratchBytes));

  GLint savedAlignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
  for (int i = 0; i < kTextureCount; ++i) {
    RgbImage*& image = state.imageSlots[i];
    image = loadTexturePicture(i, state.showLoadErrors);
    GLuint name = 0;
    glGenTextures(1, &name);
    state.textures.slot(i) = name;
    glBindTexture(GL_TEXTURE_2D, name);

    bool made = false;
    if (image && !scratch) {
      if (state.showLoadErrors != 0) showMessageBox("Error", "Out of memory.");
    } else if (image) {
      glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
      if (i == kCutoutEntry) {
        made = uploadCutout(*image, kTextureFiles[i], scratch, state.showLoadErrors);
      } else {
        uploadMipmapped(*image, scratch);
        made = true;
      }
      glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
    }
    if (!made && state.showLoadErrors != 0) {
      std::fprintf(stderr, "Texture from %s left empty.\n", kTextureFiles[i]);
    }
    freeRgbImage(image);
    image = nullptr;
  }
  std::free(scratch);
}
