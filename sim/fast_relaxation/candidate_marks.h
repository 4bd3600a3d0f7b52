// The fast sweep's candidate test, written once over the operations of one
// instruction set. Deliberately without an include guard: candidate_test.h
// includes it once per set, inside a namespace that defines that set's
// `Lanes` and, for the wide sets, inside the set's target region, so that
// each copy is compiled for its own instructions.

// For a block of kTestBlock candidates of a row from `first` on, with hamster
// i standing at (px, py, pz), the bits of those that must be pushed: within
// reach and not provably unchanged (skip_bounds.h): on every axis, the bound
// of the push times |e| below the smaller magnitude of the two coordinates
// times max(d2, 0.0001), where e are the float differences and d2 the float
// squared distance.
struct CandidateTest {
  static uint32_t marks(const RowCandidates& row, int first, float px, float py, float pz) {
    using Vec = Lanes::Vec;
    const Vec reachSquared = Lanes::broadcast(kReachSquared);
    const Vec smallestSquared = Lanes::broadcast(kSmallestSquared);
    const Vec vx = Lanes::broadcast(px), vy = Lanes::broadcast(py), vz = Lanes::broadcast(pz);
    const Vec ax = Lanes::magnitude(vx), ay = Lanes::magnitude(vy), az = Lanes::magnitude(vz);
    uint32_t marks = 0;
    for (int lane = 0; lane < kTestBlock; lane += Lanes::kWidth) {
      const int k = first + lane;
      const Vec cx = Lanes::load(row.x() + k), cy = Lanes::load(row.y() + k),
                cz = Lanes::load(row.z() + k);
      const Vec ex = Lanes::sub(cx, vx), ey = Lanes::sub(cy, vy), ez = Lanes::sub(cz, vz);
      const Vec squared =
          Lanes::add(Lanes::add(Lanes::mul(ex, ex), Lanes::mul(ey, ey)), Lanes::mul(ez, ez));
      const Vec across = Lanes::load(row.across() + k), upward = Lanes::load(row.upward() + k);
      const Vec d2 = Lanes::larger(squared, smallestSquared);
      const Vec boundX = Lanes::mul(Lanes::smaller(Lanes::magnitude(cx), ax), d2),
                boundY = Lanes::mul(Lanes::smaller(Lanes::magnitude(cy), ay), d2),
                boundZ = Lanes::mul(Lanes::smaller(Lanes::magnitude(cz), az), d2);
      auto idle = Lanes::less(Lanes::mul(across, Lanes::magnitude(ex)), boundX);
      idle = Lanes::lessAnd(idle, Lanes::mul(across, Lanes::magnitude(ey)), boundY);
      idle = Lanes::lessAnd(idle, Lanes::mul(upward, Lanes::magnitude(ez)), boundZ);
      marks |= Lanes::bitsOfFirstNotSecond(Lanes::less(squared, reachSquared), idle) << lane;
    }
    return marks & lanesInBlock(row, first);
  }
};
