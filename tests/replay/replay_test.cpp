// The replay tool as a program: its output, its argument checks, and the
// determinism of the simulation behind it. Each scenario's output is hashed and
// compared with the value committed here; a change to any bit of any hamster
// changes the hash. When a change to the simulation is intended, run the test,
// check the new behaviour, and commit the printed hashes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
  int status = -1;
  std::string out, err;
};

Result runTool(const std::string& tool, const std::string& arguments) {
  const std::string errPath = testing::TempDir() + "quibbix_tool_err_" + std::to_string(getpid());
  const std::string command =
      std::string(QUIBBIX_BINARY_DIR) + "/" + tool + " " + arguments + " 2>'" + errPath + "'";
  Result result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errPath);
  std::stringstream text;
  text << err.rdbuf();
  result.err = text.str();
  std::remove(errPath.c_str());
  return result;
}

Result replay(const std::string& arguments) {
  return runTool("quibbix-replay", arguments);
}

uint64_t fnv1a(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> all;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) all.push_back(line);
  return all;
}

struct Scenario {
  const char* name;
  const char* arguments;
  uint64_t hash;
};

const Scenario kScenarios[] = {
    {"ten hamsters, steady 16 ms frames", "--seed 1 --frames 300", 0xb53e387ef2188e94ull},
    {"a hundred, jumps by key and click, uneven frames",
     "--seed 2 --frames 150 --count 100 --frame-ms 16,33,8 "
     "--events 10:space,40:click,41:space,70:right-click,71:left-release",
     0xc72649635855a828ull},
    {"the full crowd of 1500 jumping", "--seed 3 --frames 8 --count 1500 --events 2:space",
     0xd374d287018a93ddull},
    {"both clamps, a backward clock and a wrap of the 32-bit count",
     "--seed 4 --frames 90 --count 50 --frame-ms "
     "0,0,0,0,0,0,0,0,0,0,0,0,5000,20,-300,16,2147483647 "
     "--events 20:space,60:space",
     0x40fd7bc03f5f44fbull},
    {"the count changing mid-run",
     "--seed 5 --frames 120 --count 20 "
     "--events "
     "5:minus,5:minus,10:plus,30:plus,30:plus,30:plus,50:space,60:q-upper,80:minus,90:plus",
     0x269b3d72c196c8a1ull},
    // Hamsters fly, bounce, fall back onto each other and settle, at a few
    // crowd sizes.
    {"a hundred jumping four times",
     "--seed 2024 --frames 150 --count 100 --frame-ms 16,16,40,1 "
     "--events 3:space,20:click,31:space,120:space",
     0x7caa2f254c260618ull},
    {"five hundred jumping four times",
     "--seed 2024 --frames 150 --count 500 --frame-ms 16,16,40,1 "
     "--events 3:space,20:click,31:space,120:space",
     0x8af4369b9ca77507ull},
    {"the full crowd jumping twice",
     "--seed 2024 --frames 25 --count 1500 --frame-ms 16,16,40,1 --events 3:space,20:click",
     0x27f4309584bd7dc9ull},
};

}  // namespace

// With the literal relaxation (--reference) too: the fast sweep and the
// literal loop must leave every bit of every hamster the same.
TEST(ReplayDeterminism, EachScenarioGivesItsCommittedHashWithEitherRelaxation) {
  for (const Scenario& scenario : kScenarios) {
    SCOPED_TRACE(scenario.name);
    const Result result = replay(scenario.arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    const uint64_t actual = fnv1a(result.out);
    std::printf("replay hash %s: 0x%016" PRIx64 "\n", scenario.name, actual);
    EXPECT_EQ(actual, scenario.hash) << std::hex << "actual 0x" << actual;
    const Result reference = replay(std::string(scenario.arguments) + " --reference");
    ASSERT_EQ(reference.status, 0) << reference.err;
    EXPECT_TRUE(reference.out == result.out) << "the literal relaxation differs";
  }
}

TEST(ReplayOutput, PrintsTheSpinTheGrassAndEveryPoolEntryInHex) {
  const Result result = replay("--seed 7 --frames 0");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> all = lines(result.out);
  ASSERT_EQ(all.size(), 1u + 60 + 1500);
  EXPECT_EQ(all[0], "spin -0x1.68p+6");
  const std::string hex = "-?0x[0-9a-f](\\.[0-9a-f]+)?p[-+][0-9]+";
  const std::regex grass("grass (\\d+) " + hex + " " + hex);
  std::string hamster = "hamster (\\d+)";
  for (int field = 0; field < 12; ++field) hamster += " " + hex;
  const std::regex hamsterLine(hamster);
  std::smatch match;
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(std::regex_match(all[1 + i], match, grass)) << all[1 + i];
    EXPECT_EQ(match[1], std::to_string(i));
  }
  for (int i = 0; i < 1500; ++i) {
    ASSERT_TRUE(std::regex_match(all[61 + i], match, hamsterLine)) << all[61 + i];
    EXPECT_EQ(match[1], std::to_string(i));
  }
  // Before any frame every hamster still has the constructor's 0.05 s step.
  EXPECT_EQ(all[61].rfind("hamster 0 0x1.99999ap-5 ", 0), 0u) << all[61];
}

TEST(ReplayOutput, SpaceFlingsTheMiddleHamstersUp) {
  // The same run with and without a press of space at frame 200, once the
  // crowd has settled: twenty frames later the hamsters near the middle are in
  // the air, some of them high, while those near the fence are still down.
  const char* run = "--seed 9 --frames 220 --count 100";
  const Result calm = replay(run);
  const Result jump = replay(std::string(run) + " --events 200:space");
  ASSERT_EQ(calm.status, 0) << calm.err;
  ASSERT_EQ(jump.status, 0) << jump.err;
  const std::vector<std::string> calmLines = lines(calm.out), jumpLines = lines(jump.out);
  int middle = 0, middleUp = 0, outer = 0, outerUp = 0;
  float highest = 0;
  for (int i = 0; i < 100; ++i) {
    float t, x, y, zCalm, zJump;
    ASSERT_EQ(std::sscanf(calmLines[61 + i].c_str(), "hamster %*d %a %a %a %a", &t, &x, &y, &zCalm),
              4);
    ASSERT_EQ(std::sscanf(jumpLines[61 + i].c_str(), "hamster %*d %a %a %a %a", &t, &x, &y, &zJump),
              4);
    const float r = std::sqrt(x * x + y * y);
    if (r < 0.5f) {
      ++middle;
      middleUp += zJump > zCalm + 0.05f;
      highest = std::max(highest, zJump);
    } else if (r > 1.0f) {
      ++outer;
      outerUp += zJump > 0.05f;
    }
  }
  ASSERT_GT(middle, 5);
  ASSERT_GT(outer, 5);
  EXPECT_GT(middleUp, middle * 9 / 10) << middleUp << " of " << middle << " middle hamsters up";
  EXPECT_GT(highest, 0.3f);
  EXPECT_EQ(outerUp, 0) << outerUp << " of " << outer << " hamsters by the fence up";
}

TEST(ReplayOutput, FramesAdvanceTheSpinByTheMeanFrameTime) {
  // Ten frames of 40 ms after start-up: the ring ends full of 0.04.
  const Result result = replay("--seed 7 --frames 10 --frame-ms 40");
  ASSERT_EQ(result.status, 0) << result.err;
  float spin = 0;
  ASSERT_EQ(std::sscanf(result.out.c_str(), "spin %a", &spin), 1);
  EXPECT_NEAR(spin, -90 + 20 * (0.05 * 10 - 0.01 * (1 + 2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 10) / 10),
              1e-4);
}

TEST(ReplayArguments, BadArgumentsGiveOneUsageLineAndStatus2) {
  const char* bad[] = {
      "",
      "--frames 3",
      "--seed 1",
      "--seed 1 --frames 3 --count 0",
      "--seed 1 --frames 3 --count 1501",
      "--seed 1 --frames -1",
      "--seed 1 --frames 9223372036854775808",
      "--seed -1 --frames 1",
      "--seed 4294967296 --frames 1",
      "--seed 1x --frames 1",
      "--seed +1 --frames 1",
      "--seed ' 1' --frames 1",
      "--seed 1 --frames 3 --frame-ms 16,,8",
      "--seed 1 --frames 3 --frame-ms ''",
      "--seed 1 --frames 3 --events 2:jump",
      "--seed 1 --frames 3 --events 0:space",
      "--seed 1 --frames 3 --events space",
      "--seed 1 --frames 3 --events",
      "--seed 1 --frames 3 --speed 2",
      "--seed 1 --frames 3 extra",
  };
  for (const char* arguments : bad) {
    SCOPED_TRACE(arguments);
    const Result result = replay(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    EXPECT_NE(result.err.find("usage: quibbix-replay --seed S --frames N"), std::string::npos);
  }
}

TEST(ToolArguments, ReplayAndShotTakeTheCommonOptionsAlikeAndRefuseAlike) {
  // Shot refuses before any window is opened: no display is needed here.
  const char* bad[] = {
      "--seed 1 --frames x",
      "--seed 1 --seed 2 --frames 1",
      "--seed 1 --frames 1 --zoom 2",
      "--seed 1 --frames 1 --count 1501",
      "--seed 1 --frames 1 --events 0:space",
  };
  // What a usage line says between the tool's name and its own options.
  const auto commonPart = [](const std::string& err, const std::string& tool, const char* own) {
    const size_t from = ("usage: " + tool).size();
    return err.substr(from, err.find(own) - from);
  };
  for (const char* arguments : bad) {
    SCOPED_TRACE(arguments);
    const Result replayed = replay(arguments);
    const Result shot = runTool("quibbix-shot", std::string(arguments) + " --out never.png");
    for (const Result* result : {&replayed, &shot}) {
      EXPECT_EQ(result->status, 2);
      EXPECT_EQ(result->out, "");
      EXPECT_EQ(std::count(result->err.begin(), result->err.end(), '\n'), 1) << result->err;
    }
    EXPECT_EQ(replayed.err.rfind("usage: quibbix-replay --seed S --frames N", 0), 0u);
    EXPECT_EQ(shot.err.rfind("usage: quibbix-shot --seed S --frames N", 0), 0u);
    // The same words for the common options, and the same reason.
    EXPECT_EQ(commonPart(replayed.err, "quibbix-replay", " [--reference]"),
              commonPart(shot.err, "quibbix-shot", " [--spin"));
    EXPECT_EQ(replayed.err.substr(replayed.err.rfind(" (")), shot.err.substr(shot.err.rfind(" (")));
  }
  EXPECT_EQ(std::remove("never.png"), -1) << "nothing is written";
}

TEST(ToolArguments, EveryToolAnswersHelpAndAUsageErrorInTheSameWords) {
  const std::pair<const char*, const char*> tools[] = {
      {"quibbix-replay", "--seed 1"},
      {"quibbix-shot", "--bogus"},
      {"quibbix-bmpdump", ""},
      {"quibbix-assetgen", "--bogus"},
  };
  for (const auto& [tool, wrongArguments] : tools) {
    SCOPED_TRACE(tool);
    const Result help = runTool(tool, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("usage: " + std::string(tool) + " ", 0), 0u) << help.out;
    ASSERT_EQ(std::count(help.out.begin(), help.out.end(), '\n'), 1) << help.out;
    // The line --help prints, then the reason in brackets.
    const Result wrong = runTool(tool, wrongArguments);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    const std::string line = help.out.substr(0, help.out.size() - 1);
    EXPECT_EQ(wrong.err.rfind(line + " (", 0), 0u) << wrong.err;
    EXPECT_EQ(wrong.err.substr(wrong.err.size() - 2), ")\n") << wrong.err;
  }
}
