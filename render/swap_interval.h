// Asks the GL driver to present frames in step with the display's refresh,
// through whichever swap-control extension it offers (GLX on X11; WGL on
// Windows, in swap_interval_wgl.cpp). Drivers may accept
// the request and still not wait (a software renderer on a virtual display
// does not); the frame pacer (platform/frame_pacer.h) covers that case.
#pragma once

enum class SwapControl {
  kNone,  // no current GLX context, no extension, or the driver refused
  kExt,   // GLX_EXT_swap_control
  kMesa,  // GLX_MESA_swap_control
  kSgi,   // GLX_SGI_swap_control
  kWgl,   // WGL_EXT_swap_control (Windows)
};

// Sets the swap interval of the current context's drawable (1: one frame per
// refresh) and says which extension took the request.
SwapControl requestSwapInterval(int interval);

// The extension's name, or "none".
const char* swapControlName(SwapControl control);
