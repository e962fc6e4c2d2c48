// Reading and writing a million mixed measurements (lengths and angles, feet and inches with
// fractions, metric decimals, degrees, minutes and seconds). The allocations counter shows
// what each value costs the heap; reading must stay at zero.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "Format.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "UnitToNameTable.h"

namespace {

std::atomic<long> gAllocations{0};

constexpr int kValues = 1000000;

struct Sample {
  std::string text;
  bool angle;
};

// A pool of typed texts, cycled through for the million values.
const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = [] {
    const char* lengths[] = {"5'3 1/2\"", "2m30cm",         "12",     "-3/4 + 1' - 2\"", ".5 mm",
                             "1e3 km",    "17' 11 15/16\"", "0.25mi", "1234.5678",       "3 ft 4 in"};
    const char* angles[] = {
        "30\xA1"
        "15'20\"",
        "45", "1.5 rad", "-10 deg 30 min", "359.99\xA1"};
    std::vector<Sample> all;
    std::mt19937 random(7);
    for (int i = 0; i < 4096; ++i) {
      if (random() % 3 == 0)
        all.push_back({angles[random() % std::size(angles)], true});
      else
        all.push_back({lengths[random() % std::size(lengths)], false});
    }
    return all;
  }();
  return samples;
}

const Format kLengthFormats[] = {
    Format({gFeet, gInches}, Format::kFractions, 16), Format({gMeters}, Format::kDecimals, 3),
    Format({gFeet}, Format::kDecimals, 3), Format({gMillimeters}, Format::kDecimals, 0)};
const Format kAngleFormats[] = {Format({gDegrees, gMinutes, gSeconds}, Format::kDecimals, 0),
                                Format({gDegrees}, Format::kDecimals, 2)};

Measurement ParseSample(const Sample& s) {
  return s.angle ? Measurement::Parse(s.text.c_str(), gShortAngleNameTable, gDegrees)
                 : Measurement::Parse(s.text.c_str(), gShortLengthNameTable, gFeet);
}

void BM_ParseMillion(benchmark::State& state) {
  const auto& samples = Samples();
  long allocations = 0;
  for (auto _ : state) {
    long before = gAllocations.load();
    double sum = 0.0;
    for (int i = 0; i < kValues; ++i) sum += ParseSample(samples[std::size_t(i) % samples.size()]).value;
    benchmark::DoNotOptimize(sum);
    allocations += gAllocations.load() - before;
  }
  state.SetItemsProcessed(state.iterations() * kValues);
  state.counters["allocs_per_value"] = double(allocations) / double(state.iterations() * kValues);
}
BENCHMARK(BM_ParseMillion)->Unit(benchmark::kMillisecond);

void BM_WriteMillion(benchmark::State& state) {
  const auto& samples = Samples();
  std::vector<Measurement> values;
  for (const Sample& s : samples) values.push_back(ParseSample(s));
  char text[64];
  long allocations = 0;
  for (auto _ : state) {
    long before = gAllocations.load();
    for (int i = 0; i < kValues; ++i) {
      const Measurement& m = values[std::size_t(i) % values.size()];
      const Format& f = m.unit.kind == UnitBase::kAngleKind ? kAngleFormats[i % 2] : kLengthFormats[i % 4];
      Measurement::ToString(m, text, sizeof text, f, gShortNameTable);
      benchmark::DoNotOptimize(text[0]);
    }
    allocations += gAllocations.load() - before;
  }
  state.SetItemsProcessed(state.iterations() * kValues);
  state.counters["allocs_per_value"] = double(allocations) / double(state.iterations() * kValues);
}
BENCHMARK(BM_WriteMillion)->Unit(benchmark::kMillisecond);

void BM_ParseAndWriteMillion(benchmark::State& state) {
  const auto& samples = Samples();
  char text[64];
  for (auto _ : state) {
    for (int i = 0; i < kValues; ++i) {
      const Sample& s = samples[std::size_t(i) % samples.size()];
      Measurement m = ParseSample(s);
      Measurement::ToString(m, text, sizeof text, s.angle ? kAngleFormats[0] : kLengthFormats[0],
                            gShortNameTable);
      benchmark::DoNotOptimize(text[0]);
    }
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(BM_ParseAndWriteMillion)->Unit(benchmark::kMillisecond);

}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
