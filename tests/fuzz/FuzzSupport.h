// What the entries share: their answers, with the reason the reader noted.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "Format.h"
#include "FuzzEntries.h"
#include "Refusal.h"
#include "UnitBase.h"

namespace vlfuzz {

inline Outcome Accepted() { return Outcome{}; }
// A refusal with the reason the reader noted last, or the one given.
inline Outcome Refused(const char* reason = nullptr) {
  return Outcome{true, reason ? std::string(reason) : std::string(vlcore::LastRefusal())};
}
// Forgets the reason of an earlier refusal; each entry starts with it.
inline void Begin() { vlcore::ClearRefusal(); }

// What a writer puts in a file, as text; a writer that raises leaves nothing behind.
inline std::string Written(const std::function<void(std::FILE*)>& write) {
  struct Stream {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* file = nullptr;
    ~Stream() {
      if (file) std::fclose(file);
      std::free(text);
    }
  } stream;
  stream.file = open_memstream(&stream.text, &stream.size);
  if (!stream.file) return {};
  write(stream.file);
  std::fclose(stream.file);
  stream.file = nullptr;
  return std::string(stream.text, stream.size);
}

// The program's current unit formats and entry units, put back as they were when it ends, so that
// every input starts from the same ones. Readers set them, and texts in lengths are read and
// written in the entry unit, which a document sets before it reads or writes anything.
struct KeptUnits {
  Format lengthFormat = gLengthFormat, angleFormat = gAngleFormat;
  UnitBase lengthUnit = gLengthEntryUnit, angleUnit = gAngleEntryUnit;
  ~KeptUnits() {
    gLengthFormat = lengthFormat;
    gAngleFormat = angleFormat;
    gLengthEntryUnit = lengthUnit;
    gAngleEntryUnit = angleUnit;
  }
};

}  // namespace vlfuzz
