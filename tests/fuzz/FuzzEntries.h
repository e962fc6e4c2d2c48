// One entry point for every reader of outside input: it hands the bytes to the reader as the
// program would (a file, a resource, a clipboard block, a settings line, typed text, a script)
// and says whether the reader refused them and why. The fuzz programs (FuzzMain.cpp) and the
// replay test of the inputs that once broke a reader (ReplayTest.cpp) share them.
//
// An entry lets any exception the reader should not throw escape, so that the fuzzer and the test
// see it; a refusal is an answer, not a failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vlfuzz {

struct Outcome {
  bool refused = false;
  std::string reason;  // why, when refused: the reader's own sentence
};

using Entry = Outcome (*)(const std::uint8_t* data, std::size_t size);

// 3DMF scene files: every object read, duplicated and written back. The text entry takes files
// in the text form; the binary entry puts the binary magic before data that has none.
Outcome ReadSceneText(const std::uint8_t* data, std::size_t size);
Outcome ReadSceneBinary(const std::uint8_t* data, std::size_t size);
// A picture (the bytes after a PICT file's header): checked, then drawn scaled into an offscreen
// world.
Outcome ReadPicture(const std::uint8_t* data, std::size_t size);
// A resource fork, or an AppleDouble file holding one (also rewritten with a new fork): every
// resource handed to the parser of its type.
Outcome ReadResources(const std::uint8_t* data, std::size_t size);
// Resource source text through the resource compiler.
Outcome ReadResourceSource(const std::uint8_t* data, std::size_t size);
// A whole native document, read into a freshly initialised document as opening its file does,
// then written and read again.
Outcome ReadDocument(const std::uint8_t* data, std::size_t size);
// The body of a model object in a native document (after its kind's keyword).
Outcome ReadObjectRecord(const std::uint8_t* data, std::size_t size);
// A native document's material block, the text starting after its first "Material:" word (read
// into a material list, written and read again), and the same text as the material preference
// file.
Outcome ReadMaterials(const std::uint8_t* data, std::size_t size);
// Settings lines of a native document ("Keyword: value" lines).
Outcome ReadSettingsLines(const std::uint8_t* data, std::size_t size);
// Lines of text as measurements (lengths, then angles) and unit format names.
Outcome ReadMeasurements(const std::uint8_t* data, std::size_t size);
// An INI profile file: every section and key read, and one key written back.
Outcome ReadProfile(const std::uint8_t* data, std::size_t size);
// A headless script.
Outcome ReadScript(const std::uint8_t* data, std::size_t size);
// A clipboard block under each clipboard format (the first byte chooses a bitmap's size).
Outcome ReadClipboard(const std::uint8_t* data, std::size_t size);
// Text through the importers' token readers.
Outcome ReadTokens(const std::uint8_t* data, std::size_t size);
// File names and paths both ways between the disk and the toolbox.
Outcome ReadFileNames(const std::uint8_t* data, std::size_t size);
// A Windows-style dialog template ('WDLG'), and the dialog items made from it.
Outcome ReadWinDialog(const std::uint8_t* data, std::size_t size);

// Runs an entry with no reason noted from before.
Outcome Run(Entry entry, const std::uint8_t* data, std::size_t size);

struct Target {
  const char* name;  // the folder of its inputs, and the fuzz program fuzz_<name>
  Entry entry;
};
// Every entry, by name.
const Target* Targets(std::size_t* count);

}  // namespace vlfuzz
