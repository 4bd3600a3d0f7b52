// The executable's folder on Linux, from /proc. Elsewhere (no /proc) it
// cannot be told, and the data files are looked for in the current folder only.
#include <unistd.h>

#include <vector>

#include "platform/data_folder.h"

std::string executableFolder() {
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
}
