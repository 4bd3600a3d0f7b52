// Reads little-endian values from a block of memory without ever leaving it.
// A read past the end yields 0 (or null for a span) and marks the cursor as
// overrun, so a decoder can read a whole header first and check once.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteCursor {
 public:
  ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // Positions past the end are allowed; reads from there fail.
  void seek(size_t position) { position_ = position; }
  void skip(size_t count) { position_ = count > remaining() ? size_ + 1 : position_ + count; }
  size_t position() const { return position_; }
  size_t remaining() const { return size_ - clampedPosition(); }
  bool overrun() const { return overrun_; }

  uint8_t u8() {
    const uint8_t* bytes = take(1);
    return bytes ? bytes[0] : 0;
  }
  uint16_t u16() {
    const uint8_t* bytes = take(2);
    return bytes ? static_cast<uint16_t>(bytes[0] | bytes[1] << 8) : 0;
  }
  uint32_t u32() {
    const uint8_t* bytes = take(4);
    if (!bytes) return 0;
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  }
  int32_t s32() { return static_cast<int32_t>(u32()); }

  // The next `count` bytes, or null when fewer are left (the position then
  // stays where it was).
  const uint8_t* take(size_t count) {
    if (position_ > size_ || count > size_ - position_) {
      overrun_ = true;
      return nullptr;
    }
    const uint8_t* bytes = data_ + position_;
    position_ += count;
    return bytes;
  }

 private:
  size_t clampedPosition() const { return position_ < size_ ? position_ : size_; }

  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool overrun_ = false;
};
