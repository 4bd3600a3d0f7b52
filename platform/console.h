// Where the program's text goes. A Windows program of the window subsystem
// starts without a console, so what it writes to standard output and error is
// lost even when it was started from cmd or PowerShell; there it joins the
// console it was started from instead. Other systems need nothing.
#pragma once

// Joins the parent's console for the standard streams that were not
// redirected (Windows; a no-op elsewhere). True when standard error reaches
// someone: a console, or a file or pipe it was redirected to. False for a
// program started from Explorer, whose messages need a box to be seen.
bool useParentConsole();
