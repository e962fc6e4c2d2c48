// The body of a model object in a native document.
#include <cstdio>
#include <sstream>
#include <string>

#include "DETException.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "Unwinding.h"
#include "VLUser3DObject.h"

namespace vlfuzz {
namespace {

// Reads a body into a new object; true when the stream is still good.
bool ReadBody(const std::string& text, VLUser3DObject* object) {
  std::istringstream in(text);
  object->ReadText(in, 1.0, '\n');
  return !in.fail();
}

}  // namespace

Outcome ReadObjectRecord(const std::uint8_t* data, std::size_t size) {
  Owned<VLUser3DObject> read(new VLUser3DObject);
  try {
    if (!ReadBody(std::string(reinterpret_cast<const char*>(data), size), read.get())) return Refused();
  } catch (DETException&) {
    return Refused("memory ran out while the object was read");
  }
  // What the reader took, the writer writes and the reader takes again.
  const std::string body = Written([&](std::FILE* file) { read->WriteText(file, 1.0); });
  Owned<VLUser3DObject> again(new VLUser3DObject);
  if (!ReadBody(body, again.get())) __builtin_trap();
  return Accepted();
}

}  // namespace vlfuzz
