// Files named by specs: create, delete and rename with type and creator, the data of a file
// through reference numbers, the catalog of a folder and what is known of an open file.
//
// A file's resources live in its AppleDouble sidecar "._name" beside it; deleting or renaming
// the file takes the sidecar along. Names that start with a dot are not listed in a folder.
#pragma once

#include "FilePaths.h"

// Finder information of a file.
struct FInfo {
  OSType fdType = 0;
  OSType fdCreator = 0;
  UInt16 fdFlags = 0;
};

// Permissions for opening a file's data.
enum : SInt8 { fsCurPerm = 0, fsRdPerm = 1, fsWrPerm = 2, fsRdWrPerm = 3, fsRdWrShPerm = 4 };
// Position modes.
enum : SInt16 { fsAtMark = 0, fsFromStart = 1, fsFromLEOF = 2, fsFromMark = 3 };

// Creates an empty file with type and creator; dupFNErr when one exists by that name.
OSErr PortFSpCreate(const FSSpec* spec, OSType creator, OSType fileType, SInt16 scriptTag = 0);
// Deletes a file (with its sidecar) or an empty folder. fBsyErr while the file is open here or
// the folder is not empty.
OSErr PortFSpDelete(const FSSpec* spec);
OSErr PortHDelete(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name);
// Renames a file or folder in its folder; dupFNErr when the new name is taken.
OSErr PortFSpRename(const FSSpec* spec, ConstStringPtr newName);
OSErr PortFSpGetFInfo(const FSSpec* spec, FInfo* info);
OSErr PortFSpSetFInfo(const FSSpec* spec, const FInfo* info);

// Opens a file's data. fsCurPerm and the shared permission open for reading and writing when the
// file allows it, else for reading. Opening for writing a file already open for writing here
// gives opWrErr and the reference number already open.
OSErr PortFSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum);
// Reads up to *count bytes; *count becomes the number read, eofErr when fewer were there.
OSErr PortFSRead(SInt16 refNum, long* count, void* buffer);
OSErr PortFSWrite(SInt16 refNum, long* count, const void* buffer);
OSErr PortFSClose(SInt16 refNum);
OSErr PortGetEOF(SInt16 refNum, long* logicalEOF);
OSErr PortSetEOF(SInt16 refNum, long logicalEOF);
OSErr PortGetFPos(SInt16 refNum, long* position);
// eofErr for a position past the end (the mark goes to the end), posErr before the start.
OSErr PortSetFPos(SInt16 refNum, SInt16 posMode, long offset);

// Catalog information of one entry of a folder.
constexpr UInt8 kFolderAttribute = 0x10;
struct CatalogInfo {
  // In.
  StringPtr name = nullptr;  // in when index is 0; the entry's name comes back here (64 bytes)
  SInt16 vRefNum = 0;        // volume or folder reference
  SInt32 dirID = 0;          // the folder to look in
  SInt16 index = 0;          // > 0: that entry of the folder in name order; 0: by name; < 0: the folder itself
  // Out.
  UInt8 attributes = 0;      // kFolderAttribute for a folder
  SInt32 entryDirID = 0;     // a folder's own id; 0 for a file
  SInt32 parID = 0;          // the folder holding the entry
  OSType fileType = 0;
  OSType creator = 0;
  long dataLength = 0;
  UInt32 modDate = 0;
};
// fnfErr when the entry (or the index-th entry) does not exist. Entries are ordered by name,
// ignoring ASCII case; hidden names and names without a Mac form are left out.
OSErr PortFileParamCall(CatalogInfo* info, Boolean async);

// What is known of an open file: its volume, the folder holding it and its name (when name is not
// null). index must be 0. The program's own file answers for vlfiles::ApplicationFileRef().
OSErr PortFileOp806(SInt16 refNum, SInt16 index, SInt16* vRefNum, SInt32* parID, StringPtr name = nullptr);

namespace vlfiles {
// The reference number that stands for the program's own file (ProgramPath()).
SInt16 ApplicationFileRef();
// Lets another number stand for the program's file too (the one the application holds).
void SetApplicationFileRef(SInt16 refNum);
// The AppleDouble sidecar path of a file.
std::string SidecarPath(const std::string& path);
// Closes every open file. For tests.
void CloseAllFiles();
}  // namespace vlfiles
