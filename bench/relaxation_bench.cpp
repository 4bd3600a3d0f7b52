// The contact relaxation alone, literal loop against the fast sweep, side by
// side in one run, from crowds that have run for a few hundred frames: settled
// ones, and ones just back on the ground after a jump. Also the whole frame
// step with each. Both sweeps give the same bits (tests/sim), so the states
// are warmed up with the fast one.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "platform/sound.h"
#include "sim/fast_relaxation.h"
#include "sim/frame_step.h"
#include "sim/hamster.h"
#include "sim/relaxation.h"
#include "tools/scenario/scenario.h"

namespace {

constexpr int kWarmUpFrames = 300;

enum Crowd { kSettled, kAfterJump };

// A scene after the warm-up, made once per crowd size and kind.
struct WarmScene {
  SceneState state;
  SilentSound silence;
  Scenario scenario;
  std::unique_ptr<ScenarioRun> run;
  ~WarmScene() { freeHamsters(state); }
};

WarmScene& warmScene(int count, Crowd crowd) {
  static std::map<std::pair<int, int>, std::unique_ptr<WarmScene>> scenes;
  auto& scene = scenes[{count, crowd}];
  if (!scene) {
    scene = std::make_unique<WarmScene>();
    scene->scenario.seed = 2024;
    scene->scenario.frames = kWarmUpFrames;
    scene->scenario.count = count;
    // The jump lands about a second and a half before the end of the warm-up.
    scene->scenario.events = {{crowd == kAfterJump ? kWarmUpFrames - 90 : 50, InputEvent::kSpace}};
    scene->run = std::make_unique<ScenarioRun>(scene->scenario, scene->state, scene->silence);
    scene->run->start(/*graphics=*/false);
    scene->run->playFrames(settleTumbles);
  }
  return *scene;
}

void relaxation(benchmark::State& bench, Relaxation kind) {
  const int count = static_cast<int>(bench.range(0));
  WarmScene& scene = warmScene(count, static_cast<Crowd>(bench.range(1)));
  std::vector<Hamster> start;
  for (int i = 0; i < count; ++i) start.push_back(*scene.state.hamsterPool[i]);
  std::vector<Hamster> crowd = start;
  std::vector<Hamster*> pointers;
  for (Hamster& h : crowd) pointers.push_back(&h);
  for (auto _ : bench) {
    bench.PauseTiming();
    crowd = start;
    bench.ResumeTiming();
    relaxCrowd(pointers, kind);
    benchmark::DoNotOptimize(crowd.data());
  }
}

void BM_RelaxationLiteral(benchmark::State& bench) {
  relaxation(bench, Relaxation::kReference);
}
void BM_RelaxationFast(benchmark::State& bench) {
  relaxation(bench, Relaxation::kFast);
}

void BM_FrameStepFast(benchmark::State& bench) {
  WarmScene& scene = warmScene(static_cast<int>(bench.range(0)), kSettled);
  for (auto _ : bench) {
    scene.run->clock().advance(16);
    stepFrame(scene.state, scene.run->clock(), scene.silence, Relaxation::kFast);
    settleTumbles(scene.state);
  }
}

void crowdSizes(benchmark::internal::Benchmark* b) {
  for (int crowd : {kSettled, kAfterJump}) {
    for (int count : {10, 100, 500, 1500}) b->Args({count, crowd});
  }
}

}  // namespace

BENCHMARK(BM_RelaxationLiteral)->Apply(crowdSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelaxationFast)->Apply(crowdSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameStepFast)->Arg(10)->Arg(100)->Arg(500)->Arg(1500)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
