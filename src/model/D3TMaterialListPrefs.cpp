// The material preference file "VL Material Prefs" in the "Textures" folder, and the default set
// of text resource 255 that stands in for it when it is not there.
#include <memory>
#include <sstream>
#include <string>

#include "Alerts.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "DateTime.h"
#include "Events.h"
#include "FileOps.h"
#include "FilePaths.h"
#include "Folders.h"
#include "MaterialTextSource.h"
#include "Resources.h"
#include "SafeReplace.h"
#include "TextLines.h"
#include "Unwinding.h"

namespace {

constexpr const char* kPrefFileName = "VL Material Prefs";
constexpr OSType kPrefFileCreator = FourCC("R*ch");
constexpr OSType kTextType = FourCC("TEXT");
constexpr std::int32_t kWriteContext = kDEErrorErrorWritingMaterialPrefFile;

using MaterialOwner = std::unique_ptr<D3TMaterial>;

// Comment lines at the top of a text: each is kept, to 255 characters, with its line end.
std::string ReadHeader(vlmaterial::TextSource& source) {
  std::string header;
  for (;;) {
    if (source.Peek() == EOF || !vlmaterial::AtComment(source)) return header;
    std::string line = vlmaterial::ReadKeptLine(source);
    if (line.empty() || line.back() != '\n') {
      // A kept line always ends its line, so that what follows it when written stays apart.
      if (line.size() >= vlmaterial::kMaxTokenLength) line.pop_back();
      line.push_back('\n');
    }
    header += line;
  }
}

void ShowLineAlert(SInt16 alert, SInt32 line) {
  Str255 number;
  PortNumToString(line, number);
  PortSetAlertTexts(number, nullptr, nullptr, nullptr);
  PortAlert(alert);
}

// The program's version as the header line shows it: a number and the short version text.
void ProgramVersion(double* number, std::string* text) {
  *number = 0.0;
  text->clear();
  vlres::VersionRecord version;
  Handle resource = PortLoadResource(FourCC("vers"), 1);
  if (!resource || !vlres::ParseVersion(resource, &version)) return;
  *number = version.major + version.minor * 0.1 + version.bugFix * 0.01;
  *text = version.shortVersion;
}

void WriteHeaderLines(std::FILE* file) {
  double version = 0.0;
  std::string versionText;
  ProgramVersion(&version, &versionText);
  DateTimeRec now;
  PortGetTime(&now);
  vltext::CheckPrint(std::fprintf(file, "# Velmora Material Preference File\n"), kWriteContext);
  vltext::CheckPrint(std::fprintf(file, "# Version %1.1f (%s)\n", version, versionText.c_str()), kWriteContext);
  vltext::CheckPrint(
      std::fprintf(file, "# Created at %d/%d/%d, %d:%d\n", now.year - 1900, now.month, now.day, now.hour, now.minute),
      kWriteContext);
}

}  // namespace

void D3TMaterialList::ReadPrefs() {
  // The document is made whatever becomes of the file: a folder or file that cannot be made,
  // read or written is reported, and the document goes on with the default set and writes
  // nothing. The user's own file is never written over here.
  try {
    OpenPrefFile();
  } catch (DETException& e) {
    if (e.GetCode() != kDEErrorTextureFolderNotFound) throw;
    e.ShowAlert();
    LoadDefaultMaterials();
    return;
  }
  if (prefFile.ExistsOnDisk()) {
    try {
      ReadPrefFile();
    } catch (DETException& e) {
      if (e.GetCode() != kDEErrorErrorReadingMaterialPrefFile) throw;
      e.ShowAlert();
      LoadDefaultMaterials();
    }
    ScanTexturesFolder();
    return;
  }
  LoadDefaultMaterials();
  ScanTexturesFolder();
  try {
    WritePrefFile();
  } catch (DETException& e) {
    if (e.GetCode() != kDEErrorErrorWritingMaterialPrefFile) throw;
    e.ShowAlert();
  }
}

void D3TMaterialList::OpenPrefFile() {
  const std::string config = vlfiles::ConfigDir(true);
  const std::string folder = config.empty() ? std::string() : config + "/Textures";
  texturesFolderDate = GetTexturesFolderDate();
  if (texturesFolderDate == 0 && (folder.empty() || !vlfiles::MakeFolders(folder)))
    ThrowError(kDEErrorTextureFolderNotFound, Str255("D3TMaterialList::D3TMaterialList()"));
  texturesFolder = vlfiles::FolderIdForPath(folder);
  FSSpec spec;
  spec.vRefNum = vlfiles::kVolumeRef;
  spec.parID = texturesFolder;
  PStrFromStd(kPrefFileName, spec.name, 63);
  prefFile.SpecifyFSSpec(&spec);
  prefFile.MakePath();
}

void D3TMaterialList::ReadPrefFile() {
  prefFile.Open(D3TMaterialPrefFile::kRead);
  // The file is closed however the reading ends, the exit to the shell included.
  const std::unique_ptr<D3TMaterialPrefFile, void (*)(D3TMaterialPrefFile*)> closing(
      &prefFile, [](D3TMaterialPrefFile* file) { file->Close(); });
  SInt32 line = 1;
  CatchFailures(
      [&] {
        std::FILE* file = prefFile.GetStream();
        ReadHeaderFile(file, &line);
        for (;;) {
          MaterialOwner material(new D3TMaterial(this));
          if (material->Read(file, &line) < 0) break;
          AddOrReplace(material.release(), true);
        }
        if (std::ferror(file)) ThrowIfOSErr(ioErr, kDEErrorErrorReadingMaterialPrefFile);
      },
      [&](std::exception_ptr) {
        // The materials read so far stay.
        prefFile.Close();
        ShowLineAlert(kPrefFileDamagedAlert, line);
      });
  prefFile.Close();
  NoteTexturesFolderDate();
}

void D3TMaterialList::LoadDefaultMaterials() {
  std::string text;
  const OSErr err = vlmaterial::LoadApplicationText(SInt16(defaultSetResource), &text);
  if (err == resNotFound) return;
  ThrowIfOSErr(err, kDEErrorReadingApplicationResource);
  std::istringstream in(text);
  SInt32 line = 1;
  CatchFailures(
      [&] {
        ReadHeaderStream(in, &line);
        while (!in.fail()) {
          MaterialOwner material(new D3TMaterial(this));
          material->ReadTabRecord(in, &line);
          if (in.fail()) break;
          AddOrReplace(material.release(), true);
        }
      },
      [&](std::exception_ptr) { ShowLineAlert(kDefaultSetDamagedAlert, line); });
}

void D3TMaterialList::WritePrefFile() {
  try {
    if (prefFile.GetPath().empty()) OpenPrefFile();
    const OSErr err = vlfiles::ReplaceFile(prefFile.GetPath(), [this](std::FILE* file) -> OSErr {
      WriteHeaderLines(file);
      if (!headerText.empty() && std::fwrite(headerText.data(), 1, headerText.size(), file) != headerText.size())
        return ioErr;
      for (long i = 1; i <= materials->GetNumItems(); ++i) materials->MaterialAt(i)->WritePrefLine(file);
      return noErr;
    });
    ThrowIfOSErr(err, kWriteContext);
  } catch (const CException& e) {
    NoteTexturesFolderDate();
    RethrowAsDETException(e, kWriteContext);
  }
  // A file system that keeps no type and creator still has the file.
  FSSpec spec;
  prefFile.GetFSSpec(&spec);
  FInfo info;
  info.fdType = kTextType;
  info.fdCreator = kPrefFileCreator;
  PortFSpSetFInfo(&spec, &info);
  NoteTexturesFolderDate();
}

void D3TMaterialList::ReadHeaderFile(std::FILE* file, SInt32* lineNumber) {
  vlmaterial::FileSource source(file, *lineNumber);
  headerText = ReadHeader(source);
  *lineNumber = source.Line();
}

void D3TMaterialList::ReadHeaderStream(std::istream& in, SInt32* lineNumber) {
  vlmaterial::StreamSource source(in, *lineNumber);
  headerText = ReadHeader(source);
  *lineNumber = source.Line();
}
