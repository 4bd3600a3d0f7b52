// Fuzz target over the BMP decoder: any bytes must give a picture of the
// header's size or a status, without reading outside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/dib_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DibLayout layout;
  const bool parsed = readDibLayout(data, size, &layout) == DibStatus::kOk;
  (void)dibColorCount(data, size);

  RgbImage* image = nullptr;
  const DibStatus status = decodeDib(data, size, &image);
  if ((status == DibStatus::kOk) != (image != nullptr)) std::abort();
  if (image) {
    const int32_t height = layout.header.height < 0 ? -layout.header.height : layout.header.height;
    if (!parsed || image->width != layout.header.width || image->height != height) std::abort();
    // The first and the last byte: a block smaller than width x height x 3
    // shows as an overflow, without walking a quarter gigabyte per input.
    const size_t bytes = size_t(image->width) * size_t(image->height) * 3;
    volatile uint8_t ends = image->pixels[0] ^ image->pixels[bytes - 1];
    (void)ends;
    freeRgbImage(image);
  }
  return 0;
}
