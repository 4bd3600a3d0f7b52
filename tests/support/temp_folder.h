// A folder of a test's own under the system's temporary folder, made empty
// when the test starts and removed with all it holds when the test ends.
// Tests of one program run as separate processes at once, so each folder
// gets a random name of its own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

class TempFolder {
 public:
  explicit TempFolder(const std::string& tag) {
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    do {
      path_ = base / ("quibbix-" + tag + "-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

  // Writes `bytes` (a string or a vector of bytes) as the file `name` in the
  // folder and returns its path.
  template <typename Bytes>
  std::string write(const std::string& name, const Bytes& bytes) const {
    const std::string path = file(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
  }

 private:
  std::filesystem::path path_;
};
