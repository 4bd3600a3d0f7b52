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
  const std::string buildTree = exeFolder + "assets" + kPathSeparator;
  if (std::filesystem::is_directory(utf8Path(buildTree), error)) return buildTree;
  // The folder's own name: the last part before the closing separator.
  const bool inGames = utf8Path(exeFolder).parent_path().filename() == "games";
  const char* share = inGames ? "../share/games/quibbix/" : "../share/quibbix/";
  // Normal form writes every separator as the system's own.
  return utf8String(utf8Path(exeFolder + share).lexically_normal().u8string());
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
