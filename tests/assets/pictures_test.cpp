// The four pictures as the toy will see them: read back from the files the
// build wrote, through the project's BMP loader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tests/assets/asset_files.h"
#include "tools/assets/file_formats.h"
#include "tools/assets/pictures.h"

namespace {

using assets::kKeyColour;
using assets::Rgb8;

double luminance(Rgb8 c) {
  return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

struct RegionCount {
  int key = 0;
  int opaque = 0;
  int dark = 0;  // opaque and darker than luminance 100
};

// Pixels whose centres lie inside the region.
RegionCount countRegion(const RgbImage& image, TexRect r) {
  RegionCount count;
  for (int y = 0; y < image.height; ++y) {
    double t = (y + 0.5) / image.height;
    if (t < r.t0 || t > r.t1) continue;
    for (int x = 0; x < image.width; ++x) {
      double s = (x + 0.5) / image.width;
      if (s < r.s0 || s > r.s1) continue;
      Rgb8 c = pixelOf(image, x, y);
      if (c == kKeyColour) {
        ++count.key;
      } else {
        ++count.opaque;
        if (luminance(c) < 100) ++count.dark;
      }
    }
  }
  return count;
}

double meanLuminance(const RgbImage& image, TexRect r) {
  double sum = 0;
  int n = 0;
  for (int y = int(r.t0 * image.height); y < int(r.t1 * image.height); ++y) {
    for (int x = int(r.s0 * image.width); x < int(r.s1 * image.width); ++x) {
      sum += luminance(pixelOf(image, x, y));
      ++n;
    }
  }
  return sum / n;
}

// Mean colour difference between neighbouring columns (or rows) inside the
// picture, and across its wrap from the last to the first.
struct SeamStats {
  double inside;
  double acrossWrap;
};

SeamStats columnSeams(const RgbImage& image, bool rows) {
  const int n = rows ? image.height : image.width;
  const int m = rows ? image.width : image.height;
  auto diff = [&](int a, int b) {
    double sum = 0;
    for (int k = 0; k < m; ++k) {
      Rgb8 p = rows ? pixelOf(image, k, a) : pixelOf(image, a, k);
      Rgb8 q = rows ? pixelOf(image, k, b) : pixelOf(image, b, k);
      sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
    }
    return sum / m;
  };
  double inside = 0;
  for (int i = 0; i + 1 < n; ++i) inside += diff(i, i + 1);
  return {inside / (n - 1), diff(n - 1, 0)};
}

TEST(Pictures, EachFileLoadsAt256By256AsA24BitBmpWithBothHeaders) {
  for (const char* name : kTextureFiles) {
    SCOPED_TRACE(name);
    ImagePtr image = loadPicture(builtAsset(name));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 256);
    EXPECT_EQ(image->height, 256);

    std::vector<uint8_t> bytes = readBytes(builtAsset(name));
    ASSERT_EQ(bytes.size(), 54u + 256u * 256u * 3u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(readLe(bytes, 2, 4), bytes.size());
    EXPECT_EQ(readLe(bytes, 10, 4), 54u);   // pixels right after the headers
    EXPECT_EQ(readLe(bytes, 14, 4), 40u);   // info header size
    EXPECT_EQ(readLe(bytes, 22, 4), 256u);  // positive height: bottom row first
    EXPECT_EQ(readLe(bytes, 28, 2), 24u);
    EXPECT_EQ(readLe(bytes, 30, 4), 0u);  // uncompressed
  }
}

TEST(Pictures, FilesHoldExactlyWhatThePaintersMake) {
  const std::pair<const char*, assets::Canvas> painted[] = {
      {kTextureFiles[kFloorPicture], assets::paintFloor()},
      {kTextureFiles[kHamsterPicture], assets::paintHamsterSkin()},
      {kTextureFiles[kEnvironmentPicture], assets::paintSurroundings()},
      {kTextureFiles[kCutoutPicture], assets::paintCutout()},
  };
  for (const auto& [name, canvas] : painted) {
    SCOPED_TRACE(name);
    ImagePtr image = loadPicture(builtAsset(name));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(0, std::memcmp(image->pixels, canvas.pixels().data(), canvas.pixels().size()));
  }
}

TEST(Pictures, OddWidthRowsArePaddedAndReadBackBottomUp) {
  assets::Canvas canvas(3, 2);
  canvas.set(0, 0, Rgb8{10, 20, 30});
  canvas.set(2, 0, Rgb8{40, 50, 60});
  canvas.set(1, 1, Rgb8{200, 100, 0});
  std::vector<uint8_t> bytes = assets::encodeBmp24(canvas);
  EXPECT_EQ(bytes.size(), 54u + 2u * 12u);  // 9 bytes of pixels padded to 12 per row

  std::string path = (std::filesystem::temp_directory_path() /
                      ("quibbix_odd_" + std::to_string(::getpid()) + ".bmp"))
                         .string();
  std::string reason;
  ASSERT_TRUE(assets::writeFile(path, bytes, reason)) << reason;
  ImagePtr image = loadPicture(path);
  std::filesystem::remove(path);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->width, 3);
  ASSERT_EQ(image->height, 2);
  EXPECT_EQ(0, std::memcmp(image->pixels, canvas.pixels().data(), canvas.pixels().size()));
}

TEST(Pictures, FloorTilesWithoutASeamBothWays) {
  ImagePtr image = loadPicture(builtAsset(kTextureFiles[kFloorPicture]));
  ASSERT_NE(image, nullptr);
  for (bool rows : {false, true}) {
    SeamStats seams = columnSeams(*image, rows);
    EXPECT_GT(seams.inside, 2.0) << "the bedding should have texture";
    EXPECT_LT(seams.acrossWrap, 1.5 * seams.inside) << (rows ? "rows" : "columns");
  }
}

TEST(Pictures, WallPictureWrapsAcrossWithoutASeam) {
  ImagePtr image = loadPicture(builtAsset(kTextureFiles[kEnvironmentPicture]));
  ASSERT_NE(image, nullptr);
  SeamStats seams = columnSeams(*image, false);
  EXPECT_LT(seams.acrossWrap, 1.5 * seams.inside);
  // Sky above, meadow below: the top is bluer than the bottom is.
  Rgb8 top = pixelOf(*image, 10, 250);
  Rgb8 bottom = pixelOf(*image, 10, 30);
  EXPECT_GT(top.b, top.g * 0.9);
  EXPECT_GT(bottom.g, bottom.b);
}

TEST(Pictures, HamsterFaceEyesEarsBackAndBellyLieWhereTheModelMapsThem) {
  ImagePtr image = loadPicture(builtAsset(kTextureFiles[kHamsterPicture]));
  ASSERT_NE(image, nullptr);
  // The front face has dark eyes on each half.
  int leftEye = 0, rightEye = 0;
  for (int y = int(kPeltFace.t0 * 256); y < int(kPeltFace.t1 * 256); ++y) {
    for (int x = int(kPeltFace.s0 * 256); x < int(kPeltFace.s1 * 256); ++x) {
      if (luminance(pixelOf(*image, x, y)) < 50) ++(x < 128 ? leftEye : rightEye);
    }
  }
  EXPECT_GT(leftEye, 40);
  EXPECT_GT(rightEye, 40);
  // A pink nose in the middle of the face, below the eyes.
  Rgb8 nose = pixelOf(*image, 128, int(0.148 * 256));
  EXPECT_GT(nose.r, nose.g + 60);
  EXPECT_GT(nose.b, nose.g - 10);
  // The inside of each ear is pink.
  for (double s : {0.375, 0.66}) {
    Rgb8 ear = pixelOf(*image, int(s * 256), int(0.36 * 256));
    EXPECT_GT(ear.r, 200) << s;
    EXPECT_GT(ear.b, 130) << s;
  }
  // The back (top of the body) is darker than the flanks, which are darker
  // than the cream lower flanks that also edge the belly.
  double back = meanLuminance(*image, {0.4, 0.6, 0.4, 0.8});
  double flank = meanLuminance(*image, {0.2, 0.27, 0.4, 0.8});
  double belly = meanLuminance(*image, {0.08, 0.17, 0.4, 0.8});
  double bellyOtherSide = meanLuminance(*image, {0.83, 0.92, 0.4, 0.8});
  EXPECT_LT(back + 20, flank);
  EXPECT_LT(flank + 20, belly);
  EXPECT_NEAR(belly, bellyOtherSide, 10.0);
}

TEST(Pictures, CutoutHasKeyAndRealColourInEveryRegionTheSceneShows) {
  ImagePtr image = loadPicture(builtAsset(kTextureFiles[kCutoutPicture]));
  ASSERT_NE(image, nullptr);
  const std::pair<const char*, TexRect> regions[] = {
      {"fence", kCutoutFence},          {"tuft", kCutoutTuft},
      {"left sign", kCutoutSignLeft},   {"middle sign", kCutoutSignMiddle},
      {"right sign", kCutoutSignRight},
  };
  for (const auto& [name, region] : regions) {
    SCOPED_TRACE(name);
    RegionCount count = countRegion(*image, region);
    EXPECT_GT(count.key, 20) << "something must show through";
    EXPECT_GT(count.opaque, 200) << "something must be drawn";
  }
  // The boards fill most of their panels and carry dark lettering.
  for (TexRect sign : {kCutoutSignLeft, kCutoutSignMiddle, kCutoutSignRight}) {
    RegionCount count = countRegion(*image, sign);
    EXPECT_GT(count.opaque, 6 * count.key);
    EXPECT_GT(count.dark, 600);
  }
  // The grass is green and leaves gaps between its blades.
  RegionCount tuft = countRegion(*image, kCutoutTuft);
  EXPECT_GT(tuft.key, tuft.opaque / 2);
}

TEST(Pictures, FenceRepeatsEveryThirtyTwoPixelsSoItsEndsMeet) {
  ImagePtr image = loadPicture(builtAsset(kTextureFiles[kCutoutPicture]));
  ASSERT_NE(image, nullptr);
  int keyAbove = 0;
  for (int y = 0; y < 26; ++y) {
    for (int x = 0; x < 256; ++x) {
      bool key = pixelOf(*image, x, y) == kKeyColour;
      bool keyOneRepeatOn = pixelOf(*image, (x + 32) % 256, y) == kKeyColour;
      ASSERT_EQ(key, keyOneRepeatOn) << x << "," << y;
    }
  }
  // Nothing of the fence leaks above its strip.
  for (int x = 0; x < 256; ++x) keyAbove += pixelOf(*image, x, 27) == kKeyColour;
  EXPECT_EQ(keyAbove, 256);
}

TEST(Pictures, EveryCutoutPixelIsTheKeyExactlyOrClearlyNotIt) {
  ImagePtr image = loadPicture(builtAsset(kTextureFiles[kCutoutPicture]));
  ASSERT_NE(image, nullptr);
  int nearKey = 0;
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      Rgb8 c = pixelOf(*image, x, y);
      if (c == kKeyColour) continue;
      if (c.r <= 8 && c.b <= 8 && c.g >= 120 && c.g <= 136) ++nearKey;
    }
  }
  EXPECT_EQ(nearKey, 0);
}

}  // namespace
