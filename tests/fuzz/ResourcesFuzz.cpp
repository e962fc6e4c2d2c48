// Resource forks and the AppleDouble files that carry them beside data files.
#include <vector>

#include "ByteReader.h"
#include "ForkFile.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "Memory.h"
#include "ResourceForkFormat.h"
#include "Resources.h"

namespace vlfuzz {
namespace {

// Hands a resource to the parser of its type; false when the parser refuses it.
bool Parse(const vlres::ResourceData& r) {
  Handle h = PortHandleFromBytes(r.bytes.data(), Size(r.bytes.size()));
  if (!h) return true;
  bool ok = true;
  switch (r.type) {
    case FourCC("STR#"): {
      std::vector<std::string> strings;
      ok = vlres::ReadStringList(h, &strings);
      break;
    }
    case FourCC("STR "):
      vlres::ReadShortString(h);
      break;
    case FourCC("ALRT"): {
      vlres::AlertTemplate t;
      ok = vlres::ParseAlert(h, &t);
      break;
    }
    case FourCC("DITL"): {
      std::vector<vlres::DialogItem> items;
      ok = vlres::ParseItemList(h, &items);
      break;
    }
    case FourCC("DLOG"): {
      vlres::DialogTemplate t;
      ok = vlres::ParseDialog(h, &t);
      break;
    }
    case FourCC("WIND"): {
      vlres::WindowTemplate t;
      ok = vlres::ParseWindow(h, &t);
      break;
    }
    case FourCC("MENU"): {
      vlres::MenuTemplate t;
      ok = vlres::ParseMenu(h, &t);
      break;
    }
    case FourCC("vers"): {
      vlres::VersionRecord t;
      ok = vlres::ParseVersion(h, &t);
      break;
    }
    case FourCC("CURS"): {
      vlres::CursorTemplate t;
      ok = vlres::ParseCursor(h, &t);
      break;
    }
    case FourCC("CNTL"): {
      vlres::ControlTemplate t;
      ok = vlres::ParseControl(h, &t);
      break;
    }
    default:
      break;
  }
  PortFreeHandle(h);
  return ok;
}

}  // namespace

Outcome ReadResources(const std::uint8_t* data, std::size_t size) {
  std::vector<unsigned char> file(data, data + size);
  std::vector<unsigned char> fork;
  if (vlcore::ByteReader(data, size).U32() == vlres::format::kAppleDoubleMagic) {
    const OSErr err = vlres::fork::ForkFromAppleDouble(file, &fork);
    // Writing resources rewrites the sidecar, keeping its other entries.
    vlres::fork::AppleDoubleWithFork(file, std::vector<unsigned char>(16, 0));
    if (err == eofErr) return Accepted();
    if (err != noErr) return Refused();
  } else {
    fork = std::move(file);
  }
  std::vector<vlres::ResourceData> resources;
  if (vlres::ReadResourceFork(fork.data(), fork.size(), &resources) != noErr) return Refused();
  Outcome outcome = Accepted();
  for (const vlres::ResourceData& r : resources)
    if (!Parse(r) && !outcome.refused) outcome = Refused();
  // What was read can be written again.
  std::vector<unsigned char> again;
  vlres::WriteResourceFork(resources, &again);
  return outcome;
}

}  // namespace vlfuzz
