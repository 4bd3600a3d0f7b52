// One simulated frame: everything an idle turn does before the frame is drawn.
#pragma once

#include <span>

#include "scene/scene_state.h"
#include "sim/relaxation.h"

class Clock;
class Sound;

// Runs the stages of frameStages() in their order: frame timing, spin, jump
// request, motion, confinement, heading jitter, relaxation. Drawing the frame
// is the caller's last step.
void stepFrame(SceneState& state, Clock& clock, Sound& sound,
               Relaxation relaxation = Relaxation::kFast);

// What the stages of one frame step work on.
struct FrameContext {
  SceneState& state;
  Clock& clock;
  Sound& sound;
  Relaxation relaxation = Relaxation::kFast;
  float dt = 0;  // the time step in seconds, set by the timing stage
};

enum class FrameStage { kTiming, kSpin, kJump, kMotion, kConfinement, kJitter, kRelaxation };
struct FrameStageRow {
  FrameStage stage;
  void (*run)(FrameContext& frame);
};
// The frame step's stages, in its order; written down only here, for
// stepFrame and for runs that look at the scene between stages.
std::span<const FrameStageRow> frameStages();

// The work of each stage, for tests that look at one alone. Each works on
// the active hamsters, hamsterPool[0 .. hamsterCount-1].

// Reads the clock, records the frame's length in the ring of the last ten and
// returns their mean in seconds, clamped to [0.001, 0.25]: the time step.
float measureFrameTime(SceneState& state, Clock& clock);
// Turns the scene by 20 degrees per second.
void spinScene(SceneState& state, float dt);
// On a pending key or click request: launches the hamsters near the middle,
// turns the others towards it, clears both requests and starts the sound.
void handleJumpRequest(SceneState& state, Sound& sound);
void moveHamsters(SceneState& state, float dt);
void confineHamsters(SceneState& state);
// A small random turn per hamster and frame, whatever the time step.
void jitterHeadings(SceneState& state);
void relaxHamsters(SceneState& state, Relaxation relaxation);
