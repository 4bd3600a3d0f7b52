// BMP headers: where the parts of a file are (readDibLayout), how many colours
// its table holds, and the loader's messages.
#include <cstring>

#include "image/byte_cursor.h"
#include "image/dib_decoder.h"
#include "image/dib_format.h"

namespace {

uint16_t colorCountByDepth(uint16_t bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

}  // namespace

const char* dibStatusMessage(DibStatus status) {
  switch (status) {
    case DibStatus::kOk:
      return "";
    case DibStatus::kOutOfMemory:
      return "Out of memory.";
    case DibStatus::kUnknownFormat:
      return "Unknown DIB file format.";
    case DibStatus::kConversionError:
      return "Image file conversion error.";
  }
  return "";
}

uint16_t dibColorCount(const uint8_t* header, size_t available) {
  ByteCursor cursor(header, available);
  if (cursor.u32() == kCoreHeaderSize) {
    cursor.seek(10);
    return colorCountByDepth(cursor.u16());
  }
  cursor.seek(32);
  if (uint32_t colorsUsed = cursor.u32(); colorsUsed != 0) {
    return static_cast<uint16_t>(colorsUsed & 0xFFFF);
  }
  cursor.seek(14);
  return colorCountByDepth(cursor.u16());
}

DibStatus readDibLayout(const uint8_t* file, size_t size, DibLayout* layout) {
  std::memset(layout, 0, sizeof *layout);
  ByteCursor cursor(file, size);
  bool pixelDataGiven = false;
  if (cursor.u16() == kFileMagic) {
    cursor.seek(10);
    layout->pixelData = cursor.u32();
    layout->fileHeaderSize = kFileHeaderSize;
    pixelDataGiven = true;
  }
  const uint32_t start = layout->fileHeaderSize;
  const uint8_t* infoHeader = start <= size ? file + start : file + size;
  layout->colorCount = dibColorCount(infoHeader, start <= size ? size - start : 0);

  cursor.seek(start);
  DibHeader& header = layout->header;
  layout->infoHeaderSize = cursor.u32();
  if (layout->infoHeaderSize == kCoreHeaderSize) {
    header.size = kInfoHeaderSize;
    header.width = cursor.u16();
    header.height = cursor.u16();
    header.planes = cursor.u16();
    header.bitCount = cursor.u16();
    header.colorsUsed = header.colorsImportant = layout->colorCount;
    layout->colorEntrySize = 3;
  } else if (layout->infoHeaderSize == kInfoHeaderSize) {
    header.size = kInfoHeaderSize;
    header.width = cursor.s32();
    header.height = cursor.s32();
    header.planes = cursor.u16();
    header.bitCount = cursor.u16();
    header.compression = cursor.u32();
    header.imageSize = cursor.u32();
    header.xPelsPerMeter = cursor.s32();
    header.yPelsPerMeter = cursor.s32();
    header.colorsUsed = cursor.u32();
    header.colorsImportant = cursor.u32();
    layout->colorEntrySize = 4;
  } else {
    return DibStatus::kUnknownFormat;
  }
  if (cursor.overrun()) return DibStatus::kUnknownFormat;

  // Bit-field masks sit between the header and the colour table.
  layout->colorTable = uint64_t{start} + layout->infoHeaderSize;
  if (layout->infoHeaderSize == kInfoHeaderSize && header.compression == kCompressionBitFields) {
    layout->hasMasks = true;
    for (uint32_t& mask : layout->masks) mask = cursor.u32();
    if (cursor.overrun()) return DibStatus::kConversionError;
    layout->colorTable += kMaskBytes;
  }
  if (!pixelDataGiven) {
    layout->pixelData = layout->colorTable + uint64_t{layout->colorEntrySize} * layout->colorCount;
  }

  if (header.imageSize == 0) {
    // Whole bytes per row, not 4-byte rows; computed in 32 bits, as stored.
    uint32_t rowBytes = (uint32_t{header.bitCount} * static_cast<uint32_t>(header.width) + 7) >> 3;
    header.imageSize = rowBytes * static_cast<uint32_t>(header.height);
  }
  if (header.colorsUsed == 0) header.colorsUsed = layout->colorCount;
  return DibStatus::kOk;
}
