#include "tools/shot/shot_options.h"

#include <vector>

#include "app/tool_options.h"
#include "app/tool_usage.h"

namespace {

// Larger than any screen the tool is meant for, small enough that the pixel
// buffer stays modest.
constexpr long long kMaxSide = 8192;

bool parseSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  long long w, h;
  if (x == std::string::npos || !parseInt(text.substr(0, x), 1, kMaxSide, w) ||
      !parseInt(text.substr(x + 1), 1, kMaxSide, h)) {
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

std::vector<ToolOption> shotOwnOptions(ShotOptions& options) {
  return {
      spinOption(options.spin),
      {"--size", "WxH", false,
       [&options](const std::string& value, std::string& error) {
         if (!parseSize(value, options.width, options.height)) {
           error = "bad size '" + value + "' (want WxH)";
           return false;
         }
         return true;
       }},
      {"--out", "FILE.png", true,
       [&options](const std::string& value, std::string& error) {
         if (value.empty()) {
           error = "empty output file name";
           return false;
         }
         options.out = value;
         return true;
       }},
  };
}

}  // namespace

bool parseShotOptions(int argc, const char* const* argv, ShotOptions& options, std::string& error) {
  return parseToolOptions(argc, argv, options.scenario, shotOwnOptions(options), error);
}

int printShotUsage() {
  ShotOptions unused;
  return printUsage(toolUsage("quibbix-shot", shotOwnOptions(unused)));
}

int reportShotUsageError(const std::string& reason) {
  ShotOptions unused;
  return reportUsageError("quibbix-shot", shotOwnOptions(unused), reason);
}
