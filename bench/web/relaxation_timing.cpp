// The contact relaxation at 1500 hamsters in the browser build, timed under
// node: the literal loop and the fast sweep in each branch this build has,
// from crowds that have run for a few hundred frames, settled and just back
// on the ground after a jump (as bench/relaxation_bench.cpp makes them).
// Google Benchmark has no WebAssembly build here, so this is its plain kin:
// the median and the fastest of a number of rounds, each from the same
// start. Built by scripts/web/build.sh; scripts/web/bench.sh runs it in both
// of the browser build's forms (bench/README.md).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <span>
#include <vector>

#include "app/scenario.h"
#include "app/startup.h"
#include "platform/sound.h"
#include "sim/fast_relaxation/fast_relaxation.h"
#include "sim/hamster.h"
#include "sim/relaxation.h"

namespace {

constexpr int kCount = 1500;
constexpr int kWarmUpFrames = 300;

std::vector<Hamster> warmCrowd(bool afterJump) {
  SceneState state;
  SilentSound silence;
  Scenario scenario;
  scenario.seed = 2024;
  scenario.frames = kWarmUpFrames;
  scenario.count = kCount;
  // The jump lands about a second and a half before the end of the warm-up.
  scenario.events = {{afterJump ? kWarmUpFrames - 90 : 50, InputEvent::kSpace}};
  ScenarioRun run(scenario, state, silence);
  run.start();
  run.playFrames(settleTumbles);
  std::vector<Hamster> crowd;
  for (int i = 0; i < kCount; ++i) crowd.push_back(*state.hamsterPool[i]);
  freeHamsters(state);
  return crowd;
}

struct Timing {
  double median, fastest;  // milliseconds
};

// The median and the fastest of `rounds`: on a machine that others share the
// fastest shows the cost best, the median what a frame meets.
Timing timeRounds(const std::vector<Hamster>& start, int rounds,
                  const std::function<void(std::span<Hamster* const>)>& relax) {
  std::vector<Hamster> crowd = start;
  std::vector<Hamster*> pointers;
  for (Hamster& h : crowd) pointers.push_back(&h);
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    crowd = start;
    const auto begin = std::chrono::steady_clock::now();
    relax(pointers);
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
            .count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front()};
}

void print(const char* name, Timing timing) {
  std::printf(", %s %.2f ms (fastest %.2f)", name, timing.median, timing.fastest);
}

}  // namespace

int main() {
  for (const bool afterJump : {false, true}) {
    const std::vector<Hamster> start = warmCrowd(afterJump);
    std::printf("%d hamsters, %s", kCount, afterJump ? "after a jump" : "settled");
    print("literal", timeRounds(start, 5, relaxCrowdReference));
    for (const SweepBranch& branch : sweepBranches()) {
      if (!branch.runsHere()) continue;
      FastRelaxation fast(branch);
      print(branch.name, timeRounds(start, 201, [&fast](std::span<Hamster* const> hamsters) {
              fast.relax(hamsters);
            }));
    }
    std::printf("\n");
  }
  return 0;
}
