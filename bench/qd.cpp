// Drawing speed: filling a screen-sized port, many short lines, many polygons.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "QuickDraw.h"

namespace {

struct Screen {
  GWorldPtr world = nullptr;
  GrafPtr saved = nullptr;
  explicit Screen(int depth) {
    Rect r{0, 0, 768, 1024};
    PortGetPort(&saved);
    PortNewOffscreen(&world, SInt16(depth), &r, nullptr, nullptr, 0);
    PortSetPort(world);
  }
  ~Screen() {
    PortSetPort(saved);
    PortFreeOffscreen(world);
  }
};

void FillPort(benchmark::State& state) {
  Screen s(int(state.range(0)));
  Rect r{0, 0, 768, 1024};
  RGBColor c{10000, 30000, 50000};
  PortRGBForeColor(&c);
  for (auto _ : state) {
    PortPaintRect(&r);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(FillPort)->Arg(32)->Arg(16)->Arg(1)->Unit(benchmark::kMicrosecond);

void ShortLines(benchmark::State& state) {
  Screen s(32);
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> x(0, 1000), y(0, 740), d(-12, 12);
  std::vector<Rect> lines(100000);
  for (Rect& l : lines) {
    l.left = SInt16(x(rng));
    l.top = SInt16(y(rng));
    l.right = SInt16(l.left + d(rng));
    l.bottom = SInt16(l.top + d(rng));
  }
  for (auto _ : state) {
    for (const Rect& l : lines) {
      PortPenMove(l.left, l.top);
      PortPenLine(l.right, l.bottom);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t(lines.size()));
}
BENCHMARK(ShortLines)->Unit(benchmark::kMillisecond);

void Polygons(benchmark::State& state) {
  Screen s(32);
  std::mt19937 rng(2);
  std::uniform_int_distribution<int> x(0, 980), y(0, 720), d(0, 40), n(3, 8);
  std::vector<PolyHandle> polys;
  for (int i = 0; i < 10000; ++i) {
    int cx = x(rng), cy = y(rng);
    PolyHandle p = PortOpenPolygon();
    int k = n(rng);
    int fx = cx + d(rng), fy = cy + d(rng);
    PortPenMove(SInt16(fx), SInt16(fy));
    for (int j = 1; j < k; ++j) PortPenLine(SInt16(cx + d(rng)), SInt16(cy + d(rng)));
    PortPenLine(SInt16(fx), SInt16(fy));
    PortClosePolygon();
    polys.push_back(p);
  }
  RGBColor c{40000, 20000, 10000};
  PortRGBForeColor(&c);
  for (auto _ : state) {
    for (PolyHandle p : polys) PortPaintPolygon(p);
    benchmark::ClobberMemory();
  }
  for (PolyHandle p : polys) PortFreePolygon(p);
  state.SetItemsProcessed(state.iterations() * std::int64_t(polys.size()));
}
BENCHMARK(Polygons)->Unit(benchmark::kMillisecond);

// The view pane copies its whole picture to the window on every redraw; the sketch overlay is
// one bit deep and is laid over it with srcOr.
void CopyScreen(benchmark::State& state) {
  const int depth = int(state.range(0));
  const SInt16 mode = SInt16(state.range(1));
  Screen target(32);
  GWorldPtr src = nullptr;
  Rect r{0, 0, 768, 1024};
  PortNewOffscreen(&src, SInt16(depth), &r, nullptr, nullptr, 0);
  for (auto _ : state) {
    PortCopyBits(&src->portPixMap, &target.world->portPixMap, &r, &r, mode, nullptr);
    benchmark::ClobberMemory();
  }
  PortFreeOffscreen(src);
  state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(CopyScreen)->Args({32, srcCopy})->Args({1, srcOr})->Args({16, srcCopy})->Unit(benchmark::kMicrosecond);

}  // namespace
