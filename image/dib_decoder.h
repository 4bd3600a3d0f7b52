// Our own decoder for BMP files (device-independent bitmaps) held in memory.
// Header sizes 12 and 40 only; 1-, 4-, 8-, 16-, 24- and 32-bit pixels, RLE8,
// RLE4 and bit-field masks; bottom-up and top-down rows. Every read goes through
// a ByteCursor, and every size is checked against the file and against
// kMaxPixelBytes before anything is allocated.
//
// Known limits: pixels outside an RLE image's runs (skipped by a delta or an
// early end of line) come out black; a palette index beyond the colour table
// comes out black; alpha in 32-bit files is ignored.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/rgb_image.h"

// What went wrong, in the loader's own terms; the message box shows the text.
enum class DibStatus { kOk, kOutOfMemory, kUnknownFormat, kConversionError };
const char* dibStatusMessage(DibStatus status);

// Larger pictures are refused as "Out of memory." rather than attempted; the
// scene's textures are 256 x 256.
inline constexpr uint64_t kMaxPixelBytes = uint64_t{1} << 28;

// The info header in its 40-byte form, whichever form the file has.
struct DibHeader {
  uint32_t size;
  int32_t width;
  int32_t height;  // negative: rows stored top-down
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  uint32_t imageSize;    // bytes; 0 in the file is replaced by the packed row size x height
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t colorsUsed;  // 0 in the file is replaced by the colour-table length
  uint32_t colorsImportant;
};

// Where the parts of a file are, as byte offsets from the start of the file.
// Offsets may point past the end; the decoder checks them before reading.
struct DibLayout {
  DibHeader header;
  uint32_t fileHeaderSize;  // 14 for a file starting "BM", else 0
  uint32_t infoHeaderSize;  // 12 or 40, as stored
  uint16_t colorCount;      // colour-table entries, per dibColorCount
  uint32_t colorEntrySize;  // 3 behind a 12-byte header, 4 behind a 40-byte one
  uint64_t colorTable;
  uint64_t pixelData;
  bool hasMasks;      // bit-field compression: three masks behind the 40-byte header
  uint32_t masks[3];  // red, green, blue
};

// Number of colour-table entries for the info header at `header` (of which
// `available` bytes exist): by depth for a 12-byte header (1: 2, 4: 16, 8: 256,
// else 0); otherwise the low 16 bits of colours used, or by depth when that is 0.
uint16_t dibColorCount(const uint8_t* header, size_t available);

// Parses the headers: kUnknownFormat when the info header is neither 12 nor
// 40 bytes or does not fit in the file; otherwise kOk and `layout` filled in.
DibStatus readDibLayout(const uint8_t* file, size_t size, DibLayout* layout);

// Decodes a whole file. On kOk `*image` is a new picture, bottom row first,
// with positive width and height; otherwise it is null.
DibStatus decodeDib(const uint8_t* file, size_t size, RgbImage** image);
