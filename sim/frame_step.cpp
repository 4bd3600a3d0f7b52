#include "sim/frame_step.h"

#include <cmath>
#include <cstdint>
#include <span>

#include "platform/clock.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "sim/fast_relaxation/fast_relaxation.h"
#include "sim/hamster.h"

namespace {

// Frame timing, with the single-precision constants the ring is defined with.
constexpr float kMillisecond = 0.001f;
constexpr float kTenth = 0.1f;
constexpr float kLongestStep = 0.25f;
constexpr float kShortestStep = 0.001f;

constexpr double kSpinRate = 20;   // degrees per second
constexpr double kFullTurn = 360;  // degrees

// The jump: launch strength s falls off with the distance from the centre and
// is flattened above 1, in single precision.
constexpr float kFlattening = 0.33333334f;
constexpr double kLaunchThreshold = 0.05;  // s above it launches: closer than 0.9
constexpr double kTurnBack = 1.75;         // radians added to the bearing from the centre

std::span<Hamster* const> activeHamsters(const SceneState& state) {
  return {state.hamsterPool.data(), static_cast<size_t>(state.hamsterCount)};
}

void launch(Hamster& h, float s) {
  const double strength = s;
  h.vz = static_cast<float>(h.vz + (platform::rand() % 10 + 15) * strength * 0.1);
  h.restitution = static_cast<float>(h.restitution + platform::rand() % 40 * 0.0125 + 0.5);
  h.vx = static_cast<float>(h.vx + static_cast<double>(h.x) * strength * 0.1);
  h.vy = static_cast<float>(h.vy + static_cast<double>(h.y) * strength * 0.1);
  h.tumbleRate = static_cast<float>(platform::rand() % 400 * strength + 200.0);
}

}  // namespace

float measureFrameTime(SceneState& state, Clock& clock) {
  const int32_t now = clock.milliseconds();
  const int32_t elapsed = millisecondsBetween(state.lastClockMs, now);
  state.frameTimes[state.frameTimeIndex] = static_cast<float>(elapsed) * kMillisecond;
  state.frameTimeIndex = state.frameTimeIndex + 1 == kFrameTimeRing ? 0 : state.frameTimeIndex + 1;
  state.lastClockMs = now;

  double sum = 0;
  for (float seconds : state.frameTimes) sum += seconds;
  float dt = static_cast<float>(sum * kTenth);
  // A stalled or backward clock only feeds one odd entry; the clamps bound it.
  if (dt > kLongestStep) dt = kLongestStep;
  if (dt < 0.001) dt = kShortestStep;
  return dt;
}

void spinScene(SceneState& state, float dt) {
  float angle = static_cast<float>(state.spinAngle + dt * kSpinRate);
  // Left to grow, the float would lose the step: after a day of running the
  // turn goes uneven, after a few days it stops. From the first full turn on
  // the angle stays in [0, 360); below that it is untouched, so short runs
  // keep their exact values.
  if (angle >= kFullTurn) {
    angle = static_cast<float>(std::fmod(static_cast<double>(angle), kFullTurn));
  }
  state.spinAngle = angle;
}

void handleJumpRequest(SceneState& state, Sound& sound) {
  if (!state.explodeByKey && !state.explodeByClick) return;
  // However many requests came in, this is one jump.
  state.explodeByKey = 0;
  state.explodeByClick = 0;

  for (Hamster* hamster : activeHamsters(state)) {
    Hamster& h = *hamster;
    const double x = h.x, y = h.y, z = h.z;
    const double r = std::sqrt(y * y + x * x + z * z);
    float s = static_cast<float>(1.4 - 1.5 * r);
    if (s > 1.0) s = (s - 1.0f) * kFlattening + 1.0f;
    if (s > kLaunchThreshold) {
      launch(h, s);
    } else {
      h.heading = static_cast<float>(std::atan2(y, x) + kTurnBack);
    }
  }
  sound.playAsync(kJumpSoundFile);
}

void moveHamsters(SceneState& state, float dt) {
  for (Hamster* h : activeHamsters(state)) {
    h->timeStep = dt;
    h->move();
  }
}

void confineHamsters(SceneState& state) {
  for (Hamster* h : activeHamsters(state)) h->confine();
}

void jitterHeadings(SceneState& state) {
  for (Hamster* h : activeHamsters(state)) {
    h->heading = static_cast<float>(h->heading + platform::rand() % 160 * 0.0025 - 0.2);
  }
}

void relaxHamsters(SceneState& state, Relaxation relaxation) {
  switch (relaxation) {
    case Relaxation::kFast:
      fastRelaxationOf(state).relax(activeHamsters(state));
      break;
    case Relaxation::kReference:
      relaxCrowdReference(activeHamsters(state));
      break;
  }
}

namespace {

// Every hamster moves before the first is confined.
constexpr FrameStageRow kStages[] = {
    {FrameStage::kTiming,
     [](FrameContext& frame) { frame.dt = measureFrameTime(frame.state, frame.clock); }},
    {FrameStage::kSpin, [](FrameContext& frame) { spinScene(frame.state, frame.dt); }},
    {FrameStage::kJump, [](FrameContext& frame) { handleJumpRequest(frame.state, frame.sound); }},
    {FrameStage::kMotion, [](FrameContext& frame) { moveHamsters(frame.state, frame.dt); }},
    {FrameStage::kConfinement, [](FrameContext& frame) { confineHamsters(frame.state); }},
    {FrameStage::kJitter, [](FrameContext& frame) { jitterHeadings(frame.state); }},
    {FrameStage::kRelaxation,
     [](FrameContext& frame) { relaxHamsters(frame.state, frame.relaxation); }},
};

}  // namespace

std::span<const FrameStageRow> frameStages() {
  return kStages;
}

void stepFrame(SceneState& state, Clock& clock, Sound& sound, Relaxation relaxation) {
  FrameContext frame{state, clock, sound, relaxation};
  for (const FrameStageRow& stage : frameStages()) stage.run(frame);
}
