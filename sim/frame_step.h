// One simulated frame: everything an idle turn does before the frame is drawn.
#pragma once

#include "app/scene_state.h"

class Clock;
class Sound;

// Which contact relaxation runs: the fast one, or the literal quadratic loop
// that defines the results and against which the fast one is checked.
enum class Relaxation { kFast, kReference };

// Frame timing, spin, jump request, motion, confinement, heading jitter,
// relaxation. Drawing the frame is the caller's last step.
void stepFrame(SceneState& state, Clock& clock, Sound& sound,
               Relaxation relaxation = Relaxation::kFast);
