// Where a file's resources live on disk: in its AppleDouble sidecar "._name", or in the file
// itself when the whole file is a resource fork. Internal to the resource chain.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MacTypes.h"

namespace vlres::fork {

// Largest resource fork read from disk; larger ones are refused with memFullErr.
constexpr std::size_t kMaxForkSize = std::size_t(256) << 20;

// True when head (the first bytes of a file of fileSize bytes) is a resource-fork header whose
// parts lie inside the file.
bool LooksLikeFork(const unsigned char* head, std::size_t headSize, std::uint64_t fileSize);

// The resource-fork entry of an AppleDouble file: noErr, eofErr when it has none, mapReadErr
// when the file is damaged.
OSErr ForkFromAppleDouble(const std::vector<unsigned char>& file, std::vector<unsigned char>* fork);
// An AppleDouble file holding fork, with every other entry of previous (which may be empty or
// not an AppleDouble file at all) kept.
std::vector<unsigned char> AppleDoubleWithFork(const std::vector<unsigned char>& previous,
                                               const std::vector<unsigned char>& fork);

// Whole-file reading with a size limit: noErr, fnfErr, memFullErr when larger than limit, ioErr.
OSErr ReadFile(const std::string& path, std::size_t limit, std::vector<unsigned char>* out);

}  // namespace vlres::fork
