#include "platform/file_read.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class FileRead : public testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& bytes) {
    return temp_.write(name, bytes);
  }

  // The reason the read failed, or "read" when it succeeded.
  static std::string outcome(const std::string& path, size_t maxBytes = 1000) {
    std::vector<uint8_t> bytes;
    std::string reason;
    return readRegularFile(path.c_str(), maxBytes, bytes, reason) ? "read" : reason;
  }

  TempFolder temp_{"read"};
  const fs::path& folder_ = temp_.path();
};

TEST_F(FileRead, ReadsRegularFilesWholeUpToTheLimit) {
  std::vector<uint8_t> bytes = {1, 2, 3};
  std::string reason;
  ASSERT_TRUE(readRegularFile(write("empty", "").c_str(), 10, bytes, reason)) << reason;
  EXPECT_TRUE(bytes.empty());

  std::string large(10000, 'x');
  large[9999] = 'y';
  ASSERT_TRUE(readRegularFile(write("large", large).c_str(), 10000, bytes, reason)) << reason;
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), large);
  EXPECT_EQ(outcome((folder_ / "large").string(), 9999), "larger than 9999 bytes");
}

TEST_F(FileRead, RefusesWhatIsNotARegularFileWithTheReason) {
  const fs::path loop = folder_ / "loop";
  fs::create_symlink(loop, loop);
  EXPECT_EQ(outcome((folder_ / "missing").string()), "No such file or directory");
  EXPECT_EQ(outcome(loop.string()), "Too many levels of symbolic links");
  EXPECT_EQ(outcome(folder_.string()), "not a regular file");
  // Devices that would never end or never answer.
  EXPECT_EQ(outcome("/dev/zero"), "not a regular file");
  EXPECT_EQ(outcome("/dev/null"), "not a regular file");
}

TEST_F(FileRead, APipeWithoutAWriterIsRefusedAtOnce) {
  const std::string fifo = (folder_ / "pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto read = std::async(std::launch::async, [&] { return outcome(fifo); });
  if (read.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
    // Opening the other end lets a reader stuck in open() go, so the test ends.
    const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    ADD_FAILURE() << "the read waited for a writer";
    read.wait();
    if (writer >= 0) close(writer);
    return;
  }
  EXPECT_EQ(read.get(), "not a regular file");
}

}  // namespace
