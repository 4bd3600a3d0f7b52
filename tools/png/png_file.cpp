#include "tools/png/png_file.h"

#include <png.h>

#include <cstring>

#include "platform/file_read.h"
#include "platform/file_write.h"

namespace {

constexpr size_t kMaxPngFileBytes = size_t{256} << 20;

// Negative: the first row in memory is the bottom one.
png_int_32 bottomUpStride(int width) {
  return -static_cast<png_int_32>(width) * 3;
}

}  // namespace

bool encodePng(const uint8_t* pixels, int width, int height, int channels, int rowStride,
               std::vector<uint8_t>& png, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  png.resize(PNG_IMAGE_PNG_SIZE_MAX(image));
  png_alloc_size_t size = png.size();
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, pixels, rowStride, nullptr)) {
    error = image.message;
    png_image_free(&image);
    png.clear();
    return false;
  }
  png.resize(size);
  return true;
}

bool writePng(const std::string& path, const RgbPicture& picture, std::string& error) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height * 3) {
    error = "picture has no pixels or the wrong number of them";
    return false;
  }
  // Encoded in memory first: the file is then replaced in one step, never
  // left half-written or removed.
  std::vector<uint8_t> encoded;
  if (!encodePng(picture.pixels.data(), picture.width, picture.height, 3,
                 bottomUpStride(picture.width), encoded, error)) {
    return false;
  }
  return replaceFile(path.c_str(), encoded.data(), encoded.size(), error);
}

bool readPng(const std::string& path, RgbPicture& picture, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  std::vector<uint8_t> file;
  if (!readRegularFile(path.c_str(), kMaxPngFileBytes, file, error)) return false;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) {
    error = image.message;
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  RgbPicture read;
  read.width = static_cast<int>(image.width);
  read.height = static_cast<int>(image.height);
  read.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, read.pixels.data(), bottomUpStride(read.width),
                             nullptr)) {
    error = image.message;
    png_image_free(&image);
    return false;
  }
  picture = std::move(read);
  return true;
}
