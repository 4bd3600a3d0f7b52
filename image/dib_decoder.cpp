// BMP decoding: parse the headers (readDibLayout, in dib_header.cpp), validate
// everything against the file, allocate once, then decode rows straight into
// the packed RGB result.
#include "image/dib_decoder.h"

#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "image/byte_cursor.h"
#include "image/dib_format.h"

namespace {

struct Rgb {
  uint8_t red, green, blue;
};

bool isDepthAllowed(const DibLayout& layout) {
  const DibHeader& header = layout.header;
  switch (header.compression) {
    case kCompressionNone:
      switch (header.bitCount) {
        case 1:
        case 4:
        case 8:
        case 24:
          return true;
        // The core header predates 16- and 32-bit pixels.
        case 16:
        case 32:
          return layout.infoHeaderSize == kInfoHeaderSize;
        default:
          return false;
      }
    case kCompressionRle8:
      return header.bitCount == 8;
    case kCompressionRle4:
      return header.bitCount == 4;
    case kCompressionBitFields:
      return header.bitCount == 16 || header.bitCount == 32;
    default:
      return false;
  }
}

// One colour channel of a 16- or 32-bit pixel, widened (or narrowed) to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  // Masks must be one run of set bits; an empty mask gives a channel of 0.
  bool set(uint32_t newMask) {
    mask = newMask;
    if (mask == 0) return true;
    shift = std::countr_zero(mask);
    bits = std::popcount(mask);
    return (mask >> shift) == (bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1);
  }

  uint8_t extract(uint32_t pixel) const {
    if (mask == 0) return 0;
    uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    uint32_t top = (1u << bits) - 1;
    return static_cast<uint8_t>((value * 255 + top / 2) / top);
  }
};

// Everything a row decoder needs, decided before the pixels are allocated.
struct DecodePlan {
  const DibLayout* layout;
  int32_t width;
  int32_t rows;
  bool topDown;
  Rgb palette[256];  // entries beyond the file's table stay black
  Channel channels[3];
  uint64_t stride;  // source bytes per row, padded to 4
};

uint8_t* outputRow(const DecodePlan& plan, uint8_t* pixels, int32_t fileRow) {
  int32_t row = plan.topDown ? plan.rows - 1 - fileRow : fileRow;
  return pixels + static_cast<size_t>(row) * static_cast<size_t>(plan.width) * 3;
}

void putIndex(const DecodePlan& plan, uint8_t* out, unsigned index) {
  const Rgb& color = plan.palette[index & 0xFF];
  out[0] = color.red;
  out[1] = color.green;
  out[2] = color.blue;
}

void decodeUncompressed(const DecodePlan& plan, ByteCursor& cursor, uint8_t* pixels) {
  const uint16_t bitCount = plan.layout->header.bitCount;
  const size_t rowBytes = (static_cast<size_t>(plan.width) * bitCount + 7) / 8;
  for (int32_t fileRow = 0; fileRow < plan.rows; ++fileRow) {
    cursor.seek(plan.layout->pixelData + fileRow * plan.stride);
    const uint8_t* in = cursor.take(rowBytes);
    if (!in) return;  // ruled out by the size check before allocation
    uint8_t* out = outputRow(plan, pixels, fileRow);
    for (int32_t x = 0; x < plan.width; ++x, out += 3) {
      switch (bitCount) {
        case 1:
          putIndex(plan, out, (in[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          putIndex(plan, out, (in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
          break;
        case 8:
          putIndex(plan, out, in[x]);
          break;
        case 24:
          out[0] = in[3 * x + 2];
          out[1] = in[3 * x + 1];
          out[2] = in[3 * x];
          break;
        case 16:
        case 32: {
          uint32_t value;
          if (bitCount == 16) {
            value = in[2 * x] | in[2 * x + 1] << 8;
          } else {
            const uint8_t* p = in + 4 * x;
            value = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
          }
          out[0] = plan.channels[0].extract(value);
          out[1] = plan.channels[1].extract(value);
          out[2] = plan.channels[2].extract(value);
          break;
        }
      }
    }
  }
}

// RLE8 and RLE4 streams, bottom-up only. Any run that leaves the picture, and
// a stream that ends without its end-of-bitmap code, make the file invalid.
bool decodeRle(const DecodePlan& plan, ByteCursor& cursor, uint8_t* pixels) {
  const bool nibbles = plan.layout->header.compression == kCompressionRle4;
  cursor.seek(plan.layout->pixelData);
  int64_t x = 0, y = 0;
  auto put = [&](unsigned index) {
    if (x >= plan.width || y >= plan.rows) return false;
    putIndex(plan, outputRow(plan, pixels, static_cast<int32_t>(y)) + 3 * x, index);
    ++x;
    return true;
  };
  for (;;) {
    const uint8_t* pair = cursor.take(2);
    if (!pair) return false;
    unsigned count = pair[0], code = pair[1];
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) {
        unsigned index = nibbles ? ((i & 1) ? code & 0xF : code >> 4) : code;
        if (!put(index)) return false;
      }
      continue;
    }
    switch (code) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2: {  // delta
        const uint8_t* delta = cursor.take(2);
        if (!delta) return false;
        x += delta[0];
        y += delta[1];
        if (x > plan.width || y > plan.rows) return false;
        break;
      }
      default: {  // literal run, padded to a 16-bit boundary
        size_t bytes = nibbles ? (code + 1) / 2 : code;
        const uint8_t* literal = cursor.take(bytes + (bytes & 1));
        if (!literal) return false;
        for (unsigned i = 0; i < code; ++i) {
          unsigned index =
              nibbles ? ((i & 1) ? literal[i / 2] & 0xF : literal[i / 2] >> 4) : literal[i];
          if (!put(index)) return false;
        }
        break;
      }
    }
  }
}

// Checks everything that does not need the pixels themselves.
DibStatus planDecode(const uint8_t* file, size_t size, const DibLayout& layout, DecodePlan* plan) {
  const DibHeader& header = layout.header;
  if (header.planes != 1 || !isDepthAllowed(layout)) return DibStatus::kConversionError;
  if (header.width <= 0 || header.height == 0 || header.height == INT32_MIN) {
    return DibStatus::kConversionError;
  }
  plan->layout = &layout;
  plan->width = header.width;
  plan->topDown = header.height < 0;
  plan->rows = plan->topDown ? -header.height : header.height;
  const bool compressed =
      header.compression == kCompressionRle8 || header.compression == kCompressionRle4;
  // Run-length codes always run bottom-up.
  if (compressed && plan->topDown) return DibStatus::kConversionError;

  const uint64_t outputBytes =
      uint64_t{static_cast<uint32_t>(plan->width)} * static_cast<uint32_t>(plan->rows) * 3;
  if (outputBytes > kMaxPixelBytes) return DibStatus::kOutOfMemory;

  std::memset(plan->palette, 0, sizeof plan->palette);
  if (header.bitCount <= 8) {
    ByteCursor table(file, size);
    table.seek(layout.colorTable);
    unsigned used = layout.colorCount;
    if (used > (1u << header.bitCount)) used = 1u << header.bitCount;
    for (unsigned i = 0; i < used; ++i) {
      const uint8_t* entry = table.take(layout.colorEntrySize);
      if (!entry) return DibStatus::kConversionError;
      plan->palette[i] = {entry[2], entry[1], entry[0]};
    }
  }

  if (header.bitCount == 16 || header.bitCount == 32) {
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (header.bitCount == 32) {
      masks[0] = 0xFF0000;
      masks[1] = 0x00FF00;
      masks[2] = 0x0000FF;
    }
    if (layout.hasMasks) std::memcpy(masks, layout.masks, sizeof masks);
    for (int c = 0; c < 3; ++c) {
      if (!plan->channels[c].set(masks[c])) return DibStatus::kConversionError;
    }
  }

  plan->stride = (uint64_t{static_cast<uint32_t>(plan->width)} * header.bitCount + 31) / 32 * 4;
  if (!compressed) {
    // The last row may go without its padding.
    const uint64_t rowBytes =
        (uint64_t{static_cast<uint32_t>(plan->width)} * header.bitCount + 7) / 8;
    const uint64_t needed = plan->stride * (plan->rows - 1) + rowBytes;
    if (layout.pixelData > size || needed > size - layout.pixelData) {
      return DibStatus::kConversionError;
    }
  } else if (layout.pixelData > size) {
    return DibStatus::kConversionError;
  }
  return DibStatus::kOk;
}

}  // namespace

DibStatus decodeDib(const uint8_t* file, size_t size, RgbImage** image) {
  *image = nullptr;
  DibLayout layout;
  DibStatus status = readDibLayout(file, size, &layout);
  if (status != DibStatus::kOk) return status;
  DecodePlan plan;
  status = planDecode(file, size, layout, &plan);
  if (status != DibStatus::kOk) return status;

  const size_t pixelBytes = static_cast<size_t>(plan.width) * static_cast<size_t>(plan.rows) * 3;
  const bool compressed = layout.header.compression == kCompressionRle8 ||
                          layout.header.compression == kCompressionRle4;
  // Run-length images may leave pixels out; those stay black.
  uint8_t* pixels =
      static_cast<uint8_t*>(compressed ? std::calloc(pixelBytes, 1) : std::malloc(pixelBytes));
  if (!pixels) return DibStatus::kOutOfMemory;

  ByteCursor cursor(file, size);
  if (compressed) {
    if (!decodeRle(plan, cursor, pixels)) {
      std::free(pixels);
      return DibStatus::kConversionError;
    }
  } else {
    decodeUncompressed(plan, cursor, pixels);
  }

  RgbImage* record = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
  if (!record) {
    std::free(pixels);
    return DibStatus::kOutOfMemory;
  }
  record->width = plan.width;
  record->height = plan.rows;
  record->pixels = pixels;
  *image = record;
  return DibStatus::kOk;
}

void freeRgbImage(RgbImage* image) {
  if (!image) return;
  std::free(image->pixels);
  std::free(image);
}
