#include "image/dib_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/rgb_resample.h"
#include "platform/message_box.h"
#include "tests/image/bmp_builder.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Collects the boxes shown while it lives.
class ShownMessages {
 public:
  ShownMessages() {
    setMessageBoxHandler([this](const char* caption, const char* text) {
      captions.push_back(caption);
      texts.push_back(text);
    });
  }
  ~ShownMessages() { setMessageBoxHandler({}); }
  std::vector<std::string> captions, texts;
};

class DibLoader : public testing::Test {
 protected:
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return temp_.write(name, bytes);
  }

  TempFolder temp_{"dib"};
  const fs::path& folder_ = temp_.path();
};

TEST_F(DibLoader, LoadsAFileByName) {
  BmpRecipe recipe;
  recipe.width = 2;
  recipe.pixels = {255, 0, 0, 0, 0, 255, 0, 0};
  ShownMessages shown;
  RgbImage* image = loadDibImage(write("two.bmp", makeBmp(recipe)).c_str(), 1);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 1);
  EXPECT_EQ(std::vector<uint8_t>(image->pixels, image->pixels + 6),
            (std::vector<uint8_t>{0, 0, 255, 255, 0, 0}));
  freeRgbImage(image);
  EXPECT_TRUE(shown.texts.empty());
}

// A pipe with no writer would block a plain open(); the loader must not wait.
TEST_F(DibLoader, UnreadableFilesGiveExactlyOneOpenMessageAndTheReasonOnStderr) {
  const std::string missing = (folder_ / "missing.bmp").string();
  const std::string empty = write("empty.bmp", {});
  const std::string pipe = (folder_ / "pipe.bmp").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::pair<std::string, const char*> cases[] = {{missing, "No such file or directory"},
                                                       {empty, "empty file"},
                                                       {folder_.string(), "not a regular file"},
                                                       {pipe, "not a regular file"},
                                                       {"/dev/zero", "not a regular file"}};
  for (const auto& [name, reason] : cases) {
    ShownMessages shown;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadDibImage(name.c_str(), 1), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(shown.texts.size(), 1u) << name;
    EXPECT_EQ(shown.captions[0], "Error");
    EXPECT_EQ(shown.texts[0], "Failed to open DIB file " + name + ".\n");
    EXPECT_TRUE(err.starts_with(name + ": " + reason + "\n")) << err;
  }
}

TEST_F(DibLoader, DecodeFailuresShowTheDecodersText) {
  BmpRecipe v4;
  v4.headerSize = 108;
  BmpRecipe shortFile;
  shortFile.width = 4;
  shortFile.height = 4;
  BmpRecipe huge;
  huge.width = huge.height = 30000;
  const std::pair<BmpRecipe, const char*> cases[] = {{v4, "Unknown DIB file format."},
                                                     {shortFile, "Image file conversion error."},
                                                     {huge, "Out of memory."}};
  for (const auto& [recipe, text] : cases) {
    ShownMessages shown;
    EXPECT_EQ(loadDibImage(write("bad.bmp", makeBmp(recipe)).c_str(), 1), nullptr);
    EXPECT_EQ(shown.texts, std::vector<std::string>{text});
  }
}

TEST_F(DibLoader, StaysSilentWhileLoadErrorsAreOff) {
  ShownMessages shown;
  BmpRecipe v4;
  v4.headerSize = 108;
  EXPECT_EQ(loadDibImage(write("v4.bmp", makeBmp(v4)).c_str(), 0), nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(loadDibImage((folder_ / "missing.bmp").c_str(), 0), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(shown.texts.empty());
}

TEST(OpenFailureText, LongNamesAreCutToFitTheBuffer) {
  char text[kLoadMessageSize];
  formatOpenFailure(text, "x.bmp");
  EXPECT_STREQ(text, "Failed to open DIB file x.bmp.\n");

  const std::string longName(1000, 'n');
  formatOpenFailure(text, longName.c_str());
  const std::string got = text;
  EXPECT_EQ(got.size(), kLoadMessageSize - 1);
  EXPECT_TRUE(got.starts_with("Failed to open DIB file nnn"));
  EXPECT_TRUE(got.ends_with("n.\n"));
}

TEST(Resample, SameSizeCopiesExactly) {
  std::vector<uint8_t> from(5 * 3 * 3);
  for (size_t i = 0; i < from.size(); ++i) from[i] = uint8_t(i * 37);
  std::vector<uint8_t> to(from.size());
  resampleRgb(from.data(), 5, 3, to.data(), 5, 3);
  EXPECT_EQ(to, from);
}

TEST(Resample, EnlargingBlendsBetweenNeighboursAndKeepsTheEdges) {
  const std::vector<uint8_t> from = {0, 0, 0, 200, 100, 40};  // 2 x 1
  std::vector<uint8_t> to(4 * 2 * 3);
  resampleRgb(from.data(), 2, 1, to.data(), 4, 2);
  // Centres at source x -0.25 (clamped), 0.25, 0.75, 1.25 (clamped).
  const std::vector<uint8_t> row = {0, 0, 0, 50, 25, 10, 150, 75, 30, 200, 100, 40};
  EXPECT_EQ(std::vector<uint8_t>(to.begin(), to.begin() + 12), row);
  EXPECT_EQ(std::vector<uint8_t>(to.begin() + 12, to.end()), row);

  const std::vector<uint8_t> single = {9, 8, 7};
  std::vector<uint8_t> filled(256 * 256 * 3);
  resampleRgb(single.data(), 1, 1, filled.data(), 256, 256);
  for (size_t i = 0; i < filled.size(); i += 3) ASSERT_EQ(filled[i], 9);
}

}  // namespace
