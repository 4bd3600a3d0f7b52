// Design note.
//
// The literal sweep calls separate for every pair i <= j, seven times over, in
// a fixed order where each push is seen by the next call. Only pairs whose
// coordinates all lie within 0.2 of each other can push, so this sweep visits
// just those, in the same order, and calls the very same push on them:
//
// - Positions are packed into three float arrays for the sweep and written back
//   at the end; the push itself is pushApart, shared with Hamster::separate.
// - The strength for pool distance k is read from a table built once with the
//   same float chain as the literal loop (2.5, then times the double 0.9,
//   rounded to float each step; handed on times the float nearest 1/7).
// - A uniform grid of 1/9.5-unit cells over x and y keeps, for each cell, a bit
//   set (by pool index) of the hamsters in the 5 x 5 cells around it. Two
//   hamsters whose x (or y) difference passes the 0.2 box test lie at most two
//   cells apart, so the candidates for row i are the bits of i's cell; taking
//   them in increasing order gives the pairs in pool order. Positions outside
//   the grid are clamped to its border cells, which keeps neighbours
//   neighbours.
// - A push moves hamster i and hamster j. Either may change cell: the grid is
//   updated at once, and when i has moved the rest of its row is queried anew,
//   from the next pool index on, so a pair that came into reach is not missed.
// - Hamsters with a non-finite coordinate never push nor get pushed (every
//   difference with them is infinite or NaN, which stops the push), so they are
//   left out of the grid. The pair of a hamster with itself still runs, since
//   it turns -0.0 into +0.0.
// - A cheap float test (|difference| <= 0.2f on all three axes, and the
//   squared distance below 0.0401f) rejects most candidates before the double
//   arithmetic: rounding is monotonic and the float sum is within a few parts
//   in 2^24 of the double one, so it never rejects a pair that would be pushed.
// - Far along the chain the strength is so small that the push cannot change a
//   coordinate unless the coordinate itself is tiny. Each axis of a push is at
//   most 12 times the strength (|d| / d2 <= 100 with d2 clamped at 0.0001,
//   times 0.04, times 3 for a close pair's z), and a float c != 0 stays c when
//   the push is below |c| * 2^-26 (half its spacing, however it is rounded). So
//   beyond the pool distance farDistance(), where 16 times the strength is below
//   kSmallCoordinate * 2^-26, a pair changes nothing unless one of the two has
//   a coordinate below kSmallCoordinate in magnitude (zero and subnormals
//   included). Such "small" hamsters are also listed apart (and, when there
//   are many, kept in a second grid): a row takes its candidates from the full
//   grid up to farDistance() and from the small ones beyond, or from the full
//   grid all the way when hamster i is small itself. A hamster's smallness is
//   re-checked after every push.
// - Nearer in the pool, a pair is still skipped when the push it would make,
//   bounded from the pair's actual distance, provably changes no coordinate
//   (pushChangesNothing).
// - Each row's candidates are copied out with their positions and tested a
//   block at a time with SIMD float operations, without a branch each; after a
//   push moves hamster i only the rest of the block is tested again.
#include "sim/fast_relaxation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "app/scene_state.h"
#include "sim/hamster.h"
#include "sim/push_apart.h"
#include "sim/relaxation.h"

namespace {

constexpr int kWords = (kMaxHamsters + 63) / 64;
// Cells a little wider than 0.2 / 2: scaled by 9.5, two coordinates that pass
// the 0.2 box test differ by at most 1.9 plus rounding, so their cells (floors
// of the scaled, monotonically rounded values) are at most two apart.
constexpr float kCellsPerUnit = 9.5f;
constexpr int kGridSide = 38;  // cells across, covering -2 to 2
constexpr int kReach = 2;      // cells on each side that can hold a partner
constexpr int kNoCell = -1;
// Below this many hamsters the literal loop is quicker.
constexpr int kFewHamsters = 40;
// A pair is pushed only while its squared distance (a double) is below 0.04;
// the same sum in float is below this bound whenever that holds, and far from
// it otherwise, so most pairs that would not be pushed are told apart early.
constexpr float kReachSquared = 0.0401f;
// Hamsters with a coordinate below this in magnitude are pushed by far pairs too.
constexpr float kSmallCoordinate = 0x1p-17f;

// Float strengths, held widened to double (see pushApart).
const std::array<double, kMaxHamsters>& strengthByDistance() {
  static const std::array<double, kMaxHamsters> table = [] {
    std::array<double, kMaxHamsters> strengths{};
    float chain = 2.5f;
    for (double& strength : strengths) {
      const float handedOn = chain * 0.14285715f;
      strength = handedOn;
      chain = static_cast<float>(chain * 0.9);
    }
    return strengths;
  }();
  return table;
}

// Per pool distance k, bounds under which a push provably changes nothing (see
// pushChangesNothing), with a factor of two to spare for rounding.
struct NoChangeBounds {
  std::array<float, kMaxHamsters> across;  // 0.08 s 2^26, for x and y
  std::array<float, kMaxHamsters> upward;  // three times that, for z
};

const NoChangeBounds& noChangeBounds() {
  static const NoChangeBounds bounds = [] {
    NoChangeBounds b{};
    const std::array<double, kMaxHamsters>& strength = strengthByDistance();
    for (int k = 0; k < kMaxHamsters; ++k) {
      b.across[k] = static_cast<float>(0.08 * strength[k] * 0x1p26);
      b.upward[k] = static_cast<float>(0.24 * strength[k] * 0x1p26);
    }
    return b;
  }();
  return bounds;
}

// The first pool distance from which on a push cannot change a coordinate of
// magnitude kSmallCoordinate or more (the strengths never grow along the chain).
int farDistance() {
  static const int distance = [] {
    const std::array<double, kMaxHamsters>& strength = strengthByDistance();
    const double unchangedBelow = static_cast<double>(kSmallCoordinate) * 0x1p-26;
    for (int k = 1; k < kMaxHamsters; ++k) {
      if (16 * strength[k] < unchangedBelow) return k;
    }
    return kMaxHamsters;
  }();
  return distance;
}

struct BitSet {
  uint64_t words[kWords];
};

// For a finite coordinate; without branches, since pushes call it often.
int gridColumn(float coordinate) {
  constexpr float kLowest = -kGridSide / 2, kHighest = kGridSide / 2 - 0.5f;
  static_assert(kGridSide == 4 * kCellsPerUnit);
  const float scaled = std::min(std::max(coordinate * kCellsPerUnit, kLowest), kHighest);
  // Rounds toward minus infinity without a library call.
  const int truncated = static_cast<int>(scaled);
  return truncated - (static_cast<float>(truncated) > scaled) + kGridSide / 2;
}

// The cell of a finite position. Pushes keep finite positions finite.
int cellOfFinite(float x, float y) {
  return gridColumn(y) * kGridSide + gridColumn(x);
}

int cellFor(float x, float y, float z) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return kNoCell;
  return cellOfFinite(x, y);
}

bool isSmall(float x, float y, float z) {
  return !(std::fabs(x) >= kSmallCoordinate && std::fabs(y) >= kSmallCoordinate &&
           std::fabs(z) >= kSmallCoordinate);
}

class CrowdGrid {
 public:
  void reset(int wordCount) {
    for (BitSet& block : blocks_) {
      for (int w = 0; w < wordCount; ++w) block.words[w] = 0;
    }
  }

  // Moves a hamster between cells; kNoCell stands for "not in this grid".
  void move(int hamster, int from, int to) {
    if (from == to) return;
    if (from != kNoCell) setInBlocks(hamster, from, false);
    if (to != kNoCell) setInBlocks(hamster, to, true);
  }

  // The hamsters within kReach cells of `cell`, as bits by pool index.
  const uint64_t* around(int cell) const { return blocks_[cell].words; }

 private:
  // Hamsters move between cells rarely, rows are read all the time: so a move
  // updates the blocks of all the cells around, and a read is one block.
  void setInBlocks(int hamster, int cell, bool present) {
    const int column = cell % kGridSide, row = cell / kGridSide;
    const uint64_t bit = uint64_t{1} << (hamster & 63);
    for (int r = std::max(row - kReach, 0); r <= std::min(row + kReach, kGridSide - 1); ++r) {
      for (int c = std::max(column - kReach, 0); c <= std::min(column + kReach, kGridSide - 1);
           ++c) {
        uint64_t& word = blocks_[r * kGridSide + c].words[hamster >> 6];
        word = present ? (word | bit) : (word & ~bit);
      }
    }
  }

  // blocks_[cell]: the hamsters in the cells within kReach rows and columns.
  std::array<BitSet, kGridSide * kGridSide> blocks_;
};

// The push along an axis is |d| / d2 * 0.04 * s (three times that for the z
// of a close pair), with d2 the squared distance clamped at 0.0001; and a float
// c != 0 keeps its bits under any change smaller than |c| 2^-26 (half its
// spacing, however the sum is rounded). With the float differences e and the
// float squared distance, which are within a few parts in 2^24 of the double
// ones, a pair is provably left as it is when, on every axis and for both
// hamsters, 0.08 s 2^26 |e| < |c| max(d2, 0.0001): a factor of two to spare.
inline float smallerMagnitude(float a, float b) {
  const float absA = std::fabs(a), absB = std::fabs(b);
  return absA < absB ? absA : absB;
}

inline bool pushChangesNothing(float xi, float yi, float zi, float xj, float yj, float zj, float ex,
                               float ey, float ez, float squared, float across, float upward) {
  const float d2 = std::max(squared, 0.0001f);
  return (across * std::fabs(ex) < smallerMagnitude(xi, xj) * d2) &
         (across * std::fabs(ey) < smallerMagnitude(yi, yj) * d2) &
         (upward * std::fabs(ez) < smallerMagnitude(zi, zj) * d2);
}

bool cellsWithinReach(int a, int b) {
  const int columns = a % kGridSide - b % kGridSide, rows = a / kGridSide - b / kGridSide;
  return (columns >= -kReach) & (columns <= kReach) & (rows >= -kReach) & (rows <= kReach);
}

uint64_t bitsFrom(int index) {
  return ~uint64_t{0} << (index & 63);
}
uint64_t bitsUpTo(int index) {
  const int bit = index & 63;
  return bit == 63 ? ~uint64_t{0} : (uint64_t{1} << (bit + 1)) - 1;
}

// Where every hamster of the sweep stands, and in which cell.
struct Workspace {
  // While few hamsters are small, the far candidates come from a plain list of
  // them rather than from their grid.
  static constexpr int kFewSmall = 32;

  std::vector<float> x, y, z;
  std::vector<int> cell;       // cell in the grids, or kNoCell
  std::vector<uint8_t> small;  // has a coordinate below kSmallCoordinate
  CrowdGrid everyone;
  CrowdGrid smallOnes;         // the small hamsters only, in the same cells
  std::vector<int> smallList;  // the small hamsters in pool order
  int count = 0;
  int wordCount = 0;

  void start(std::span<Hamster* const> crowd) {
    count = static_cast<int>(crowd.size());
    wordCount = (count + 63) / 64;
    x.resize(count);
    y.resize(count);
    z.resize(count);
    cell.assign(count, kNoCell);
    small.assign(count, 0);
    everyone.reset(wordCount);
    smallOnes.reset(wordCount);
    smallList.clear();
    for (int j = 0; j < count; ++j) {
      x[j] = crowd[j]->x;
      y[j] = crowd[j]->y;
      z[j] = crowd[j]->z;
      file(j, cellFor(x[j], y[j], z[j]));
    }
  }

  // Files hamster h by a position that it took from a push, or first had;
  // returns whether its cell or its smallness changed.
  bool refile(int h) { return file(h, cellOfFinite(x[h], y[h])); }

  bool file(int h, int newCell) {
    const bool newSmall = isSmall(x[h], y[h], z[h]);
    const bool wasSmall = small[h];
    if (newCell == cell[h] && newSmall == wasSmall) return false;
    everyone.move(h, cell[h], newCell);
    smallOnes.move(h, wasSmall ? cell[h] : kNoCell, newSmall ? newCell : kNoCell);
    if (newSmall != wasSmall) {
      const auto place = std::lower_bound(smallList.begin(), smallList.end(), h);
      if (newSmall) {
        smallList.insert(place, h);
      } else {
        smallList.erase(place);
      }
    }
    cell[h] = newCell;
    small[h] = newSmall;
    return true;
  }
};

// One row's candidates, in pool order, copied out with their positions (which
// stay as they are until their own turn in the row) and the no-change bounds
// of their pool distance. They are tested a block at a time, without a branch
// per candidate, which is much cheaper than guessing at each one; when hamster
// i moves, only the rest of the current block is tested again.
struct RowCandidates {
  static constexpr int kBlock = 8;

  int size = 0;
  std::array<int, kMaxHamsters> index;
  // One block more than can be filled, so that a block never reads past the end.
  std::array<float, kMaxHamsters + kBlock> x, y, z, across, upward;

  // The candidates j >= from of row i: every neighbour up to the far distance,
  // and beyond it only the small neighbours, or every neighbour when i is
  // small itself.
  void collect(const Workspace& ws, int i, int from, int far) {
    size = 0;
    gatherInto(ws, i, from, far);
    // Harmless values behind the last candidate, for the last block.
    for (int k = size; k < size + kBlock; ++k) x[k] = y[k] = z[k] = across[k] = upward[k] = 0;
  }

 private:
  void gatherInto(const Workspace& ws, int i, int from, int far) {
    const int lastNear = i + far;
    const int last = ws.count - 1;
    if (ws.small[i] || lastNear >= last) {
      addBits(ws, i, ws.everyone.around(ws.cell[i]), from, last);
      return;
    }
    if (lastNear >= from) addBits(ws, i, ws.everyone.around(ws.cell[i]), from, lastNear);
    if (ws.smallList.empty()) return;
    const int farFrom = std::max(from, lastNear + 1);
    if (ws.smallList.size() <= Workspace::kFewSmall) {
      // Few of them are ever near, so the test is easy to guess.
      auto j = std::lower_bound(ws.smallList.begin(), ws.smallList.end(), farFrom);
      for (; j != ws.smallList.end(); ++j) {
        if (cellsWithinReach(ws.cell[i], ws.cell[*j])) add(ws, i, *j);
      }
    } else {
      addBits(ws, i, ws.smallOnes.around(ws.cell[i]), farFrom, last);
    }
  }

  const NoChangeBounds* noChangeBoundsTable = &noChangeBounds();

 public:
  // Bits for the candidates first .. first + kBlock - 1 that must be pushed
  // with hamster i standing at (px, py, pz): within the float box and not
  // provably unchanged. The vector form does the very same float operations.
  uint32_t testBlock(int first, float px, float py, float pz) const {
    const int lanes = std::min(size - first, kBlock);
#ifdef __SSE2__
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 box = _mm_set1_ps(0.2f);
    const __m128 reachSquared = _mm_set1_ps(kReachSquared);
    const __m128 smallestSquared = _mm_set1_ps(0.0001f);
    const __m128 vx = _mm_set1_ps(px), vy = _mm_set1_ps(py), vz = _mm_set1_ps(pz);
    const __m128 ax = _mm_and_ps(vx, magnitude), ay = _mm_and_ps(vy, magnitude),
                 az = _mm_and_ps(vz, magnitude);
    uint32_t marks = 0;
    for (int lane = 0; lane < kBlock; lane += 4) {
      const int k = first + lane;
      const __m128 cx = _mm_loadu_ps(&x[k]), cy = _mm_loadu_ps(&y[k]), cz = _mm_loadu_ps(&z[k]);
      const __m128 ex = _mm_sub_ps(cx, vx), ey = _mm_sub_ps(cy, vy), ez = _mm_sub_ps(cz, vz);
      const __m128 dz = _mm_and_ps(ez, magnitude);
      const __m128 squared =
          _mm_add_ps(_mm_add_ps(_mm_mul_ps(ex, ex), _mm_mul_ps(ey, ey)), _mm_mul_ps(ez, ez));
      const __m128 near =
          _mm_and_ps(_mm_and_ps(_mm_and_ps(_mm_cmple_ps(_mm_and_ps(ex, magnitude), box),
                                           _mm_cmple_ps(_mm_and_ps(ey, magnitude), box)),
                                _mm_cmple_ps(dz, box)),
                     _mm_cmplt_ps(squared, reachSquared));
      const __m128 reach = _mm_loadu_ps(&across[k]), lift = _mm_loadu_ps(&upward[k]);
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
      const float ex = x[k] - px, ey = y[k] - py, ez = z[k] - pz;
      const float dz = std::fabs(ez);
      const bool near = (std::fabs(ex) <= 0.2f) & (std::fabs(ey) <= 0.2f) & (dz <= 0.2f) &
                        (ex * ex + ey * ey + ez * ez < kReachSquared);
      const bool idle = pushChangesNothing(px, py, pz, x[k], y[k], z[k], ex, ey, ez,
                                           ex * ex + ey * ey + ez * ez, across[k], upward[k]);
      marks |= static_cast<uint32_t>(near & !idle) << lane;
    }
    return marks;
#endif
  }

  void add(const Workspace& ws, int i, int j) {
    const NoChangeBounds& bounds = *noChangeBoundsTable;
    index[size] = j;
    x[size] = ws.x[j];
    y[size] = ws.y[j];
    z[size] = ws.z[j];
    across[size] = bounds.across[j - i];
    upward[size] = bounds.upward[j - i];
    ++size;
  }

  // Adds the hamsters first .. last (pool indexes) whose bits are set.
  void addBits(const Workspace& ws, int i, const uint64_t* bits, int first, int last) {
    const int firstWord = first >> 6, lastWord = last >> 6;
    for (int w = firstWord; w <= lastWord; ++w) {
      uint64_t word = bits[w];
      if (w == firstWord) word &= bitsFrom(first);
      if (w == lastWord) word &= bitsUpTo(last);
      for (; word != 0; word &= word - 1) add(ws, i, (w << 6) | __builtin_ctzll(word));
    }
  }
};

// What the push of a hamster with itself comes to: every difference is +0, so
// each coordinate gets +0 added and taken away again, which turns -0 into +0
// and changes nothing else (and a non-finite coordinate stops the push). The
// cell and the smallness stay as they were.
void pairWithItself(float& x, float& y, float& z) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return;
  x = x + 0.0f;
  y = y + 0.0f;
  z = z + 0.0f;
}

}  // namespace

void relaxCrowdFast(std::span<Hamster* const> crowd) {
  // A few hamsters are done sooner by the literal loop than the grid is set up.
  if (crowd.size() < static_cast<size_t>(kFewHamsters) ||
      crowd.size() > static_cast<size_t>(kMaxHamsters)) {
    relaxCrowdReference(crowd);
    return;
  }
  // The simulation runs on one thread; the buffers are kept between frames.
  static Workspace ws;
  static RowCandidates row;
  const std::array<double, kMaxHamsters>& strength = strengthByDistance();
  const int far = farDistance();
  ws.start(crowd);
  const int count = ws.count;
  float* const x = ws.x.data();
  float* const y = ws.y.data();
  float* const z = ws.z.data();

  for (int pass = 0; pass < kRelaxationPasses; ++pass) {
    for (int i = 0; i < count; ++i) {
      pairWithItself(x[i], y[i], z[i]);
      if (ws.cell[i] == kNoCell || i + 1 >= count) continue;

      row.collect(ws, i, i + 1, far);
      for (int first = 0; first < row.size; first += RowCandidates::kBlock) {
        uint32_t marks = row.testBlock(first, x[i], y[i], z[i]);
        while (marks != 0) {
          const int lane = __builtin_ctz(marks);
          marks &= marks - 1;
          const int k = first + lane;
          const int j = row.index[k];
          const float xi = x[i], yi = y[i], zi = z[i];
          if (!pushApart(x[i], y[i], z[i], x[j], y[j], z[j], strength[j - i])) continue;

          ws.refile(j);
          if (x[i] == xi && y[i] == yi && z[i] == zi) continue;
          if (ws.refile(i)) {
            // i has other neighbours now, or needs other far ones: take the
            // rest of the row anew.
            if (ws.cell[i] == kNoCell || j + 1 >= count) goto rowDone;
            row.collect(ws, i, j + 1, far);
            first = -RowCandidates::kBlock;
            break;
          }
          marks = row.testBlock(first, x[i], y[i], z[i]) & (~uint32_t{1} << lane);
        }
      }
    rowDone:;
    }
  }

  for (int j = 0; j < count; ++j) {
    crowd[j]->x = x[j];
    crowd[j]->y = y[j];
    crowd[j]->z = z[j];
  }
}
