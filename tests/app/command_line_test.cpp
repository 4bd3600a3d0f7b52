#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<const char*> arguments, ProgramOptions& options, std::string& error) {
  arguments.insert(arguments.begin(), "quibbix");
  return parseCommandLine(static_cast<int>(arguments.size()), arguments.data(), options, error);
}

}  // namespace

TEST(CommandLine, NoArgumentsRunTheToyAsBefore) {
  ProgramOptions options;
  std::string error;
  EXPECT_TRUE(parse({}, options, error));
  EXPECT_FALSE(options.help);
  EXPECT_FALSE(options.version);
  EXPECT_FALSE(options.fps);
}

TEST(CommandLine, OurOptionsAreReadAndTheToolkitsPassWithTheirValues) {
  ProgramOptions options;
  std::string error;
  // "--help" after -display is the display's name, not our option.
  EXPECT_TRUE(parse({"-display", "--help", "-sync", "--version"}, options, error)) << error;
  EXPECT_FALSE(options.help);
  EXPECT_TRUE(options.version);
  EXPECT_TRUE(parse({"--help", "-geometry", "300x300+0+0"}, options, error)) << error;
  EXPECT_TRUE(options.help);
  EXPECT_FALSE(options.fps);
  EXPECT_TRUE(parse({"-display", ":5", "--fps"}, options, error)) << error;
  EXPECT_TRUE(options.fps);
}

TEST(CommandLine, AnythingElseIsRefusedNamingTheArgument) {
  const std::vector<std::vector<const char*>> refused = {{"--bogus"},   {"-h"},    {"--help=yes"},
                                                         {"--fps=1"},   {"--FPS"}, {"--helpme"},
                                                         {"boden.bmp"}, {""},      {"-display"}};
  for (const auto& arguments : refused) {
    ProgramOptions options;
    std::string error;
    EXPECT_FALSE(parse(arguments, options, error)) << arguments[0];
    EXPECT_NE(error.find(arguments[0]), std::string::npos) << error;
  }
}

TEST(CommandLine, UsageNamesKeysMouseAndWhereFilesAreLookedFor) {
  const std::string usage = usageText("/opt/toy/share/quibbix/");
  for (const char* part :
       {"--help", "--version", "--fps", "-display", "space", "q or Esc", "left button",
        "explode.wav", "current folder, then in /opt/toy/share/quibbix/"}) {
    EXPECT_NE(usage.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(versionText().rfind("quibbix ", 0), 0u);
}

TEST(CommandLine, IconicIsTheProgramsAndIsWithheldFromTheToolkit) {
  ProgramOptions options;
  std::string error;
  std::vector<const char*> arguments = {"quibbix", "-iconic", "-display", "-iconic",
                                        "--fps",   "-iconic", nullptr};
  EXPECT_TRUE(parseCommandLine(6, arguments.data(), options, error)) << error;
  EXPECT_TRUE(options.startIconic);
  int argc = 6;
  withholdFromToolkit(argc, const_cast<char**>(arguments.data()));
  // The display named "-iconic" is a value and stays.
  ASSERT_EQ(argc, 4);
  EXPECT_STREQ(arguments[1], "-display");
  EXPECT_STREQ(arguments[2], "-iconic");
  EXPECT_STREQ(arguments[3], "--fps");
  EXPECT_EQ(arguments[4], nullptr);
}
