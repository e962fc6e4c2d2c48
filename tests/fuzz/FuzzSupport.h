// What the entries share: their answers, with the reason the reader noted.
#pragma once

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

}  // namespace vlfuzz
