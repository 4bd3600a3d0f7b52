// Loads one BMP file by name into an RgbImage and reports failures to the
// user in the platform's message box.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/dib_decoder.h"
#include "image/rgb_image.h"

// The open-failure text is formed in a buffer of this size; longer file names
// are cut short so that the text still ends ".\n".
inline constexpr size_t kLoadMessageSize = 256;

// Returns the picture (bottom row first, positive height; free it with
// freeRgbImage) or null. Each call shows at most one box, captioned "Error",
// and only while `showLoadErrors` is non-zero: "Failed to open DIB file NAME.\n"
// for a file that is missing, empty or unreadable, otherwise the decoder's text.
// An unreadable file's reason goes to stderr first, as "NAME: reason" (for
// example "boden.bmp: not a regular file"). A pipe or device is never waited on.
RgbImage* loadDibImage(const char* fileName, uint8_t showLoadErrors);

// The open-failure text for `fileName`, truncated to fit `kLoadMessageSize`.
void formatOpenFailure(char (&text)[kLoadMessageSize], const char* fileName);
