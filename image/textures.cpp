// Texture set-up: each picture is uploaded once and freed at once. Uploads
// read tightly packed rows, so the unpack alignment is 1 around them and put
// back afterwards.
#include "image/textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/dib_loader.h"
#include "image/rgb_resample.h"
#include "platform/message_box.h"

namespace {

constexpr int kCutoutEntry = 3;

// gluBuild2DMipmaps reads a full 256 x 256 picture, whatever the file held.
void uploadMipmapped(const RgbImage& image, uint8_t* scaled) {
  glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               image.pixels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  const uint8_t* base = image.pixels;
  if (image.width != kMipmapBaseSize || image.height != kMipmapBaseSize) {
    resampleRgb(image.pixels, image.width, image.height, scaled, kMipmapBaseSize, kMipmapBaseSize);
    base = scaled;
  }
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, kMipmapBaseSize, kMipmapBaseSize, GL_RGB,
                    GL_UNSIGNED_BYTE, base);
}

// Returns false (texture left empty) when a larger picture's buffer cannot be had.
bool uploadCutout(const RgbImage& image, uint8_t* scratch, uint8_t showLoadErrors) {
  const size_t pixelCount = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  uint8_t* rgba = scratch;
  if (pixelCount * 4 > kCutoutScratchBytes) {
    rgba = static_cast<uint8_t*>(std::malloc(pixelCount * 4));
    if (!rgba) {
      if (showLoadErrors != 0) showMessageBox("Error", "Out of memory.");
      return false;
    }
  }
  keyCutoutPixels(image.pixels, pixelCount, rgba);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               rgba);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  if (rgba != scratch) std::free(rgba);
  return true;
}

}  // namespace

void keyCutoutPixels(const uint8_t* rgb, size_t pixelCount, uint8_t* rgba) {
  for (size_t p = 0; p < pixelCount; ++p, rgb += 3, rgba += 4) {
    std::memcpy(rgba, rgb, 3);
    const bool keyed =
        rgb[0] == kCutoutKey[0] && rgb[1] == kCutoutKey[1] && rgb[2] == kCutoutKey[2];
    rgba[3] = keyed ? 0 : 255;
  }
}

void loadTextures(SceneState& state) {
  // One buffer serves both the cut-out conversion (256 x 256 x 4) and the
  // scaling of an odd-sized mipmapped picture (256 x 256 x 3).
  uint8_t* scratch = static_cast<uint8_t*>(std::malloc(kCutoutScratchBytes));

  GLint savedAlignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
  for (int i = 0; i < kTextureCount; ++i) {
    RgbImage*& image = state.imageSlots[i];
    image = loadDibImage(textureFileNames[i], state.showLoadErrors);
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
        made = uploadCutout(*image, scratch, state.showLoadErrors);
      } else {
        uploadMipmapped(*image, scratch);
        made = true;
      }
      glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
    }
    if (!made && state.showLoadErrors != 0) {
      std::fprintf(stderr, "Texture from %s left empty.\n", textureFileNames[i]);
    }
    freeRgbImage(image);
    image = nullptr;
  }
  std::free(scratch);
}
