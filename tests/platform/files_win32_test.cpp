// The Windows files of the platform layer: what the POSIX tests check with
// FIFOs, devices and signals, here with Windows' pipes and devices.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_read.h"
#include "platform/file_write.h"
#include "platform/text_output.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class WindowsFiles : public testing::Test {
 protected:
  std::string path(const std::string& name) const { return temp_.file(name); }

  static std::string readOutcome(const std::string& file, size_t maxBytes = 1000) {
    std::vector<uint8_t> bytes;
    std::string reason;
    return readRegularFile(file.c_str(), maxBytes, bytes, reason) ? "read" : reason;
  }

  static bool replace(const std::string& file, const std::string& text, std::string& reason) {
    return replaceFile(file.c_str(), reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                       reason);
  }

  static std::string contents(const std::string& file) {
    std::stringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
  }

  TempFolder temp_{"files"};
  const fs::path& folder_ = temp_.path();
};

constexpr const char* kPipeName = "\\\\.\\pipe\\quibbix-files-test";

TEST_F(WindowsFiles, ReadsFilesWholeAndRefusesEverythingElseWithTheReason) {
  const std::string written("a\r\nb\0c", 6);
  std::ofstream(path("bytes"), std::ios::binary) << written;
  std::vector<uint8_t> bytes;
  std::string reason;
  ASSERT_TRUE(readRegularFile(path("bytes").c_str(), 6, bytes, reason)) << reason;
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), written) << "read as bytes, not as text";
  EXPECT_EQ(readOutcome(path("bytes"), 5), "larger than 5 bytes");
  EXPECT_EQ(readOutcome(path("missing")), "No such file or directory");
  EXPECT_EQ(readOutcome(path("no/folder")), "No such file or directory");
  EXPECT_EQ(readOutcome(folder_.string()), "not a regular file");
  // A device that would never end, and a pipe that would never answer.
  EXPECT_EQ(readOutcome("NUL"), "not a regular file");
  EXPECT_EQ(readOutcome(kPipeName), "No such file or directory") << "no server yet";
  HANDLE server =
      CreateNamedPipeA(kPipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  EXPECT_EQ(readOutcome(kPipeName), "not a regular file");
  CloseHandle(server);
}

TEST_F(WindowsFiles, WritesAndReplacesFilesAndLeavesOtherTargetsAlone) {
  std::string reason;
  ASSERT_TRUE(replace(path("new.png"), "first", reason)) << reason;
  ASSERT_TRUE(replace(path("new.png"), "second, longer", reason)) << reason;
  EXPECT_EQ(contents(path("new.png")), "second, longer");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1) << "a scratch file was left";

  fs::create_directory(path("folder.png"));
  for (const std::string& target : {path("folder.png"), std::string("NUL")}) {
    std::string early;
    EXPECT_FALSE(canReplaceFile(target.c_str(), early)) << target;
    EXPECT_FALSE(replace(target, "picture", reason)) << target;
    EXPECT_EQ(reason, "not a regular file") << target;
    EXPECT_EQ(early, reason);
  }
  EXPECT_TRUE(fs::is_empty(path("folder.png")));
  EXPECT_FALSE(replace(path("no/folder.png"), "picture", reason));
  EXPECT_EQ(reason, "No such file or directory");
}

TEST(WindowsTextOutput, AFullPipeGetsNothingAtOnceAndAClosedOneNothing) {
  HANDLE readEnd, writeEnd;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 4096));
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_WRONLY);
  ASSERT_GE(fd, 0);
  EXPECT_TRUE(writeWithoutBlocking(fd, "60 FPS\n"));
  char line[16] = {};
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(readEnd, line, sizeof line, &got, nullptr));
  EXPECT_EQ(std::string(line, got), "60 FPS\n");

  // Nobody reads: the pipe fills, and then each write is refused, not waited on.
  const std::string block(1024, 'x');
  const auto start = std::chrono::steady_clock::now();
  int accepted = 0;
  while (writeWithoutBlocking(fd, block) && accepted < 1000) ++accepted;
  EXPECT_LT(accepted, 1000) << "the pipe never filled";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  CloseHandle(readEnd);
  EXPECT_FALSE(writeWithoutBlocking(fd, "reader gone\n"));
  _close(fd);
  EXPECT_FALSE(writeWithoutBlocking(fd, "closed\n"));
}

}  // namespace
