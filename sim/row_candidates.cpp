#include "sim/row_candidates.h"

#include <algorithm>
#include <cmath>

#include "sim/push_apart.h"

namespace fast_relaxation {

namespace {

uint64_t bitsFrom(int index) {
  return ~uint64_t{0} << (index & 63);
}

uint64_t bitsUpTo(int index) {
  const int bit = index & 63;
  return bit == 63 ? ~uint64_t{0} : (uint64_t{1} << (bit + 1)) - 1;
}

}  // namespace

void RowCandidates::collect(const SweepCrowd& crowd, int i, int from, int far) {
  size_ = 0;
  gather(crowd, i, from, far);
  // Harmless values behind the last candidate, for the last block.
  for (int k = size_; k < size_ + kBlock; ++k) x_[k] = y_[k] = z_[k] = across_[k] = upward_[k] = 0;
}

void RowCandidates::gather(const SweepCrowd& crowd, int i, int from, int far) {
  const int lastNear = i + far;
  const int last = crowd.count - 1;
  if (crowd.small[i] || lastNear >= last) {
    addBits(crowd, i, crowd.everyone.around(crowd.cell[i]), from, last);
    return;
  }
  if (lastNear >= from) addBits(crowd, i, crowd.everyone.around(crowd.cell[i]), from, lastNear);
  if (crowd.smallList.empty()) return;
  const int farFrom = std::max(from, lastNear + 1);
  if (crowd.smallList.size() <= SweepCrowd::kFewSmall) {
    // Few of them are ever near, so the test is easy to guess.
    auto j = std::lower_bound(crowd.smallList.begin(), crowd.smallList.end(), farFrom);
    for (; j != crowd.smallList.end(); ++j) {
      if (cellsWithinReach(crowd.cell[i], crowd.cell[*j])) add(crowd, i, *j);
    }
  } else {
    addBits(crowd, i, crowd.smallOnes.around(crowd.cell[i]), farFrom, last);
  }
}

void RowCandidates::add(const SweepCrowd& crowd, int i, int j) {
  index_[size_] = j;
  x_[size_] = crowd.x[j];
  y_[size_] = crowd.y[j];
  z_[size_] = crowd.z[j];
  across_[size_] = bounds_.across[j - i];
  upward_[size_] = bounds_.upward[j - i];
  ++size_;
}

void RowCandidates::addBits(const SweepCrowd& crowd, int i, const uint64_t* bits, int first,
                            int last) {
  const int firstWord = first >> 6, lastWord = last >> 6;
  for (int w = firstWord; w <= lastWord; ++w) {
    uint64_t word = bits[w];
    if (w == firstWord) word &= bitsFrom(first);
    if (w == lastWord) word &= bitsUpTo(last);
    for (; word != 0; word &= word - 1) add(crowd, i, (w << 6) | __builtin_ctzll(word));
  }
}

uint32_t RowCandidates::testBlock(int first, float px, float py, float pz) const {
  const int lanes = std::min(size_ - first, kBlock);
#ifdef QUIBBIX_RELAXATION_SSE2
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
  const __m128 box = _mm_set1_ps(kBox);
  const __m128 reachSquared = _mm_set1_ps(kReachSquared);
  const __m128 smallestSquared = _mm_set1_ps(kSmallestSquared);
  const __m128 vx = _mm_set1_ps(px), vy = _mm_set1_ps(py), vz = _mm_set1_ps(pz);
  const __m128 ax = _mm_and_ps(vx, magnitude), ay = _mm_and_ps(vy, magnitude),
               az = _mm_and_ps(vz, magnitude);
  uint32_t marks = 0;
  for (int lane = 0; lane < kBlock; lane += 4) {
    const int k = first + lane;
    const __m128 cx = _mm_loadu_ps(&x_[k]), cy = _mm_loadu_ps(&y_[k]), cz = _mm_loadu_ps(&z_[k]);
    const __m128 ex = _mm_sub_ps(cx, vx), ey = _mm_sub_ps(cy, vy), ez = _mm_sub_ps(cz, vz);
    const __m128 dz = _mm_and_ps(ez, magnitude);
    const __m128 squared =
        _mm_add_ps(_mm_add_ps(_mm_mul_ps(ex, ex), _mm_mul_ps(ey, ey)), _mm_mul_ps(ez, ez));
    const __m128 near =
        _mm_and_ps(_mm_and_ps(_mm_and_ps(_mm_cmple_ps(_mm_and_ps(ex, magnitude), box),
                                         _mm_cmple_ps(_mm_and_ps(ey, magnitude), box)),
                              _mm_cmple_ps(dz, box)),
                   _mm_cmplt_ps(squared, reachSquared));
    const __m128 reach = _mm_loadu_ps(&across_[k]), lift = _mm_loadu_ps(&upward_[k]);
    const __m128 d2 = _mm_max_ps(squared, smallestSquared);
    const __m128 idle = _mm_and_ps(
        _mm_and_ps(_mm_cmplt_ps(_mm_mul_ps(reach, _mm_and_ps(ex, magnitude)),
                                _mm_mul_ps(_mm_min_ps(_mm_and_ps(cx, magnitude), ax), d2)),
                   _mm_cmplt_ps(_mm_mul_ps(reach, _mm_and_ps(ey, magnitude)),
                                _mm_mul_ps(_mm_min_ps(_mm_and_ps(cy, magnitude), ay), d2))),
        _mm_cmplt_ps(_mm_mul_ps(lift, dz),
                     _mm_mul_ps(_mm_min_ps(_mm_and_ps(cz, magnitude), az), d2)));
    marks |= static_cast<uint32_t>(_mm_movemask_ps(_mm_andnot_ps(idle, near))) << lane;
  }
  return marks & ((1u << lanes) - 1);
#else
  uint32_t marks = 0;
  for (int lane = 0; lane < lanes; ++lane) {
    const int k = first + lane;
    const float ex = x_[k] - px, ey = y_[k] - py, ez = z_[k] - pz;
    const float squared = ex * ex + ey * ey + ez * ez;
    const bool near = (std::fabs(ex) <= kBox) & (std::fabs(ey) <= kBox) & (std::fabs(ez) <= kBox) &
                      (squared < kReachSquared);
    const bool idle = pushChangesNothing(px, py, pz, x_[k], y_[k], z_[k], ex, ey, ez, squared,
                                         across_[k], upward_[k]);
    marks |= static_cast<uint32_t>(near & !idle) << lane;
  }
  return marks;
#endif
}

}  // namespace fast_relaxation
