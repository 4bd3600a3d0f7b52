// The system's own modal box, one file per system (message_box_posix.cpp,
// message_box_win32.cpp). Only showMessageBox calls it; a box that cannot be
// shown says why on stderr.
#pragma once

void showSystemMessageBox(const char* caption, const char* text);
