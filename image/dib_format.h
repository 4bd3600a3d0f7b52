// The fixed numbers of the BMP file format that both the header parser and the
// decoder read by.
#pragma once

#include <cstdint>

inline constexpr uint16_t kFileMagic = 0x4D42;  // "BM"
inline constexpr uint32_t kFileHeaderSize = 14;
inline constexpr uint32_t kCoreHeaderSize = 12;
inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr uint32_t kMaskBytes = 12;

inline constexpr uint32_t kCompressionNone = 0;
inline constexpr uint32_t kCompressionRle8 = 1;
inline constexpr uint32_t kCompressionRle4 = 2;
inline constexpr uint32_t kCompressionBitFields = 3;
