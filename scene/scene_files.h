// The files the scene is made of, and the facts about their pictures that the
// painter (tools/assets), the loader (image), the drawing (render) and the
// tests must agree on. Texture coordinates run s across and t up; a picture's
// pixel (x, y), row 0 at the bottom, sits at s = x / width, t = y / height.
#pragma once

#include <cstdint>

inline constexpr int kTextureCount = 4;
// Picture i fills texture slot i.
inline constexpr int kFloorPicture = 0, kHamsterPicture = 1, kEnvironmentPicture = 2,
                     kCutoutPicture = 3;
inline constexpr const char* kTextureFiles[kTextureCount] = {"boden.bmp", "hamster.bmp", "env.bmp",
                                                             "transp.bmp"};
inline constexpr char kJumpSoundFile[] = "explode.wav";

// Pixels of exactly this colour (red, green, blue) are see-through in the
// cut-out picture.
inline constexpr uint8_t kCutoutKeyColour[3] = {0, 128, 0};

// A region of a picture, and a point in it, in texture coordinates.
struct TexRect {
  double s0, s1, t0, t1;
};
struct TexPoint {
  double s, t;
};

// Where the scene shows the cut-out picture (transp.bmp).
inline constexpr TexRect kCutoutFence{0.0, 1.0, 0.0, 0.1};
inline constexpr TexRect kCutoutTuft{0.8, 1.0, 0.86, 1.0};
inline constexpr TexRect kCutoutSignLeft{0.0, 0.8, 0.75, 1.0};
inline constexpr TexRect kCutoutSignMiddle{0.0, 0.8, 0.48, 0.75};
inline constexpr TexRect kCutoutSignRight{0.0, 1.0, 0.2, 0.48};

// Where the hamster model lays its faces onto the pelt (hamster.bmp): the face
// on the front quad, upright, with the hamster's left on the right; the back
// on the top quad; each ear a four-cornered patch beside the top of the head,
// corners in the model's order.
inline constexpr TexRect kPeltFace{0.37, 0.63, 0.09, 0.26};
inline constexpr TexRect kPeltBack{0.37, 0.63, 0.34, 0.84};
inline constexpr TexPoint kPeltRightEar[4] = {
    {0.37, 0.42}, {0.34, 0.36}, {0.35, 0.29}, {0.42, 0.38}};
inline constexpr TexPoint kPeltLeftEar[4] = {
    {0.66, 0.41}, {0.71, 0.36}, {0.68, 0.29}, {0.61, 0.36}};
