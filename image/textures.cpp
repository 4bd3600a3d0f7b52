#include "image/textures.h"

// Placeholder until the BMP loader exists: the texture slots stay 0.
void loadTextures(SceneState&) {}
