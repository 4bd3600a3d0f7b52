// Windows' audio has no ALSA and prints nothing of its own.
#include "platform/alsa_messages.h"

void silenceAlsaMessages() {}
