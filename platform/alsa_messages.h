// ALSA, the sound library SDL's audio uses on Linux, prints error lines of
// its own on standard error when it finds no sound card (eight of them, before
// the program's one line that sound is off).
#pragma once

// Sends ALSA's error messages nowhere from now on, where ALSA is there at all
// (Linux); elsewhere it does nothing. SDL's error text still says why a device
// did not open.
void silenceAlsaMessages();
