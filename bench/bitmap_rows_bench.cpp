// Row access to host bitmaps: reading and writing every row of a 3840 x 2160 float bitmap with
// GetPixels / PutPixels, against memcpy of the same bytes, row by row, in the same run. The figure
// that matters is the ratio (goal: at least 0.5 of memcpy). The 64-bit form, which converts every
// channel, is shown beside them.
#include "bitmap.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 3840, kHeight = 2160;
constexpr size_t kRowBytes = size_t(kWidth) * sizeof(BMM_Color_fl);

Bitmap* frame() {
  static Bitmap* bm = [] {
    BitmapInfo bi;
    bi.SetType(BMM_FLOAT_RGBA_32);
    bi.SetWidth(kWidth);
    bi.SetHeight(kHeight);
    bi.SetFlags(MAP_HAS_ALPHA);
    Bitmap* b = TheManager->Create(&bi);
    b->Fill(BMM_Color_fl(0.25f, 0.5f, 0.75f, 1.0f));
    return b;
  }();
  return bm;
}

// Read every row into one row buffer, then write it back: 2 x the image's bytes.
void setBytes(benchmark::State& state, size_t pixelBytes) {
  state.SetBytesProcessed(int64_t(state.iterations()) * 2 * int64_t(pixelBytes) * kHeight * kWidth);
}

void Memcpy(benchmark::State& state) {
  std::vector<BMM_Color_fl> image(size_t(kWidth) * kHeight, BMM_Color_fl(0.25f, 0.5f, 0.75f, 1.0f));
  std::vector<BMM_Color_fl> row(kWidth);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      BMM_Color_fl* line = image.data() + size_t(y) * kWidth;
      std::memcpy(static_cast<void*>(row.data()), line, kRowBytes);
      benchmark::ClobberMemory();
      std::memcpy(static_cast<void*>(line), row.data(), kRowBytes);
    }
    benchmark::DoNotOptimize(image.data());
  }
  setBytes(state, sizeof(BMM_Color_fl));
}

void FloatRows(benchmark::State& state) {
  Bitmap* bm = frame();
  std::vector<BMM_Color_fl> row(kWidth);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      bm->GetPixels(0, y, kWidth, row.data());
      benchmark::ClobberMemory();
      bm->PutPixels(0, y, kWidth, row.data());
    }
  }
  setBytes(state, sizeof(BMM_Color_fl));
}

void Color64Rows(benchmark::State& state) {
  Bitmap* bm = frame();
  std::vector<BMM_Color_64> row(kWidth);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      bm->GetPixels(0, y, kWidth, row.data());
      benchmark::ClobberMemory();
      bm->PutPixels(0, y, kWidth, row.data());
    }
  }
  setBytes(state, sizeof(BMM_Color_fl));
}

BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(FloatRows)->Unit(benchmark::kMillisecond);
BENCHMARK(Color64Rows)->Unit(benchmark::kMillisecond);

// The console report, and the rates kept for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end()) rates[r.benchmark_name()] = it->second;
    }
  }
  std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double base = reporter.rates["Memcpy"];
  if (base > 0) {
    for (const char* name : {"FloatRows", "Color64Rows"}) {
      double rate = reporter.rates[name];
      std::printf("%-12s %6.2f GB/s, %.2f of memcpy (%.2f GB/s)%s\n", name, rate / 1e9, rate / base, base / 1e9,
                  std::string(name) == "FloatRows" ? "  goal: at least 0.50" : "");
    }
  }
  benchmark::Shutdown();
  return 0;
}
