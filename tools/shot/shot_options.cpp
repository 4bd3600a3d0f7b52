#include "tools/shot/shot_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

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

bool parseDegrees(const std::string& text, float& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const float value = std::strtof(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value)) return false;
  out = value;
  return true;
}

}  // namespace

bool parseShotOptions(int argc, const char* const* argv, ShotOptions& options, std::string& error) {
  std::set<std::string> seen;
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 >= argc) {
      error = "missing value after " + name;
      return false;
    }
    const std::string value = argv[i + 1];
    if (!seen.insert(name).second) {
      error = "repeated option " + name;
      return false;
    }
    const ScenarioOption taken = takeScenarioOption(name, value, options.scenario, error);
    if (taken == ScenarioOption::kBad) return false;
    if (taken == ScenarioOption::kTaken) continue;
    if (name == "--spin") {
      float degrees;
      if (!parseDegrees(value, degrees)) {
        error = "bad spin '" + value + "'";
        return false;
      }
      options.spin = degrees;
    } else if (name == "--size") {
      if (!parseSize(value, options.width, options.height)) {
        error = "bad size '" + value + "' (want WxH)";
        return false;
      }
    } else if (name == "--out") {
      if (value.empty()) {
        error = "empty output file name";
        return false;
      }
      options.out = value;
    } else {
      error = "unknown option " + name;
      return false;
    }
  }
  for (const char* required : {"--seed", "--frames", "--out"}) {
    if (!seen.count(required)) {
      error = std::string("missing ") + required;
      return false;
    }
  }
  return true;
}
