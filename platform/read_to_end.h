// The read loop the file readers of every system share: it reads to the end of
// a file that may have grown or shrunk since it was measured, and refuses one
// that turns out larger than the limit after one byte beyond it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

inline std::string tooLargeReason(size_t maxBytes) {
  return "larger than " + std::to_string(maxBytes) + " bytes";
}

// `readSome(into, wanted, got, reason)` reads at most `wanted` bytes, sets
// `got` (0 at the end of the file) and returns false with a reason on failure.
template <typename ReadSome>
bool readToEnd(ReadSome readSome, size_t expected, size_t maxBytes, std::vector<uint8_t>& bytes,
               std::string& reason) {
  const size_t limit = maxBytes < SIZE_MAX ? maxBytes + 1 : maxBytes;
  std::vector<uint8_t> read(expected < limit ? expected + 1 : limit);
  size_t filled = 0;
  for (;;) {
    if (filled == read.size()) {
      if (filled == limit) {
        reason = tooLargeReason(maxBytes);
        return false;
      }
      const size_t grow = std::max<size_t>(filled, 4096);
      read.resize(filled + std::min(grow, limit - filled));
    }
    size_t got = 0;
    if (!readSome(read.data() + filled, read.size() - filled, got, reason)) return false;
    if (got == 0) break;
    filled += got;
  }
  read.resize(filled);
  bytes = std::move(read);
  return true;
}
