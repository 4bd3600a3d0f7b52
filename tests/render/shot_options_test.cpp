#include "tools/shot/shot_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool parse(std::initializer_list<const char*> args, ShotOptions& options, std::string& error) {
  std::vector<const char*> argv{"quibbix-shot"};
  argv.insert(argv.end(), args);
  return parseShotOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

}  // namespace

TEST(ShotOptions, ReadsEveryOption) {
  ShotOptions o;
  std::string error;
  ASSERT_TRUE(parse({"--seed", "4294967295", "--frames", "9223372036854775807", "--frame-ms",
                     "16,17", "--count", "1500", "--events", "3:space,9223372036854775807:click",
                     "--spin", "-12.5", "--size", "800x400", "--out", "a.png"},
                    o, error))
      << error;
  EXPECT_EQ(o.scenario.seed, 4294967295u);
  EXPECT_EQ(o.scenario.frames, INT64_MAX);
  EXPECT_EQ(o.scenario.frameMs, (std::vector<int32_t>{16, 17}));
  EXPECT_EQ(o.scenario.count, 1500);
  ASSERT_EQ(o.scenario.events.size(), 2u);
  EXPECT_EQ(o.scenario.events[1].frame, INT64_MAX);
  EXPECT_EQ(o.spin, -12.5f);
  EXPECT_EQ(o.width, 800);
  EXPECT_EQ(o.height, 400);
  EXPECT_EQ(o.out, "a.png");
}

TEST(ShotOptions, DefaultsToTheProgramsWindowAndTheSceneSpin) {
  ShotOptions o;
  std::string error;
  ASSERT_TRUE(parse({"--out", "b.png", "--frames", "0", "--seed", "1"}, o, error)) << error;
  EXPECT_EQ(o.width, 500);
  EXPECT_EQ(o.height, 500);
  EXPECT_FALSE(o.spin.has_value());
  EXPECT_EQ(o.scenario.count, 0);
}

TEST(ShotOptions, RejectsMissingUnknownRepeatedAndBadValues) {
  const std::vector<std::vector<const char*>> bad = {
      {"--frames", "1", "--out", "x.png"},        // no seed
      {"--seed", "1", "--out", "x.png"},          // no frames
      {"--seed", "1", "--frames", "1"},           // no output
      {"--seed", "1", "--frames", "1", "--out"},  // value missing
      {"--seed", "1", "--frames", "1", "--out", "x", "--zoom", "2"},
      {"--seed", "1", "--seed", "2", "--frames", "1", "--out", "x"},
      {"--seed", "-1", "--frames", "1", "--out", "x"},
      {"--seed", "1", "--frames", "-1", "--out", "x"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--count", "0"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--count", "1501"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--size", "0x10"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--size", "10x"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--size", "10*10"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--spin", "nan"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--spin", "1e60"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--spin", "5deg"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--events", "0:space"},
      {"--seed", "1", "--frames", "1", "--out", "x", "--frame-ms", ""},
      {"--seed", "1", "--frames", "1", "--out", ""},
  };
  for (const auto& args : bad) {
    std::vector<const char*> argv{"quibbix-shot"};
    argv.insert(argv.end(), args.begin(), args.end());
    ShotOptions o;
    std::string error;
    std::string line;
    for (const char* a : args) line += std::string(a) + " ";
    EXPECT_FALSE(parseShotOptions(static_cast<int>(argv.size()), argv.data(), o, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}
