#include "app/fps_counter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Reports given by frames drawn every `frameUs` microseconds for `spanMs`,
// read from a millisecond clock that starts at `startMs`.
std::vector<std::string> reports(int64_t frameUs, int64_t spanMs, int32_t startMs = 0) {
  FpsCounter counter;
  std::vector<std::string> lines;
  for (int64_t us = 0; us <= spanMs * 1000; us += frameUs) {
    const auto now = static_cast<int32_t>(static_cast<uint32_t>(startMs) + (us + 500) / 1000);
    std::string line = counter.frameDrawn(now);
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

}  // namespace

TEST(FpsCounter, ReportsEveryFiveSecondsTheFramesDrawnSince) {
  const std::vector<std::string> paced = reports(16'667, 20'100);
  ASSERT_EQ(paced.size(), 4u);
  for (const std::string& line : paced) EXPECT_EQ(line, "300 frames in 5.0 seconds = 60.000 FPS\n");
  // Across the clock's 32-bit wrap, the same.
  EXPECT_EQ(reports(16'667, 20'100, INT32_MAX - 7'000), paced);
}

TEST(FpsCounter, SlowFramesReportTheTimeThatReallyPassed) {
  const std::vector<std::string> slow = reports(300'000, 11'000);
  ASSERT_EQ(slow.size(), 2u);
  EXPECT_EQ(slow[0], "17 frames in 5.1 seconds = 3.333 FPS\n");
  // A frame longer than the interval is still one frame.
  const std::vector<std::string> stalled = reports(7'000'000, 14'000);
  ASSERT_EQ(stalled.size(), 2u);
  EXPECT_EQ(stalled[0], "1 frames in 7.0 seconds = 0.143 FPS\n");
}
