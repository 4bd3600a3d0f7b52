// The swap interval on Windows: WGL_EXT_swap_control, looked up through the
// current context (wglGetProcAddress answers only while one is current).
#include <windows.h>

#include "render/swap_interval.h"

namespace {
using SwapIntervalFunction = BOOL(WINAPI*)(int);
}

SwapControl requestSwapInterval(int interval) {
  if (wglGetCurrentContext() == nullptr) return SwapControl::kNone;
  auto set = reinterpret_cast<SwapIntervalFunction>(
      reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
  if (set != nullptr && interval >= 0 && set(interval)) return SwapControl::kWgl;
  return SwapControl::kNone;
}

const char* swapControlName(SwapControl control) {
  return control == SwapControl::kWgl ? "WGL_EXT_swap_control" : "none";
}
