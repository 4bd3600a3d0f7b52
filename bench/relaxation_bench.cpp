// The contact relaxation alone, literal loop against the fast sweep in each
// form this CPU runs, side by side in one run, from crowds that have run for a
// few hundred frames: settled ones, and ones just back on the ground after a
// jump. Also the whole frame step with the fast sweep, and each of its other
// stages alone at 1500 hamsters. All sweeps give the same bits (tests/sim), so
// the states are warmed up with the default one. And the floor under any
// sweep: the pushes that change a bit, alone, replayed in their order.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "app/scenario.h"
#include "app/startup.h"
#include "platform/sound.h"
#include "sim/fast_relaxation/fast_relaxation.h"
#include "sim/frame_step.h"
#include "sim/hamster.h"
#include "sim/push_apart.h"
#include "sim/relaxation.h"
#include "sim/strength_chain.h"

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
    scene->run->start();
    scene->run->playFrames(settleTumbles);
  }
  return *scene;
}

void relaxation(benchmark::State& bench,
                const std::function<void(std::span<Hamster* const>)>& relax) {
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
    relax(pointers);
    benchmark::DoNotOptimize(crowd.data());
  }
}

void BM_RelaxationLiteral(benchmark::State& bench) {
  relaxation(bench, relaxCrowdReference);
}
// range(2) is the branch's row in sweepBranches().
void BM_RelaxationFast(benchmark::State& bench) {
  FastRelaxation fast(sweepBranches()[bench.range(2)]);
  bench.SetLabel(fast.branch().name);
  relaxation(bench, [&fast](std::span<Hamster* const> crowd) { fast.relax(crowd); });
}

// The pushes of one relaxation of the crowd that change a bit, found by the
// literal order of pairs; each round replays just those on the same start.
void BM_RelaxationFloor(benchmark::State& bench) {
  const int count = static_cast<int>(bench.range(0));
  WarmScene& scene = warmScene(count, static_cast<Crowd>(bench.range(1)));
  struct Position {
    float x, y, z;
  };
  std::vector<Position> start;
  for (int i = 0; i < count; ++i) {
    const Hamster& h = *scene.state.hamsterPool[i];
    start.push_back({h.x, h.y, h.z});
  }
  const StrengthChain& chain = strengthChain();
  struct Push {
    int i, j;
  };
  std::vector<Push> pushes;
  std::vector<Position> at = start;
  for (int pass = 0; pass < kRelaxationPasses; ++pass) {
    for (int i = 0; i < count; ++i) {
      for (int j = i; j < count; ++j) {
        const Position a = at[i], b = at[j];
        pushApart(at[i].x, at[i].y, at[i].z, at[j].x, at[j].y, at[j].z, chain.widened[j - i]);
        if (std::memcmp(&a, &at[i], sizeof a) != 0 || std::memcmp(&b, &at[j], sizeof b) != 0) {
          pushes.push_back({i, j});
        }
      }
    }
  }
  for (auto _ : bench) {
    bench.PauseTiming();
    at = start;
    bench.ResumeTiming();
    for (const Push& push : pushes) {
      Position& a = at[push.i];
      Position& b = at[push.j];
      pushApart(a.x, a.y, a.z, b.x, b.y, b.z, chain.widened[push.j - push.i]);
    }
    benchmark::DoNotOptimize(at.data());
  }
  bench.counters["pushes"] = static_cast<double>(pushes.size());
}

void BM_FrameStepFast(benchmark::State& bench) {
  WarmScene& scene = warmScene(static_cast<int>(bench.range(0)), kSettled);
  for (auto _ : bench) {
    scene.run->clock().advance(16);
    stepFrame(scene.state, scene.run->clock(), scene.silence, Relaxation::kFast);
    settleTumbles(scene.state);
  }
}

// One stage of the frame step at 1500 hamsters, from the settled crowd; each
// round starts from the same hamsters.
void frameStage(benchmark::State& bench, void (*stage)(SceneState&, Clock&, Sound&)) {
  WarmScene& scene = warmScene(1500, kSettled);
  std::vector<Hamster> start;
  for (int i = 0; i < 1500; ++i) start.push_back(*scene.state.hamsterPool[i]);
  for (auto _ : bench) {
    bench.PauseTiming();
    for (int i = 0; i < 1500; ++i) *scene.state.hamsterPool[i] = start[i];
    scene.run->clock().advance(16);
    bench.ResumeTiming();
    stage(scene.state, scene.run->clock(), scene.silence);
  }
  for (int i = 0; i < 1500; ++i) *scene.state.hamsterPool[i] = start[i];
}

void BM_StageTiming(benchmark::State& bench) {
  frameStage(bench, [](SceneState& state, Clock& clock, Sound&) {
    benchmark::DoNotOptimize(measureFrameTime(state, clock));
  });
}
void BM_StageSpin(benchmark::State& bench) {
  frameStage(bench, [](SceneState& state, Clock&, Sound&) { spinScene(state, 0.016f); });
}
void BM_StageJump(benchmark::State& bench) {
  frameStage(bench, [](SceneState& state, Clock&, Sound& sound) {
    state.explodeByKey = 1;
    handleJumpRequest(state, sound);
  });
}
void BM_StageMotion(benchmark::State& bench) {
  frameStage(bench, [](SceneState& state, Clock&, Sound&) { moveHamsters(state, 0.016f); });
}
void BM_StageConfinement(benchmark::State& bench) {
  frameStage(bench, [](SceneState& state, Clock&, Sound&) { confineHamsters(state); });
}
void BM_StageJitter(benchmark::State& bench) {
  frameStage(bench, [](SceneState& state, Clock&, Sound&) { jitterHeadings(state); });
}

void crowdSizes(benchmark::internal::Benchmark* b) {
  for (int crowd : {kSettled, kAfterJump}) {
    for (int count : {10, 100, 500, 1500}) b->Args({count, crowd});
  }
}

void crowdSizesByBranch(benchmark::internal::Benchmark* b) {
  for (int branch = 0; branch < static_cast<int>(sweepBranches().size()); ++branch) {
    if (!sweepBranches()[branch].runsHere()) continue;
    for (int crowd : {kSettled, kAfterJump}) {
      for (int count : {100, 500, 1500}) b->Args({count, crowd, branch});
    }
  }
}

}  // namespace

BENCHMARK(BM_RelaxationLiteral)->Apply(crowdSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelaxationFast)->Apply(crowdSizesByBranch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelaxationFloor)
    ->Args({1500, kSettled})
    ->Args({1500, kAfterJump})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameStepFast)->Arg(10)->Arg(100)->Arg(500)->Arg(1500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageTiming)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageSpin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageJump)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageMotion)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageConfinement)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StageJitter)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
