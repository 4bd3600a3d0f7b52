// Decoding the scene's texture size: a 256 x 256 24-bit BMP, from memory and
// from a file through the loader.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "image/dib_decoder.h"
#include "image/dib_loader.h"

namespace {

void put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

std::vector<uint8_t> make24BitFile(int32_t size) {
  const uint32_t pixelBytes = static_cast<uint32_t>(size * size * 3);
  std::vector<uint8_t> file = {'B', 'M'};
  put32(file, 54 + pixelBytes);
  put32(file, 0);
  put32(file, 54);
  put32(file, 40);
  put32(file, static_cast<uint32_t>(size));
  put32(file, static_cast<uint32_t>(size));
  put16(file, 1);
  put16(file, 24);
  for (int i = 0; i < 6; ++i) put32(file, 0);
  for (uint32_t i = 0; i < pixelBytes; ++i) file.push_back(static_cast<uint8_t>(i * 7));
  return file;
}

void BM_Decode24Bit256(benchmark::State& state) {
  const std::vector<uint8_t> file = make24BitFile(256);
  for (auto _ : state) {
    RgbImage* image = nullptr;
    benchmark::DoNotOptimize(decodeDib(file.data(), file.size(), &image));
    freeRgbImage(image);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_Decode24Bit256);

void BM_Load24Bit256FromFile(benchmark::State& state) {
  const std::vector<uint8_t> file = make24BitFile(256);
  const std::string path = "/tmp/quibbix-bench-" + std::to_string(getpid()) + ".bmp";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
    state.SkipWithError("cannot write the picture");
    if (out) std::fclose(out);
    return;
  }
  std::fclose(out);
  for (auto _ : state) {
    RgbImage* image = loadDibImage(path.c_str(), 0);
    benchmark::DoNotOptimize(image);
    freeRgbImage(image);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_Load24Bit256FromFile);

}  // namespace

BENCHMARK_MAIN();
