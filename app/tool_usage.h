// How every tool answers its command line, in the same words and order:
// `--help` prints its usage line, "usage: TOOL ARGUMENTS", on standard output
// and the status is 0; a usage error prints the same line followed by the
// reason, "usage: TOOL ARGUMENTS (REASON)", on standard error and the status
// is 2.
#pragma once

#include <string>

// True when one of the arguments is "--help".
bool asksForHelp(int argc, const char* const* argv);

// The usage line on standard output; returns 0.
int printUsage(const std::string& usage);

// The usage line with the reason on standard error; returns 2.
int printUsageError(const std::string& usage, const std::string& reason);
