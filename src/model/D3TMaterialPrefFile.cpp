#include "D3TMaterialPrefFile.h"

#include "DETException.h"

D3TMaterialPrefFile::~D3TMaterialPrefFile() { Close(); }

void D3TMaterialPrefFile::Open(SInt16 permission) {
  const bool reading = permission != kWrite;
  const std::int32_t context = reading ? kDEErrorErrorReadingMaterialPrefFile : kDEErrorErrorWritingMaterialPrefFile;
  Close();
  if (GetPath().empty()) MakePath();
  stream = std::fopen(GetPath().c_str(), reading ? "r" : "a");
  if (!stream) ThrowIfOSErr(ioErr, context);
}

void D3TMaterialPrefFile::Close() {
  if (stream) std::fclose(stream);
  stream = nullptr;
}
