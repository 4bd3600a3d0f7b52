// Runs the real quibbix-shot under the current display and opens its PNG.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "tools/shot/png_file.h"

namespace {

int runShot(const std::string& args) {
  // From the folder with the pictures, as the program runs.
  const std::string command =
      std::string("cd " QUIBBIX_BINARY_DIR "/assets && ../quibbix-shot ") + args;
  return std::system(command.c_str());
}

}  // namespace

TEST(ShotTool, WritesAPictureOfTheAskedSize) {
  const std::string out = testing::TempDir() + "shot_size.png";
  const int status = runShot("--seed 3 --frames 2 --count 40 --size 320x200 --out " + out);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  RgbPicture picture;
  std::string error;
  ASSERT_TRUE(readPng(out, picture, error)) << error;
  EXPECT_EQ(picture.width, 320);
  EXPECT_EQ(picture.height, 200);
  // A scene, not a cleared buffer: more than a handful of colours.
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 2 < picture.pixels.size(); i += 3) {
    colours.insert(picture.pixels[i] << 16 | picture.pixels[i + 1] << 8 | picture.pixels[i + 2]);
  }
  EXPECT_GT(colours.size(), 5u);
  std::remove(out.c_str());
}

// The same run gives the same picture; another spin gives another one.
TEST(ShotTool, IsRepeatableAndHonoursTheSpin) {
  const std::string a = testing::TempDir() + "shot_a.png";
  const std::string b = testing::TempDir() + "shot_b.png";
  const std::string c = testing::TempDir() + "shot_c.png";
  const std::string run = "--seed 9 --frames 0 --size 200x200 --out ";
  ASSERT_EQ(runShot(run + a), 0);
  ASSERT_EQ(runShot(run + b), 0);
  ASSERT_EQ(runShot(run + c + " --spin 45"), 0);
  RgbPicture pa, pb, pc;
  std::string error;
  ASSERT_TRUE(readPng(a, pa, error)) << error;
  ASSERT_TRUE(readPng(b, pb, error)) << error;
  ASSERT_TRUE(readPng(c, pc, error)) << error;
  EXPECT_EQ(pa.pixels, pb.pixels);
  EXPECT_NE(pa.pixels, pc.pixels);
  for (const std::string& f : {a, b, c}) std::remove(f.c_str());
}

TEST(ShotTool, ReportsAnUnwritableFile) {
  EXPECT_NE(runShot("--seed 1 --frames 0 --size 64x64 --out /nonexistent-dir/x.png 2>/dev/null"),
            0);
}
