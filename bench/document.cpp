// Saving and opening a native document of blocks: the whole text written (objects per second
// as the counter objects/s), and read into a freshly set-up document, beside a plain pass of
// std::from_chars over every number of the same bytes in the same run (the counter
// x_from_chars: how many times the reading's speed that pass is, so a value of 4 or less meets
// the goal of a quarter of its speed), both in this thread's processor time. Opening 10,000 and
// 40,000 blocks shows it is linear.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <ctime>
#include <istream>
#include <string>

#include "AppResources.h"
#include "Events.h"
#include "Resources.h"
#include "Screen.h"
#include "TextLines.h"
#include "Ticks.h"
#include "VLApplication.h"
#include "VLCube.h"
#include "VLDocument.h"

namespace {

// The program's resources, a screen and the application that owns the documents.
struct Program {
  Program() {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlclock::UseVirtualClock(true);
    vlui::InitScreen();
    InstallNativeDocument();
    app = new VLApplication;
    app->IVLApplication();
  }
  ~Program() {
    delete app;
    vlui::ShutdownScreen();
    vlres::ResetResourceChain();
  }
  VLApplication* app = nullptr;
};

Program& TheProgram() {
  static Program program;
  return program;
}

// A set-up document without a window, holding n blocks in rows.
VLDocument* DocumentOfBlocks(int n) {
  Program& program = TheProgram();  // first: it installs the native document's maker
  auto* document = static_cast<VLDocument*>(gNativeDocumentMaker());
  document->InitNewDocument(program.app, true, 0);
  document->SetSnapGridSpacing(0.5);  // as a document with a window has it
  for (int i = 0; i < n; ++i) {
    auto* cube = new VLCube;
    cube->InitStorage();
    const double x = (i % 100) * 3.0, y = (i / 100) * 2.0;
    Vector3d corners[8];
    for (int k = 0; k < 8; ++k)
      corners[k] = {x + ((k == 1 || k == 2 || k == 5 || k == 6) ? 2.0 : 0.0), y + ((k >= 2 && k <= 5) ? 0.5 : 0.0),
                    k >= 4 ? 3.0 : 0.0};
    cube->SetCorners(corners);
    document->GetObjectList()->AppendPointer(cube);
  }
  return document;
}

std::string SavedText(VLDocument* document) {
  std::FILE* file = std::tmpfile();
  document->WriteText(file, "bench.vl");
  std::fflush(file);
  std::string text(std::size_t(std::ftell(file)), '\0');
  std::rewind(file);
  if (std::fread(text.data(), 1, text.size(), file) != text.size()) text.clear();
  std::fclose(file);
  return text;
}

// This thread's processor time in seconds: on a shared machine, wall time counts other programs.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The baseline: every number of the text through std::from_chars, the words passed over.
double FromCharsPass(const std::string& text) {
  double sum = 0.0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    while (p < end && (*p == ' ' || *p == '\n' || *p == '\t')) ++p;
    double value = 0.0;
    const auto [next, error] = std::from_chars(p, end, value);
    if (error == std::errc()) {
      sum += value;
      p = next;
    } else {
      while (p < end && *p != ' ' && *p != '\n' && *p != '\t') ++p;
    }
  }
  return sum;
}

void BM_SaveBlocks(benchmark::State& state) {
  const int n = int(state.range(0));
  VLDocument* document = DocumentOfBlocks(n);
  for (auto _ : state) {
    std::FILE* file = std::tmpfile();
    document->WriteText(file, "bench.vl");
    std::fclose(file);
  }
  document->Dispose();
  state.counters["objects/s"] = benchmark::Counter(double(n) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_OpenBlocks(benchmark::State& state) {
  const int n = int(state.range(0));
  VLDocument* source = DocumentOfBlocks(n);
  const std::string text = SavedText(source);
  source->Dispose();
  double readSeconds = 0.0, baselineSeconds = 0.0;
  for (auto _ : state) {
    auto* document = static_cast<VLDocument*>(gNativeDocumentMaker());
    document->InitNewDocument(TheProgram().app, true, 0);
    // As opening a file does: its text read at once, taken from memory.
    vltext::MemoryTextBuffer buffer(text);
    std::istream in(&buffer);
    const double start = ThreadSeconds();
    document->Read(in);
    const double read = ThreadSeconds();
    benchmark::DoNotOptimize(FromCharsPass(text));
    const double done = ThreadSeconds();
    readSeconds += read - start;
    baselineSeconds += done - read;
    if (in.fail() || document->GetObjectList()->GetNumItems() != n + 2) state.SkipWithError("the text did not read back");
    document->Dispose();
  }
  state.counters["objects/s"] = double(n) * double(state.iterations()) / readSeconds;
  state.counters["x_from_chars"] = readSeconds / baselineSeconds;
}

BENCHMARK(BM_SaveBlocks)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenBlocks)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace
