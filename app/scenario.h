// A scripted run of the program without its window: start-up from a seed with
// a scripted clock, then frames whose clock readings and input events are
// given up front. The replay and shot tools, tests and benchmarks share it, so
// they all change the state exactly as the program does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/clock.h"
#include "scene/scene_state.h"
#include "sim/frame_step.h"

class Sound;

// One input event, delivered just before frame `frame`'s idle turn through the
// program's own key and mouse handlers.
enum class InputEvent { kSpace, kPlus, kMinus, kUpperQ, kClick, kRightClick, kLeftRelease };

struct ScheduledEvent {
  int64_t frame;
  InputEvent event;
};

struct Scenario {
  uint32_t seed = 0;
  int64_t frames = 0;                // any count from 0 to INT64_MAX runs without overflow
  std::vector<int32_t> frameMs{16};  // frame lengths, repeated as needed
  int count = 0;                     // hamsterCount before frame 1; 0 keeps the start value
  std::vector<ScheduledEvent> events;
  Relaxation relaxation = Relaxation::kFast;
};

// Parsers for the tools' options; each returns false and sets `error` on bad input.
bool parseFrameMs(const std::string& text, std::vector<int32_t>& out, std::string& error);
bool parseEvents(const std::string& text, std::vector<ScheduledEvent>& out, std::string& error);
bool parseInt(const std::string& text, long long min, long long max, long long& out);

// The options every scripted run takes: --seed S, --frames N, --frame-ms LIST,
// --count C and --events LIST.
enum class ScenarioOption { kTaken, kBad, kOther };
ScenarioOption takeScenarioOption(const std::string& name, const std::string& value,
                                  Scenario& scenario, std::string& error);

void deliverEvent(SceneState& state, InputEvent event);

// Runs a scenario on `state`. `start` performs start-up (headless, or with the
// given graphics) with the clock reading 0; `endFrame` is the frame's last
// step after the simulation: drawing, or the drawing's state change alone.
class ScenarioRun {
 public:
  ScenarioRun(const Scenario& scenario, SceneState& state, Sound& sound);

  // Start-up with the clock at 0, then the count.
  void start(const GraphicsStartup* graphics = nullptr);
  // Plays frames 1..scenario.frames, calling endFrame after each.
  void playFrames(const std::function<void(SceneState&)>& endFrame);
  // Plays frames first..last (first >= 1), as they would come in a longer run:
  // their events and frame lengths; last may be INT64_MAX.
  void playFrameRange(int64_t first, int64_t last,
                      const std::function<void(SceneState&)>& endFrame);

  ScriptedClock& clock() { return clock_; }

 private:
  const Scenario& scenario_;
  SceneState& state_;
  Sound& sound_;
  ScriptedClock clock_{0};
};

// The state change that drawing a frame makes, without OpenGL.
void settleTumbles(SceneState& state);
