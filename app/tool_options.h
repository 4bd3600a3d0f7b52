// The command line of the tools that run a scenario (quibbix-replay and
// quibbix-shot): the scenario's options, then the tool's own, each given at
// most once, as "--name VALUE" or as a bare flag. Both tools parse it here, so
// they take the same options the same way and describe them the same way.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "app/scenario.h"

struct ToolOption {
  const char* name;       // "--spin"
  const char* valueName;  // shown in the usage ("DEG"); nullptr for a flag
  bool required;
  // Takes the option's value (empty for a flag); false with a reason in `error`.
  std::function<bool(const std::string& value, std::string& error)> take;
};

// One line: "usage: TOOL --seed S --frames N [--frame-ms M[,M...]] [--count C]
// [--events FRAME:EVENT,...]" and then the tool's own options.
std::string toolUsage(const char* tool, std::span<const ToolOption> own);

// Fills `scenario` and calls the tool's own options. False with a reason in
// `error` on an unknown, repeated or malformed option, a missing value or a
// missing required option (--seed and --frames always are).
bool parseToolOptions(int argc, const char* const* argv, Scenario& scenario,
                      std::span<const ToolOption> own, std::string& error);

// The usage line with the reason, on stderr; returns the status for it, 2
// (app/tool_usage.h, like every tool; --help is answered there too).
int reportUsageError(const char* tool, std::span<const ToolOption> own, const std::string& reason);

// --spin DEG: the scene's turn in degrees for a drawn frame, any finite float.
ToolOption spinOption(std::optional<float>& spin);
