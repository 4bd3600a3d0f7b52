// Writing short lines of text to a descriptor the user chose (standard output
// for `--fps`), which may be a terminal, a file, a pipe nobody reads, or
// closed. The program never waits on it and never dies of it.
#pragma once

#include <string_view>

// Writes `text` in one piece if the descriptor can take it now. A descriptor
// that would block (a full pipe, a stopped terminal), that is closed, whose
// reader has gone (no SIGPIPE reaches the program) or whose disk is full gets
// nothing and the result is false.
bool writeWithoutBlocking(int fd, std::string_view text);
