// File access for the BMP decoder: the file is mapped read-only, decoded in
// place and unmapped; the one message is shown at the failure, or for an
// unreadable file once everything is released.
#include "image/dib_loader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/message_box.h"

namespace {

constexpr char kCaption[] = "Error";

void report(uint8_t showLoadErrors, const char* text) {
  if (showLoadErrors != 0) showMessageBox(kCaption, text);
}

}  // namespace

void formatOpenFailure(char (&text)[kLoadMessageSize], const char* fileName) {
  static constexpr char kPrefix[] = "Failed to open DIB file ";
  static constexpr char kSuffix[] = ".\n";
  constexpr size_t kRoom = kLoadMessageSize - (sizeof kPrefix - 1) - (sizeof kSuffix - 1) - 1;
  std::snprintf(text, sizeof text, "%s%.*s%s", kPrefix, static_cast<int>(kRoom), fileName, kSuffix);
}

RgbImage* loadDibImage(const char* fileName, uint8_t showLoadErrors) {
  RgbImage* image = nullptr;
  bool opened = false;
  int file = open(fileName, O_RDONLY | O_CLOEXEC);
  if (file >= 0) {
    struct stat info;
    // An empty file cannot be mapped and counts as unreadable.
    if (fstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      const size_t size = static_cast<size_t>(info.st_size);
      void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0);
      if (view != MAP_FAILED) {
        opened = true;
        DibStatus status = decodeDib(static_cast<const uint8_t*>(view), size, &image);
        if (status != DibStatus::kOk) report(showLoadErrors, dibStatusMessage(status));
        munmap(view, size);
      }
    }
    close(file);
  }
  if (!opened) {
    char text[kLoadMessageSize];
    formatOpenFailure(text, fileName);
    report(showLoadErrors, text);
  }
  return image;
}
