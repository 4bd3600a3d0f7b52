#include "platform/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Where the file behind `path` lives and the permissions a new one gets.
struct Target {
  std::string path;  // a link resolved to the file it names
  mode_t mode;
};

bool findTarget(const char* path, Target& target, std::string& reason) {
  struct stat info;
  if (stat(path, &info) != 0) {
    if (errno != ENOENT) {
      reason = std::strerror(errno);
      return false;
    }
    // A new file: what the process would create with its umask.
    const mode_t mask = umask(0);
    umask(mask);
    target = {path, static_cast<mode_t>(0666 & ~mask)};
    return true;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = "not a regular file";
    return false;
  }
  char* resolved = realpath(path, nullptr);
  if (!resolved) {
    reason = std::strerror(errno);
    return false;
  }
  target = {resolved, static_cast<mode_t>(info.st_mode & 07777)};
  std::free(resolved);
  return true;
}

bool writeAll(int file, const uint8_t* data, size_t size, std::string& reason) {
  while (size > 0) {
    const ssize_t written = write(file, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      reason = std::strerror(errno);
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

bool canReplaceFile(const char* path, std::string& reason) {
  Target target;
  return findTarget(path, target, reason);
}

bool replaceFile(const char* path, const uint8_t* data, size_t size, std::string& reason) {
  Target target;
  if (!findTarget(path, target, reason)) return false;

  // The new file is made in the target's own folder, so that the rename that
  // puts it in place cannot cross file systems. Its name is cut short so that
  // a target name of the longest allowed length still leaves room.
  const size_t slash = target.path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.path.substr(0, slash + 1);
  const std::string name = target.path.substr(slash == std::string::npos ? 0 : slash + 1);
  std::string scratch = folder + "." + name.substr(0, 200) + ".XXXXXX";
  const int file = mkostemp(scratch.data(), O_CLOEXEC);
  if (file < 0) {
    reason = std::strerror(errno);
    return false;
  }
  bool ok = writeAll(file, data, size, reason);
  if (ok && fchmod(file, target.mode) != 0) {
    reason = std::strerror(errno);
    ok = false;
  }
  // Some file systems report a full disk only when the data is flushed.
  if (ok && fsync(file) != 0) {
    reason = std::strerror(errno);
    ok = false;
  }
  if (close(file) != 0 && ok) {
    reason = std::strerror(errno);
    ok = false;
  }
  if (ok && rename(scratch.c_str(), target.path.c_str()) != 0) {
    reason = std::strerror(errno);
    ok = false;
  }
  if (!ok) unlink(scratch.c_str());
  return ok;
}
