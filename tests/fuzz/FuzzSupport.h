// What the entries share: their answers, with the reason the reader noted.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "FuzzEntries.h"
#include "Refusal.h"

namespace vlfuzz {

inline Outcome Accepted() { return Outcome{}; }
// A refusal with the reason the reader noted last, or the one given.
inline Outcome Refused(const char* reason = nullptr) {
  return Outcome{true, reason ? std::string(reason) : std::string(vlcore::LastRefusal())};
}
// Forgets the reason of an earlier refusal; each entry starts with it.
inline void Begin() { vlcore::ClearRefusal(); }

// What a writer puts in a file, as text.
inline std::string Written(const std::function<void(std::FILE*)>& write) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&text, &size);
  if (!file) return {};
  write(file);
  std::fclose(file);
  std::string written(text, size);
  std::free(text);
  return written;
}

}  // namespace vlfuzz
