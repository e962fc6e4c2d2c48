// FSSpec records on a POSIX file system. A spec names a file by volume, folder id and leaf
// name (Mac Roman); folder ids map to real folders through a table that gives a folder an id the
// first time it is seen. The whole file system is one volume. Names on disk are UTF-8; a '/' in
// a Mac name is a ':' on disk and the other way round, as neither system allows its own
// separator in a name.
#pragma once

#include <string>
#include <string_view>

#include "MacTypes.h"

// File-system errors beyond those of MacTypes.h.
enum : OSErr {
  nsvErr = -35,      // no such volume or folder reference
  fnOpnErr = -38,    // the file is not open
  tmfoErr = -42,     // too many files open
  posErr = -40,      // a position before the start of the file
  wPrErr = -44,      // the volume is read-only
  fLckdErr = -45,    // the file is locked
  fBsyErr = -47,     // the file is open, or a folder is not empty
  rfNumErr = -51,    // not a reference number of an open file
  permErr = -54,     // permission refused by the file system
  dirNFErr = -120,   // no such folder
  notAFileErr = -1302,
};

namespace vlfiles {

// The one volume reference number for the whole file system. 0 (the default volume) and -32768
// (the system's volume) name it too.
constexpr SInt16 kVolumeRef = -1;
constexpr SInt16 kOnSystemDisk = -32768;
// Folder id of the root folder "/", and the id its parent is given.
constexpr SInt32 kRootDirID = 2;
constexpr SInt32 kRootParID = 1;
// The root folder's name, the first part of a colon-separated full path.
inline constexpr const char* kVolumeName = "Root";

// The POSIX path (UTF-8) a spec names; empty when the volume or folder id is unknown or the name
// is empty, ".", "..", holds a ':' or a zero byte. A spec with folder kRootParID names "/".
std::string PathFromSpec(const FSSpec& spec);
// Fills *out for a path (the file need not exist). The path is made absolute first and "." and
// ".." are folded. False when the leaf name does not fit a spec: not representable in Mac Roman,
// or longer than 63 characters. "/" gives the root folder's spec.
bool SpecFromPath(const std::string& path, FSSpec* out);

// Leaf names both ways. NameToDisk returns false for a name no file can have (see PathFromSpec).
// NameFromDisk returns false when the name has no exact Mac Roman form or is over 63 characters.
bool NameToDisk(std::string_view macName, std::string* diskName);
bool NameFromDisk(std::string_view diskName, std::string* macName);

// The folder id of a folder path (given an id when first seen) and the path of a folder id
// (empty when unknown). Paths are absolute, without a trailing slash except for "/".
SInt32 FolderIdForPath(const std::string& folder);
std::string FolderPathForId(SInt32 dirID);
// A folder reference (a volume reference number standing for one folder), as file dialogs hand
// out in their replies; the same folder always gets the same number.
SInt16 FolderRef(SInt32 dirID);
// The folder that a volume reference and folder id name together: a non-zero dirID names its
// folder; dirID 0 names the folder of a folder reference, or the default folder for the volume
// itself. noErr, nsvErr or dirNFErr.
OSErr ResolveFolder(SInt16 vRefNum, SInt32 dirID, std::string* folder);
// Path of a leaf name inside the folder named by (vRefNum, dirID).
OSErr ResolvePath(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name, std::string* path);

// Colon-separated full paths ("Root:home:ann:plan.vl", folders ending in ':') both ways; empty
// when the path cannot be expressed.
std::string MacPathFromPath(const std::string& path);
std::string PathFromMacPath(std::string_view macPath);

// Path helpers: an absolute path with "." and ".." folded and no trailing slash (except "/");
// the folder part of a path ("." when it has none, "/" for a file at the root); the leaf part.
std::string NormalizedPath(const std::string& path);
std::string ParentFolder(const std::string& path);
std::string LeafName(const std::string& path);

// The toolbox error for a C library errno value.
OSErr ErrFromErrno(int err);

// Forgets every folder id, folder reference and the default folder. For tests.
void ResetFolderTable();

}  // namespace vlfiles

// The default folder: where (volume, folder 0) points. It starts as the current directory.
// Setting a folder reference makes its folder the default; the plain volume changes nothing.
// PortGetVol gives the default as a folder reference, and the volume name when name is not null.
OSErr PortSetVol(ConstStringPtr name, SInt16 vRefNum);
OSErr PortGetVol(StringPtr name, SInt16* vRefNum);

// The native path of a file named by volume or folder reference, folder id and name, as a
// zero-terminated string in a buffer of pathSize bytes. bdNamErr for a name no file can have,
// and also when the path does not fit: a cut path would name another file.
OSErr PortMakeFileSpec(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name, char* path, long pathSize);
// The native path of a file dialog's answer (its volume or folder reference and name).
OSErr PortFullPathName(SInt16 vRefNum, ConstStringPtr name, char* path, long pathSize);
// The FSSpec of a native path. On failure its name is empty (bdNamErr).
OSErr PortPathToFileSpec(const char* path, FSSpec* spec);
