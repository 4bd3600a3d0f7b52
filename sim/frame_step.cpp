#include "sim/frame_step.h"

// Placeholder until the frame step is built: nothing moves yet.
void stepFrame(SceneState&, Clock&, Sound&, Relaxation) {}
