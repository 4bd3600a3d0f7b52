#include "app/tool_usage.h"

#include <cstdio>
#include <cstring>

bool asksForHelp(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) return true;
  }
  return false;
}

int printUsage(const std::string& usage) {
  std::printf("%s\n", usage.c_str());
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int printUsageError(const std::string& usage, const std::string& reason) {
  std::fprintf(stderr, "%s (%s)\n", usage.c_str(), reason.c_str());
  return 2;
}
