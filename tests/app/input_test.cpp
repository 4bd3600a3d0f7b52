#include "app/input.h"

#include <gtest/gtest.h>

TEST(Keys, CountStaysWithinOneToFifteenHundred) {
  SceneState state;
  EXPECT_EQ(state.hamsterCount, 10);
  EXPECT_EQ(handleKey(state, '-'), KeyResult::kHandled);
  EXPECT_EQ(state.hamsterCount, 1);
  handleKey(state, '+');
  EXPECT_EQ(state.hamsterCount, 11);
  for (int i = 0; i < 200; ++i) handleKey(state, '+');
  EXPECT_EQ(state.hamsterCount, kMaxHamsters);
  for (int i = 0; i < 200; ++i) handleKey(state, '-');
  EXPECT_EQ(state.hamsterCount, 1);
}

TEST(Keys, OnlyEscapeAndLowerQQuit) {
  SceneState state;
  EXPECT_EQ(handleKey(state, 27), KeyResult::kQuit);
  EXPECT_EQ(handleKey(state, 'q'), KeyResult::kQuit);
  const int ignoredKeys[] = {'Q', '=', 'x', '\r', 255};
  for (int key : ignoredKeys) {
    EXPECT_EQ(handleKey(state, static_cast<unsigned char>(key)), KeyResult::kIgnored) << key;
  }
  EXPECT_EQ(state.hamsterCount, 10);
  EXPECT_EQ(state.explodeByKey, 0);
}

TEST(Keys, SpaceRequestsAJumpAndRepeatsMerge) {
  SceneState state;
  handleKey(state, ' ');
  handleKey(state, ' ');
  EXPECT_EQ(state.explodeByKey, 1);
  EXPECT_EQ(state.explodeByClick, 0);
}

TEST(Mouse, OnlyTheLeftButtonGoingDownRequestsAJump) {
  SceneState state;
  handleMouseButton(state, 2, 0);  // right, down
  handleMouseButton(state, 1, 0);  // middle, down
  handleMouseButton(state, 0, 1);  // left, up
  EXPECT_EQ(state.explodeByClick, 0);
  handleMouseButton(state, 0, 0);
  EXPECT_EQ(state.explodeByClick, 1);
  EXPECT_EQ(state.explodeByKey, 0);
}
