// The program's window and what its state allows each frame.
//
// The window is a frame, the top-level window that the user and the window
// manager see, resize and iconify, with a view inside it: a child window that
// is drawn into. A top-level window can be given any size at any moment, and
// the driver sizes its buffers from the window it draws into as it finds it
// (Mesa's software renderer crashes on a window of 32705 x 32705); only the
// program sizes the view, to the frame's size but no larger than the screen
// or than the driver can draw (GL_MAX_VIEWPORT_DIMS). Beyond that the frame
// shows nothing more.
//
// A hidden frame (unmapped, minimised or covered) is not drawn into, and its
// frames come from a slow timer instead of every idle turn, so that the toy
// sleeps between them; the frame step measures the time that passed, so the
// simulation keeps time.
#pragma once

struct WindowCallbacks {
  void (*idle)();   // the idle callback while the window is shown
  void (*frame)();  // one frame without waiting, from the timer while hidden
  void (*keyboard)(unsigned char key, int x, int y);
  void (*mouse)(int button, int state, int x, int y);
};

// Opens the frame titled `title`, of the size and at the place the toolkit was
// given, and the view filling it, and installs the callbacks on both. The
// view's context is current afterwards.
void openWindow(const char* title, const WindowCallbacks& callbacks);

// Makes the view's context current: the toolkit leaves the window of its last
// event current, which may be the frame.
void selectView();

// Iconifies the frame.
void iconifyWindow();

// False while the frame is hidden: draw nothing then.
bool windowShowsFrames();
