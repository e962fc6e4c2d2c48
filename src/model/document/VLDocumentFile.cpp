// The text of the native model file: the header (version, path comment, settings, site,
// colours, phases, materials), the saved-view records and the reader's keyword loop. The object
// records are the objects' own (VLObjectRecords.cpp); saving and opening are VLDocumentSave.cpp.
#include <cmath>
#include <memory>
#include <new>
#include <string>

#include "Alerts.h"
#include "CGroup.h"
#include "Cursors.h"
#include "CPolyhedron.h"
#include "CPreferences.h"
#include "CProgressDialog.h"
#include "DETException.h"
#include "Resources.h"
#include "TextLines.h"
#include "UnitBase.h"
#include "Unwinding.h"
#include "VLCube.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"

namespace {

// ---- Codes of the keyword table ----

enum : SInt32 {
  kComment = 0,
  kLastSetting = 20,
  kLatitude = 21,
  kGroundPlaneVisible = 22,
  kGroundColor = 23,
  kSkyColor = 24,
  kObjectColor = 25,
  kNumPhases = 26,
  kPhase = 27,
  kCurrPhase = 28,
  kNumMaterials = 29,
  kMaterial = 30,
  kNumViews = 31,
  kView = 32,
  kNumObjects = 33,
  kCube = 34,
  kPolyline = 35,
  kExtrusion = 36,
  kPolyhedron = 37,
  kGroup = 38,
};

constexpr const char* kViewTypeNames[] = {"Perspective",    "Plan",          "NorthElevation", "SouthElevation",
                                          "EastElevation", "WestElevation", "Axonometric"};
constexpr SInt16 kViewTypes = 7;
constexpr double kViewZero = 0.000001;
const Str255 kWhere("VLDocument::Read");
const Str255 kWriteWhere("VLDocument::WriteHeader");

void Print(int result, std::int32_t context = kDEErrorErrorWritingFile) { vltext::CheckPrint(result, context); }

void GiveBack(std::istream& in, std::streampos at) {
  in.clear();
  in.seekg(at);
}

// A point of a view, in file units.
void WriteViewPoint(std::FILE* file, const char* key, const Vector3d& p, double factor) {
  double c[3] = {p.x, p.y, p.z};
  for (double& v : c) v = std::fabs(v) < kViewZero ? 0.0 : v * factor;
  Print(std::fprintf(file, "%s %g %g %g\n", key, c[0], c[1], c[2]), kDEErrorErrorWritingMaterialPrefFile);
}

bool ReadPoint(std::istream& in, Vector3d* p) {
  return vltext::ReadDouble(in, &p->x) && vltext::ReadDouble(in, &p->y) && vltext::ReadDouble(in, &p->z);
}

bool ReadColour(std::istream& in, RGBColor* colour) {
  long c[3];
  for (long& v : c)
    if (!vltext::ReadInteger(in, 0, 65535, &v)) return false;
  *colour = RGBColor{UInt16(c[0]), UInt16(c[1]), UInt16(c[2])};
  return true;
}

}  // namespace

// ---- The keyword table ----

const std::map<std::string, SInt32>& VLDocument::KeywordTable() {
  static const std::map<std::string, SInt32> table = {
      {"//", 0},
      {"LengthUnits:", 1},
      {"AngleUnits:", 2},
      {"SnapToHandleDistance:", 3},
      {"ViewRotateFactor:", 4},
      {"ViewMoveFactor:", 5},
      {"RotationConstraint:", 6},
      {"RotationPrecision:", 7},
      {"BackgroundGridSizeAndSpacing:", 8},
      {"SnapGridSpacing:", 9},
      {"WallifyThickness:", 10},
      {"SectionPoint:", 11},
      {"CircleFaceting:", 12},
      {"PerspLinkedWithAxon:", 13},
      {"GroupWithoutPrompting:", 14},
      {"SunStudyWidthAndHeight:", 15},
      {"SunStudyFrameCount:", 16},
      {"SunStudyQuickTime:", 17},
      {"SunStudyPICT:", 18},
      {"SunStudyStartTime:", 19},
      {"SunStudyEndTime:", 20},
      {"Latitude:", 21},
      {"GroundPlaneVisible:", 22},
      {"GroundColor:", 23},
      {"SkyColor:", 24},
      {"ObjectColor:", 25},
      {"numPhases:", 26},
      {"Phase:", 27},
      {"CurrPhase:", 28},
      {"numMaterials:", 29},
      {"Material:", 30},
      {"numViews:", 31},
      {"View:", 32},
      {"numObjects:", 33},
      {"Cube:", 34},
      {"Polyline:", 35},
      {"Extrusion:", 36},
      {"Polyhedron:", 37},
      {"Group:", 38},
  };
  return table;
}

// ---- Writing ----

void VLDocument::WriteText(std::FILE* file, const char* path) {
  // The file is in this document's units, also when another document is the active one (a quit
  // saves every document): they are in force while it is written, and the others' after.
  const Format lengthFormat = gLengthFormat, angleFormat = gAngleFormat;
  const UnitBase lengthUnit = gLengthEntryUnit, angleUnit = gAngleEntryUnit;
  struct Restore {
    const Format& length;
    const Format& angle;
    const UnitBase& lengthEntry;
    const UnitBase& angleEntry;
    ~Restore() {
      gLengthFormat = length;
      gAngleFormat = angle;
      gLengthEntryUnit = lengthEntry;
      gAngleEntryUnit = angleEntry;
    }
  } restore{lengthFormat, angleFormat, lengthUnit, angleUnit};
  PublishUnits();
  double factor = 1.0;
  try {
    factor = gFeet.Ratio(gLengthEntryUnit);
  } catch (UnitBase::Error) {
    ThrowError(kDEErrorErrorWritingFile, kWriteWhere);
  }
  WriteHeader(file, path, factor);
  for (long i = 2; i <= itsSavedViews->GetNumItems(); ++i)
    WriteSavedView(file, static_cast<CCollaborator*>(itsSavedViews->PointerAt(i)), factor);
  VLArray* objects = GetObjectList();
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i))) object->WriteText(file, factor);
  ThrowIfFileError(file, kDEErrorErrorWritingModelFile);
}

void VLDocument::WriteHeader(std::FILE* file, const char* path, double writeFactor) {
  SInt32 count = 0;
  VLArray* objects = GetObjectList();
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i))) count += object->CountObjects();
  Print(std::fprintf(file, "%d\n", int(kFileVersion)));
  Print(std::fprintf(file, "//\t%s\n", path));
  Print(std::fprintf(file, "//\tNumber of Objects: %d\n", int(count)));
  itsPreferences->WriteHeaderLines(file, this, writeFactor);

  double latitudeText = 0.0;
  try {
    latitudeText = latitude * gDegrees.Ratio(gAngleEntryUnit);
  } catch (UnitBase::Error) {
    ThrowError(kDEErrorErrorWritingFile, kWriteWhere);
  }
  Print(std::fprintf(file, "\nLatitude: %g\n", latitudeText));
  Print(std::fprintf(file, "GroundPlaneVisible: %d\n", groundPlaneVisible));
  RGBColor ground, sky;
  itsViews->GetGroundAndSky(&ground, &sky);
  for (const auto& [key, c] : {std::pair{"GroundColor:", ground}, {"SkyColor:", sky}, {"ObjectColor:", gDefaultObjectColor}})
    Print(std::fprintf(file, "%s %u  %u  %u\n", key, unsigned(c.red), unsigned(c.green), unsigned(c.blue)));
  ThrowIfFileError(file, kDEErrorErrorWritingFile);

  Print(std::fprintf(file, "\nnumPhases: %ld\n", itsPhases->GetNumItems()));
  for (long i = 1; i <= itsPhases->GetNumItems(); ++i) {
    const std::int32_t key = itsPhases->KeyAt(i);
    if (key == 0) break;
    PhaseRecord record;
    itsPhases->GetItemByKey(&record, key);
    Print(std::fprintf(file, "Phase: %s\n", PStrToStd(record.name).c_str()));
    Print(std::fprintf(file, "%ld  %d  %d\n", long(key), record.visible, record.selectable));
  }
  Print(std::fprintf(file, "CurrPhase: %d\n", currentPhase));
  ThrowIfFileError(file, kDEErrorErrorWritingFile);
  GetMaterialList()->WriteMaterials(file);
}

void VLDocument::WriteSavedView(std::FILE* file, CCollaborator* view, double writeFactor) {
  if (!view) return;
  SavedViewRecord record;
  itsViews->GetViewRecord(view, &record);
  // A line end in the name would end its line early and spoil the record.
  std::string viewName = PStrToStd(record.name);
  for (char& c : viewName)
    if (c == '\r' || c == '\n') c = ' ';
  constexpr std::int32_t kContext = kDEErrorErrorWritingMaterialPrefFile;
  Print(std::fprintf(file, "\nView: %s\n", viewName.c_str()), kContext);
  Print(std::fprintf(file, "%hd\n", record.number), kContext);
  const char* type = record.type >= 0 && record.type < kViewTypes ? kViewTypeNames[record.type] : "";
  Print(std::fprintf(file, "ViewType: %s\n", type), kContext);
  WriteViewPoint(file, "EyePoint:", record.eye, writeFactor);
  WriteViewPoint(file, "LookPoint:", record.look, writeFactor);
  Print(std::fprintf(file, "ScriptView: %d\n", record.script ? 1 : 0), kContext);
  ThrowIfFileError(file, kContext);
}

// ---- Reading ----

double VLDocument::ReadFactor() const { return itsPreferences->GetLengthUnit().Ratio(gFeet); }

void VLDocument::Read(std::istream& in) {
  in.seekg(0, std::ios::end);
  const double size = double(in.tellg());
  const double step = size > 0 ? 0.9 / size : 0.0;
  in.seekg(0);

  // The line delimiter: a bare CR ends the first line of a Macintosh file.
  char head[256];
  in.read(head, sizeof head);
  const std::streamsize got = in.gcount();
  lineDelimiter = 10;
  for (std::streamsize i = 0; i < got; ++i) {
    if (head[i] == '\n') break;
    if (head[i] == '\r') {
      if (i + 1 >= got || head[i + 1] != '\n') lineDelimiter = 13;
      break;
    }
  }
  in.clear();
  in.seekg(0);

  fileVersion = 0;
  if (in.peek() != '/') {
    long version = 0;
    if (vltext::ReadInteger(in, -2147483647L, 2147483647L, &version)) fileVersion = SInt32(version);
  }
  in >> std::ws;
  std::string rest;
  if (!(in.good() && in.get() == '/' && in.good() && in.get() == '/' && in.good() &&
        vltext::ReadRestOfLine(in, char(lineDelimiter), &rest, vltext::LongLine::kCut)))
    ThrowError(kDEErrorNotAValidVelmoraFile, kWhere);

  if (fileVersion < kFileVersion) {
    PortSetArrowCursor();
    Str255 fileName;
    GetName(fileName);
    PortSetAlertTexts(fileName, nullptr, nullptr, nullptr);
    if (PortAlertVariant(kOlderFileAlert) != 1) ThrowError(kDEErrorSilent, kWhere);
  } else if (fileVersion > kFileVersion) {
    ThrowError(kErrorNewerFile, kWhere);
  }

  // Lengths the file gives before (or without) its units lines are in the document's units.
  PublishUnits();
  const auto& table = KeywordTable();
  int shownPercent = -1;
  while (!in.fail() && !in.eof()) {
    // The bar moves by whole percents: drawing it for every record would cost more than reading.
    const std::streampos here = vltext::Tell(in);
    const int percent = int(100.0 * double(here) * step);
    if (gProgressDialog && percent != shownPercent) {
      shownPercent = percent;
      if (!gProgressDialog->Update(double(here) * step)) ThrowError(kDEErrorSilent, kWhere);
    }
    const std::string word = vltext::ReadWord(in);
    if (word.empty()) break;
    // Two slashes begin a comment, whatever follows them on the line.
    const auto found = word.starts_with("//") ? table.find("//") : table.find(word);
    if (found == table.end()) {
      GiveBack(in, here);
      in >> std::ws;
      vltext::FailAt(in, in.tellg(), "the keyword is not one the file knows");
      break;
    }
    ReadRecord(in, found->second);
  }
}

void VLDocument::ReadRecord(std::istream& in, SInt32 code) {
  const char delimiter = char(lineDelimiter);
  std::string text;
  long value = 0;
  switch (code) {
    case kComment:
      vltext::ReadRestOfLine(in, delimiter, &text, vltext::LongLine::kCut);
      if (in.fail() && in.eof()) in.clear(std::ios::eofbit);
      break;
    case kLatitude: {
      double degrees = 0.0;
      if (CPreferences::ReadMeasurementLine(in, delimiter, true, itsPreferences->GetAngleFormat().units[0], &degrees))
        latitude = degrees;
      break;
    }
    case kGroundPlaneVisible:
      if (vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &value)) {
        groundPlaneVisible = UInt8(value & 0xFF);
        itsViews->SetGroundVisible(groundPlaneVisible);
      }
      break;
    case kGroundColor:
    case kSkyColor: {
      RGBColor colour;
      if (!ReadColour(in, &colour)) break;
      if (code == kGroundColor)
        itsViews->SetGroundColor(colour);
      else
        itsViews->SetSkyColor(colour);
      break;
    }
    case kObjectColor:
      ReadColour(in, &gDefaultObjectColor);
      break;
    case kNumPhases:
    case kNumMaterials:
    case kNumViews:
    case kNumObjects:
      vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &value);
      break;
    case kPhase:
      ReadPhase(in);
      break;
    case kCurrPhase: {
      SInt16 phase = 0;
      if (vltext::ReadShort(in, &phase)) currentPhase = phase;
      break;
    }
    case kMaterial:
      ReadMaterial(in);
      break;
    case kView:
      ReadSavedView(in);
      break;
    case kCube:
    case kPolyline:
    case kExtrusion:
    case kPolyhedron:
      ReadObject(in, code);
      break;
    case kGroup:
      ReadGroup(in);
      break;
    default:
      if (code >= 1 && code <= kLastSetting) itsPreferences->ReadHeaderLines(in, code, delimiter, this);
      break;
  }
}

void VLDocument::ReadPhase(std::istream& in) {
  std::string phaseName;
  vltext::SkipBlanks(in);
  if (!vltext::ReadRestOfLine(in, char(lineDelimiter), &phaseName, vltext::LongLine::kCut)) return;
  Str255 nameText(phaseName);
  if (phaseName == "Untitled") PortGetListString(nameText, kPhaseStrings, phaseCounter);
  long key = 0;
  const std::streampos at = in.tellg();
  // Phase numbers are 16-bit and positive; a number the cluster has already is refused.
  if (fileVersion >= 1 && !vltext::ReadInteger(in, 1, 32767, &key)) return;
  long first = 0, second = 0;
  if (!vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &first) || !vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &second))
    return;
  if (fileVersion < 1) key = itsPhases->NewKey();
  if (key < 1 || key > 32767 || itsPhases->IndexOfKey(std::int32_t(key)) != 0) {
    vltext::FailAt(in, at, "a phase number is out of range or given twice");
    return;
  }
  PhaseRecord record;
  record.visible = UInt8(first);
  record.selectable = UInt8(second);
  PStrCopy(record.name, nameText, 255);
  itsPhases->Append(&record, std::int32_t(key));
  ++phaseCounter;
}

void VLDocument::ReadMaterial(std::istream& in) {
  D3TMaterialList* materials = GetMaterialList();
  auto* made = new (std::nothrow) D3TMaterial(materials, D3TMaterial::kProperties, Str255(""));
  if (!made) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  std::unique_ptr<D3TMaterial> material(made);
  SInt32 id = 0;
  const std::streampos at = in.tellg();
  material->ReadText(in, &id, char(lineDelimiter));
  if (!in.good() && !(in.eof() && !in.fail())) return;
  if (id <= 0) return;
  // Objects name their material by id: two materials of one id would make that ambiguous.
  D3TMaterial* existing = nullptr;
  if (materials->GetMaterial(id, &existing)) {
    vltext::FailAt(in, at, "a material id is given twice");
    return;
  }
  materials->AddMaterial(id, material.release());
}

void VLDocument::ReadSavedView(std::istream& in) {
  const char delimiter = char(lineDelimiter);
  SavedViewRecord record;
  // An empty name line is an empty name: the record goes on with the view's number.
  std::string viewName;
  if (!vltext::ReadRestOfLine(in, delimiter, &viewName, vltext::LongLine::kCut)) return;
  record.name = Str255(viewName);
  if (!vltext::ReadShort(in, &record.number)) return;
  bool eye = false, look = false;
  while (in.good()) {
    const std::streampos at = in.tellg();
    const std::string key = vltext::ReadWord(in);
    if (key == "ViewType:") {
      const std::streampos typeAt = in.tellg();
      const std::string type = vltext::ReadWord(in);
      SInt16 found = -1;
      for (SInt16 t = 0; t < kViewTypes; ++t)
        if (type == kViewTypeNames[t]) found = t;
      if (found < 0) {
        vltext::FailAt(in, typeAt, "a saved view's type is not one the file knows");
        return;
      }
      record.type = found;
    } else if (key == "EyePoint:") {
      eye = ReadPoint(in, &record.eye);
    } else if (key == "LookPoint:") {
      look = ReadPoint(in, &record.look);
    } else if (key == "ScriptView:") {
      long flag = 0;
      if (vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &flag)) record.script = UInt8(flag & 0xFF);
    } else {
      if (!key.empty()) GiveBack(in, at);
      break;
    }
  }
  if (in.fail()) return;
  const double factor = ReadFactor();
  record.hasPoints = eye && look;
  for (Vector3d* p : {&record.eye, &record.look}) *p = Vector3d{p->x * factor, p->y * factor, p->z * factor};
  const long position = itsSavedViews->GetNumItems() + 1;
  if (position > kMaxViews) return;
  Owned<CCollaborator> view(itsViews->MakeView(record, SInt16(position)));
  if (!view.get()) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  if (record.number >= viewNumberCounter && record.number < 32767) viewNumberCounter = SInt16(record.number + 1);
  itsSavedViews->AppendPointer(view.get());
  CCollaborator* kept = view.release();
  if (record.script) {
    Owned<CCollaborator> copy(itsViews->CopyView(kept));
    if (!copy.get()) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    itsWalkthroughViews->AppendPointer(copy.get());
    copy.release();
  }
}

void VLDocument::ReadObject(std::istream& in, SInt32 code) {
  Owned<VLUser3DObject> made;
  if (code == kCube) {
    auto* cube = new (std::nothrow) VLCube;
    made.reset(cube);
    if (cube && !cube->InitStorage()) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  } else if (code == kPolyhedron) {
    auto* polyhedron = new (std::nothrow) CPolyhedron;
    made.reset(polyhedron);
    if (polyhedron) polyhedron->InitStorage();
  } else {
    auto* polyline = new (std::nothrow) VLPolyline;
    made.reset(polyline);
    if (polyline) polyline->InitStorage();
  }
  if (!made.get()) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  VLArray* objects = GetObjectList();
  VLUser3DObject* object = made.get();
  objects->AppendPointer(object);
  made.release();  // the list holds it now
  gObjectCount = SInt32(objects->GetNumItems());
  object->typeCode = code == kCube        ? kObjectTypeBlock
                     : code == kPolyline  ? kObjectTypePolyline
                     : code == kExtrusion ? kObjectTypeExtrusion
                                          : kObjectTypePolyhedron;
  object->ReadText(in, ReadFactor(), char(lineDelimiter));
}

void VLDocument::ReadGroup(std::istream& in) {
  const std::streampos at = in.tellg();
  long count = 0;
  if (vltext::ReadWord(in) != "Previous" || !vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &count) ||
      vltext::ReadWord(in) != "objects") {
    vltext::FailAt(in, at, "a group record is not \"Previous N objects\"");
    return;
  }
  auto* made = new (std::nothrow) CGroup;
  if (!made) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  Owned<CGroup> group(made);
  group->IGroup();
  VLArray* objects = GetObjectList();
  // The members are the objects read last; never the planes, whatever the count says.
  for (long n = 0; n < count && objects->GetNumItems() >= kFirstModelObject; ++n) {
    const long last = objects->GetNumItems();
    auto* member = static_cast<VLUser3DObject*>(objects->PointerAt(last));
    group->AddMember(member);
    objects->DeleteItem(last);
    group->phase = member->phase;
  }
  gObjectCount = SInt32(objects->GetNumItems());
  group->SyncAttachedTransformer();
  group->RecalcBox();
  group->CalcFacePlanes();
  group->OrientFaces();
  objects->AppendPointer(group.get());
  CGroup* kept = group.release();
  gObjectCount = SInt32(objects->GetNumItems());

  if (!in.good()) return;
  const std::streampos nameAt = in.tellg();
  const std::string word = vltext::ReadWord(in);
  if (word.empty()) return;
  if (word != "Name:") {
    GiveBack(in, nameAt);
    return;
  }
  std::string groupName;
  if (vltext::ReadRestOfLine(in, char(lineDelimiter), &groupName, vltext::LongLine::kCut) && !groupName.empty())
    kept->SetNameText(groupName.c_str());
}
