// Runs the real quibbix-shot under the current display and opens its PNG.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tools/png/png_file.h"

namespace {

namespace fs = std::filesystem;

std::string readText(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

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

// A picture named by a pipe is refused at once, not waited on, and the shot
// of a scene without it is not written.
TEST(ShotTool, APipeForAPictureEndsTheRunWithoutAPicture) {
  const fs::path folder = testing::TempDir() + "quibbix-shot-pipe-" + std::to_string(getpid());
  fs::create_directories(folder);
  for (const char* name : {"hamster.bmp", "env.bmp", "transp.bmp"}) {
    fs::copy_file(fs::path(QUIBBIX_BINARY_DIR "/assets") / name, folder / name);
  }
  ASSERT_EQ(mkfifo((folder / "boden.bmp").c_str(), 0600), 0);
  const std::string command = "cd " + folder.string() +
                              " && timeout 20 " QUIBBIX_BINARY_DIR
                              "/quibbix-shot --seed 1 --frames 1 --size 64x64 --out shot.png 2>err";
  EXPECT_EQ(std::system(command.c_str()), 1 << 8);
  const std::string err = readText((folder / "err").string());
  EXPECT_NE(err.find("boden.bmp: not a regular file\nError: Failed to open DIB file boden.bmp.\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("shot.png was not written"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(folder / "shot.png"));
  fs::remove_all(folder);
}

// A failed write leaves the target exactly as it was and says so: a device
// behind a link is refused before the run, a missing folder and a full file
// system (a small tmpfs, where we may mount one) fail at the write.
TEST(ShotTool, AFailedWriteLeavesTheTargetAsItWas) {
  const fs::path folder = testing::TempDir() + "quibbix-shot-" + std::to_string(getpid());
  fs::create_directories(folder);
  const std::string err = (folder / "err").string();
  const std::string run = "--seed 1 --frames 1 --size 200x200 --out ";
  auto failsSaying = [&](const std::string& out, const std::string& reason) {
    EXPECT_EQ(runShot(run + out + " 2>" + err), 1 << 8) << out;
    EXPECT_EQ(readText(err),
              "quibbix-shot: cannot write " + out + ": " + reason + "; nothing was changed\n");
  };

  const std::string device = (folder / "device.png").string();
  fs::create_symlink("/dev/full", device);
  failsSaying(device, "not a regular file");
  EXPECT_EQ(fs::read_symlink(device), "/dev/full");
  failsSaying((folder / "none" / "x.png").string(), "No such file or directory");

  const fs::path small = folder / "small";
  fs::create_directory(small);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") == 0) {
    const std::string keep = (small / "keep.png").string();
    const std::string old(30000, 'k');
    std::ofstream(keep, std::ios::binary) << old;
    std::ofstream(small / "filler", std::ios::binary) << std::string(64 * 1024, 'f');
    failsSaying(keep, "No space left on device");
    EXPECT_EQ(readText(keep), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(small), {}), 2) << "a scratch file was left";
    umount2(small.c_str(), MNT_DETACH);
  } else {
    std::printf("no tmpfs could be mounted here; the full disk is left to the unit test\n");
  }
  fs::remove_all(folder);
}
