#include "tests/soak/soak_run.h"

#include <time.h>

#include <cmath>
#include <random>

#include "app/scenario.h"
#include "app/startup.h"
#include "platform/sound.h"
#include "sim/frame_step.h"
#include "sim/hamster.h"

namespace {

constexpr double kPenHalfWidth = 1.1;
constexpr double kDegreesPerSecond = 20;

double threadMs() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec * 1e-6;
}

bool allFinite(const SceneState& state) {
  if (!std::isfinite(state.spinAngle)) return false;
  for (int i = 0; i < state.hamsterCount; ++i) {
    const Hamster& h = *state.hamsterPool[i];
    for (float value : {h.timeStep, h.x, h.y, h.z, h.vx, h.vy, h.vz, h.restitution, h.heading,
                        h.walkSpeed, h.tumbleAngle, h.tumbleRate}) {
      if (!std::isfinite(value)) return false;
    }
  }
  return true;
}

bool anySubnormal(const SceneState& state) {
  for (int i = 0; i < state.hamsterCount; ++i) {
    const Hamster& h = *state.hamsterPool[i];
    for (float value : {h.x, h.y, h.z, h.vx, h.vy, h.vz, h.restitution, h.heading, h.tumbleAngle}) {
      if (std::fpclassify(value) == FP_SUBNORMAL) return true;
    }
  }
  return false;
}

// One frame's turn of the scene from `before` to `after` by `dt` seconds,
// before or after the angle first wrapped.
bool spinTurnedRight(float before, float after, float dt, bool wrapped) {
  const float unwrapped = static_cast<float>(before + dt * kDegreesPerSecond);
  if (!wrapped && unwrapped < 360) return after == unwrapped;
  double turned = static_cast<double>(after) - before;
  if (turned < 0) turned += 360;
  // Near 360 a float holds about 3e-5 of a degree; whole turns only.
  const double turns = (static_cast<double>(unwrapped) - after) / 360;
  return after >= 0 && after < 360 && std::fabs(turned - dt * kDegreesPerSecond) <= 1e-4 &&
         std::fabs(turns - std::round(turns)) <= 1e-6;
}

// Records the first frame whose turn reached 360 degrees and the first that
// turned the scene wrongly.
void checkSpin(SoakReport& report, int frame, float before, const SceneState& state, float dt) {
  const bool wrapped = report.firstWrapFrame != 0;
  if (!wrapped && static_cast<float>(before + dt * kDegreesPerSecond) >= 360) {
    report.firstWrapFrame = frame;
  }
  if (report.firstBadSpinFrame == 0 && !spinTurnedRight(before, state.spinAngle, dt, wrapped)) {
    report.firstBadSpinFrame = frame;
  }
}

bool allInsidePen(const SceneState& state) {
  for (int i = 0; i < state.hamsterCount; ++i) {
    const Hamster& h = *state.hamsterPool[i];
    if (!(h.x >= -kPenHalfWidth && h.x <= kPenHalfWidth && h.y >= -kPenHalfWidth &&
          h.y <= kPenHalfWidth)) {
      return false;
    }
  }
  return true;
}

// Random input a few frames apart: jumps by key and click, keys and buttons
// that do nothing, and crowd changes that the next change takes back.
class RandomInput {
 public:
  RandomInput(uint32_t seed, int count) : random_(seed), count_(count) { scheduleNext(0); }

  // This frame's events, none on most frames.
  std::vector<InputEvent> eventsFor(const SceneState& state, int frame) {
    if (frame != next_) return {};
    scheduleNext(frame);
    const int pick = std::uniform_int_distribution<int>(0, 9)(random_);
    if (pick < 4) return {InputEvent::kSpace};
    if (pick < 7) return {InputEvent::kClick};
    if (pick == 7) {
      const bool right = std::uniform_int_distribution<int>(0, 1)(random_) != 0;
      return {right ? InputEvent::kRightClick : InputEvent::kLeftRelease, InputEvent::kUpperQ};
    }
    if (state.hamsterCount == count_) {
      return {count_ < kMaxHamsters ? InputEvent::kPlus : InputEvent::kMinus};
    }
    return {state.hamsterCount > count_ ? InputEvent::kMinus : InputEvent::kPlus};
  }

  // Mostly a steady frame rate, now and then a stall or a burst of 0 ms frames.
  int32_t frameMs() {
    const int roll = std::uniform_int_distribution<int>(0, 999)(random_);
    if (roll == 0) return 3000;
    if (roll < 5) return 0;
    return std::uniform_int_distribution<int32_t>(8, 40)(random_);
  }

 private:
  void scheduleNext(int frame) {
    next_ = frame + std::uniform_int_distribution<int>(1, 6)(random_);
  }

  std::mt19937 random_;
  int count_;
  int next_ = 0;
};

}  // namespace

SoakReport runSoak(const SoakOptions& options, SceneState& state, ScriptedClock& clock,
                   Scenario* record) {
  SilentSound silence;
  clock.set(0);
  initScene(state, clock, {options.seed});
  state.hamsterCount = options.count;
  RandomInput input(options.seed, options.count);
  if (record) {
    *record = Scenario();
    record->seed = options.seed;
    record->frames = options.frames;
    record->count = options.count;
    record->frameMs.clear();
  }

  SoakReport report;
  double blockMs = 0;
  for (int frame = 1; frame <= options.frames; ++frame) {
    for (InputEvent event : input.eventsFor(state, frame)) {
      deliverEvent(state, event);
      ++report.events;
      if (record) record->events.push_back({frame, event});
    }
    if (state.explodeByKey || state.explodeByClick) ++report.jumps;
    const int32_t frameMs = input.frameMs();
    if (record) record->frameMs.push_back(frameMs);
    clock.advance(frameMs);

    // The frame step's own stages, with the spin checked after its stage and
    // the pen after confinement (outside the timed blocks).
    FrameContext step{state, clock, silence, Relaxation::kFast};
    double started = threadMs();
    for (const FrameStageRow& stage : frameStages()) {
      const float spinBefore = state.spinAngle;
      stage.run(step);
      if (stage.stage == FrameStage::kSpin) checkSpin(report, frame, spinBefore, state, step.dt);
      if (stage.stage == FrameStage::kConfinement) {
        blockMs += threadMs() - started;
        if (report.firstOutsidePenFrame == 0 && !allInsidePen(state)) {
          report.firstOutsidePenFrame = frame;
        }
        started = threadMs();
      }
    }
    settleTumbles(state);
    blockMs += threadMs() - started;

    if (report.firstNonFiniteFrame == 0 && !allFinite(state)) report.firstNonFiniteFrame = frame;
    if (anySubnormal(state)) ++report.subnormalFrames;
    for (int i = 0; i < state.hamsterCount; ++i) {
      const Hamster& h = *state.hamsterPool[i];
      report.largestHeading = std::fmax(report.largestHeading, std::fabs(h.heading));
      report.largestTumble = std::fmax(report.largestTumble, std::fabs(h.tumbleAngle));
    }
    if (frame % options.framesPerBlock == 0) {
      report.blockMsPerFrame.push_back(blockMs / options.framesPerBlock);
      blockMs = 0;
    }
    report.frames = frame;
  }
  return report;
}
