#include "platform/mixer_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/alsa_messages.h"
#include "platform/data_folder.h"
#include "platform/file_read.h"
#include "platform/wav_format.h"

namespace {
constexpr int kChannel = 0;  // one voice: a new sound replaces the old one
// A few minutes of CD-quality sound; larger files are refused, not read.
constexpr size_t kMaxSoundFileBytes = size_t{64} << 20;
// A jump's bang lasts a second or so; 16 MB is over a minute and a half at
// the device's 44.1 kHz in 16-bit stereo.
constexpr size_t kMaxDecodedBytes = size_t{16} << 20;

// The format the open device plays, which every sound is converted to.
PlaybackFormat deviceFormat() {
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  return {rate, channels, static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8)};
}

}  // namespace

MixerSound::~MixerSound() {
  if (device_ != Device::kOpen) return;
  Mix_HaltChannel(-1);
  for (auto& entry : chunks_) {
    if (entry.second) Mix_FreeChunk(entry.second);
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool MixerSound::openDevice() {
  if (device_ != Device::kUntried) return device_ == Device::kOpen;
  device_ = Device::kUnavailable;
  // Leave SIGINT and SIGTERM to the program: SDL would otherwise turn them into
  // quit events that nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // With no driver chosen SDL tries ALSA, whose own lines about a missing
  // sound card would come before ours.
  if (!SDL_getenv("SDL_AUDIODRIVER")) silenceAlsaMessages();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "Sound is off: no audio device (%s)\n", SDL_GetError());
    return false;
  }
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    std::fprintf(stderr, "Sound is off: the audio device did not open (%s)\n", Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(1);
  device_ = Device::kOpen;
  return true;
}

Mix_Chunk* MixerSound::chunkFor(const std::string& fileName) {
  auto found = chunks_.find(fileName);
  if (found != chunks_.end()) return found->second;
  // Read through the platform's reader, which never waits on a pipe or device,
  // and decode from memory.
  std::vector<uint8_t> bytes;
  std::string reason;
  Mix_Chunk* chunk = nullptr;
  std::string whereLooked;
  const std::string path = findDataFile(fileName.c_str(), &whereLooked);
  if (readRegularFile(path.c_str(), kMaxSoundFileBytes, bytes, reason)) {
    if (bytes.empty()) {
      reason = "empty file";
    } else if (checkWavFormat(bytes.data(), bytes.size(), deviceFormat(), kMaxDecodedBytes,
                              reason)) {
      // The chunk keeps decoded samples of its own, not the file's bytes.
      SDL_RWops* memory = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
      chunk = memory ? Mix_LoadWAV_RW(memory, /*freesrc=*/1) : nullptr;
      if (!chunk) reason = Mix_GetError();
    }
  }
  if (!chunk) {
    if (!whereLooked.empty()) {
      std::fprintf(stderr, "%s is in none of the folders searched: %s\n", fileName.c_str(),
                   whereLooked.c_str());
    }
    std::fprintf(stderr, "Sound \"%s\" is not played: %s: %s\n", fileName.c_str(), path.c_str(),
                 reason.c_str());
  }
  chunks_[fileName] = chunk;
  return chunk;
}

void MixerSound::preload(const char* fileName) {
  if (openDevice()) chunkFor(fileName);
}

void MixerSound::playAsync(const char* fileName) {
  if (!openDevice()) return;
  Mix_Chunk* chunk = chunkFor(fileName);
  if (!chunk) return;
  // Playing on a busy channel halts what it played first.
  Mix_PlayChannel(kChannel, chunk, 0);
}
