// What the window's state allows each frame. The toolkit reports the window
// hidden (unmapped, minimised or covered) and each new size; from them:
//  - a hidden window is not drawn into, and its frames come from a slow timer
//    instead of every idle turn, so that the toy sleeps between them; the
//    frame step measures the time that passed, so the simulation keeps time;
//  - a window larger than the renderer can draw, or than the screen can show,
//    is sized back, and not drawn into until it is (Mesa's software renderer
//    crashes drawing into a window of 32705 x 32705).
#pragma once

// Installs the reshape and window-status callbacks. `idle` is the idle
// callback while the window is shown; `frame` runs one frame without waiting,
// from the timer while it is hidden. Call with the window's context current.
void watchWindow(void (*idle)(), void (*frame)());

// False while the window is hidden or larger than allowed: draw nothing then.
bool windowShowsFrames();
