#include "platform/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Works in a folder of its own, made the current one, with a data folder inside.
class DataFolder : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "work");
    fs::create_directories(root_ / "data");
    previous_ = fs::current_path();
    fs::current_path(root_ / "work");
    data_ = (root_ / "data").generic_string() + "/";
  }
  void TearDown() override { fs::current_path(previous_); }
  void touch(const fs::path& path) { std::ofstream(path) << "x"; }

  TempFolder temp_{"data"};
  const fs::path& root_ = temp_.path();
  fs::path previous_;
  std::string data_;
};

}  // namespace

TEST_F(DataFolder, TheCurrentFolderWinsThenTheDataFolderThenTheNameAsAsked) {
  touch(root_ / "data" / "boden.bmp");
  touch(root_ / "data" / "env.bmp");
  touch("env.bmp");
  fs::create_directory("explode.wav");  // even an entry that cannot be read wins
  EXPECT_EQ(findDataFile("env.bmp", data_), "env.bmp");
  EXPECT_EQ(findDataFile("explode.wav", data_), "explode.wav");
  EXPECT_EQ(findDataFile("boden.bmp", data_), data_ + "boden.bmp");
  EXPECT_EQ(findDataFile("boden.bmp", ""), "boden.bmp");
  // Missing everywhere: the name as asked, and where it was looked for.
  std::string whereLooked = "stale";
  EXPECT_EQ(findDataFile("transp.bmp", data_, &whereLooked), "transp.bmp");
  EXPECT_EQ(whereLooked, "the current folder (No such file or directory), " + data_ +
                             " (No such file or directory)");
  EXPECT_EQ(findDataFile("env.bmp", data_, &whereLooked), "env.bmp");
  EXPECT_EQ(whereLooked, "");
  // A link in the data folder that leads nowhere is there, and its reader
  // says why it cannot be read (Windows may not allow links: then no check).
  std::error_code noLinks;
  fs::create_symlink("hamster.bmp", root_ / "data" / "hamster.bmp", noLinks);
  if (!noLinks) {
    EXPECT_EQ(findDataFile("hamster.bmp", data_), data_ + "hamster.bmp");
  }
}

TEST_F(DataFolder, AssetsBesideTheExecutableElseTheShareFolderOfItsPrefix) {
  // Folders as the system writes them, ending in its separator.
  const auto folder = [](const fs::path& path) { return path.string() + kPathSeparator; };
  const std::string bin = folder(root_ / "prefix" / "bin");
  fs::create_directories(bin);
  EXPECT_EQ(dataFolderFor(bin), folder(root_ / "prefix" / "share" / "quibbix"));
  fs::create_directory(bin + "assets");
  EXPECT_EQ(dataFolderFor(bin), folder(fs::path(bin) / "assets"));
  // Debian's games: /usr/games/quibbix reads /usr/share/games/quibbix/.
  const std::string games = folder(root_ / "usr" / "games");
  EXPECT_EQ(dataFolderFor(games), folder(root_ / "usr" / "share" / "games" / "quibbix"));
  EXPECT_EQ(dataFolderFor(""), "");
}

TEST(ExecutableFolder, IsTheFolderOfThisTestProgram) {
  const std::string folder = executableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), kPathSeparator);
  // Compared without the final separator, which Windows' stat does not take.
  EXPECT_TRUE(
      fs::equivalent(fs::path(folder).parent_path(), fs::path(QUIBBIX_BINARY_DIR) / "tests"))
      << folder;
}
