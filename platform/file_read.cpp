#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

std::string tooLarge(size_t maxBytes) {
  return "larger than " + std::to_string(maxBytes) + " bytes";
}

// Reads to the end of the file, which may have grown or shrunk since it was
// measured; one byte beyond the limit is enough to tell one that is too large.
bool readToEnd(int file, size_t expected, size_t maxBytes, std::vector<uint8_t>& bytes,
               std::string& reason) {
  const size_t limit = maxBytes < SIZE_MAX ? maxBytes + 1 : maxBytes;
  std::vector<uint8_t> read(expected < limit ? expected + 1 : limit);
  size_t filled = 0;
  for (;;) {
    if (filled == read.size()) {
      if (filled == limit) {
        reason = tooLarge(maxBytes);
        return false;
      }
      const size_t grow = std::max<size_t>(filled, 4096);
      read.resize(filled + std::min(grow, limit - filled));
    }
    const ssize_t got = ::read(file, read.data() + filled, read.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      reason = std::strerror(errno);
      return false;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  read.resize(filled);
  bytes = std::move(read);
  return true;
}

}  // namespace

bool readRegularFile(const char* path, size_t maxBytes, std::vector<uint8_t>& bytes,
                     std::string& reason) {
  // O_NONBLOCK: opening a pipe with no writer would otherwise wait for one.
  const int file = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (file < 0) {
    reason = std::strerror(errno);
    return false;
  }
  bool ok = false;
  struct stat info;
  if (fstat(file, &info) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    reason = "not a regular file";
  } else if (static_cast<uint64_t>(info.st_size) > maxBytes) {
    reason = tooLarge(maxBytes);
  } else {
    // A large file within the limit may still not fit in memory: a reason,
    // not the end of the program.
    try {
      ok = readToEnd(file, static_cast<size_t>(info.st_size), maxBytes, bytes, reason);
    } catch (const std::bad_alloc&) {
      reason = std::strerror(ENOMEM);
    }
  }
  close(file);
  return ok;
}
