// The executable's folder on Linux, from /proc. Elsewhere (no /proc) it
// cannot be told, and the data files are looked for in the current folder only.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/data_folder.h"

std::string executableFolder(std::string* whyNot) {
  // The link's target can be longer than any fixed buffer; grow until it fits.
  std::vector<char> target(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", target.data(), target.size());
    if (length < 0) {
      if (whyNot) *whyNot = std::string("/proc/self/exe: ") + std::strerror(errno);
      return {};
    }
    if (static_cast<size_t>(length) < target.size()) {
      const std::string path(target.data(), static_cast<size_t>(length));
      const size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    if (target.size() >= (size_t{1} << 20)) {
      if (whyNot) *whyNot = "/proc/self/exe: the path is longer than 1 MB";
      return {};
    }
    target.resize(target.size() * 2);
  }
}
