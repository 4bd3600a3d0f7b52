#include "image/dib_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/image/bmp_builder.h"

namespace {

namespace fs = std::filesystem;
const fs::path kCorpus = fs::path(QUIBBIX_SOURCE_DIR) / "tests/image/bmpsuite";

std::vector<uint8_t> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Decoded {
  DibStatus status = DibStatus::kOk;
  int32_t width = 0, height = 0;
  std::vector<uint8_t> pixels;  // bottom row first
};

Decoded decode(const std::vector<uint8_t>& file) {
  RgbImage* image = nullptr;
  Decoded result;
  result.status = decodeDib(file.data(), file.size(), &image);
  EXPECT_EQ(result.status == DibStatus::kOk, image != nullptr);
  if (image) {
    result.width = image->width;
    result.height = image->height;
    result.pixels.assign(image->pixels, image->pixels + size_t(image->width) * image->height * 3);
    freeRgbImage(image);
  }
  return result;
}

// Binary PPM, top row first, turned bottom row first.
Decoded readPpm(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  Decoded result;
  in >> magic >> result.width >> result.height >> maxValue;
  in.get();
  EXPECT_EQ(magic, "P6");
  std::vector<uint8_t> topFirst(size_t(result.width) * result.height * 3);
  in.read(reinterpret_cast<char*>(topFirst.data()), std::streamsize(topFirst.size()));
  const size_t rowBytes = size_t(result.width) * 3;
  for (int32_t row = result.height - 1; row >= 0; --row) {
    result.pixels.insert(result.pixels.end(), topFirst.begin() + row * rowBytes,
                         topFirst.begin() + (row + 1) * rowBytes);
  }
  return result;
}

int headerSizeOf(const std::vector<uint8_t>& file) {
  DibLayout layout;
  readDibLayout(file.data(), file.size(), &layout);
  return int(layout.infoHeaderSize);
}

TEST(DibCorpus, GoodFilesMatchTheirExpectedPictures) {
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(kCorpus / "good")) {
    const std::vector<uint8_t> file = readFile(entry.path());
    const int headerSize = headerSizeOf(file);
    if (headerSize != 12 && headerSize != 40) continue;
    SCOPED_TRACE(entry.path().filename().string());
    const Decoded got = decode(file);
    const Decoded want =
        readPpm(kCorpus / "expected" / entry.path().filename().replace_extension(".ppm"));
    ASSERT_EQ(got.status, DibStatus::kOk);
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    ASSERT_EQ(got.pixels.size(), want.pixels.size());
    const int tolerance = entry.path().filename().string().starts_with("rgb16") ? 4 : 0;
    int worst = 0;
    for (size_t i = 0; i < got.pixels.size(); ++i)
      worst = std::max(worst, std::abs(got.pixels[i] - want.pixels[i]));
    EXPECT_LE(worst, tolerance);
    ++compared;
  }
  EXPECT_EQ(compared, 25);
}

TEST(DibCorpus, VersionFourAndFiveHeadersAreUnknown) {
  for (const char* name : {"pal8v4.bmp", "pal8v5.bmp"}) {
    EXPECT_EQ(decode(readFile(kCorpus / "good" / name)).status, DibStatus::kUnknownFormat) << name;
  }
}

// Bad files give a message, or a picture of the size their header claims.
TEST(DibCorpus, BadFilesAreRefusedOrDecodedToTheirHeaderSize) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kCorpus / "bad")) {
    SCOPED_TRACE(entry.path().filename().string());
    const std::vector<uint8_t> file = readFile(entry.path());
    const Decoded got = decode(file);
    if (got.status == DibStatus::kOk) {
      DibLayout layout;
      ASSERT_EQ(readDibLayout(file.data(), file.size(), &layout), DibStatus::kOk);
      EXPECT_EQ(got.width, layout.header.width);
      EXPECT_EQ(got.height, std::abs(layout.header.height));
    }
    ++files;
  }
  EXPECT_EQ(files, 20);
  EXPECT_EQ(decode(readFile(kCorpus / "bad/reallybig.bmp")).status, DibStatus::kOutOfMemory);
  EXPECT_EQ(decode(readFile(kCorpus / "bad/shortfile.bmp")).status, DibStatus::kConversionError);
  EXPECT_EQ(decode(readFile(kCorpus / "bad/badheadersize.bmp")).status, DibStatus::kUnknownFormat);
}

// Every prefix of a real file is refused or decoded, never over-read.
TEST(DibCorpus, TruncatedFilesNeverReadPastTheirEnd) {
  for (const char* name : {"good/pal4rle.bmp", "good/pal8os2.bmp", "good/rgb16-565.bmp"}) {
    const std::vector<uint8_t> whole = readFile(kCorpus / name);
    for (size_t length = 0; length < whole.size(); length += 7) {
      // A fresh block of the exact length, so AddressSanitizer sees any over-read.
      std::vector<uint8_t> prefix(whole.begin(), whole.begin() + length);
      prefix.shrink_to_fit();
      const Decoded got = decode(prefix);
      if (length < 14 + 12) {
        EXPECT_NE(got.status, DibStatus::kOk) << name << " " << length;
      }
    }
  }
}

TEST(DibExamples, TwoPixelsBlueThenRed) {
  BmpRecipe recipe;
  recipe.width = 2;
  recipe.pixels = {255, 0, 0, 0, 0, 255, 0, 0};
  const Decoded got = decode(makeBmp(recipe));
  ASSERT_EQ(got.status, DibStatus::kOk);
  EXPECT_EQ(got.pixels, (std::vector<uint8_t>{0, 0, 255, 255, 0, 0}));
}

TEST(DibExamples, ThreePixelRowsArePackedWithoutPadding) {
  std::vector<uint8_t> rgb(3 * 2 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(10 + i);
  BmpRecipe recipe;
  recipe.width = 3;
  recipe.height = 2;
  recipe.pixels = rows24(3, 2, rgb);
  ASSERT_EQ(recipe.pixels.size(), 24u);  // 9 bytes and 3 of padding per stored row
  const Decoded got = decode(makeBmp(recipe));
  ASSERT_EQ(got.status, DibStatus::kOk);
  EXPECT_EQ(got.pixels, rgb);
}

TEST(DibExamples, TopDownRowsComeOutBottomFirstWithAPositiveHeight) {
  BmpRecipe recipe;
  recipe.width = 1;
  recipe.height = -3;
  // Stored top row first: red, green, blue.
  recipe.pixels = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
  const Decoded got = decode(makeBmp(recipe));
  ASSERT_EQ(got.status, DibStatus::kOk);
  EXPECT_EQ(got.height, 3);
  EXPECT_EQ(got.pixels, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0}));
}

TEST(DibLayoutRules, FileHeaderOffsetIsTakenAsGiven) {
  BmpRecipe recipe;
  recipe.gap = {1, 2, 3, 4, 5, 6, 7, 8};
  recipe.pixels = {9, 9, 9, 0};
  recipe.pixelOffset = 14 + 40;  // points at the gap, not at the stored pixels
  Decoded got = decode(makeBmp(recipe));
  ASSERT_EQ(got.status, DibStatus::kOk);
  EXPECT_EQ(got.pixels, (std::vector<uint8_t>{3, 2, 1}));

  recipe.pixelOffset = -1;  // behind the gap
  got = decode(makeBmp(recipe));
  EXPECT_EQ(got.pixels, (std::vector<uint8_t>{9, 9, 9}));

  recipe.pixelOffset = 100000;
  EXPECT_EQ(decode(makeBmp(recipe)).status, DibStatus::kConversionError);
}

TEST(DibLayoutRules, HeaderlessFilesHoldHeaderTableAndPixelsInSuccession) {
  BmpRecipe info;
  info.fileHeader = false;
  info.bitCount = 8;
  info.colorsUsed = 20;
  info.palette.assign(20, {0, 0, 0});
  info.palette[19] = {1, 2, 3};
  info.pixels = {19, 0, 0, 0};
  std::vector<uint8_t> file = makeBmp(info);
  DibLayout layout;
  ASSERT_EQ(readDibLayout(file.data(), file.size(), &layout), DibStatus::kOk);
  EXPECT_EQ(layout.colorCount, 20);
  EXPECT_EQ(layout.pixelData, 120u);
  EXPECT_EQ(decode(file).pixels, (std::vector<uint8_t>{1, 2, 3}));

  BmpRecipe core;
  core.headerSize = 12;
  core.fileHeader = false;
  core.bitCount = 1;
  core.width = 2;
  core.palette = {{10, 20, 30}, {40, 50, 60}};
  core.pixels = {0x40, 0, 0, 0};  // pixel 0 uses entry 0, pixel 1 entry 1
  file = makeBmp(core);
  ASSERT_EQ(readDibLayout(file.data(), file.size(), &layout), DibStatus::kOk);
  EXPECT_EQ(layout.pixelData, 12u + 3 * 2);
  EXPECT_EQ(layout.header.colorsUsed, 2u);
  EXPECT_EQ(layout.header.colorsImportant, 2u);
  EXPECT_EQ(decode(file).pixels, (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
}

TEST(DibLayoutRules, TrueColourTableIsSkipped) {
  BmpRecipe recipe;
  recipe.fileHeader = false;
  recipe.colorsUsed = 3;
  recipe.palette.assign(3, {7, 7, 7});
  recipe.pixels = {30, 20, 10, 0};
  const std::vector<uint8_t> file = makeBmp(recipe);
  DibLayout layout;
  ASSERT_EQ(readDibLayout(file.data(), file.size(), &layout), DibStatus::kOk);
  EXPECT_EQ(layout.pixelData, 40u + 12);
  EXPECT_EQ(decode(file).pixels, (std::vector<uint8_t>{10, 20, 30}));
}

TEST(DibLayoutRules, HeaderlessBitFieldPixelsFollowTheMasks) {
  BmpRecipe recipe;
  recipe.fileHeader = false;
  recipe.bitCount = 16;
  recipe.compression = 3;
  recipe.masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5
  recipe.pixels = {0x1F, 0xF8, 0, 0};       // red 31, green 0, blue 31
  const Decoded got = decode(makeBmp(recipe));
  ASSERT_EQ(got.status, DibStatus::kOk);
  EXPECT_EQ(got.pixels, (std::vector<uint8_t>{255, 0, 255}));
}

TEST(DibLayoutRules, ColourCountFollowsColoursUsedOrTheDepth) {
  auto count = [](uint32_t headerSize, uint16_t bitCount, uint32_t colorsUsed) {
    BmpRecipe recipe;
    recipe.headerSize = headerSize;
    recipe.bitCount = bitCount;
    recipe.colorsUsed = colorsUsed;
    recipe.fileHeader = false;
    const std::vector<uint8_t> file = makeBmp(recipe);
    return dibColorCount(file.data(), file.size());
  };
  EXPECT_EQ(count(12, 1, 0), 2);
  EXPECT_EQ(count(12, 4, 0), 16);
  EXPECT_EQ(count(12, 8, 0), 256);
  EXPECT_EQ(count(12, 24, 0), 0);
  EXPECT_EQ(count(40, 8, 0), 256);
  EXPECT_EQ(count(40, 8, 20), 20);
  EXPECT_EQ(count(40, 24, 0), 0);
  EXPECT_EQ(count(40, 32, 0), 0);
  EXPECT_EQ(count(40, 8, 65536 + 5), 5);
  EXPECT_EQ(count(40, 8, 65536), 0);
  EXPECT_EQ(count(108, 4, 0), 16);  // counted before the size is judged
  EXPECT_EQ(dibColorCount(nullptr, 0), 0);
}

TEST(DibLayoutRules, ZeroImageSizeBecomesWholeBytesPerRow) {
  BmpRecipe recipe;
  recipe.width = 3;
  recipe.height = 5;
  recipe.bitCount = 4;
  recipe.palette.assign(16, {0, 0, 0});
  const std::vector<uint8_t> file = makeBmp(recipe);
  DibLayout layout;
  ASSERT_EQ(readDibLayout(file.data(), file.size(), &layout), DibStatus::kOk);
  EXPECT_EQ(layout.header.imageSize, 2u * 5);  // not 4-byte rows
  EXPECT_EQ(layout.header.colorsUsed, 16u);
}

TEST(DibRefusals, HeadersAndDepthsThatCannotBeDecoded) {
  BmpRecipe recipe;
  recipe.pixels = {0, 0, 0, 0};
  for (uint32_t size : {0u, 16u, 64u, 108u, 124u}) {
    recipe.headerSize = size;
    EXPECT_EQ(decode(makeBmp(recipe)).status, DibStatus::kUnknownFormat) << size;
  }
  recipe.headerSize = 40;
  std::vector<uint8_t> file = makeBmp(recipe);
  file.resize(14 + 30);
  EXPECT_EQ(decode(file).status, DibStatus::kUnknownFormat) << "truncated header";

  auto statusWith = [](auto change) {
    BmpRecipe bad;
    bad.pixels = {0, 0, 0, 0};
    change(bad);
    return decode(makeBmp(bad)).status;
  };
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.bitCount = 2; }), DibStatus::kConversionError);
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.planes = 2; }), DibStatus::kConversionError);
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.width = 0; }), DibStatus::kConversionError);
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.height = 0; }), DibStatus::kConversionError);
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.height = INT32_MIN; }), DibStatus::kConversionError);
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.compression = 1; }), DibStatus::kConversionError);
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.pixels.resize(2); }), DibStatus::kConversionError);
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.width = 40000, s.height = 40000; }),
            DibStatus::kOutOfMemory);
  EXPECT_EQ(statusWith([](BmpRecipe& s) {
              s.bitCount = 16, s.compression = 3, s.masks = {0x0F0F, 0x00F0, 0xF000};
            }),
            DibStatus::kConversionError)
      << "a mask with a hole";
  // The last row may lack its padding.
  EXPECT_EQ(statusWith([](BmpRecipe& s) { s.pixels.resize(3); }), DibStatus::kOk);
}

// RLE8: run of 2 of index 1, literal 3 pixels, end of line, delta, end of bitmap.
TEST(DibRunLength, CodesDecodeAndSkippedPixelsStayBlack) {
  BmpRecipe recipe;
  recipe.width = 5;
  recipe.height = 2;
  recipe.bitCount = 8;
  recipe.compression = 1;
  recipe.colorsUsed = 3;
  recipe.palette = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
  recipe.pixels = {2, 1, 0, 3, 2, 0, 2, 0, 0, 0, 0, 2, 3, 0, 2, 2, 0, 1};
  const Decoded got = decode(makeBmp(recipe));
  ASSERT_EQ(got.status, DibStatus::kOk);
  const std::vector<uint8_t> want = {
      2, 2, 2, 2, 2, 2, 3, 3, 3, 1, 1, 1, 3, 3, 3,   // bottom row
      0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3, 3, 3, 3};  // after a 3-pixel delta
  EXPECT_EQ(got.pixels, want);

  // RLE4 literal of 3 nibbles, padded to a whole 16-bit unit.
  BmpRecipe four = recipe;
  four.bitCount = 4;
  four.compression = 2;
  four.width = 3;
  four.height = 1;
  four.pixels = {0, 3, 0x12, 0x00, 0, 1};
  EXPECT_EQ(decode(makeBmp(four)).pixels, (std::vector<uint8_t>{2, 2, 2, 3, 3, 3, 1, 1, 1}));

  auto rle8 = [&](std::vector<uint8_t> codes) {
    BmpRecipe s = recipe;
    s.pixels = std::move(codes);
    return decode(makeBmp(s)).status;
  };
  EXPECT_EQ(rle8({6, 1, 0, 1}), DibStatus::kConversionError) << "run past the row";
  EXPECT_EQ(rle8({0, 2, 6, 0, 0, 1}), DibStatus::kConversionError) << "delta past the row";
  EXPECT_EQ(rle8({0, 0, 0, 0, 1, 1, 0, 1}), DibStatus::kConversionError) << "row past the top";
  EXPECT_EQ(rle8({2, 1}), DibStatus::kConversionError) << "no end of bitmap";
  EXPECT_EQ(rle8({0, 5, 1, 2}), DibStatus::kConversionError) << "literal cut short";
  BmpRecipe topDown = recipe;
  topDown.height = -2;
  topDown.pixels = {0, 1};
  EXPECT_EQ(decode(makeBmp(topDown)).status, DibStatus::kConversionError);
}

TEST(DibPalette, IndicesBeyondTheTableAreBlack) {
  BmpRecipe recipe;
  recipe.width = 2;
  recipe.bitCount = 8;
  recipe.colorsUsed = 1;
  recipe.palette = {{9, 8, 7}};
  recipe.pixels = {0, 200, 0, 0};
  EXPECT_EQ(decode(makeBmp(recipe)).pixels, (std::vector<uint8_t>{9, 8, 7, 0, 0, 0}));
}

}  // namespace
