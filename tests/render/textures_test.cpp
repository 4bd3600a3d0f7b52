#include "render/textures.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "tests/image/bmp_builder.h"
#include "tests/support/temp_folder.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUIBBIX_LEAK_CHECK 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUIBBIX_LEAK_CHECK 1
#endif
#ifdef QUIBBIX_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

namespace fs = std::filesystem;
using Rgb = std::array<uint8_t, 3>;

std::vector<uint8_t> solid(int width, int height, Rgb color) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < width * height; ++i) rgb.insert(rgb.end(), color.begin(), color.end());
  return rgb;
}

std::vector<uint8_t> bmp24(int width, int height, const std::vector<uint8_t>& rgb) {
  BmpRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.pixels = rows24(width, height, rgb);
  return makeBmp(recipe);
}

GLint levelWidth(GLuint texture, int level) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint width = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  return width;
}

GLint parameter(GLuint texture, GLenum name) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint value = -1;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

std::vector<uint8_t> levelPixels(GLuint texture, int level, GLenum format) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
  std::vector<uint8_t> pixels(size_t(width) * height * (format == GL_RGBA ? 4 : 3));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

bool allPixelsAre(const std::vector<uint8_t>& pixels, Rgb color) {
  if (pixels.empty()) return false;
  for (size_t i = 0; i < pixels.size(); i += 3) {
    if (pixels[i] != color[0] || pixels[i + 1] != color[1] || pixels[i + 2] != color[2])
      return false;
  }
  return true;
}

// Each test runs in its own process (ctest), with one hidden window whose
// context stays current, in a folder of its own as the working directory.
class Textures : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    int argc = 1;
    char name[] = "texture_tests";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(64, 64);
    glutCreateWindow("texture test");
    glutHideWindow();
  }

  void SetUp() override {
    previous_ = fs::current_path();
    fs::current_path(temp_.path());
    setMessageBoxHandler([this](const char* caption, const char* text) {
      EXPECT_STREQ(caption, "Error");
      messages_.push_back(text);
    });
    write(0, bmp24(256, 256, solid(256, 256, {200, 0, 0})));
    write(1, bmp24(256, 256, solid(256, 256, {0, 200, 0})));
    write(2, bmp24(256, 256, solid(256, 256, {0, 0, 200})));
    write(3, bmp24(2, 1, solid(2, 1, {5, 5, 5})));
  }

  void TearDown() override {
#ifdef QUIBBIX_LEAK_CHECK
    // Mesa's driver is unloaded before the exit-time leak check, which then
    // blames leaks on no module; so check here, while it is still loaded.
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
    setMessageBoxHandler({});
    fs::current_path(previous_);
  }

  void write(int entry, const std::vector<uint8_t>& bytes) {
    std::ofstream(kTextureFiles[entry], std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  TempFolder temp_{"textures"};
  fs::path previous_;
  std::vector<std::string> messages_;
  SceneState state_;
};

TEST_F(Textures, SlotsFollowTheFileOrderWithFullMipmapChains) {
  loadTextures(state_);
  EXPECT_TRUE(messages_.empty());
  const Rgb colors[3] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kTextureFiles[i]);
    const GLuint texture = state_.textures.slot(i);
    ASSERT_NE(texture, 0u);
    for (int level = 0; level <= 8; ++level)
      EXPECT_EQ(levelWidth(texture, level), 256 >> level) << level;
    EXPECT_EQ(levelWidth(texture, 9), 0);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_TRUE(allPixelsAre(levelPixels(texture, 0, GL_RGB), colors[i]));
    EXPECT_TRUE(allPixelsAre(levelPixels(texture, 8, GL_RGB), colors[i]));
  }
  EXPECT_EQ(state_.textures.floorTexture, state_.textures.slot(0));
  EXPECT_EQ(state_.textures.cutoutTexture, state_.textures.slot(3));
  for (RgbImage* image : state_.imageSlots) EXPECT_EQ(image, nullptr);
}

TEST_F(Textures, CutoutKeysOnlyTheExactGreenAndKeepsItsColour) {
  const std::vector<uint8_t> rgb = {0, 128, 0, 0,  128, 1,  0, 127, 0,   // bottom row
                                    1, 128, 0, 10, 20,  30, 0, 128, 0};  // top row
  write(3, bmp24(3, 2, rgb));                                            // 9-byte rows
  loadTextures(state_);
  const GLuint cutout = state_.textures.cutoutTexture;
  const std::vector<uint8_t> want = {0, 128, 0, 0,   0,  128, 1,  255, 0, 127, 0, 255,
                                     1, 128, 0, 255, 10, 20,  30, 255, 0, 128, 0, 0};
  EXPECT_EQ(levelPixels(cutout, 0, GL_RGBA), want);
  EXPECT_EQ(levelWidth(cutout, 1), 0) << "no mipmaps";
  EXPECT_EQ(parameter(cutout, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(parameter(cutout, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
}

TEST_F(Textures, PicturesOfOtherSizesAreScaledOrSizedToFit) {
  write(0, bmp24(3, 5, solid(3, 5, {1, 2, 3})));
  write(1, bmp24(300, 200, solid(300, 200, {4, 5, 6})));
  // More pixels than the fixed scratch buffer holds; the last one is keyed.
  std::vector<uint8_t> big = solid(300, 300, {7, 8, 9});
  big[big.size() - 2] = 128;
  big[big.size() - 3] = 0;
  big[big.size() - 1] = 0;
  write(3, bmp24(300, 300, big));
  glPixelStorei(GL_UNPACK_ALIGNMENT, 2);

  loadTextures(state_);
  EXPECT_TRUE(messages_.empty());
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 2) << "the unpack alignment is put back";

  EXPECT_EQ(levelWidth(state_.textures.floorTexture, 0), 256);
  EXPECT_TRUE(allPixelsAre(levelPixels(state_.textures.floorTexture, 0, GL_RGB), {1, 2, 3}));
  EXPECT_EQ(levelWidth(state_.textures.hamsterTexture, 8), 1);
  EXPECT_TRUE(allPixelsAre(levelPixels(state_.textures.hamsterTexture, 0, GL_RGB), {4, 5, 6}));

  const std::vector<uint8_t> cutout = levelPixels(state_.textures.cutoutTexture, 0, GL_RGBA);
  ASSERT_EQ(cutout.size(), 300u * 300 * 4);
  EXPECT_EQ(std::vector<uint8_t>(cutout.begin(), cutout.begin() + 4),
            (std::vector<uint8_t>{7, 8, 9, 255}));
  EXPECT_EQ(std::vector<uint8_t>(cutout.end() - 4, cutout.end()),
            (std::vector<uint8_t>{0, 128, 0, 0}));
}

// Wider than the driver's largest texture: the cut-out is scaled down to fit
// without blending its key colour, the walls' picture to its 256 x 256 base.
TEST_F(Textures, PicturesWiderThanTheDriverTakesAreScaledToFit) {
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  const int width = maxSize + maxSize / 4;
  std::vector<uint8_t> keyedLeft = solid(width, 4, {90, 60, 30});
  for (int row = 0; row < 4; ++row) {
    for (int x = 0; x < width / 2; ++x) {
      const Rgb key = {0, 128, 0};
      std::copy(key.begin(), key.end(), keyedLeft.begin() + (ptrdiff_t(row) * width + x) * 3);
    }
  }
  write(3, bmp24(width, 4, keyedLeft));
  write(2, bmp24(width, 4, solid(width, 4, {0, 0, 200})));

  testing::internal::CaptureStderr();
  loadTextures(state_);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(err.find("left empty"), std::string::npos) << err;
  EXPECT_NE(err.find("transp.bmp: " + std::to_string(width) + " x 4 is larger"), std::string::npos)
      << err;

  const GLuint cutout = state_.textures.cutoutTexture;
  EXPECT_EQ(levelWidth(cutout, 0), maxSize);
  const std::vector<uint8_t> pixels = levelPixels(cutout, 0, GL_RGBA);
  ASSERT_EQ(pixels.size(), size_t(maxSize) * 4 * 4);
  for (size_t p = 0; p < pixels.size(); p += 4) {
    const bool left = (p / 4) % maxSize < size_t(maxSize) / 2;
    const std::vector<uint8_t> want =
        left ? std::vector<uint8_t>{0, 128, 0, 0} : std::vector<uint8_t>{90, 60, 30, 255};
    ASSERT_EQ(std::vector<uint8_t>(pixels.begin() + p, pixels.begin() + p + 4), want) << p / 4;
  }
  EXPECT_EQ(levelWidth(state_.textures.environmentTexture, 0), 256);
  EXPECT_TRUE(
      allPixelsAre(levelPixels(state_.textures.environmentTexture, 0, GL_RGB), {0, 0, 200}));
}

TEST_F(Textures, AFailedFileLeavesItsTextureEmptyAndStartUpGoesOn) {
  fs::remove(kTextureFiles[2]);
  BmpRecipe v4;
  v4.headerSize = 108;
  write(1, makeBmp(v4));

  testing::internal::CaptureStderr();
  loadTextures(state_);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(messages_, (std::vector<std::string>{"Unknown DIB file format.",
                                                 "Failed to open DIB file env.bmp.\n"}));
  EXPECT_NE(err.find("Texture from hamster.bmp left empty."), std::string::npos) << err;
  EXPECT_NE(err.find("Texture from env.bmp left empty."), std::string::npos) << err;

  for (int i : {1, 2}) {
    const GLuint texture = state_.textures.slot(i);
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);
    EXPECT_EQ(levelWidth(texture, 0), 0);
  }
  EXPECT_EQ(levelWidth(state_.textures.floorTexture, 0), 256);
  EXPECT_EQ(levelWidth(state_.textures.cutoutTexture, 0), 2);
}

TEST_F(Textures, FailuresAreSilentWhileLoadErrorsAreOff) {
  fs::remove(kTextureFiles[0]);
  state_.showLoadErrors = 0;
  testing::internal::CaptureStderr();
  loadTextures(state_);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(levelWidth(state_.textures.floorTexture, 0), 0);
  EXPECT_EQ(levelWidth(state_.textures.hamsterTexture, 0), 256);
}

}  // namespace
