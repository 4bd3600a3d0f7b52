// Frame drawing cost with 10, 500 and 1500 hamsters, in a real window (Mesa's
// software renderer under Xvfb here), beside a bare loop that calls the same
// display lists with nothing else around them. Each iteration ends with
// glFinish so the rasteriser's threads are counted, and uses wall time.
//
// Run under a display, e.g.: xvfb-run -a build/bench/draw_bench
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/gl_startup.h"
#include "app/scenario.h"
#include "app/scene_display.h"
#include "platform/message_box.h"
#include "platform/sound.h"
#include "render/scene_draw.h"
#include "sim/hamster.h"

namespace {

SceneState scene;

// Start-up reads the pictures from build/assets, next to this program's folder.
void enterAssetFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return;
  const auto assets = exe.parent_path().parent_path() / "assets";
  if (std::filesystem::is_directory(assets)) std::filesystem::current_path(assets, error);
}

// A crowd that has walked, been flung and spread for five seconds of frames.
void prepareScene() {
  Scenario scenario;
  scenario.seed = 20240601;
  scenario.frames = 300;
  scenario.count = kMaxHamsters;
  scenario.events = {{100, InputEvent::kSpace}, {250, InputEvent::kSpace}};
  SilentSound sound;
  ScenarioRun run(scenario, scene, sound);
  run.start(&kOpenGlStartup);
  run.playFrames(settleTumbles);
  drawFrame(scene);  // builds the lists outside the timing
  glFinish();
}

void timeFrames(benchmark::State& bench, void (*draw)(SceneState&)) {
  scene.hamsterCount = static_cast<int32_t>(bench.range(0));
  for (auto _ : bench) {
    draw(scene);
    glFinish();
  }
  scene.hamsterCount = kMaxHamsters;
}

void BM_DrawFrame(benchmark::State& bench) {
  timeFrames(bench, drawFrame);
}

// The whole display callback: the frame and the buffer swap, which under Xvfb
// copies the picture to the virtual screen.
void BM_DrawAndSwap(benchmark::State& bench) {
  timeFrames(bench, drawScene);
}

// The same lists, the same hamster places and the state the frame draws them
// with (culling on, the hamster texture), nothing else: no scenery, no heading
// or tumble rotation, no colour reset.
void BM_BareLists(benchmark::State& bench) {
  const int count = static_cast<int>(bench.range(0));
  for (auto _ : bench) {
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, -1.8, 1.2, 0, 0, 0, 0, 0, 1);
    glEnable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, scene.textures.hamsterTexture);
    for (int i = 0; i < count; ++i) {
      const Hamster& h = *scene.hamsterPool[i];
      glPushMatrix();
      glTranslatef(h.x, h.y, h.z);
      glCallList(scene.hamsterList);
      glCallList(scene.shadowList);
      glPopMatrix();
    }
    glDisable(GL_CULL_FACE);
    glFinish();
  }
}

BENCHMARK(BM_DrawFrame)->Arg(10)->Arg(500)->Arg(1500)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DrawAndSwap)->Arg(10)->Arg(1500)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareLists)->Arg(10)->Arg(500)->Arg(1500)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  char name[] = "draw_bench";
  char* toolkitArgv[] = {name, nullptr};
  int toolkitArgc = 1;
  glutInit(&toolkitArgc, toolkitArgv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
  glutInitWindowSize(500, 500);
  glutCreateWindow("draw bench");
  glutDisplayFunc([] {});
  onReshape(500, 500);
  setMessageBoxHandler([](const char*, const char*) {});
  enterAssetFolder();
  prepareScene();
  benchmark::RunSpecifiedBenchmarks();
  freeHamsters(scene);
  benchmark::Shutdown();
  return 0;
}
