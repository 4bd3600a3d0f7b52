// Command line of quibbix-shot.
#pragma once

#include <optional>
#include <string>

#include "tools/scenario/scenario.h"

inline constexpr char kShotUsage[] =
    "usage: quibbix-shot --seed S --frames N [--frame-ms M[,M...]] [--count C] "
    "[--events FRAME:EVENT,...] [--spin DEG] [--size WxH] --out FILE.png";

struct ShotOptions {
  Scenario scenario;
  std::optional<float> spin;  // replaces spinAngle for the shot
  int width = 500;
  int height = 500;
  std::string out;
};

// False with a reason in `error` on a missing, unknown, repeated or bad option.
bool parseShotOptions(int argc, const char* const* argv, ShotOptions& options, std::string& error);
