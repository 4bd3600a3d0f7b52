#include "platform/data_folder.h"

#if defined(__linux__)
#include <unistd.h>
#endif

#include <filesystem>
#include <vector>

namespace {

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(path), error);
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
#else
  return {};
#endif
}

std::string dataFolderFor(const std::string& exeFolder) {
  if (exeFolder.empty()) return {};
  std::error_code error;
  const std::string buildTree = exeFolder + "assets/";
  if (std::filesystem::is_directory(std::filesystem::path(buildTree), error)) return buildTree;
  return std::filesystem::path(exeFolder + "../share/quibbix/").lexically_normal().string();
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
