#include "app/tool_options.h"

#include "app/tool_usage.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

struct CommonOption {
  const char* name;
  const char* valueName;
  bool required;
};

constexpr CommonOption kCommon[] = {
    {"--seed", "S", true},
    {"--frames", "N", true},
    {"--frame-ms", "M[,M...]", false},
    {"--count", "C", false},
    {"--events", "FRAME:EVENT,...", false},
};

// Appends " NAME VALUE", bracketed when optional. Appending in place keeps
// GCC 12 at -O3 from a false -Wrestrict in the inlined operator+.
void appendOption(std::string& usage, const char* name, const char* valueName, bool required) {
  usage += required ? " " : " [";
  usage += name;
  if (valueName) {
    usage += ' ';
    usage += valueName;
  }
  if (!required) usage += ']';
}

}  // namespace

std::string toolUsage(const char* tool, std::span<const ToolOption> own) {
  std::string usage = "usage: ";
  usage += tool;
  for (const CommonOption& option : kCommon) {
    appendOption(usage, option.name, option.valueName, option.required);
  }
  for (const ToolOption& option : own) {
    appendOption(usage, option.name, option.valueName, option.required);
  }
  return usage;
}

bool parseToolOptions(int argc, const char* const* argv, Scenario& scenario,
                      std::span<const ToolOption> own, std::string& error) {
  std::set<std::string> seen;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    const ToolOption* ownOption = nullptr;
    bool common = false;
    for (const CommonOption& option : kCommon) common |= name == option.name;
    for (const ToolOption& option : own) {
      if (name == option.name) ownOption = &option;
    }
    if (!common && !ownOption) {
      error = "unknown option '" + name + "'";
      return false;
    }
    if (!seen.insert(name).second) {
      error = "repeated option " + name;
      return false;
    }
    const bool flag = ownOption && !ownOption->valueName;
    if (!flag && i + 1 >= argc) {
      error = "missing value after " + name;
      return false;
    }
    const std::string value = flag ? std::string() : argv[++i];
    if (common) {
      if (takeScenarioOption(name, value, scenario, error) != ScenarioOption::kTaken) return false;
    } else if (!ownOption->take(value, error)) {
      return false;
    }
  }
  std::vector<const char*> required;
  for (const CommonOption& option : kCommon) {
    if (option.required) required.push_back(option.name);
  }
  for (const ToolOption& option : own) {
    if (option.required) required.push_back(option.name);
  }
  for (const char* name : required) {
    if (!seen.count(name)) {
      error = std::string("missing ") + name;
      return false;
    }
  }
  return true;
}

int reportUsageError(const char* tool, std::span<const ToolOption> own, const std::string& reason) {
  return printUsageError(toolUsage(tool, own), reason);
}

ToolOption spinOption(std::optional<float>& spin) {
  return {"--spin", "DEG", false, [&spin](const std::string& value, std::string& error) {
            errno = 0;
            char* end = nullptr;
            const float degrees = std::strtof(value.c_str(), &end);
            if (value.empty() || errno != 0 || *end != '\0' || !std::isfinite(degrees)) {
              error = "bad spin '" + value + "'";
              return false;
            }
            spin = degrees;
            return true;
          }};
}
