// ALSA's documented way to quiet it is an error handler of one's own
// (snd_lib_error_set_handler). SDL loads the library itself at run time, so it
// is loaded here the same way: the process then holds one copy of it, whose
// handler SDL's calls use too. The library stays loaded for that reason.
#include "platform/alsa_messages.h"

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace {

// ALSA's snd_lib_error_handler_t.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void silenceAlsaMessages() {
#if defined(__linux__)
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!alsa) return;  // no ALSA, so nothing of it to quiet
  using SetHandler = int (*)(AlsaErrorHandler);
  const auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (setHandler) setHandler(ignoreAlsaError);
#endif
}
