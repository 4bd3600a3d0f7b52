// The jump sound: a springy "boing" over a soft burst of air.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

inline constexpr uint32_t kSampleRate = 22050;

// Mono 16-bit samples at kSampleRate, peaking well below full scale.
std::vector<int16_t> synthesizeJumpSound();

}  // namespace assets
