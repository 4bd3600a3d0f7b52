// quibbix-replay: runs the simulation headless from a seed and prints the whole
// state after the last frame, every float in hexadecimal so that two builds, or
// two implementations, can be compared bit for bit. No window, no sound, no
// pictures; the state changes exactly as in the program, including drawing's
// reset of the tumble angle at the end of every frame.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/scenario.h"
#include "app/startup.h"
#include "app/tool_options.h"
#include "app/tool_usage.h"
#include "platform/sound.h"
#include "platform/standard_descriptors.h"
#include "platform/stdio_mode.h"
#include "scene/scene_state.h"
#include "sim/hamster.h"

namespace {

void printFloat(float value) {
  std::printf(" %a", static_cast<double>(value));
}

void printState(const SceneState& state) {
  std::printf("spin %a\n", static_cast<double>(state.spinAngle));
  for (int i = 0; i < kGrassTufts; ++i) {
    std::printf("grass %d", i);
    printFloat(state.grassTufts[i].x);
    printFloat(state.grassTufts[i].y);
    std::printf("\n");
  }
  for (int i = 0; i < kMaxHamsters; ++i) {
    const Hamster& h = *state.hamsterPool[i];
    std::printf("hamster %d", i);
    for (float value : {h.timeStep, h.x, h.y, h.z, h.vx, h.vy, h.vz, h.restitution, h.heading,
                        h.walkSpeed, h.tumbleAngle, h.tumbleRate}) {
      printFloat(value);
    }
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  openMissingStandardDescriptors();
  useExactTextOutput();
  Scenario scenario;
  // The literal contact relaxation instead of the fast one (same bits).
  const ToolOption own[] = {
      {"--reference", nullptr, false, [&scenario](const std::string&, std::string&) {
         scenario.relaxation = Relaxation::kReference;
         return true;
       }}};
  std::string error;
  if (asksForHelp(argc, argv)) return printUsage(toolUsage("quibbix-replay", own));
  if (!parseToolOptions(argc, argv, scenario, own, error)) {
    return reportUsageError("quibbix-replay", own, error);
  }

  SceneState state;
  SilentSound silence;
  ScenarioRun run(scenario, state, silence);
  run.start();
  run.playFrames(settleTumbles);
  printState(state);

  // A replay whose output did not arrive in full must not look like one that did.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::perror("quibbix-replay: writing the state");
    freeHamsters(state);
    return 1;
  }
  freeHamsters(state);
  return 0;
}
