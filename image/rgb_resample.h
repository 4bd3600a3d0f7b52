// Resizes packed RGB pictures, for textures whose files are not the size the
// scene expects.
#pragma once

#include <cstdint>

// Writes a `toWidth` x `toHeight` picture into `to` (toWidth * toHeight * 3
// bytes), sampling `from` bilinearly at pixel centres in fixed point, so the
// result is the same everywhere. Same size in and out copies exactly. All
// sizes must be positive.
void resampleRgb(const uint8_t* from, int32_t fromWidth, int32_t fromHeight, uint8_t* to,
                 int32_t toWidth, int32_t toHeight);

// The same with each output pixel copied from the source pixel under its
// centre: no colours are blended, so a key colour stays exact.
void pickNearestRgb(const uint8_t* from, int32_t fromWidth, int32_t fromHeight, uint8_t* to,
                    int32_t toWidth, int32_t toHeight);
