#include "render/swap_interval.h"

#include <GL/glx.h>
#include <GL/glxext.h>

#include <string_view>

namespace {

// Extension strings are space-separated names; one name may begin another
// (GLX_EXT_swap_control_tear), so only whole names count.
bool offers(const char* extensions, std::string_view name) {
  if (extensions == nullptr) return false;
  std::string_view rest(extensions);
  while (!rest.empty()) {
    const size_t space = rest.find(' ');
    if (rest.substr(0, space) == name) return true;
    if (space == std::string_view::npos) break;
    rest.remove_prefix(space + 1);
  }
  return false;
}

template <typename Function>
Function lookUp(const char* name) {
  return reinterpret_cast<Function>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

SwapControl requestSwapInterval(int interval) {
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable drawable = glXGetCurrentDrawable();
  if (display == nullptr || drawable == 0) return SwapControl::kNone;
  const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));

  if (offers(extensions, "GLX_EXT_swap_control")) {
    if (auto set = lookUp<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT")) {
      set(display, drawable, interval);
      return SwapControl::kExt;
    }
  }
  if (offers(extensions, "GLX_MESA_swap_control")) {
    auto set = lookUp<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA");
    if (set != nullptr && interval >= 0 && set(static_cast<unsigned>(interval)) == 0) {
      return SwapControl::kMesa;
    }
  }
  if (offers(extensions, "GLX_SGI_swap_control")) {
    // The SGI form cannot turn the wait off: it takes intervals from 1 up.
    auto set = lookUp<PFNGLXSWAPINTERVALSGIPROC>("glXSwapIntervalSGI");
    if (set != nullptr && interval > 0 && set(interval) == 0) return SwapControl::kSgi;
  }
  return SwapControl::kNone;
}

const char* swapControlName(SwapControl control) {
  switch (control) {
    case SwapControl::kExt:
      return "GLX_EXT_swap_control";
    case SwapControl::kMesa:
      return "GLX_MESA_swap_control";
    case SwapControl::kSgi:
      return "GLX_SGI_swap_control";
    case SwapControl::kWgl:
      return "WGL_EXT_swap_control";
    case SwapControl::kNone:
      break;
  }
  return "none";
}
