// The four scene textures, made once at start-up from the BMP files, each
// looked for in the working directory first, then in the program's data folder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scene/scene_files.h"
#include "scene/scene_state.h"

// Mipmapped textures are built from a picture of this size; others are scaled to it.
inline constexpr int kMipmapBaseSize = 256;
// Cut-out pictures up to 256 x 256 pixels use one fixed scratch buffer.
inline constexpr size_t kCutoutScratchBytes = 262144;

// Requires a current OpenGL (or WebGL) context. Fills state.textures. A file
// that cannot be loaded leaves its texture object without an image (after the
// loader's message and a line on stderr naming the file); the others are made
// anyway. On the desktop (textures_gl.cpp) a cut-out picture larger than the
// driver takes is scaled down to the largest size it takes (GL_MAX_TEXTURE_SIZE
// and a proxy texture decide), with a line on stderr naming the file; in a
// browser (textures_webgl.cpp) one whose sides are not powers of two is scaled
// up to the next ones, since WebGL 1 repeats no others.
void loadTextures(SceneState& state);

// Looks for texture entry `entry`'s file (with a line on stderr naming the
// folders searched when it is in none of them, while load errors are shown)
// and loads it; null when it could not be loaded.
RgbImage* loadTexturePicture(int entry, uint8_t showLoadErrors);

// Writes the cut-out texture's RGBA pixels for a picture of `pixelCount`
// pixels: colours copied, alpha 0 for kCutoutKeyColour exactly, 255 elsewhere.
void keyCutoutPixels(const uint8_t* rgb, size_t pixelCount, uint8_t* rgba);
