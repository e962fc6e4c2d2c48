#include "VLANSIDataFile.h"

#include <new>
#include <string>

#include "DETException.h"
#include "FileOps.h"
#include "FilePaths.h"
#include "Folders.h"
#include "SafeReplace.h"
#include "Unwinding.h"

namespace {

constexpr OSType kTextType = FourCC("TEXT");

}  // namespace

void VLANSIDataFile::SpecifyFSSpec(const FSSpec* spec) {
  fileSpec = spec ? *spec : FSSpec();
  path.clear();
}

void VLANSIDataFile::GetName(StringPtr name) const { PStrCopy(name, fileSpec.name, 255); }

Boolean VLANSIDataFile::ExistsOnDisk() const {
  FInfo info;
  return PortFSpGetFInfo(&fileSpec, &info) == noErr;
}

void VLANSIDataFile::GetFolderPath(SInt32 dirID, StringPtr result) {
  std::string text;
  // Each level adds at least two characters, so a path of more levels cannot fit anyway.
  for (int level = 0; level <= 128; ++level) {
    Str63 name;
    CatalogInfo info;
    info.name = name;
    info.vRefNum = vlfiles::kVolumeRef;
    info.dirID = dirID;
    info.index = -1;
    ThrowIfOSErr(PortFileParamCall(&info, false), kDEErrorFileSystemError);
    text.insert(0, PStrToStd(name) + ":");
    if (text.size() > 255) ThrowIfOSErr(bdNamErr, kDEErrorFileSystemError);
    if (dirID == vlfiles::kRootDirID) {
      PStrFromStd(text, result, 255);
      return;
    }
    dirID = info.parID;
  }
  ThrowIfOSErr(bdNamErr, kDEErrorFileSystemError);
}

void VLANSIDataFile::GetFilePath(StringPtr result) {
  SInt32 folder = fileSpec.parID;
  if (folder == 0) {
    std::string folderPath;
    ThrowIfOSErr(vlfiles::ResolveFolder(fileSpec.vRefNum, 0, &folderPath), kDEErrorFileSystemError);
    folder = vlfiles::FolderIdForPath(folderPath);
  }
  GetFolderPath(folder, result);
}

void VLANSIDataFile::MakePath() {
  std::string full;
  ThrowIfOSErr(vlfiles::ResolvePath(fileSpec.vRefNum, fileSpec.parID, fileSpec.name, &full), kDEErrorFileSystemError);
  path = full;
}

void VLANSIDataFile::AppendString(Str255& destination, ConstStringPtr source) { PStrConcat(destination, source, 255); }

void VLANSIDataFile::CopyTerminated(TerminatedStr255& destination, ConstStringPtr source) {
  const int length = source ? source[0] : 0;
  destination[0] = static_cast<unsigned char>(length);
  for (int i = 1; i <= length; ++i) destination[i] = source[i];
  destination[length + 1] = 0;
}

VLANSIDataFile* VLANSIDataFile::MakeSaveTarget(Boolean* exists, OSType creator) {
  const Boolean existing = ExistsOnDisk();
  if (exists) *exists = existing;
  VLANSIDataFile* target = this;
  Owned<VLANSIDataFile> temporaryFile;  // the one made here, until it is handed back
  if (existing) {
    FSSpec temporary = fileSpec;
    const std::string digits = std::to_string(vlfiles::TemporaryNumber(fileSpec.vRefNum, fileSpec.parID));
    PStrFromStd(digits, temporary.name, 63);
    temporaryFile.reset(new (std::nothrow) VLANSIDataFile);
    if (!temporaryFile) ThrowIfOSErr(memFullErr, kDEErrorErrorWritingModelFile);
    target = temporaryFile.get();
    target->fileSpec = temporary;
  }
  ThrowIfOSErr(PortFSpCreate(&target->fileSpec, creator, kTextType), kDEErrorErrorWritingModelFile);
  target->MakePath();
  temporaryFile.release();
  return target;
}

void VLANSIDataFile::ReplaceFile(const FSSpec* toReplace) {
  ThrowIfNil(toReplace);
  std::string targetPath;
  ThrowIfOSErr(vlfiles::ResolvePath(toReplace->vRefNum, toReplace->parID, toReplace->name, &targetPath),
               kDEErrorErrorWritingModelFile);
  if (path.empty()) MakePath();
  ThrowIfOSErr(vlfiles::ReplaceWith(targetPath, path), kDEErrorErrorWritingModelFile);
  FSSpec replaced = fileSpec;
  PStrCopy(replaced.name, toReplace->name, 63);
  replaced.vRefNum = toReplace->vRefNum;
  replaced.parID = toReplace->parID;
  SpecifyFSSpec(&replaced);
  MakePath();
}

void VLANSIDataFile::DeleteFile() { PortFSpDelete(&fileSpec); }
