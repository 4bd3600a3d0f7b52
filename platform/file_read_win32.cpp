// The Windows reader, with the POSIX one's contract. CreateFileW does not wait
// on a pipe (one with no server fails at once), and GetFileType tells a disk
// file from a pipe or a character device such as NUL or CON.
#include <algorithm>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "platform/file_read.h"
#include "platform/read_to_end.h"
#include "platform/win32_system.h"

namespace {

bool readSome(HANDLE file, uint8_t* into, size_t wanted, size_t& got, std::string& reason) {
  const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wanted, 1u << 30));
  DWORD n = 0;
  if (!ReadFile(file, into, chunk, &n, nullptr)) {
    reason = reasonForError(GetLastError());
    return false;
  }
  got = n;
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
      reason = tooLargeReason(maxBytes);
    } else {
      try {
        ok = readToEnd([file](uint8_t* into, size_t wanted, size_t& got,
                              std::string& why) { return readSome(file, into, wanted, got, why); },
                       static_cast<size_t>(size), maxBytes, bytes, reason);
      } catch (const std::bad_alloc&) {
        reason = reasonForError(ERROR_NOT_ENOUGH_MEMORY);
      }
    }
  }
  CloseHandle(file);
  return ok;
}
