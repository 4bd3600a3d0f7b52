// Replays saved inputs through the fuzz target without libFuzzer, so crashes
// found once stay tests in every build: dib_replay FILE_OR_FOLDER...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void replay(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  // A block of exactly the file's length, so an over-read is caught.
  std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
  std::copy(bytes.begin(), bytes.end(), block.get());
  LLVMFuzzerTestOneInput(block.get(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (entry.is_regular_file()) {
          replay(entry.path());
          ++files;
        }
      }
    } else if (std::filesystem::is_regular_file(path)) {
      replay(path);
      ++files;
    } else {
      std::fprintf(stderr, "dib_replay: no such file or folder: %s\n", argv[i]);
      return 1;
    }
  }
  std::printf("replayed %d files\n", files);
  return 0;
}
