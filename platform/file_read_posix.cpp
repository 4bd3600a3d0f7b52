#include "platform/file_read.h"
#include "platform/read_to_end.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

bool readSome(int file, uint8_t* into, size_t wanted, size_t& got, std::string& reason) {
  for (;;) {
    const ssize_t n = ::read(file, into, wanted);
    if (n >= 0) {
      got = static_cast<size_t>(n);
      return true;
    }
    if (errno != EINTR) {
      reason = std::strerror(errno);
      return false;
    }
  }
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
    reason = tooLargeReason(maxBytes);
  } else {
    // A large file within the limit may still not fit in memory: a reason,
    // not the end of the program.
    try {
      ok = readToEnd([file](uint8_t* into, size_t wanted, size_t& got,
                            std::string& why) { return readSome(file, into, wanted, got, why); },
                     static_cast<size_t>(info.st_size), maxBytes, bytes, reason);
    } catch (const std::bad_alloc&) {
      reason = std::strerror(ENOMEM);
    }
  }
  close(file);
  return ok;
}
