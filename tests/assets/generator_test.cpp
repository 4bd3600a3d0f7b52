// The generator program itself: two runs write the same bytes, and the same
// bytes the build left in build/assets.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/assets/asset_files.h"
#include "tests/support/temp_folder.h"
#include "tools/assets/file_formats.h"
#include "tools/assets/icon.h"

namespace {

constexpr const char* kFiles[] = {kTextureFiles[0], kTextureFiles[1], kTextureFiles[2],
                                  kTextureFiles[3], kJumpSoundFile};

void runGenerator(const TempFolder& folder) {
  std::string command = std::string("'") + QUIBBIX_ASSETGEN + "' '" + folder.path().string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(Generator, TwoRunsWriteIdenticalBytesMatchingTheBuild) {
  const TempFolder first("assets-a"), second("assets-b");
  runGenerator(first);
  runGenerator(second);
  for (const char* name : kFiles) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> a = readBytes(first.file(name));
    std::vector<uint8_t> b = readBytes(second.file(name));
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a == readBytes(builtAsset(name)));
  }
}

TEST(Generator, TheIconIsAFaceOnASeeThroughGroundWrittenAsTheBuildHasIt) {
  const assets::RgbaPicture icon = assets::paintIcon();
  ASSERT_EQ(icon.pixels.size(), size_t{assets::kIconSize} * assets::kIconSize * 4);
  auto alphaAt = [&](int x, int y) { return icon.pixels[(size_t(y) * icon.width + x) * 4 + 3]; };
  EXPECT_EQ(alphaAt(0, 0), 0);
  EXPECT_EQ(alphaAt(255, 255), 0);
  EXPECT_EQ(alphaAt(128, 140), 255);
  const TempFolder folder("icon");
  const std::string file = folder.file("icon.png");
  const std::string command = std::string("'") + QUIBBIX_ASSETGEN + "' --icon '" + file + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::vector<uint8_t> written = readBytes(file);
  EXPECT_TRUE(written == assets::encodePng(icon));
  EXPECT_TRUE(written == readBytes(std::string(QUIBBIX_BINARY_DIR) + "/icon/quibbix.png"));
  ASSERT_GT(written.size(), 8u);
  EXPECT_EQ(std::string(written.begin() + 1, written.begin() + 4), "PNG");
}

TEST(Generator, RefusesAMissingOrUnwritableFolder) {
  std::string noArgument = std::string("'") + QUIBBIX_ASSETGEN + "' 2>/dev/null";
  EXPECT_NE(std::system(noArgument.c_str()), 0);
  std::string missing = std::string("'") + QUIBBIX_ASSETGEN + "' /nonexistent/quibbix 2>/dev/null";
  EXPECT_NE(std::system(missing.c_str()), 0);
}

TEST(Generator, AnEmptyFolderOrAMissingIconNameIsAUsageErrorAndWritesNothing) {
  // Run in a folder of their own, which must stay empty; "" would be "/".
  const TempFolder folder("assets-usage");
  for (const char* arguments : {"''", "--icon", "--icon ''", "-x"}) {
    SCOPED_TRACE(arguments);
    const std::string command = "cd '" + folder.path().string() + "' && '" + QUIBBIX_ASSETGEN +
                                "' " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path("/") / kJumpSoundFile));
  }
}

}  // namespace
