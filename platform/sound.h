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
};

// For headless runs: plays nothing.
class SilentSound final : public Sound {
 public:
  void playAsync(const char*) override {}
};

// SDL2_mixer playback on one channel. The audio device opens on first use and
// each file is decoded once and kept. Without a device, or with a file that
// cannot be read, nothing is heard and one line on stderr says why, once.
class MixerSound final : public Sound {
 public:
  MixerSound() = default;
  ~MixerSound() override;
  MixerSound(const MixerSound&) = delete;
  MixerSound& operator=(const MixerSound&) = delete;

  void playAsync(const char* fileName) override;

 private:
  bool openDevice();
  Mix_Chunk* chunkFor(const std::string& fileName);

  enum class Device { kUntried, kOpen, kUnavailable };
  Device device_ = Device::kUntried;
  std::map<std::string, Mix_Chunk*> chunks_;  // null: the file failed, already reported
};
