#include "platform/data_folder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Our paths are UTF-8 on every system; a std::string alone would be taken in
// Windows' ANSI code page.
std::filesystem::path utf8Path(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string utf8String(const std::u8string& text) {
  return std::string(text.begin(), text.end());
}

// Empty when `path` names an entry, even a broken link; else the system's
// reason why not.
std::string whyNoEntry(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status =
      std::filesystem::symlink_status(utf8Path(path), error);
  if (error) return error.message();
  if (status.type() == std::filesystem::file_type::not_found) {
    return std::make_error_code(std::errc::no_such_file_or_directory).message();
  }
  return {};
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
  static const std::string folder = [] {
    std::string whyNot;
    const std::string exeFolder = executableFolder(&whyNot);
    if (exeFolder.empty()) {
      std::fprintf(stderr,
                   "The program's data folder cannot be located (%s); files are looked for in "
                   "the current folder only.\n",
                   whyNot.empty() ? "the program's path names no folder" : whyNot.c_str());
    }
    return dataFolderFor(exeFolder);
  }();
  return folder;
}

std::string findDataFile(const char* name, const std::string& dataFolder,
                         std::string* whereLooked) {
  if (whereLooked) whereLooked->clear();
  const std::string notHere = whyNoEntry(name);
  if (notHere.empty()) return name;
  std::string looked = "the current folder (" + notHere + ")";
  if (!dataFolder.empty()) {
    const std::string installed = dataFolder + name;
    const std::string notThere = whyNoEntry(installed);
    if (notThere.empty()) return installed;
    looked += ", " + dataFolder + " (" + notThere + ")";
  }
  if (whereLooked) *whereLooked = looked;
  return name;
}

std::string findDataFile(const char* name, std::string* whereLooked) {
  return findDataFile(name, programDataFolder(), whereLooked);
}
