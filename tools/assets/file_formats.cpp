#include "tools/assets/file_formats.h"

#include "platform/file_write.h"
#include "tools/png/png_file.h"

namespace assets {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xffffu);
  put16(out, v >> 16);
}
void putTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

}  // namespace

std::vector<uint8_t> encodeBmp24(const Canvas& canvas) {
  const uint32_t width = uint32_t(canvas.width());
  const uint32_t height = uint32_t(canvas.height());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * height;
  constexpr uint32_t kHeaders = 14 + 40;

  std::vector<uint8_t> out;
  out.reserve(kHeaders + imageSize);
  out.push_back('B');
  out.push_back('M');
  put32(out, kHeaders + imageSize);
  put32(out, 0);  // two reserved words
  put32(out, kHeaders);
  put32(out, 40);
  put32(out, width);
  put32(out, height);  // positive: bottom row first
  put16(out, 1);       // planes
  put16(out, 24);      // bits per pixel
  put32(out, 0);       // no compression
  put32(out, imageSize);
  put32(out, 2835);  // 72 dots per inch, in dots per metre
  put32(out, 2835);
  put32(out, 0);  // no colour table
  put32(out, 0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      Rgb8 c = canvas.at(int(x), int(y));
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (uint32_t pad = width * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> encodeWav16(const std::vector<int16_t>& samples, uint32_t sampleRate) {
  const uint32_t dataBytes = uint32_t(samples.size()) * 2;
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, sampleRate);
  put32(out, sampleRate * 2);  // bytes per second
  put16(out, 2);               // bytes per frame
  put16(out, 16);              // bits per sample
  putTag(out, "data");
  put32(out, dataBytes);
  for (int16_t s : samples) put16(out, uint16_t(s));
  return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& reason) {
  return replaceFile(path.c_str(), bytes.data(), bytes.size(), reason);
}

std::vector<uint8_t> encodePng(const RgbaPicture& picture) {
  std::vector<uint8_t> png;
  std::string error;
  ::encodePng(picture.pixels.data(), picture.width, picture.height, 4, picture.width * 4, png,
              error);
  return png;
}

}  // namespace assets
