// Helpers shared by the Windows files of the platform layer (built on Windows
// only): UTF-8 paths to the system's wide ones, and error codes to reasons in
// the words the POSIX files give for the common cases.
#pragma once

#include <windows.h>

#include <string>

// Empty for an empty or malformed path.
std::wstring widenPath(const char* path);

// UTF-8 text for the system's wide functions; malformed bytes become U+FFFD.
std::wstring widenText(const char* text);

// "No such file or directory", "Permission denied", "No space left on device",
// or the system's own message for the rest.
std::string reasonForError(DWORD error);
