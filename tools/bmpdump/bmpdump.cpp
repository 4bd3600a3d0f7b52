// quibbix-bmpdump FILE: decodes FILE as the program would and writes it to
// stdout as a binary PPM, top row first. On failure the loader's message goes
// to stderr (never to a box) and the exit status is 1.
#include <cstdio>
#include <string>

#include "app/tool_usage.h"
#include "image/dib_loader.h"
#include "platform/message_box.h"
#include "platform/standard_descriptors.h"
#include "platform/stdio_mode.h"

int main(int argc, char** argv) {
  openMissingStandardDescriptors();
  useExactTextOutput();
  const char* usage = "usage: quibbix-bmpdump FILE";
  if (asksForHelp(argc, argv)) return printUsage(usage);
  if (argc < 2) return printUsageError(usage, "missing FILE");
  if (argc > 2) return printUsageError(usage, "more than one FILE");
  if (argv[1][0] == '-' && argv[1][1] == '-') {
    return printUsageError(usage, std::string("unknown option '") + argv[1] + "'");
  }
  // The platform layer already copies every message to stderr.
  setMessageBoxHandler([](const char*, const char*) {});
  RgbImage* image = loadDibImage(argv[1], 1);
  if (!image) return 1;

  std::printf("P6\n%d %d\n255\n", image->width, image->height);
  const size_t rowBytes = static_cast<size_t>(image->width) * 3;
  bool written = true;
  for (int32_t row = image->height - 1; row >= 0 && written; --row) {
    written = std::fwrite(image->pixels + row * rowBytes, 1, rowBytes, stdout) == rowBytes;
  }
  freeRgbImage(image);
  if (std::fflush(stdout) != 0 || !written) {
    std::fprintf(stderr, "quibbix-bmpdump: could not write the picture\n");
    return 1;
  }
  return 0;
}
