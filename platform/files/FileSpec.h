// File specifications on a POSIX file system. A spec names a file by volume, folder id and leaf
// name (Mac Roman); folder ids map to real folders through a table that gives a folder an id the
// first time it is seen. The whole file system is one volume. Names on disk are UTF-8.
#pragma once

#include <string>

#include "MacTypes.h"

namespace vlfiles {

// The one volume reference number for the whole file system.
constexpr SInt16 kVolumeRef = -1;

// The POSIX path (UTF-8) a spec names; empty when the folder id is unknown.
std::string PathFromSpec(const FSSpec& spec);
// Fills *out for a path (the file need not exist; its folder must be nameable). The path is made
// absolute first. False when the leaf name does not fit a spec (empty, or longer than 63
// Mac Roman characters).
bool SpecFromPath(const std::string& path, FSSpec* out);

}  // namespace vlfiles
