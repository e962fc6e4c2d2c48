// What a user types, or a file gives, as a measurement or a unit format.
#include <sstream>
#include <string>

#include "Format.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "UnitToNameTable.h"

namespace vlfuzz {
namespace {

// One line as a length, an angle and a format; false when any of them refuses it.
bool ReadLine(const std::string& line) {
  bool read = true;
  char written[64];
  for (const bool angle : {false, true}) {
    try {
      const Measurement m =
          Measurement::Parse(line, angle ? gAngleNameTable : gLengthNameTable, angle ? gDegrees : gFeet);
      try {
        const Format format({angle ? gDegrees : gFeet}, Format::kFractions, 16);
        Measurement::ToString(m, written, sizeof written, format, gShortNameTable);
      } catch (Measurement::Error) {
        // A value too long for the buffer is the writer's to refuse.
      }
    } catch (Measurement::Error) {
      read = false;
    } catch (UnitBase::Error) {
      read = false;
    }
  }
  Format format;
  try {
    format = Format(std::string_view(line), gLengthNameTable);
  } catch (Format::Error) {
    return false;
  }
  try {
    format.ToString(written, sizeof written);
  } catch (Format::Error) {
    // A description too long for the buffer is the writer's to refuse.
  }
  return read;
}

}  // namespace

Outcome ReadMeasurements(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string line;
  bool refused = false;
  while (std::getline(in, line))
    if (!ReadLine(line)) refused = true;
  return refused ? Refused() : Accepted();
}

}  // namespace vlfuzz
