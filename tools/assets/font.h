// A small 5 x 7 bitmap font of capital letters, '!' and space, for the sign.
#pragma once

namespace assets {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Whether the glyph of `ch` has its dot at column `col` (0 left) and row `row`
// (0 top). Characters without a glyph are blank.
bool glyphDot(char ch, int col, int row);

}  // namespace assets
