// File names and paths, from the disk, from documents and from dialogs.
#include <string>

#include "FilePaths.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "PString.h"

namespace vlfuzz {

Outcome ReadFileNames(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  bool refused = false;
  std::string converted;
  // A toolbox name to the disk and back, and a disk name to the toolbox and back.
  if (vlfiles::NameToDisk(text, &converted)) {
    std::string back;
    if (!vlfiles::NameFromDisk(converted, &back) || back != text) __builtin_trap();
  } else {
    refused = true;
  }
  if (vlfiles::NameFromDisk(text, &converted)) {
    // A name on disk never holds a slash.
    std::string back;
    if (text.find('/') == std::string::npos && (!vlfiles::NameToDisk(converted, &back) || back != text))
      __builtin_trap();
  } else {
    refused = true;
  }
  // Whole paths both ways, and as a toolbox file record.
  vlfiles::PathFromMacPath(text);
  const std::string path = "/fuzz/" + text;
  vlfiles::MacPathFromPath(path);
  FSSpec spec;
  if (vlfiles::SpecFromPath(path, &spec)) vlfiles::PathFromSpec(spec);
  Utf8ToMacRoman(MacRomanToUtf8(text));
  vlfiles::ResetFolderTable();  // the folders met are forgotten, run after run
  return refused ? Refused() : Accepted();
}

}  // namespace vlfuzz
