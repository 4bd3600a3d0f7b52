#include "app/command_line.h"

#include <cstring>

#ifndef QUIBBIX_VERSION
#define QUIBBIX_VERSION "unknown"
#endif

namespace {

struct OptionEntry {
  const char* name;
  const char* valueName;  // null for a flag without a value
  const char* help;
  // Takes the value (null for a flag); false when it is not acceptable.
  bool (*apply)(ProgramOptions& options, const char* value);
};

const OptionEntry kOptions[] = {
    {"--help", nullptr, "print this text and exit",
     [](ProgramOptions& o, const char*) {
       o.help = true;
       return true;
     }},
    {"--version", nullptr, "print the version and exit",
     [](ProgramOptions& o, const char*) {
       o.version = true;
       return true;
     }},
    {"--fps", nullptr, "print the frames drawn per second every five seconds",
     [](ProgramOptions& o, const char*) {
       o.fps = true;
       return true;
     }},
};

// freeglut's own options, which glutInit takes out of argv later; except
// -iconic, which the program carries out itself: freeglut would wait for the
// window to be mapped, and under a window manager a window that starts as an
// icon never is.
struct ToolkitOption {
  const char* name;
  bool takesValue;
  bool (*apply)(ProgramOptions& options);  // null: the toolkit's alone
};
const ToolkitOption kToolkitOptions[] = {
    {"-display", true, nullptr},
    {"-geometry", true, nullptr},
    {"-direct", false, nullptr},
    {"-indirect", false, nullptr},
    {"-gldebug", false, nullptr},
    {"-sync", false, nullptr},
    {"-iconic", false,
     [](ProgramOptions& o) {
       o.startIconic = true;
       return true;
     }},
};

const OptionEntry* findOption(const char* argument, const char** inlineValue) {
  *inlineValue = nullptr;
  for (const OptionEntry& option : kOptions) {
    const size_t length = std::strlen(option.name);
    if (std::strncmp(argument, option.name, length) != 0) continue;
    if (argument[length] == '\0') return &option;
    if (argument[length] == '=' && option.valueName) {
      *inlineValue = argument + length + 1;
      return &option;
    }
  }
  return nullptr;
}

const ToolkitOption* findToolkitOption(const char* argument) {
  for (const ToolkitOption& option : kToolkitOptions) {
    if (std::strcmp(argument, option.name) == 0) return &option;
  }
  return nullptr;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, ProgramOptions& options,
                      std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (const ToolkitOption* toolkit = findToolkitOption(argument)) {
      if (toolkit->takesValue && ++i >= argc) {
        error = std::string(argument) + " needs a value";
        return false;
      }
      if (toolkit->apply) toolkit->apply(options);
      continue;
    }
    const char* value = nullptr;
    const OptionEntry* option = findOption(argument, &value);
    if (!option) {
      error = "unknown argument " + std::string(argument);
      return false;
    }
    if (option->valueName && !value) {
      if (++i >= argc) {
        error = std::string(argument) + " needs a value";
        return false;
      }
      value = argv[i];
    }
    if (!option->apply(options, value)) {
      error = "bad value for " + std::string(option->name) + ": " + value;
      return false;
    }
  }
  return true;
}

void withholdFromToolkit(int& argc, char** argv) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const ToolkitOption* toolkit = findToolkitOption(argv[i]);
    if (toolkit && toolkit->apply) continue;
    argv[kept++] = argv[i];
    // A value is copied as it is, even one that looks like an option.
    const char* value = nullptr;
    const OptionEntry* option = toolkit ? nullptr : findOption(argv[i], &value);
    const bool valueFollows = toolkit ? toolkit->takesValue : option && option->valueName && !value;
    if (valueFollows && i + 1 < argc) argv[kept++] = argv[++i];
  }
  argc = kept;
  argv[argc] = nullptr;
}

std::string usageText(const std::string& dataFolder) {
  std::string text =
      "usage: quibbix [options] [-display NAME]\n\n"
      "A crowd of hamsters in a fenced pen, seen from above while the scene turns.\n\n"
      "Options:\n";
  for (const OptionEntry& option : kOptions) {
    std::string left = option.name;
    if (option.valueName) left += std::string(" ") + option.valueName;
    left.resize(left.size() < 16 ? 16 : left.size() + 1, ' ');
    text += "  " + left + option.help + "\n";
  }
  text +=
      "  The toolkit's own options, such as -display NAME, go to the window system.\n\n"
      "Keys:\n"
      "  space           fling the hamsters near the middle into the air\n"
      "  + and -         ten hamsters more or fewer (1 to 1500; 10 at the start)\n"
      "  q or Esc        quit\n"
      "Mouse:\n"
      "  left button     fling them, like space\n\n"
      "Files:\n"
      "  boden.bmp, hamster.bmp, env.bmp, transp.bmp and explode.wav are looked for\n"
      "  first in the current folder, then in " +
      (dataFolder.empty() ? std::string("the program's data folder") : dataFolder) + "\n";
  return text;
}

std::string versionText() {
  return std::string("quibbix ") + QUIBBIX_VERSION;
}
