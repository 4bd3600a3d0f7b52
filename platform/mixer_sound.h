// Sound through SDL2_mixer, kept apart from the interface so that programs
// that play nothing link no audio library.
#pragma once

#include <map>
#include <string>

#include "platform/sound.h"

struct Mix_Chunk;

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
