// The fast sweep's candidate test (candidate_marks.h) in one form per
// instruction set. Each form is the same code over its set's operations
// (`Lanes`: a vector of kWidth floats and a mask of comparisons), so every
// form does the very same float operations, lane by lane, and marks the same
// candidates; only the width differs, and none fuses a multiply with an add.
// A block is kTestBlock candidates: a retest after a push covers the push's
// block.
#pragma once

#include <cmath>
#include <cstdint>

#include "sim/fast_relaxation/row_candidates.h"
#include "sim/fast_relaxation/skip_bounds.h"
#include "sim/simd_targets.h"

namespace fast_relaxation {

inline constexpr int kTestBlock = 8;
static_assert(kTestBlock <= RowCandidates::kBlock && kTestBlock < 32);

// Lanes first .. size - 1 of a block, as bits.
inline uint32_t lanesInBlock(const RowCandidates& row, int first) {
  const int lanes = row.size() - first;
  return lanes >= kTestBlock ? (uint32_t{1} << kTestBlock) - 1 : (uint32_t{1} << lanes) - 1;
}

// One lane at a time. The selections are written as minps and maxps select.
namespace scalar {
struct Lanes {
  using Vec = float;
  using Mask = uint32_t;  // 0 or 1
  static constexpr int kWidth = 1;
  static Vec load(const float* p) { return *p; }
  static Vec broadcast(float v) { return v; }
  static Vec add(Vec a, Vec b) { return a + b; }
  static Vec sub(Vec a, Vec b) { return a - b; }
  static Vec mul(Vec a, Vec b) { return a * b; }
  static Vec magnitude(Vec a) { return std::fabs(a); }
  static Vec smaller(Vec a, Vec b) { return a < b ? a : b; }
  static Vec larger(Vec a, Vec b) { return a > b ? a : b; }
  static Mask less(Vec a, Vec b) { return a < b ? 1 : 0; }
  static Mask lessAnd(Mask m, Vec a, Vec b) { return m & less(a, b); }
  static uint32_t bitsOfFirstNotSecond(Mask a, Mask b) { return a & ~b; }
};
#include "sim/fast_relaxation/candidate_marks.h"
}  // namespace scalar

#ifdef QUIBBIX_RELAXATION_SSE2

// Four lanes, a block in two vectors.
namespace sse2 {
struct Lanes {
  using Vec = __m128;
  using Mask = __m128;
  static constexpr int kWidth = 4;
  static Vec load(const float* p) { return _mm_loadu_ps(p); }
  static Vec broadcast(float v) { return _mm_set1_ps(v); }
  static Vec add(Vec a, Vec b) { return _mm_add_ps(a, b); }
  static Vec sub(Vec a, Vec b) { return _mm_sub_ps(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm_mul_ps(a, b); }
  static Vec magnitude(Vec a) {
    return _mm_and_ps(a, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
  }
  static Vec smaller(Vec a, Vec b) { return _mm_min_ps(a, b); }
  static Vec larger(Vec a, Vec b) { return _mm_max_ps(a, b); }
  static Mask less(Vec a, Vec b) { return _mm_cmplt_ps(a, b); }
  static Mask lessAnd(Mask m, Vec a, Vec b) { return _mm_and_ps(m, _mm_cmplt_ps(a, b)); }
  static uint32_t bitsOfFirstNotSecond(Mask a, Mask b) {
    return static_cast<uint32_t>(_mm_movemask_ps(_mm_andnot_ps(b, a)));
  }
};
#include "sim/fast_relaxation/candidate_marks.h"
}  // namespace sse2

#endif  // QUIBBIX_RELAXATION_SSE2

#ifdef QUIBBIX_RELAXATION_WIDE

// Eight lanes, a block in one vector.
QUIBBIX_BEGIN_AVX2
namespace avx2 {
struct Lanes {
  using Vec = __m256;
  using Mask = __m256;
  static constexpr int kWidth = 8;
  static Vec load(const float* p) { return _mm256_loadu_ps(p); }
  static Vec broadcast(float v) { return _mm256_set1_ps(v); }
  static Vec add(Vec a, Vec b) { return _mm256_add_ps(a, b); }
  static Vec sub(Vec a, Vec b) { return _mm256_sub_ps(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm256_mul_ps(a, b); }
  static Vec magnitude(Vec a) {
    return _mm256_and_ps(a, _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF)));
  }
  static Vec smaller(Vec a, Vec b) { return _mm256_min_ps(a, b); }
  static Vec larger(Vec a, Vec b) { return _mm256_max_ps(a, b); }
  static Mask less(Vec a, Vec b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
  static Mask lessAnd(Mask m, Vec a, Vec b) { return _mm256_and_ps(m, less(a, b)); }
  static uint32_t bitsOfFirstNotSecond(Mask a, Mask b) {
    return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_andnot_ps(b, a)));
  }
};
#include "sim/fast_relaxation/candidate_marks.h"
}  // namespace avx2
QUIBBIX_END_TARGET

// Eight lanes like AVX2, but the comparisons chain in mask registers: on CPUs
// that split 512-bit operations in two, a block of sixteen costs as much as
// two of eight, and a retest after a push covers only its own block.
QUIBBIX_BEGIN_AVX512
namespace avx512 {
struct Lanes : avx2::Lanes {
  using Mask = __mmask8;
  static Mask less(Vec a, Vec b) { return _mm256_cmp_ps_mask(a, b, _CMP_LT_OQ); }
  static Mask lessAnd(Mask m, Vec a, Vec b) { return _mm256_mask_cmp_ps_mask(m, a, b, _CMP_LT_OQ); }
  static uint32_t bitsOfFirstNotSecond(Mask a, Mask b) { return static_cast<uint32_t>(a & ~b); }
};
#include "sim/fast_relaxation/candidate_marks.h"
}  // namespace avx512
QUIBBIX_END_TARGET

#endif  // QUIBBIX_RELAXATION_WIDE

}  // namespace fast_relaxation
