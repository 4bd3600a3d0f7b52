#include "render/swap_interval.h"

#include <GL/glx.h>

#include <string>
// Xlib's macros clash with names inside Google Test.
#undef Bool
#undef None

#include "tests/render/gl_scene.h"

TEST_F(GlScene, SwapIntervalIsSetThroughAnExtensionTheDriverOffers) {
  open(64, 64);
  Display* display = glXGetCurrentDisplay();
  // Built by appending: GCC 12 at -O3 warns a false -Wrestrict on operator+ here.
  std::string offered = " ";
  offered += glXQueryExtensionsString(display, DefaultScreen(display));
  offered += ' ';
  const SwapControl control = requestSwapInterval(1);
  if (control == SwapControl::kNone) {
    // Mesa's software renderer under Xvfb offers none.
    EXPECT_EQ(offered.find("_swap_control "), std::string::npos) << offered;
  } else {
    EXPECT_NE(offered.find(std::string(" ") + swapControlName(control) + " "), std::string::npos);
  }

  // With no context current there is nothing to ask.
  GLXContext context = glXGetCurrentContext();
  const GLXDrawable drawable = glXGetCurrentDrawable();
  ASSERT_TRUE(glXMakeCurrent(display, 0, nullptr));
  EXPECT_EQ(requestSwapInterval(1), SwapControl::kNone);
  EXPECT_STREQ(swapControlName(SwapControl::kNone), "none");
  ASSERT_TRUE(glXMakeCurrent(display, drawable, context));
}
