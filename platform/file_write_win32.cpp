// The Windows writer, with the POSIX one's contract: the bytes go to a new
// file in the target's folder, flushed, which then replaces the target in one
// MoveFileExW. A name that opens as anything but a disk file (NUL, a pipe, a
// directory) is refused before anything is written. The new file takes the
// folder's permissions, as Windows gives every new file.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/file_write.h"
#include "platform/win32_system.h"

namespace {

// True for a target that does not exist yet or is a disk file.
bool checkTarget(const std::wstring& path, std::string& reason) {
  HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return true;
    reason = reasonForError(error);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
            !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (!ok) reason = "not a regular file";
  CloseHandle(file);
  return ok;
}

bool writeAll(HANDLE file, const uint8_t* data, size_t size, std::string& reason) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) {
      reason = reasonForError(GetLastError());
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

bool canReplaceFile(const char* path, std::string& reason) {
  const std::wstring wide = widenPath(path);
  if (wide.empty()) {
    reason = reasonForError(ERROR_INVALID_NAME);
    return false;
  }
  return checkTarget(wide, reason);
}

bool replaceFile(const char* path, const uint8_t* data, size_t size, std::string& reason) {
  const std::wstring target = widenPath(path);
  if (target.empty()) {
    reason = reasonForError(ERROR_INVALID_NAME);
    return false;
  }
  if (!checkTarget(target, reason)) return false;

  // The new file sits in the target's folder, so that the move cannot cross
  // volumes; its name is cut short to leave room for the suffix.
  const size_t slash = target.find_last_of(L"/\\:");
  const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  const std::wstring name = target.substr(slash == std::wstring::npos ? 0 : slash + 1);
  static std::atomic<unsigned> serial{0};
  std::wstring scratch;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    scratch = folder + L"." + name.substr(0, 200) + L"." + std::to_wstring(GetCurrentProcessId()) +
              L"-" + std::to_wstring(serial++);
    file = CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    reason = reasonForError(GetLastError());
    return false;
  }
  bool ok = writeAll(file, data, size, reason);
  // Some file systems report a full disk only when the data is flushed.
  if (ok && !FlushFileBuffers(file)) {
    reason = reasonForError(GetLastError());
    ok = false;
  }
  CloseHandle(file);
  if (ok && !MoveFileExW(scratch.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    reason = reasonForError(GetLastError());
    ok = false;
  }
  if (!ok) DeleteFileW(scratch.c_str());
  return ok;
}
