// Windows wakes sleepers on its timer tick, 15.6 ms unless a program asks
// for finer: a frame's few milliseconds of sleep would round up to a whole
// tick and the frame rate would fall well below 60. The finer tick is asked
// for only while sleeping.
#include <windows.h>
// after <windows.h>, whose types it uses
#include <timeapi.h>

#include "platform/clock.h"

void MonotonicClock::sleep(int32_t ms) {
  if (ms <= 0) return;
  const bool fine = timeBeginPeriod(1) == TIMERR_NOERROR;
  Sleep(static_cast<DWORD>(ms));
  if (fine) timeEndPeriod(1);
}
