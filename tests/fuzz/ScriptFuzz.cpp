// Headless scripts.
#include <string>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "headless/HeadlessScript.h"

namespace vlfuzz {

Outcome ReadScript(const std::uint8_t* data, std::size_t size) {
  vlheadless::Script script;
  std::string error;
  if (!vlheadless::ParseScript(std::string(reinterpret_cast<const char*>(data), size), "fuzz.vls", &script, &error))
    return Refused(error.c_str());
  return Accepted();
}

}  // namespace vlfuzz
