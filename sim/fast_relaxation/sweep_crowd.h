// The crowd as the fast sweep sees it: positions packed four floats to a
// hamster, for vector loads (written back at the end), each hamster's cell, which hamsters are
// small (see skip_bounds.h), and the pair list with each hamster's anchor (see
// pair_list.h), all kept up to date after every push.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/fast_relaxation/crowd_grid.h"
#include "sim/fast_relaxation/pair_list.h"
#include "sim/fast_relaxation/skip_bounds.h"
#include "sim/simd_targets.h"

class Hamster;

namespace fast_relaxation {

struct SweepCrowd {
  // Four floats, 16-byte aligned; the fourth stays 0.
  struct alignas(16) Quad {
    float v[4];
  };
  // While few hamsters are small, the far candidates come from a plain list of
  // them rather than from their grid.
  static constexpr int kFewSmall = 32;
  // The list is made afresh at the start of a call when more than one in this
  // many hamsters have moved too far from their anchors.
  static constexpr int kDriftedShare = 8;

  // Positions, each x, y, z and a 0.
  std::vector<Quad> at;
  std::vector<int> cell;       // cell in the grids, or kNoCell
  std::vector<uint8_t> small;  // has a coordinate below kSmallCoordinate
  CrowdGrid everyone;
  CrowdGrid smallOnes;         // the small hamsters only, in the same cells
  std::vector<int> smallList;  // the small hamsters in pool order
  int count = 0;
  int wordCount = 0;

  PairList pairs;
  uint64_t listsMade = 0;  // whole lists made, ever
  uint64_t relisted = 0;   // hamsters anchored anew, ever

  // Copies the positions in and files every hamster; the grids, and the pair
  // list when it was made for this many hamsters, are kept from the last call.
  // The list is made afresh when it is missing or when many hamsters have
  // moved too far from their anchors; otherwise those are relisted. `far` is
  // the near part's length (skip_bounds.h), at most PairList::kLongestNear.
  void start(std::span<Hamster* const> crowd, int far);
  // Copies the positions back.
  void finish(std::span<Hamster* const> crowd) const;

  // Where each hamster stood when its pairs were listed.
  const Quad* anchors() const { return anchor.data(); }

  // The squared distance of two positions, in float: (x^2 + y^2) + z^2.
  [[gnu::always_inline]] static float squaredApart(const Quad& a, const Quad& b) {
#ifdef QUIBBIX_RELAXATION_SSE2
    const __m128 e = _mm_sub_ps(_mm_load_ps(a.v), _mm_load_ps(b.v));
    const __m128 squares = _mm_mul_ps(e, e);
    const __m128 across = _mm_add_ss(squares, _mm_shuffle_ps(squares, squares, 1));
    return _mm_cvtss_f32(_mm_add_ss(across, _mm_movehl_ps(squares, squares)));
#else
    const float ex = a.v[0] - b.v[0], ey = a.v[1] - b.v[1], ez = a.v[2] - b.v[2];
    return ex * ex + ey * ey + ez * ez;
#endif
  }

  // Files the two hamsters of a push by the positions it gave them; returns
  // whether i's cell, smallness or anchor changed. Those change rarely: while
  // a hamster stays inside a box where its cell and smallness cannot change,
  // and near its anchor, one check tells so for both. Both are filed before
  // either is relisted, since a relist reads everyone's cell.
  [[gnu::always_inline]] bool refilePushed(int i, int j) {
    const int iLeft = leftBehind(i), jLeft = leftBehind(j);
    if ((iLeft | jLeft) == 0) [[likely]] {
      return false;
    }
    return refileLeft(i, iLeft, j, jLeft);
  }

 private:
  // A box of positions, each axis a closed float interval, within which the
  // hamster keeps its cell and smallness.
  struct Stay {
    Quad low, high;
  };
  std::vector<Stay> stay;
  std::vector<Quad> anchor;  // where each stood when its pairs were listed
  int far_ = 0;
  std::vector<int> drifted;

  // What hamster h has left behind since it was last filed or listed: its box
  // (kLeftBox) and the neighbourhood of its anchor (kLeftAnchor).
  static constexpr int kLeftBox = 1, kLeftAnchor = 2;
  [[gnu::always_inline]] int leftBehind(int h) const {
#ifdef QUIBBIX_RELAXATION_SSE2
    const __m128 p = _mm_load_ps(at[h].v);
    const __m128 inside = _mm_and_ps(_mm_cmpge_ps(p, _mm_load_ps(stay[h].low.v)),
                                     _mm_cmple_ps(p, _mm_load_ps(stay[h].high.v)));
    const bool inBox = _mm_movemask_ps(inside) == 0xF;
#else
    const Stay& box = stay[h];
    const float x = at[h].v[0], y = at[h].v[1], z = at[h].v[2];
    const bool inBox = (x >= box.low.v[0]) & (x <= box.high.v[0]) & (y >= box.low.v[1]) &
                       (y <= box.high.v[1]) & (z >= box.low.v[2]) & (z <= box.high.v[2]);
#endif
    const bool near = squaredApart(at[h], anchor[h]) <= kDriftSquared;
    return (inBox ? 0 : kLeftBox) | (near ? 0 : kLeftAnchor);
  }
  bool refileLeft(int i, int iLeft, int j, int jLeft);
  bool driftedFar(int h) const {
    return (leftBehind(h) & kLeftAnchor) != 0;
  }
  bool refileAnew(int h);
  void setStay(int h);
  void listPairs();
  void relist(int h);
  [[gnu::always_inline]] bool file(int h, int newCell) {
    const bool newSmall = isSmall(at[h].v[0], at[h].v[1], at[h].v[2]);
    if (newCell == cell[h] && newSmall == static_cast<bool>(small[h])) return false;
    move(h, newCell, newSmall);
    return true;
  }
  void move(int h, int newCell, bool newSmall);
};

}  // namespace fast_relaxation
