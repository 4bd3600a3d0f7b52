// The Windows writer of short lines: the descriptor's handle is written only
// if that cannot wait. A pipe is switched to the no-wait mode, in which a full
// pipe takes nothing; files and consoles take their bytes at once. Windows
// has no SIGPIPE: a pipe whose reader has gone fails the write.
#include <io.h>

#include "platform/text_output.h"
#include "platform/win32_system.h"

bool writeWithoutBlocking(int fd, std::string_view text) {
  const intptr_t osHandle = _get_osfhandle(fd);
  if (osHandle == -1 || osHandle == -2) return false;  // closed, or no console
  HANDLE handle = reinterpret_cast<HANDLE>(osHandle);
  const DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_UNKNOWN) return false;
  if (type == FILE_TYPE_PIPE) {
    DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
    if (!SetNamedPipeHandleState(handle, &mode, nullptr, nullptr)) return false;
  }
  DWORD written = 0;
  if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
    return false;
  }
  return written == text.size();
}
