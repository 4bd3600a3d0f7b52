// Shared by the asset tests: where the build put the files, and reading them.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "image/dib_loader.h"
#include "scene/scene_files.h"
#include "tools/assets/canvas.h"

inline std::string builtAsset(const char* name) {
  return std::string(QUIBBIX_BINARY_DIR) + "/assets/" + name;
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct FreeRgbImage {
  void operator()(RgbImage* image) const { freeRgbImage(image); }
};
using ImagePtr = std::unique_ptr<RgbImage, FreeRgbImage>;

// Through the project's own loader, with its message box kept quiet.
inline ImagePtr loadPicture(const std::string& path) {
  return ImagePtr(loadDibImage(path.c_str(), 0));
}

inline assets::Rgb8 pixelOf(const RgbImage& image, int x, int y) {
  const uint8_t* p = image.pixels + (size_t(y) * size_t(image.width) + size_t(x)) * 3;
  return {p[0], p[1], p[2]};
}

inline uint32_t readLe(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes.at(at + size_t(i));
  return v;
}
