// One simulated frame.
#pragma once

#include "app/scene_state.h"

class Clock;
class Sound;

// Everything an idle turn does before the frame is drawn.
void stepFrame(SceneState& state, Clock& clock, Sound& sound);
