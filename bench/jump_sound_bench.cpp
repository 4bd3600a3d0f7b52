// The jump stage of the frame step with the real sound layer (SDL_mixer on
// SDL's dummy audio driver): the first jump of a run, with the sound prepared
// at start-up as the program does and without (opening the device and
// decoding the file inside the frame), against a later jump.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/startup.h"
#include "platform/clock.h"
#include "platform/mixer_sound.h"
#include "sim/frame_step.h"

namespace {

// The frame step plays the sound by name; the build's assets/ is made the
// current folder so that the name is found there.
void useBuildAssets() {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (chdir(QUIBBIX_BINARY_DIR "/assets") != 0) std::abort();
}

// Ten hamsters, as at the program's start.
struct Scene {
  Scene() {
    useBuildAssets();
    ScriptedClock clock(0);
    initScene(state, clock, {7});
  }
  ~Scene() { freeHamsters(state); }
  void jump(Sound& sound) {
    state.explodeByKey = 1;
    handleJumpRequest(state, sound);
  }
  SceneState state;
};

enum class Jump { kFirstPreparedInTheFrame, kFirstPreparedAtStartUp, kLater };

// Each iteration times one jump stage. For a first jump the device is opened
// (and closed again) outside the timed part; a later jump has the same
// pauses around it, so that the timer's own cost is the same in all three.
void timeJump(benchmark::State& bench, Jump jump) {
  Scene scene;
  std::unique_ptr<MixerSound> sound;
  if (jump == Jump::kLater) {
    sound = std::make_unique<MixerSound>();
    scene.jump(*sound);
  }
  for (auto _ : bench) {
    bench.PauseTiming();
    if (jump != Jump::kLater) {
      sound = std::make_unique<MixerSound>();
      if (jump == Jump::kFirstPreparedAtStartUp) sound->preload(kJumpSoundFile);
    }
    // A jump comes at least a frame after start-up, when the device's own
    // thread has started; without this the timed call would meet it starting.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bench.ResumeTiming();
    scene.jump(*sound);
    bench.PauseTiming();
    if (jump != Jump::kLater) sound.reset();
    bench.ResumeTiming();
  }
}

void BM_FirstJumpPreparedInTheFrame(benchmark::State& bench) {
  timeJump(bench, Jump::kFirstPreparedInTheFrame);
}
void BM_FirstJumpPreparedAtStartUp(benchmark::State& bench) {
  timeJump(bench, Jump::kFirstPreparedAtStartUp);
}
void BM_LaterJump(benchmark::State& bench) {
  timeJump(bench, Jump::kLater);
}

// What start-up now pays once, before the first frame.
void BM_PreloadAtStartUp(benchmark::State& bench) {
  useBuildAssets();
  for (auto _ : bench) {
    auto sound = std::make_unique<MixerSound>();
    sound->preload(kJumpSoundFile);
    bench.PauseTiming();
    sound.reset();
    bench.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_FirstJumpPreparedInTheFrame)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_FirstJumpPreparedAtStartUp)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_LaterJump)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_PreloadAtStartUp)->Unit(benchmark::kMicrosecond)->Iterations(200);

BENCHMARK_MAIN();
