// Fire-and-forget playback of short WAV files. A call never waits for the
// sound; a new call cuts off the one still playing.
#pragma once

#include <map>
#include <string>

struct Mix_Chunk;

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

// SDL2_mixer playback on one channel. The audio device opens, and each file is
// read and decoded, once: in preload (the program does it at start-up, so the
// first jump costs no more than any other) or else on first use. Files are
// looked for in the current folder, then in the program's data folder. Without
// a device, or with a file that cannot be read, nothing is heard and one line
// on stderr says why, once.
class MixerSound final : public Sound {
 public:
  MixerSound() = default;
  ~MixerSound() override;
  MixerSound(const MixerSound&) = delete;
  MixerSound& operator=(const MixerSound&) = delete;

  void playAsync(const char* fileName) override;
  void preload(const char* fileName) override;

 private:
  bool openDevice();
  Mix_Chunk* chunkFor(const std::string& fileName);

  enum class Device { kUntried, kOpen, kUnavailable };
  Device device_ = Device::kUntried;
  std::map<std::string, Mix_Chunk*> chunks_;  // null: the file failed, already reported
};
