// Command line of quibbix-shot.
#pragma once

#include <optional>
#include <string>

#include "app/scenario.h"

struct ShotOptions {
  Scenario scenario;
  std::optional<float> spin;  // replaces spinAngle for the shot
  int width = 500;
  int height = 500;
  std::string out;
};

// Through parseToolOptions: false with a reason in `error` on a missing,
// unknown, repeated or bad option.
bool parseShotOptions(int argc, const char* const* argv, ShotOptions& options, std::string& error);
// The usage line on stdout for --help; returns 0.
int printShotUsage();
// The usage line with the reason, on stderr; returns 2.
int reportShotUsageError(const std::string& reason);
