#include "platform/web_sound.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <vector>

#include "platform/data_folder.h"
#include "platform/file_read.h"

namespace {
// A jump sound is well under a second; this only bounds a wrong file.
constexpr size_t kMaxSoundBytes = size_t{64} << 20;
}  // namespace

// One audio context for the page, made on first use; sounds by id, decoded
// asynchronously (a sound asked for before its decoding ends is skipped).
// clang-format off
EM_JS(void, quibbixDecodeSound, (int id, const unsigned char* bytes, int length), {
  var audio = Module.quibbixAudio || (Module.quibbixAudio = {buffers: [], playing: null,
      context: new (window.AudioContext || window.webkitAudioContext)()});
  var copy = HEAPU8.slice(bytes, bytes + length).buffer;
  audio.context.decodeAudioData(copy, function(buffer) { audio.buffers[id] = buffer; },
      function() { console.error("The sound could not be decoded."); });
});
EM_JS(void, quibbixPlaySound, (int id), {
  var audio = Module.quibbixAudio;
  if (!audio || !audio.buffers[id]) return;
  if (audio.playing) audio.playing.stop();
  var source = audio.context.createBufferSource();
  source.buffer = audio.buffers[id];
  source.connect(audio.context.destination);
  source.start(0);
  audio.playing = source;
});
EM_JS(void, quibbixWakeSound, (), {
  var audio = Module.quibbixAudio;
  if (audio && audio.context.state === "suspended") audio.context.resume();
});
// clang-format on

int WebSound::idFor(const std::string& fileName) {
  const auto known = ids_.find(fileName);
  if (known != ids_.end()) return known->second;
  std::vector<uint8_t> bytes;
  std::string reason;
  std::string whereLooked;
  const std::string path = findDataFile(fileName.c_str(), &whereLooked);
  int id = -1;
  if (readRegularFile(path.c_str(), kMaxSoundBytes, bytes, reason)) {
    id = static_cast<int>(ids_.size());
    quibbixDecodeSound(id, bytes.data(), static_cast<int>(bytes.size()));
  } else {
    if (!whereLooked.empty()) {
      std::fprintf(stderr, "%s is in none of the folders searched: %s\n", fileName.c_str(),
                   whereLooked.c_str());
    }
    std::fprintf(stderr, "Sound \"%s\" is not played: %s: %s\n", fileName.c_str(), path.c_str(),
                 reason.c_str());
  }
  ids_[fileName] = id;
  return id;
}

void WebSound::preload(const char* fileName) {
  idFor(fileName);
}

void WebSound::playAsync(const char* fileName) {
  const int id = idFor(fileName);
  if (id < 0) return;
  quibbixPlaySound(id);
}

void WebSound::wake() {
  quibbixWakeSound();
}
