// The executable's folder on Windows, from the module's own path.
#include <windows.h>

#include <filesystem>
#include <vector>

#include "platform/data_folder.h"
#include "platform/win32_system.h"

std::string executableFolder(std::string* whyNot) {
  // The module's path in UTF-8, with Windows' own backslash between its parts.
  std::vector<wchar_t> wide(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (length == 0) {
      if (whyNot) *whyNot = "GetModuleFileNameW: " + reasonForError(GetLastError());
      return {};
    }
    if (length < wide.size()) {
      const std::u8string utf8 =
          std::filesystem::path(std::wstring(wide.data(), length)).make_preferred().u8string();
      const std::string path(utf8.begin(), utf8.end());
      const size_t slash = path.rfind(kPathSeparator);
      return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    if (wide.size() >= 32768) {
      if (whyNot) *whyNot = "GetModuleFileNameW: the path is too long";
      return {};
    }
    wide.resize(wide.size() * 2);
  }
}
