// Fire-and-forget playback of short WAV files. A call never waits for the
// sound; a new call cuts off the one still playing.
#pragma once

class Sound {
 public:
  virtual ~Sound() = default;
  virtual void playAsync(const char* fileName) = 0;
  // Gets everything ready for playing `fileName` so that playAsync then does
  // no more than start it. Optional: playAsync prepares on first use.
  virtual void preload(const char* fileName) { (void)fileName; }
};

// For headless runs: plays nothing.
class SilentSound final : public Sound {
 public:
  void playAsync(const char*) override {}
};
