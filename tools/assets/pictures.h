// The four pictures of the scene, painted from code. Each is fitted to where
// the scene shows it; texture coordinates (s across, t up) map to pixels as
// x = s * width, y = t * height, row 0 at the bottom.
#pragma once

#include "scene/scene_files.h"
#include "tools/assets/canvas.h"

namespace assets {

inline constexpr int kTextureSize = 256;

// Pixels of this exact colour are see-through in the cut-out picture.
inline constexpr Rgb8 kKeyColour{kCutoutKeyColour[0], kCutoutKeyColour[1], kCutoutKeyColour[2]};

// Wood-shaving bedding that tiles seamlessly; the floor repeats it 10 x 10.
Canvas paintFloor();
// A golden hamster's pelt laid out for the model's texture coordinates: face on
// the front, ears, darker back, cream flanks and belly.
Canvas paintHamsterSkin();
// A meadow with trees and sky for the walls; seamless across (each wall shows
// it three times), once from bottom to top.
Canvas paintSurroundings();
// Fence strip, grass tuft and the three sign panels, the rest the key colour.
Canvas paintCutout();

}  // namespace assets
