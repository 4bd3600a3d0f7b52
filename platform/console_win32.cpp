// Joining the console of the program that started this one (cmd, PowerShell).
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/console.h"

namespace {

struct Stream {
  DWORD id;
  FILE* file;
  int descriptor;
  const char* device;
  const char* mode;
};

bool isOpen(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

bool useParentConsole() {
  // Only the output streams: the program reads nothing from standard input.
  const Stream streams[] = {
      {STD_OUTPUT_HANDLE, stdout, 1, "CONOUT$", "w"},
      {STD_ERROR_HANDLE, stderr, 2, "CONOUT$", "w"},
  };
  // Asked before joining, which hands the console to every standard handle:
  // a stream already pointed at a file or pipe keeps it.
  bool redirected[2];
  for (int i = 0; i < 2; ++i) redirected[i] = isOpen(GetStdHandle(streams[i].id));
  if (redirected[0] && redirected[1]) return true;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return redirected[1];
  // In order, so that each reopened stream gets back its own descriptor.
  for (int i = 0; i < 2; ++i) {
    if (redirected[i]) continue;
    const Stream& stream = streams[i];
    if (!std::freopen(stream.device, stream.mode, stream.file)) continue;
    if (_fileno(stream.file) != stream.descriptor) {
      _dup2(_fileno(stream.file), stream.descriptor);
    }
  }
  return true;
}
