#include "render/swap_interval.h"

#include <GL/glx.h>
#include <GL/glxext.h>

#include <iostream>
#include <string>
// Xlib's macros clash with names inside Google Test.
#undef Bool
#undef None

#include "tests/render/gl_scene.h"

namespace {

// The interval the driver reports for the current drawable, through the
// extension that set it; -1 where it has no way to say.
int reportedInterval(SwapControl control) {
  Display* display = glXGetCurrentDisplay();
  if (control == SwapControl::kExt) {
    unsigned value = 0;
    glXQueryDrawable(display, glXGetCurrentDrawable(), GLX_SWAP_INTERVAL_EXT, &value);
    return static_cast<int>(value);
  }
  if (control == SwapControl::kMesa) {
    auto get = reinterpret_cast<PFNGLXGETSWAPINTERVALMESAPROC>(
        glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXGetSwapIntervalMESA")));
    return get != nullptr ? get() : -1;
  }
  return -1;
}

}  // namespace

TEST_F(GlScene, SwapIntervalIsSetThroughAnExtensionTheDriverOffers) {
  open(64, 64);
  Display* display = glXGetCurrentDisplay();
  const std::string offered = glXQueryExtensionsString(display, DefaultScreen(display));
  const SwapControl control = requestSwapInterval(1);
  std::cout << "swap control: " << swapControlName(control) << "\n";
  if (control == SwapControl::kNone) {
    EXPECT_EQ(offered.find("_swap_control"), std::string::npos) << offered;
  } else {
    EXPECT_NE((" " + offered + " ").find(std::string(" ") + swapControlName(control) + " "),
              std::string::npos);
  }
  if (control == SwapControl::kExt || control == SwapControl::kMesa) {
    EXPECT_EQ(reportedInterval(control), 1);
    EXPECT_EQ(requestSwapInterval(0), control);
    EXPECT_EQ(reportedInterval(control), 0);
  }

  // With no context current there is nothing to ask.
  GLXContext context = glXGetCurrentContext();
  const GLXDrawable drawable = glXGetCurrentDrawable();
  ASSERT_TRUE(glXMakeCurrent(display, 0, nullptr));
  EXPECT_EQ(requestSwapInterval(1), SwapControl::kNone);
  EXPECT_STREQ(swapControlName(SwapControl::kNone), "none");
  ASSERT_TRUE(glXMakeCurrent(display, drawable, context));
}
