#include "platform/data_folder.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <unistd.h>
#endif

#include <filesystem>
#include <vector>

namespace {

// Our paths are UTF-8 on every system; a std::string alone would be taken in
// Windows' ANSI code page.
std::filesystem::path utf8Path(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string utf8String(const std::u8string& text) {
  return std::string(text.begin(), text.end());
}

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(utf8Path(path), error);
}

}  // namespace

std::string executableFolder() {
#if defined(__linux__)
  // The link's target can be longer than any fixed buffer; grow until it fits.
  std::vector<char> target(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", target.data(), target.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < target.size()) {
      const std::string path(target.data(), static_cast<size_t>(length));
      const size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    if (target.size() >= (size_t{1} << 20)) return {};
    target.resize(target.size() * 2);
  }
#elif defined(_WIN32)
  // The module's path in UTF-8 with '/' between its parts, like the rest.
  std::vector<wchar_t> wide(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (length == 0) return {};
    if (length < wide.size()) {
      const std::string path =
          utf8String(std::filesystem::path(std::wstring(wide.data(), length)).generic_u8string());
      const size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    if (wide.size() >= 32768) return {};
    wide.resize(wide.size() * 2);
  }
#else
  return {};
#endif
}

std::string dataFolderFor(const std::string& exeFolder) {
  if (exeFolder.empty()) return {};
  std::error_code error;
  const std::string buildTree = exeFolder + "assets/";
  if (std::filesystem::is_directory(utf8Path(buildTree), error)) return buildTree;
  return utf8String(
      utf8Path(exeFolder + "../share/quibbix/").lexically_normal().generic_u8string());
}

const std::string& programDataFolder() {
  static const std::string folder = dataFolderFor(executableFolder());
  return folder;
}

std::string findDataFile(const char* name, const std::string& dataFolder) {
  if (exists(name) || dataFolder.empty()) return name;
  const std::string installed = dataFolder + name;
  return exists(installed) ? installed : std::string(name);
}

std::string findDataFile(const char* name) {
  return findDataFile(name, programDataFolder());
}
