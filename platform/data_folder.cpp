#include "platform/data_folder.h"

#include <filesystem>

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
