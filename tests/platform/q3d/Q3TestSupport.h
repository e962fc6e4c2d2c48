// Helpers for the scene library's tests: a started library, owned references,
// and reading and writing metafiles in memory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Q3.h"

namespace q3test {

// One owned reference, released at the end of the scope.
class Obj {
 public:
  Obj() = default;
  explicit Obj(TQ3Object o) : o_(o) {}
  Obj(const Obj&) = delete;
  Obj& operator=(const Obj&) = delete;
  Obj(Obj&& other) noexcept : o_(other.o_) { other.o_ = nullptr; }
  Obj& operator=(Obj&& other) noexcept {
    if (this != &other) {
      reset(other.o_);
      other.o_ = nullptr;
    }
    return *this;
  }
  ~Obj() { reset(); }
  void reset(TQ3Object o = nullptr) {
    if (o_) Q3Object_Dispose(o_);
    o_ = o;
  }
  TQ3Object get() const { return o_; }
  operator TQ3Object() const { return o_; }
  TQ3Object* out() {
    reset();
    return &o_;
  }

 private:
  TQ3Object o_ = nullptr;
};

// Errors and warnings posted while a test runs.
struct Posted {
  std::vector<TQ3Error> errors;
  std::vector<TQ3Warning> warnings;
};
Posted& Log();

// Starts the library around each test and records what it reports.
class Library : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// Reads every top-level object of a metafile; false when the file cannot be opened
// or an object cannot be read.
bool ReadObjects(const std::vector<TQ3Uns8>& bytes, std::vector<Obj>& out, TQ3FileMode* mode = nullptr);
// Writes the objects through a view; empty when writing fails.
std::vector<TQ3Uns8> WriteObjects(const std::vector<TQ3Object>& objects, TQ3FileMode mode);
std::vector<TQ3Uns8> ReadFile(const std::filesystem::path& path);
std::string AsText(const std::vector<TQ3Uns8>& bytes);
// The folder of metafiles written by other programs (empty when absent).
std::filesystem::path FixtureFolder();
std::vector<std::filesystem::path> FixtureFiles();

TQ3Uns32 CountOf(TQ3GroupObject group);
// The i-th member of a group (a new reference).
Obj MemberAt(TQ3GroupObject group, TQ3Uns32 index);

}  // namespace q3test

#define SKIP_WITHOUT_FIXTURES()                                                         \
  do {                                                                                  \
    if (q3test::FixtureFolder().empty()) GTEST_SKIP() << "no 3DMF fixtures at " VL_FIXTURES_DIR; \
  } while (0)
