#include "platform/file_write.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class FileWrite : public testing::Test {
 protected:
  std::string path(const std::string& name) const { return temp_.file(name); }

  static std::string contents(const std::string& file) {
    std::stringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
  }

  static bool replace(const std::string& file, const std::string& text, std::string& reason) {
    return replaceFile(file.c_str(), reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                       reason);
  }

  size_t entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  TempFolder temp_{"write"};
  const fs::path& folder_ = temp_.path();
};

TEST_F(FileWrite, WritesNewFilesAndReplacesOldOnesThroughTheirLinks) {
  std::string reason;
  ASSERT_TRUE(replace(path("new.png"), "first", reason)) << reason;
  EXPECT_EQ(contents(path("new.png")), "first");

  chmod(path("new.png").c_str(), 0640);
  fs::create_symlink(path("new.png"), path("link.png"));
  ASSERT_TRUE(replace(path("link.png"), "second, longer", reason)) << reason;
  EXPECT_TRUE(fs::is_symlink(path("link.png")));
  EXPECT_EQ(contents(path("new.png")), "second, longer");
  EXPECT_EQ(fs::status(path("new.png")).permissions(), fs::perms(0640));
  EXPECT_EQ(entries(), 2u) << "a scratch file was left behind";
}

// Nothing is opened, so a pipe cannot block and a device is not written. A
// device node of our own (the full device's numbers) needs root to make.
TEST_F(FileWrite, RefusesTargetsThatAreNotRegularFilesAndLeavesThemAlone) {
  ASSERT_EQ(mkfifo(path("pipe.png").c_str(), 0600), 0);
  fs::create_symlink("/dev/full", path("full.png"));
  fs::create_directory(path("folder.png"));
  std::vector<std::string> names = {"pipe.png", "full.png", "folder.png"};
  if (mknod(path("node").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) names.push_back("node");
  for (const std::string& name : names) {
    std::string reason, early;
    EXPECT_FALSE(canReplaceFile(path(name).c_str(), early)) << name;
    EXPECT_FALSE(replace(path(name), "picture", reason)) << name;
    EXPECT_EQ(reason, "not a regular file") << name;
    EXPECT_EQ(early, reason);
  }
  EXPECT_TRUE(fs::is_fifo(path("pipe.png")));
  EXPECT_EQ(fs::read_symlink(path("full.png")), "/dev/full");
  EXPECT_TRUE(fs::is_empty(path("folder.png")));
  if (names.size() == 4) {
    EXPECT_TRUE(fs::is_character_file(path("node")));
  }
  EXPECT_EQ(entries(), names.size());

  std::string reason;
  EXPECT_FALSE(replace(path("no-such-folder/x.png"), "picture", reason));
  EXPECT_EQ(reason, "No such file or directory");
}

// A write cut short (here by the file size limit, as a full disk would) leaves
// the old file exactly as it was and no scratch file.
TEST_F(FileWrite, AFailedWriteChangesNothing) {
  const std::string keep = path("keep.png");
  std::ofstream(keep) << "the old picture";
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string reason;
  const bool written = replace(keep, std::string(5000, 'x'), reason);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(contents(keep), "the old picture");
  EXPECT_EQ(entries(), 1u) << "a scratch file was left behind";
}

}  // namespace
