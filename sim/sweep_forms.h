// The fast sweep's candidate test, in one form per instruction set: for a
// block of kBlock candidates of a row, with hamster i standing at (px, py,
// pz), the bits of those that must be pushed: within reach and not provably
// unchanged (skip_bounds.h). Every form does the very same float
// operations, lane by lane, so each marks the same candidates; only the width
// differs, and none fuses a multiply with an add. Blocks are kept to one or
// two vectors (at most RowCandidates::kBlock): a retest after a push covers
// the push's block. The AVX2 and AVX-512 forms are compiled for those sets
// alone (target attributes) and run only where the CPU has them.
#pragma once

#include <cmath>
#include <cstdint>

#include "sim/push_apart.h"
#include "sim/row_candidates.h"
#include "sim/skip_bounds.h"

#if defined(__x86_64__) && !defined(QUIBBIX_PORTABLE_RELAXATION)
#define QUIBBIX_RELAXATION_WIDE 1
#include <immintrin.h>
#endif

namespace fast_relaxation {

// Lanes first .. size - 1 of a block of `block`, as bits.
template <int block>
inline uint32_t lanesInBlock(const RowCandidates& row, int first) {
  static_assert(block <= RowCandidates::kBlock && block < 32);
  const int lanes = row.size() - first;
  return lanes >= block ? (uint32_t{1} << block) - 1 : (uint32_t{1} << lanes) - 1;
}

struct PortableForm {
  static constexpr int kBlock = 8;
  static uint32_t test(const RowCandidates& row, int first, float px, float py, float pz) {
    uint32_t marks = 0;
    for (int lane = 0; lane < kBlock; ++lane) {
      const int k = first + lane;
      const float cx = row.x()[k], cy = row.y()[k], cz = row.z()[k];
      const float ex = cx - px, ey = cy - py, ez = cz - pz;
      const float squared = ex * ex + ey * ey + ez * ez;
      const bool near = squared < kReachSquared;
      const bool idle = pushChangesNothing(px, py, pz, cx, cy, cz, ex, ey, ez, squared,
                                           row.across()[k], row.upward()[k]);
      marks |= static_cast<uint32_t>(near & !idle) << lane;
    }
    return marks & lanesInBlock<kBlock>(row, first);
  }
};

#ifdef QUIBBIX_RELAXATION_WIDE

struct Sse2Form {
  static constexpr int kBlock = 8;
  static uint32_t test(const RowCandidates& row, int first, float px, float py, float pz) {
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 reachSquared = _mm_set1_ps(kReachSquared);
    const __m128 smallestSquared = _mm_set1_ps(kSmallestSquared);
    const __m128 vx = _mm_set1_ps(px), vy = _mm_set1_ps(py), vz = _mm_set1_ps(pz);
    const __m128 ax = _mm_and_ps(vx, magnitude), ay = _mm_and_ps(vy, magnitude),
                 az = _mm_and_ps(vz, magnitude);
    uint32_t marks = 0;
    for (int lane = 0; lane < kBlock; lane += 4) {
      const int k = first + lane;
      const __m128 cx = _mm_loadu_ps(row.x() + k), cy = _mm_loadu_ps(row.y() + k),
                   cz = _mm_loadu_ps(row.z() + k);
      const __m128 ex = _mm_sub_ps(cx, vx), ey = _mm_sub_ps(cy, vy), ez = _mm_sub_ps(cz, vz);
      const __m128 fx = _mm_and_ps(ex, magnitude), fy = _mm_and_ps(ey, magnitude),
                   fz = _mm_and_ps(ez, magnitude);
      const __m128 squared =
          _mm_add_ps(_mm_add_ps(_mm_mul_ps(ex, ex), _mm_mul_ps(ey, ey)), _mm_mul_ps(ez, ez));
      const __m128 near = _mm_cmplt_ps(squared, reachSquared);
      const __m128 across = _mm_loadu_ps(row.across() + k), upward = _mm_loadu_ps(row.upward() + k);
      const __m128 d2 = _mm_max_ps(squared, smallestSquared);
      const __m128 idle = _mm_and_ps(
          _mm_and_ps(_mm_cmplt_ps(_mm_mul_ps(across, fx),
                                  _mm_mul_ps(_mm_min_ps(_mm_and_ps(cx, magnitude), ax), d2)),
                     _mm_cmplt_ps(_mm_mul_ps(across, fy),
                                  _mm_mul_ps(_mm_min_ps(_mm_and_ps(cy, magnitude), ay), d2))),
          _mm_cmplt_ps(_mm_mul_ps(upward, fz),
                       _mm_mul_ps(_mm_min_ps(_mm_and_ps(cz, magnitude), az), d2)));
      marks |= static_cast<uint32_t>(_mm_movemask_ps(_mm_andnot_ps(idle, near))) << lane;
    }
    return marks & lanesInBlock<kBlock>(row, first);
  }
};

struct Avx2Form {
  static constexpr int kBlock = 8;
  __attribute__((target("avx2"))) static uint32_t test(const RowCandidates& row, int first,
                                                       float px, float py, float pz) {
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
    const __m256 reachSquared = _mm256_set1_ps(kReachSquared);
    const __m256 smallestSquared = _mm256_set1_ps(kSmallestSquared);
    const __m256 vx = _mm256_set1_ps(px), vy = _mm256_set1_ps(py), vz = _mm256_set1_ps(pz);
    const __m256 ax = _mm256_and_ps(vx, magnitude), ay = _mm256_and_ps(vy, magnitude),
                 az = _mm256_and_ps(vz, magnitude);
    uint32_t marks = 0;
    for (int lane = 0; lane < kBlock; lane += 8) {
      const int k = first + lane;
      const __m256 cx = _mm256_loadu_ps(row.x() + k), cy = _mm256_loadu_ps(row.y() + k),
                   cz = _mm256_loadu_ps(row.z() + k);
      const __m256 ex = _mm256_sub_ps(cx, vx), ey = _mm256_sub_ps(cy, vy),
                   ez = _mm256_sub_ps(cz, vz);
      const __m256 fx = _mm256_and_ps(ex, magnitude), fy = _mm256_and_ps(ey, magnitude),
                   fz = _mm256_and_ps(ez, magnitude);
      const __m256 squared = _mm256_add_ps(
          _mm256_add_ps(_mm256_mul_ps(ex, ex), _mm256_mul_ps(ey, ey)), _mm256_mul_ps(ez, ez));
      const __m256 near = _mm256_cmp_ps(squared, reachSquared, _CMP_LT_OQ);
      const __m256 across = _mm256_loadu_ps(row.across() + k),
                   upward = _mm256_loadu_ps(row.upward() + k);
      const __m256 d2 = _mm256_max_ps(squared, smallestSquared);
      const __m256 idle = _mm256_and_ps(
          _mm256_and_ps(
              _mm256_cmp_ps(_mm256_mul_ps(across, fx),
                            _mm256_mul_ps(_mm256_min_ps(_mm256_and_ps(cx, magnitude), ax), d2),
                            _CMP_LT_OQ),
              _mm256_cmp_ps(_mm256_mul_ps(across, fy),
                            _mm256_mul_ps(_mm256_min_ps(_mm256_and_ps(cy, magnitude), ay), d2),
                            _CMP_LT_OQ)),
          _mm256_cmp_ps(_mm256_mul_ps(upward, fz),
                        _mm256_mul_ps(_mm256_min_ps(_mm256_and_ps(cz, magnitude), az), d2),
                        _CMP_LT_OQ));
      marks |= static_cast<uint32_t>(_mm256_movemask_ps(_mm256_andnot_ps(idle, near))) << lane;
    }
    return marks & lanesInBlock<kBlock>(row, first);
  }
};

// The target of the AVX-512 form: comparisons into mask registers on 256-bit
// vectors.
#define QUIBBIX_AVX512_TARGET "avx512f,avx512vl"

struct Avx512Form {
  static constexpr int kBlock = 8;
  // Eight lanes, like the AVX2 form, but the comparisons chain in mask
  // registers: on CPUs that split 512-bit operations in two, a block of
  // sixteen costs as much as two of eight, and a retest after a push covers
  // only its own block.
  __attribute__((target(QUIBBIX_AVX512_TARGET))) static uint32_t test(const RowCandidates& row,
                                                                      int first, float px, float py,
                                                                      float pz) {
    static_assert(kBlock == 8, "one 256-bit vector per block");
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
    const __m256 vx = _mm256_set1_ps(px), vy = _mm256_set1_ps(py), vz = _mm256_set1_ps(pz);
    const __m256 cx = _mm256_loadu_ps(row.x() + first), cy = _mm256_loadu_ps(row.y() + first),
                 cz = _mm256_loadu_ps(row.z() + first);
    const __m256 ex = _mm256_sub_ps(cx, vx), ey = _mm256_sub_ps(cy, vy), ez = _mm256_sub_ps(cz, vz);
    const __m256 fx = _mm256_and_ps(ex, magnitude), fy = _mm256_and_ps(ey, magnitude),
                 fz = _mm256_and_ps(ez, magnitude);
    const __m256 squared = _mm256_add_ps(
        _mm256_add_ps(_mm256_mul_ps(ex, ex), _mm256_mul_ps(ey, ey)), _mm256_mul_ps(ez, ez));
    const __mmask8 marks = _mm256_cmp_ps_mask(squared, _mm256_set1_ps(kReachSquared), _CMP_LT_OQ);
    const __m256 across = _mm256_loadu_ps(row.across() + first),
                 upward = _mm256_loadu_ps(row.upward() + first);
    const __m256 d2 = _mm256_max_ps(squared, _mm256_set1_ps(kSmallestSquared));
    const __m256 smallerX =
                     _mm256_min_ps(_mm256_and_ps(cx, magnitude), _mm256_and_ps(vx, magnitude)),
                 smallerY =
                     _mm256_min_ps(_mm256_and_ps(cy, magnitude), _mm256_and_ps(vy, magnitude)),
                 smallerZ =
                     _mm256_min_ps(_mm256_and_ps(cz, magnitude), _mm256_and_ps(vz, magnitude));
    __mmask8 idle =
        _mm256_cmp_ps_mask(_mm256_mul_ps(across, fx), _mm256_mul_ps(smallerX, d2), _CMP_LT_OQ);
    idle = _mm256_mask_cmp_ps_mask(idle, _mm256_mul_ps(across, fy), _mm256_mul_ps(smallerY, d2),
                                   _CMP_LT_OQ);
    idle = _mm256_mask_cmp_ps_mask(idle, _mm256_mul_ps(upward, fz), _mm256_mul_ps(smallerZ, d2),
                                   _CMP_LT_OQ);
    return static_cast<uint32_t>(marks & ~idle) & lanesInBlock<kBlock>(row, first);
  }
};

#endif  // QUIBBIX_RELAXATION_WIDE

}  // namespace fast_relaxation
