// Time of one frame step (everything but drawing) with the literal relaxation,
// from a crowd that has already run for a few hundred frames, so that the
// hamsters are spread over the pen as in the running program.
#include <benchmark/benchmark.h>

#include "app/scenario.h"
#include "app/startup.h"
#include "platform/sound.h"
#include "sim/frame_step.h"

namespace {

constexpr int kWarmUpFrames = 300;

void BM_FrameStepReference(benchmark::State& bench) {
  Scenario scenario;
  scenario.seed = 2024;
  scenario.frames = kWarmUpFrames;
  scenario.count = static_cast<int>(bench.range(0));
  scenario.relaxation = Relaxation::kReference;
  // A jump early on, so the crowd has landed and mixed again by the end.
  scenario.events = {{50, InputEvent::kSpace}};
  SceneState state;
  SilentSound silence;
  ScenarioRun run(scenario, state, silence);
  run.start();
  run.playFrames(settleTumbles);

  for (auto _ : bench) {
    run.clock().advance(16);
    stepFrame(state, run.clock(), silence, Relaxation::kReference);
    settleTumbles(state);
  }
  bench.counters["hamsters"] = static_cast<double>(state.hamsterCount);
  freeHamsters(state);
}

}  // namespace

BENCHMARK(BM_FrameStepReference)
    ->Arg(10)
    ->Arg(100)
    ->Arg(500)
    ->Arg(1500)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
