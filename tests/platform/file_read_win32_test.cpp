// The Windows reader: what the POSIX tests check with pipes and devices,
// here with the Windows kinds of file.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_read.h"

namespace {

namespace fs = std::filesystem;

std::string outcome(const std::string& path, size_t maxBytes = 1000) {
  std::vector<uint8_t> bytes;
  std::string reason;
  return readRegularFile(path.c_str(), maxBytes, bytes, reason) ? "read" : reason;
}

TEST(FileReadWindows, ReadsFilesWholeAndRefusesEverythingElseWithTheReason) {
  const fs::path folder = fs::temp_directory_path() / "quibbix-read-win32";
  fs::create_directories(folder);
  const std::string path = (folder / "bytes").string();
  const std::string written("a\r\nb\0c", 6);
  std::ofstream(path, std::ios::binary) << written;

  std::vector<uint8_t> bytes;
  std::string reason;
  ASSERT_TRUE(readRegularFile(path.c_str(), 6, bytes, reason)) << reason;
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), written) << "read as bytes, not as text";
  EXPECT_EQ(outcome(path, 5), "larger than 5 bytes");
  EXPECT_EQ(outcome((folder / "missing").string()), "No such file or directory");
  EXPECT_EQ(outcome((folder / "no" / "folder").string()), "No such file or directory");
  EXPECT_EQ(outcome(folder.string()), "not a regular file");
  // A device that would never end, and a pipe that would never answer.
  EXPECT_EQ(outcome("NUL"), "not a regular file");
  const char* pipeName = "\\\\.\\pipe\\quibbix-read-test";
  EXPECT_EQ(outcome(pipeName), "No such file or directory") << "no server yet";
  HANDLE server =
      CreateNamedPipeA(pipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  EXPECT_EQ(outcome(pipeName), "not a regular file");
  CloseHandle(server);
  fs::remove_all(folder);
}

}  // namespace
