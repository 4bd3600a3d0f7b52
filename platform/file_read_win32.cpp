// The Windows reader, with the POSIX one's contract. CreateFileW does not wait
// on a pipe (one with no server fails at once), and GetFileType tells a disk
// file from a pipe or a character device such as NUL or CON.
#include <algorithm>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "platform/file_read.h"
#include "platform/win32_system.h"

namespace {

std::string tooLarge(size_t maxBytes) {
  return "larger than " + std::to_string(maxBytes) + " bytes";
}

// Reads to the end of the file, which may have grown or shrunk since it was
// measured; one byte beyond the limit is enough to tell one that is too large.
bool readToEnd(HANDLE file, size_t expected, size_t maxBytes, std::vector<uint8_t>& bytes,
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
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(read.size() - filled, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file, read.data() + filled, chunk, &got, nullptr)) {
      reason = reasonForError(GetLastError());
      return false;
    }
    if (got == 0) break;
    filled += got;
  }
  read.resize(filled);
  bytes = std::move(read);
  return true;
}

}  // namespace

bool readRegularFile(const char* path, size_t maxBytes, std::vector<uint8_t>& bytes,
                     std::string& reason) {
  const std::wstring wide = widenPath(path);
  if (wide.empty()) {
    reason = reasonForError(ERROR_INVALID_NAME);
    return false;
  }
  // Backup semantics let a directory open, so that it is refused by its kind.
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = reasonForError(GetLastError());
    return false;
  }
  bool ok = false;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    reason = "not a regular file";
  } else if (!GetFileInformationByHandle(file, &info)) {
    reason = reasonForError(GetLastError());
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    reason = "not a regular file";
  } else {
    const uint64_t size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    if (size > maxBytes) {
      reason = tooLarge(maxBytes);
    } else {
      try {
        ok = readToEnd(file, static_cast<size_t>(size), maxBytes, bytes, reason);
      } catch (const std::bad_alloc&) {
        reason = reasonForError(ERROR_NOT_ENOUGH_MEMORY);
      }
    }
  }
  CloseHandle(file);
  return ok;
}
