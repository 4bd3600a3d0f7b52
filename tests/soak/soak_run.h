// A long scripted run of the simulation with random input, checked as it
// goes. The frame is the program's frame step, its own stage list taken stage
// by stage, so that the pen can be checked between confinement and relaxation.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "scene/scene_state.h"

struct SoakOptions {
  uint32_t seed = 1;
  int count = 100;  // the crowd the run keeps coming back to
  int frames = 1000;
  int framesPerBlock = 1000;  // time is measured per block of frames
};

struct SoakReport {
  int frames = 0;
  int events = 0;
  int jumps = 0;                 // frames that carried out a jump request
  int firstNonFiniteFrame = 0;   // 0: every float stayed finite
  int firstOutsidePenFrame = 0;  // 0: every active hamster was inside after confine
  // 0: every frame turned the scene by its time step at 20 degrees a second,
  // the angle untouched by any wrap until the sum reached 360, then kept in
  // [0, 360) by whole turns.
  int firstBadSpinFrame = 0;
  int firstWrapFrame = 0;               // the frame whose turn first reached 360 degrees
  int subnormalFrames = 0;              // frames where some active float was subnormal
  float largestHeading = 0;             // radians, magnitude
  float largestTumble = 0;              // degrees, magnitude
  std::vector<double> blockMsPerFrame;  // thread CPU time of the stages
};

struct Scenario;

// Runs the soak on `state`, which the caller frees. `clock` starts at 0. When
// `record` is given it receives the run's input as a scenario, so that the
// same frames can be played through the program's own frame step.
SoakReport runSoak(const SoakOptions& options, SceneState& state, ScriptedClock& clock,
                   Scenario* record = nullptr);
