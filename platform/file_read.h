// Reads a whole file into memory without ever waiting on it. The file is
// opened without blocking and refused unless it is a regular file, so a pipe,
// a device or a directory named where a file is expected is an error with a
// reason, not a hang or an endless read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Fills `bytes` with the file's contents (an empty file gives none) and
// returns true; or returns false with `reason` in the system's words ("No such
// file or directory", "not a regular file", ...). Files longer than `maxBytes`
// are refused without being read to the end.
bool readRegularFile(const char* path, size_t maxBytes, std::vector<uint8_t>& bytes,
                     std::string& reason);
