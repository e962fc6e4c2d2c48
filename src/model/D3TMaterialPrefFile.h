// The material preference file "VL Material Prefs": a text data file named by its specification,
// opened with the runtime library's buffered streams for one read at a time. Writing goes through
// a complete new file that replaces the old (D3TMaterialList::WritePrefFile).
#pragma once

#include <cstdio>

#include "VLANSIDataFile.h"

class D3TMaterialPrefFile : public VLANSIDataFile {
  VL_REGISTERED_CLASS(D3TMaterialPrefFile, VLANSIDataFile)

 public:
  // Permissions of Open.
  enum : SInt16 { kRead = 1, kWrite = 2 };

  D3TMaterialPrefFile() = default;
  // Closes the stream when it is open.
  ~D3TMaterialPrefFile() override;

  // Opens the stream on the file's path (made when not made yet): for reading, or for writing
  // at its end. A file that cannot be opened raises -36 in the context: reading
  // kDEErrorErrorReadingMaterialPrefFile, writing kDEErrorErrorWritingMaterialPrefFile.
  virtual void Open(SInt16 permission);
  virtual Boolean IsOpen() const { return stream != nullptr; }
  virtual void Close();
  // The open stream, or null.
  std::FILE* GetStream() const { return stream; }

 private:
  std::FILE* stream = nullptr;
};
