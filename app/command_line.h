// The program's own command line. Each option is one entry of the table in
// command_line.cpp (name, value, help line, what it sets), so adding one is
// one line there and one field here. The toolkit's own options (-display NAME
// and the like) are let through for glutInit to take.
#pragma once

#include <string>

struct ProgramOptions {
  bool help = false;         // --help: print the usage and exit 0
  bool version = false;      // --version: print the version and exit 0
  bool fps = false;          // --fps: print the frame rate every five seconds
  bool startIconic = false;  // -iconic: iconify the window after its first frame
};

// Reads argv[1..argc-1] into `options`. False, with the offending argument in
// `error`, for an argument that is neither ours nor the toolkit's, or an
// option whose value is missing or bad.
bool parseCommandLine(int argc, const char* const* argv, ProgramOptions& options,
                      std::string& error);

// Takes out of argv the toolkit options that the program carries out itself
// (-iconic), before glutInit reads the rest. Expects a command line that
// parseCommandLine accepted; argv[argc] stays null.
void withholdFromToolkit(int& argc, char** argv);

// The usage: options, keys, mouse, and where the files are looked for (the
// current folder, then `dataFolder`).
std::string usageText(const std::string& dataFolder);

// "quibbix VERSION".
std::string versionText();
