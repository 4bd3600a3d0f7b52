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

// The next smaller level of a mipmap chain: (width / 2) x (height / 2), a side
// of 1 staying 1, each output pixel the rounded mean of the 2 x 2 (or 2 x 1)
// block beneath it. For textures whose driver makes no mipmaps of its own.
void halveRgb(const uint8_t* from, int32_t width, int32_t height, uint8_t* to);
