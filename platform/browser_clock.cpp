#include "platform/browser_clock.h"

#include <emscripten/emscripten.h>

#include <cmath>

BrowserClock::BrowserClock() : startMs_(emscripten_get_now()) {}

int32_t BrowserClock::milliseconds() {
  const double elapsed = std::floor(emscripten_get_now() - startMs_);
  // Keep the low 32 bits, as a millisecond counter of that width would.
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(elapsed)));
}
