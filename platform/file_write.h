// Writes a whole file so that a failure changes nothing: the bytes go to a new
// file beside the target, which replaces the target only once every byte is
// written and flushed to the disk. A target that exists but is not a regular
// file (a device, a pipe, a directory) is refused before anything is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// True if `path` may be replaced: it does not exist yet, or it is a regular
// file (a symbolic link to one counts as that file). Otherwise false with
// `reason`, for example "not a regular file".
bool canReplaceFile(const char* path, std::string& reason);

// Writes `size` bytes as the new contents of `path` and returns true; or
// returns false with `reason` in the system's words, leaving whatever was at
// `path` as it was and no new file behind. A replaced file keeps its
// permissions; a link to it keeps pointing at the new contents.
bool replaceFile(const char* path, const uint8_t* data, size_t size, std::string& reason);
