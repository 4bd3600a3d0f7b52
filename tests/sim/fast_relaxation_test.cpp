// The fast relaxation against the literal loop, bit for bit, in every form of
// its inner steps that this machine runs, on states chosen to break the
// shortcuts it takes: crowds stacked on one point, spread far outside its grid,
// on the box and cell boundaries, with zeros of both signs, subnormal and
// non-finite coordinates, hamsters that move far from where the pair list was
// made, and long runs with jumps in the forms that the replay tool, which
// takes the preferred one, does not run (tests/replay compares that one). Every
// comparison also checks that the crowd went through the fast sweep in the
// form asked for whenever its size calls for it, so the literal loop is never
// compared with itself.
#include "sim/fast_relaxation/fast_relaxation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "app/scenario.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "scene/scene_state.h"
#include "sim/hamster.h"
#include "sim/relaxation.h"
#include "tests/sim/stress_crowds.h"

namespace {

// Crowds of 40 up to the whole pool go through the fast sweep, smaller and
// larger ones through the literal loop.
bool bySweep(int count) {
  return count >= 40 && count <= 1500;
}

std::vector<const SweepBranch*> branchesHere() {
  std::vector<const SweepBranch*> branches;
  for (const SweepBranch& branch : sweepBranches()) {
    if (branch.runsHere()) branches.push_back(&branch);
  }
  return branches;
}

// A crowd and its copies, relaxed by the literal loop and by the fast sweep in
// each branch, each with a workspace of its own.
class Twins {
 public:
  explicit Twins(int count) {
    for (const SweepBranch* branch : branchesHere()) {
      workspaces_.push_back(std::make_unique<FastRelaxation>(*branch));
    }
    fast_.resize(workspaces_.size());
    for (int i = 0; i < count; ++i) {
      literal_.push_back(std::make_unique<Hamster>());
      for (auto& crowd : fast_) crowd.push_back(std::make_unique<Hamster>(*literal_.back()));
    }
  }

  void place(int i, float x, float y, float z) {
    for (Hamster* h : copies(i)) {
      h->x = x;
      h->y = y;
      h->z = z;
    }
  }
  void placeAll(const Layout& layout) {
    for (int i = 0; i < size(); ++i) place(i, layout[i].x, layout[i].y, layout[i].z);
  }
  void moveBy(int i, float dx, float dy, float dz) {
    for (Hamster* h : copies(i)) {
      h->x += dx;
      h->y += dy;
      h->z += dz;
    }
  }

  // Relaxes all copies and reports the first hamster whose position bits differ.
  void relaxAndCompare(int rounds = 1) {
    for (int round = 0; round < rounds; ++round) {
      relaxCrowdReference(pointers(literal_));
      for (size_t b = 0; b < fast_.size(); ++b) {
        FastRelaxation& workspace = *workspaces_[b];
        SCOPED_TRACE(workspace.branch().name);
        const FastRelaxationCounters before = workspace.counters();
        workspace.relax(pointers(fast_[b]));
        const uint64_t swept = bySweep(size()) ? 1 : 0;
        EXPECT_EQ(workspace.counters().fastSweeps - before.fastSweeps, swept);
        EXPECT_EQ(workspace.counters().literalSweeps - before.literalSweeps, 1 - swept);
        for (int i = 0; i < size(); ++i) {
          const Hamster &l = *literal_[i], &f = *fast_[b][i];
          ASSERT_EQ(0, std::memcmp(&l.x, &f.x, 3 * sizeof(float)))
              << "round " << round << ", hamster " << i << ": literal (" << l.x << ", " << l.y
              << ", " << l.z << "), fast (" << f.x << ", " << f.y << ", " << f.z << ")";
        }
      }
    }
  }

  // Each branch's counters.
  std::vector<FastRelaxationCounters> counters() const {
    std::vector<FastRelaxationCounters> all;
    for (const auto& workspace : workspaces_) all.push_back(workspace->counters());
    return all;
  }

  int size() const { return static_cast<int>(literal_.size()); }
  const Hamster& at(int i) const { return *literal_[i]; }

 private:
  using Crowd = std::vector<std::unique_ptr<Hamster>>;
  static std::vector<Hamster*> pointers(const Crowd& crowd) {
    std::vector<Hamster*> all;
    for (auto& h : crowd) all.push_back(h.get());
    return all;
  }
  std::vector<Hamster*> copies(int i) {
    std::vector<Hamster*> all{literal_[i].get()};
    for (auto& crowd : fast_) all.push_back(crowd[i].get());
    return all;
  }

  Crowd literal_;
  std::vector<std::unique_ptr<FastRelaxation>> workspaces_;
  std::vector<Crowd> fast_;  // by workspace
};

}  // namespace

TEST(FastRelaxation, RandomCrowdsOfEverySize) {
  platform::srand(11);
  for (int count : {1, 2, 3, 39, 40, 63, 64, 65, 129, 400, 1500, 1501}) {
    SCOPED_TRACE(count);
    Twins twins(count);
    for (int i = 0; i < count; ++i)
      twins.place(i, uniform(-1.2f, 1.2f), uniform(-1.2f, 1.2f), uniform(0, 0.3f));
    twins.relaxAndCompare(2);
  }
}

TEST(FastRelaxation, StressCrowds) {
  for (const auto& [name, layout] : stressCrowds()) {
    SCOPED_TRACE(name);
    Twins twins(static_cast<int>(layout.size()));
    twins.placeAll(layout);
    twins.relaxAndCompare(3);
  }
  for (float centre : {0.0f, 1.1f}) {
    SCOPED_TRACE(centre);
    Twins twins(300);
    twins.placeAll(stackedCrowd(centre));
    twins.relaxAndCompare(3);
  }
}

TEST(FastRelaxation, ATightClusterPushingItselfAround) {
  Twins twins(60);
  twins.placeAll(tightCluster());
  twins.relaxAndCompare();
  // The list is made at the start; the pushes carry hamsters far from where
  // they stood within a pass, so their pairs are listed anew in mid-sweep.
  for (const FastRelaxationCounters& counters : twins.counters())
    EXPECT_GT(counters.hamstersRelisted, 0u);
}

TEST(FastRelaxation, LongRunsWithJumpsMatchTheLiteralLoop) {
  // Whole frames, so that hamsters fly, bounce, fall back onto each other and
  // settle, at a few crowd sizes: the runs of tests/replay, there in the
  // preferred form only.
  for (int count : {100, 500, 1500}) {
    SCOPED_TRACE(count);
    Scenario scenario;
    scenario.seed = 2024;
    scenario.count = count;
    scenario.frames = count == 1500 ? 25 : 150;
    scenario.frameMs = {16, 16, 40, 1};
    scenario.events = {{3, InputEvent::kSpace},
                       {20, InputEvent::kClick},
                       {31, InputEvent::kSpace},
                       {120, InputEvent::kSpace}};

    SceneState literal;
    SilentSound silent;
    scenario.relaxation = Relaxation::kReference;
    ScenarioRun literalRun(scenario, literal, silent);
    literalRun.start();
    literalRun.playFrames(settleTumbles);
    for (const SweepBranch* branch : branchesHere()) {
      if (branch == &preferredSweepBranch()) continue;
      SCOPED_TRACE(branch->name);
      SceneState fast;
      fast.relaxationWorkspace = std::make_unique<FastRelaxation>(*branch);
      Scenario fastScenario = scenario;
      fastScenario.relaxation = Relaxation::kFast;
      ScenarioRun fastRun(fastScenario, fast, silent);
      fastRun.start();
      fastRun.playFrames(settleTumbles);
      EXPECT_GT(fastRelaxationOf(fast).counters().fastSweeps, 0u);
      for (int i = 0; i < kMaxHamsters; ++i) {
        ASSERT_EQ(0, std::memcmp(static_cast<const void*>(literal.hamsterPool[i]),
                                 static_cast<const void*>(fast.hamsterPool[i]), sizeof(Hamster)))
            << "hamster " << i;
      }
      for (Hamster* h : fast.hamsterPool) delete h;
    }
    for (Hamster* h : literal.hamsterPool) delete h;
  }
}

TEST(FastRelaxation, HamstersMovedFarFromWhereThePairListWasMade) {
  // A calm lattice keeps its pair list from one call to the next. Then, apart
  // from it, a pair a little more than 0.2 plus the skin apart comes within
  // reach when one moves a little more than half the skin and the other a
  // little less, and in a listed pair 0.22 apart one moves 0.03 closer; a few
  // hamsters jump into the lattice (those that moved are listed anew, one by
  // one). Then half of them move (the list is made again, whole).
  Twins twins(400);
  for (int i = 0; i < twins.size(); ++i)
    twins.place(i, -2.8f + 0.28f * (i % 20), -2.8f + 0.28f * (i / 20), 0);
  twins.place(396, 10.0f, 0, 0);
  twins.place(397, 10.26f, 0, 0);
  twins.place(394, 20.0f, 0, 0);
  twins.place(395, 20.22f, 0, 0);
  twins.relaxAndCompare();
  std::vector<FastRelaxationCounters> before = twins.counters();
  twins.relaxAndCompare();
  for (size_t b = 0; b < before.size(); ++b)
    EXPECT_EQ(twins.counters()[b].pairListsMade, before[b].pairListsMade);

  before = twins.counters();
  twins.moveBy(396, 0.04f, 0, 0);
  twins.moveBy(397, -0.024f, 0, 0);
  twins.moveBy(395, -0.03f, 0, 0);
  const float movedAlone = twins.at(396).x, movedListed = twins.at(394).x;
  for (int i : {0, 7, 150, 399}) twins.place(i, twins.at(210).x, twins.at(210).y + 0.05f, 0);
  for (int i : {3, 250}) twins.moveBy(i, 0.3f, -0.25f, 0.01f);
  twins.relaxAndCompare();
  EXPECT_LT(twins.at(396).x, movedAlone);  // both pairs were pushed
  EXPECT_LT(twins.at(394).x, movedListed);
  for (size_t b = 0; b < before.size(); ++b) {
    EXPECT_GT(twins.counters()[b].hamstersRelisted, before[b].hamstersRelisted);
    EXPECT_EQ(twins.counters()[b].pairListsMade, before[b].pairListsMade);
  }

  before = twins.counters();
  for (int i = 0; i < twins.size(); i += 2) twins.moveBy(i, 0.05f, 0.04f, 0);
  twins.relaxAndCompare();
  for (size_t b = 0; b < before.size(); ++b)
    EXPECT_GT(twins.counters()[b].pairListsMade, before[b].pairListsMade);
}

TEST(FastRelaxation, AHamsterAtZeroIsPushedFromAnyDistanceInThePool) {
  // Far along the strength chain only coordinates at or near zero still move:
  // pair a hamster with x = 0, or with z = 0, with a neighbour at every pool
  // distance around the point where the fast sweep stops looking at ordinary
  // pairs.
  for (int distance = 260; distance < 340; ++distance) {
    for (bool zeroHeight : {false, true}) {
      SCOPED_TRACE(testing::Message() << distance << (zeroHeight ? " z" : " x"));
      Twins twins(distance + 2);
      for (int i = 0; i < twins.size(); ++i) twins.place(i, 40.0f + i, -40.0f, 0.5f);
      twins.place(1, 0.05f, 0.5f, 0.1f);
      twins.place(1 + distance, zeroHeight ? 0.1f : 0.0f, 0.45f, zeroHeight ? 0.0f : 0.1f);
      twins.relaxAndCompare();
    }
  }
}
