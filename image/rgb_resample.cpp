#include "image/rgb_resample.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

constexpr int kFractionBits = 16;
constexpr int64_t kOne = int64_t{1} << kFractionBits;

// Where output pixel i's centre falls in the source, as a lower index and a
// weight for the next one (0 .. kOne-1), clamped at the edges.
struct Tap {
  int32_t low;
  int32_t high;
  int64_t weight;
};

std::vector<Tap> taps(int32_t fromSize, int32_t toSize) {
  std::vector<Tap> result(static_cast<size_t>(toSize));
  for (int32_t i = 0; i < toSize; ++i) {
    int64_t position = (2 * int64_t{i} + 1) * fromSize * kOne / (2 * int64_t{toSize}) - kOne / 2;
    if (position < 0) position = 0;
    int64_t last = (int64_t{fromSize} - 1) * kOne;
    if (position > last) position = last;
    Tap& tap = result[static_cast<size_t>(i)];
    tap.low = static_cast<int32_t>(position >> kFractionBits);
    tap.high = tap.low + 1 < fromSize ? tap.low + 1 : tap.low;
    tap.weight = position & (kOne - 1);
  }
  return result;
}

}  // namespace

void resampleRgb(const uint8_t* from, int32_t fromWidth, int32_t fromHeight, uint8_t* to,
                 int32_t toWidth, int32_t toHeight) {
  const std::vector<Tap> columns = taps(fromWidth, toWidth);
  const std::vector<Tap> rows = taps(fromHeight, toHeight);
  const size_t fromStride = static_cast<size_t>(fromWidth) * 3;
  for (const Tap& row : rows) {
    const uint8_t* low = from + static_cast<size_t>(row.low) * fromStride;
    const uint8_t* high = from + static_cast<size_t>(row.high) * fromStride;
    for (const Tap& column : columns) {
      for (int c = 0; c < 3; ++c) {
        const size_t left = static_cast<size_t>(column.low) * 3 + c;
        const size_t right = static_cast<size_t>(column.high) * 3 + c;
        int64_t top = low[left] * (kOne - column.weight) + low[right] * column.weight;
        int64_t bottom = high[left] * (kOne - column.weight) + high[right] * column.weight;
        int64_t value = top * (kOne - row.weight) + bottom * row.weight;
        *to++ = static_cast<uint8_t>((value + (kOne * kOne) / 2) >> (2 * kFractionBits));
      }
    }
  }
}

void pickNearestRgb(const uint8_t* from, int32_t fromWidth, int32_t fromHeight, uint8_t* to,
                    int32_t toWidth, int32_t toHeight) {
  const size_t fromStride = static_cast<size_t>(fromWidth) * 3;
  for (int32_t y = 0; y < toHeight; ++y) {
    const int64_t row = (2 * int64_t{y} + 1) * fromHeight / (2 * int64_t{toHeight});
    const uint8_t* source = from + static_cast<size_t>(row) * fromStride;
    for (int32_t x = 0; x < toWidth; ++x) {
      const int64_t column = (2 * int64_t{x} + 1) * fromWidth / (2 * int64_t{toWidth});
      std::memcpy(to, source + static_cast<size_t>(column) * 3, 3);
      to += 3;
    }
  }
}

void halveRgb(const uint8_t* from, int32_t width, int32_t height, uint8_t* to) {
  // A side of 1 reads its one row or column twice, which weighs it the same.
  const size_t stepX = width > 1 ? 3 : 0;
  const size_t stepY = height > 1 ? static_cast<size_t>(width) * 3 : 0;
  const int32_t toWidth = width > 1 ? width / 2 : 1;
  const int32_t toHeight = height > 1 ? height / 2 : 1;
  for (int32_t y = 0; y < toHeight; ++y) {
    const uint8_t* row = from + static_cast<size_t>(y) * 2 * stepY;
    for (int32_t x = 0; x < toWidth; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * 2 * stepX;
      for (int c = 0; c < 3; ++c) {
        const int sum = p[c] + p[c + stepX] + p[c + stepY] + p[c + stepX + stepY];
        *to++ = static_cast<uint8_t>((sum + 2) / 4);
      }
    }
  }
}
