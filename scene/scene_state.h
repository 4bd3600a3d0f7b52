// Everything that lives for the whole run, in one record, and the sizes it is
// made with. It sits beneath every other layer but the platform: the program
// has one static instance (app/main.cpp), tests make their own, and functions
// take the state, or the part of it they need, as a parameter.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "scene/scene_files.h"

class Hamster;
struct RgbImage;

inline constexpr int kMaxHamsters = 1500;
inline constexpr int kGrassTufts = 60;
inline constexpr int kFrameTimeRing = 10;

struct GrassTuft {
  float x, y;  // on the floor, outside the pen
};

// OpenGL texture names, in the order of the image files that fill them.
struct TextureNames {
  uint32_t floorTexture = 0;
  uint32_t hamsterTexture = 0;
  uint32_t environmentTexture = 0;
  uint32_t cutoutTexture = 0;

  // Slot i is made from image file i.
  uint32_t& slot(int index) {
    static constexpr uint32_t TextureNames::*kSlots[kTextureCount] = {
        &TextureNames::floorTexture, &TextureNames::hamsterTexture,
        &TextureNames::environmentTexture, &TextureNames::cutoutTexture};
    return this->*kSlots[index];
  }
};

// What the contact relaxation keeps from one frame to the next (its buffers
// and pair list, sim/fast_relaxation/): sim/ makes it on first use. It holds
// no part of the scene: a fresh one gives the same results.
class RelaxationWorkspace {
 public:
  virtual ~RelaxationWorkspace() = default;
};

struct SceneState {
  // Crowd: hamsterPool[0 .. hamsterCount-1] are simulated and drawn; the pool
  // owns all 1500 for the whole run and never reorders them.
  int32_t hamsterCount = 10;  // 1 to kMaxHamsters
  std::array<Hamster*, kMaxHamsters> hamsterPool{};

  // Jump requests from the keyboard and the mouse; the next frame step clears them.
  int32_t explodeByKey = 0;
  int32_t explodeByClick = 0;

  // Frame timing: the last ten frame lengths in seconds, and the clock reading
  // (milliseconds) of the previous frame.
  std::array<float, kFrameTimeRing> frameTimes{};
  int32_t frameTimeIndex = 0;
  int32_t lastClockMs = 0;

  float spinAngle = 0;  // degrees the scene is turned about its vertical axis
  std::array<GrassTuft, kGrassTufts> grassTufts{};

  // Images and textures.
  uint8_t showLoadErrors = 1;  // the image loader's boxes are shown while non-zero
  std::array<RgbImage*, kTextureCount> imageSlots{};  // only while textures are made
  TextureNames textures;

  // Hamster model.
  int32_t lightingEnabled = 0;  // frozen into the hamster display list when built
  int32_t listsBuilt = 0;
  uint32_t hamsterList = 0;
  uint32_t shadowList = 0;  // always hamsterList + 1

  std::unique_ptr<RelaxationWorkspace> relaxationWorkspace;
};
