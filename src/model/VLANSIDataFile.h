// The file object of a native document: a data file named by volume, folder and name, with the
// file's full native path so that the document can open it with the runtime library's streams,
// and the operations that let a save go through a temporary file beside the document. It holds
// no open stream: the document opens and closes the streams.
#pragma once

#include <string>

#include "CCollaborator.h"
#include "MacTypes.h"
#include "PString.h"

// A length-prefixed string of up to 255 characters with room for a zero byte after them.
using TerminatedStr255 = unsigned char[257];

class VLANSIDataFile : public CCollaborator {
  VL_REGISTERED_CLASS(VLANSIDataFile, CCollaborator)

 public:
  VLANSIDataFile() = default;

  // Names the file (the class library's specify operation); the path is made by MakePath.
  void SpecifyFSSpec(const FSSpec* spec);
  void GetFSSpec(FSSpec* spec) const { *spec = fileSpec; }
  void GetName(StringPtr name) const;
  // True when the file exists on the disk.
  Boolean ExistsOnDisk() const;

  // The Macintosh-style path of a folder: each folder's name and ":" from the root folder down
  // ("Root:home:ann:"). A file-system error, or a path longer than 255 characters, fails with
  // kDEErrorFileSystemError.
  virtual void GetFolderPath(SInt32 dirID, StringPtr path);
  // The same for the folder that holds the file.
  virtual void GetFilePath(StringPtr path);
  // Builds the native full path of the file into the path field; a name no file can have fails
  // with kDEErrorFileSystemError.
  virtual void MakePath();
  // Appends as much of the source as fits in 255 characters.
  virtual void AppendString(Str255& destination, ConstStringPtr source);
  // Copies the source with its length byte and puts a zero byte after its last character.
  virtual void CopyTerminated(TerminatedStr255& destination, ConstStringPtr source);
  // Where a save writes. When the file exists (*exists true) a new file object for a new file in
  // the same folder, named by a number, which the caller disposes; otherwise this object. The
  // target is created on the disk with type 'TEXT' and the creator, and its path made. A
  // file-system error fails with kDEErrorErrorWritingModelFile.
  virtual VLANSIDataFile* MakeSaveTarget(Boolean* exists, OSType creator);
  // Called on a finished temporary target: it takes the place of the file to replace in one
  // step, so that there is never a moment without that file, and this object names it from then
  // on. A failure leaves the file to replace as it was and fails with the file-system error and
  // the context kDEErrorErrorWritingModelFile.
  virtual void ReplaceFile(const FSSpec* toReplace);
  // Deletes the file from the disk; reports nothing.
  virtual void DeleteFile();

  // The native path made by MakePath (empty before).
  const std::string& GetPath() const { return path; }

 protected:
  FSSpec fileSpec;
  // A native path is not cut to 255 characters: a cut path would name another file.
  std::string path;
};
