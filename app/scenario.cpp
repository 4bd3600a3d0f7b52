#include "app/scenario.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "app/input.h"
#include "sim/hamster.h"

namespace {

std::vector<std::string> splitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) parts.push_back(part);
  if (!text.empty() && text.back() == ',') parts.push_back("");
  return parts;
}

bool eventByName(const std::string& name, InputEvent& event) {
  static const struct {
    const char* name;
    InputEvent event;
  } kNames[] = {{"space", InputEvent::kSpace},
                {"plus", InputEvent::kPlus},
                {"minus", InputEvent::kMinus},
                {"q-upper", InputEvent::kUpperQ},
                {"click", InputEvent::kClick},
                {"right-click", InputEvent::kRightClick},
                {"left-release", InputEvent::kLeftRelease}};
  for (const auto& entry : kNames) {
    if (name == entry.name) {
      event = entry.event;
      return true;
    }
  }
  return false;
}

}  // namespace

bool parseInt(const std::string& text, long long min, long long max, long long& out) {
  // strtoll alone would also take leading blanks and a plus sign.
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-')) {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < min || value > max) return false;
  out = value;
  return true;
}

bool parseFrameMs(const std::string& text, std::vector<int32_t>& out, std::string& error) {
  std::vector<int32_t> lengths;
  for (const std::string& part : splitCommas(text)) {
    long long value;
    if (!parseInt(part, INT32_MIN, INT32_MAX, value)) {
      error = "bad frame length '" + part + "'";
      return false;
    }
    lengths.push_back(static_cast<int32_t>(value));
  }
  if (lengths.empty()) {
    error = "no frame lengths";
    return false;
  }
  out = lengths;
  return true;
}

bool parseEvents(const std::string& text, std::vector<ScheduledEvent>& out, std::string& error) {
  std::vector<ScheduledEvent> events;
  for (const std::string& part : splitCommas(text)) {
    const size_t colon = part.find(':');
    long long frame;
    InputEvent event;
    if (colon == std::string::npos || !parseInt(part.substr(0, colon), 1, INT64_MAX, frame) ||
        !eventByName(part.substr(colon + 1), event)) {
      error = "bad event '" + part + "' (want FRAME:EVENT)";
      return false;
    }
    events.push_back({frame, event});
  }
  out = events;
  return true;
}

ScenarioOption takeScenarioOption(const std::string& name, const std::string& value,
                                  Scenario& scenario, std::string& error) {
  long long number = 0;
  if (name == "--seed") {
    if (!parseInt(value, 0, UINT32_MAX, number)) {
      error = "bad seed '" + value + "'";
      return ScenarioOption::kBad;
    }
    scenario.seed = static_cast<uint32_t>(number);
  } else if (name == "--frames") {
    if (!parseInt(value, 0, INT64_MAX, number)) {
      error = "bad frame count '" + value + "' (0 to " + std::to_string(INT64_MAX) + ")";
      return ScenarioOption::kBad;
    }
    scenario.frames = number;
  } else if (name == "--count") {
    if (!parseInt(value, 1, kMaxHamsters, number)) {
      error = "bad count '" + value + "' (1 to 1500)";
      return ScenarioOption::kBad;
    }
    scenario.count = static_cast<int>(number);
  } else if (name == "--frame-ms") {
    if (!parseFrameMs(value, scenario.frameMs, error)) return ScenarioOption::kBad;
  } else if (name == "--events") {
    if (!parseEvents(value, scenario.events, error)) return ScenarioOption::kBad;
  } else {
    return ScenarioOption::kOther;
  }
  return ScenarioOption::kTaken;
}

void deliverEvent(SceneState& state, InputEvent event) {
  constexpr int kLeft = 0, kRight = 2, kDown = 0, kUp = 1;
  switch (event) {
    case InputEvent::kSpace:
      handleKey(state, ' ');
      break;
    case InputEvent::kPlus:
      handleKey(state, '+');
      break;
    case InputEvent::kMinus:
      handleKey(state, '-');
      break;
    case InputEvent::kUpperQ:
      handleKey(state, 'Q');
      break;
    case InputEvent::kClick:
      handleMouseButton(state, kLeft, kDown);
      break;
    case InputEvent::kRightClick:
      handleMouseButton(state, kRight, kDown);
      break;
    case InputEvent::kLeftRelease:
      handleMouseButton(state, kLeft, kUp);
      break;
  }
}

void settleTumbles(SceneState& state) {
  for (int i = 0; i < state.hamsterCount; ++i) state.hamsterPool[i]->settleTumble();
}

ScenarioRun::ScenarioRun(const Scenario& scenario, SceneState& state, Sound& sound)
    : scenario_(scenario), state_(state), sound_(sound) {}

void ScenarioRun::start(const GraphicsStartup* graphics) {
  clock_.set(0);
  initScene(state_, clock_, {scenario_.seed, graphics});
  if (scenario_.count > 0) state_.hamsterCount = scenario_.count;
}

void ScenarioRun::playFrames(const std::function<void(SceneState&)>& endFrame) {
  playFrameRange(1, scenario_.frames, endFrame);
}

void ScenarioRun::playFrameRange(int64_t first, int64_t last,
                                 const std::function<void(SceneState&)>& endFrame) {
  if (first < 1 || first > last) return;
  const std::vector<int32_t>& lengths = scenario_.frameMs;
  // The loop ends on the last frame rather than one beyond it, so a range
  // ending at INT64_MAX never counts past it.
  for (int64_t frame = first;; ++frame) {
    for (const ScheduledEvent& scheduled : scenario_.events) {
      if (scheduled.frame == frame) deliverEvent(state_, scheduled.event);
    }
    clock_.advance(lengths[static_cast<uint64_t>(frame - 1) % lengths.size()]);
    stepFrame(state_, clock_, sound_, scenario_.relaxation);
    endFrame(state_);
    if (frame == last) break;
  }
}
