#include "app/startup.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "platform/clock.h"
#include "platform/random.h"
#include "sim/hamster.h"

namespace {

// Tufts stand outside the pen: a coordinate of ±1.40 (as a float, just below
// 1.4) still counts as inside.
bool isOutsidePen(float x, float y) {
  return x >= 1.4 || x <= -1.4 || y >= 1.4 || y <= -1.4;
}

float randomGrassCoordinate() {
  return static_cast<float>((platform::rand() % 600 - 300) * 0.01);
}

void scatterGrass(SceneState& state) {
  for (GrassTuft& tuft : state.grassTufts) {
    do {
      tuft.x = randomGrassCoordinate();
      tuft.y = randomGrassCoordinate();
    } while (!isOutsidePen(tuft.x, tuft.y));
  }
}

void fillPool(SceneState& state) {
  for (Hamster*& slot : state.hamsterPool) {
    slot = new (std::nothrow) Hamster;
    // Every later stage uses each pool entry as a hamster; a null one would
    // crash the first frame, so stop here with a reason instead.
    if (!slot) {
      std::fprintf(stderr, "Out of memory while creating the hamsters.\n");
      std::exit(1);
    }
  }
}

void fillFrameTimeRing(SceneState& state) {
  state.frameTimes.fill(0.05f);
  state.frameTimeIndex = 0;
}

}  // namespace

int initScene(SceneState& state, Clock& clock, const StartupOptions& options) {
  state.spinAngle = -90;
  platform::srand(options.seed);
  if (options.graphics) options.graphics->loadTextures(state);
  scatterGrass(state);
  fillPool(state);
  if (options.graphics) options.graphics->setFixedRenderState();
  state.lightingEnabled = 1;
  state.lastClockMs = clock.milliseconds();
  fillFrameTimeRing(state);
  return 1;
}

void freeHamsters(SceneState& state) {
  for (Hamster*& hamster : state.hamsterPool) {
    delete hamster;
    hamster = nullptr;
  }
}
