// File access for the BMP decoder: the whole file is read into memory through
// the platform's reader, which refuses pipes, devices and directories rather
// than waiting on them, and decoded there. A file that cannot be read gets the
// open-failure message, preceded by a stderr line with the system's reason.
#include "image/dib_loader.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_read.h"
#include "platform/message_box.h"

namespace {

constexpr char kCaption[] = "Error";

// Room for the largest picture the decoder accepts at 4 file bytes per 3
// decoded ones (32-bit pixels, or narrow rows padded to 4 bytes), plus
// headers and the largest colour table.
constexpr size_t kMaxFileBytes = kMaxPixelBytes / 3 * 4 + (size_t{1} << 20);

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
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!readRegularFile(fileName, kMaxFileBytes, bytes, reason) || bytes.empty()) {
    if (showLoadErrors != 0) {
      std::fprintf(stderr, "%s: %s\n", fileName, reason.empty() ? "empty file" : reason.c_str());
      char text[kLoadMessageSize];
      formatOpenFailure(text, fileName);
      report(showLoadErrors, text);
    }
    return nullptr;
  }
  RgbImage* image = nullptr;
  const DibStatus status = decodeDib(bytes.data(), bytes.size(), &image);
  if (status != DibStatus::kOk) report(showLoadErrors, dibStatusMessage(status));
  return image;
}
