// The records of the model objects in the native file: the openings list that follows the body
// of every opening owner, the opening records, the "UVW:" frame line, and the block, polyline,
// extrusion and polyhedron records around them. The body itself is VLUser3DObjectText.cpp.
#include <cmath>
#include <new>
#include <string>

#include "CBoundingBox.h"
#include "CObjectTransformer.h"
#include "CPolyhedron.h"
#include "CRectangularOpening.h"
#include "DETException.h"
#include "ObjectList.h"
#include "TextLines.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLCube.h"
#include "VLOpening.h"
#include "VLPolyline.h"

namespace {

constexpr double kFrameLimit = 1000.0;
constexpr double kFrameZero = 0.00001;
constexpr double kUnitTolerance = 0.000001;
constexpr double kOpeningZero = 0.00001;
constexpr SInt16 kOpeningBoxVertices = 8;

void Print(int result) { vltext::CheckPrint(result, kDEErrorErrorWritingModelFile); }

// The word at the stream's position when it is the keyword; otherwise the stream is put back
// before the word and failed.
bool Expect(std::istream& in, const char* keyword) {
  if (!in.good()) {
    in.setstate(std::ios::failbit);
    return false;
  }
  const std::streampos at = vltext::Tell(in);
  if (vltext::TakeWord(in, keyword)) return true;
  vltext::FailAt(in, at, "a record's keyword is missing or not the one expected");
  return false;
}

double Length(const Vector3d& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

CObjectTransformer* NewFrame(const Vector3d axes[3]) {
  auto* frame = new (std::nothrow) CObjectTransformer;
  if (!frame) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  frame->SetAxes(&axes[0], &axes[1], &axes[2]);
  return frame;
}

void WritePolylineRecord(VLPolyline& object, std::FILE* file, double factor, const char* header) {
  Print(std::fputs(header, file));
  object.WriteOpenings(file, factor);
  VLOpeningOwner::WriteFrameLine(file, object.RecordFrame());
  ThrowIfFileError(file, kDEErrorErrorWritingModelFile);
}

}  // namespace

// ---- The openings list ----

void VLOpeningOwner::WriteOpenings(std::FILE* file, double factor) {
  VLUser3DObject::WriteText(file, factor);
  const std::vector<VLOpening*> list = Openings();
  vltext::CheckPrint(std::fprintf(file, "numOpenings: %d\n", int(list.size())), kDEErrorErrorWritingFile);
  for (VLOpening* opening : list) opening->WriteText(file, factor);
  ThrowIfFileError(file, kDEErrorErrorWritingModelFile);
}

void VLOpeningOwner::ReadOpenings(std::istream& in, double factor, char delimiter) {
  VLUser3DObject::ReadText(in, factor, delimiter);
  openingCount = 0;
  currentOpening = -1;
  // Another word, or the end of the file, is left to the next record.
  if (!vltext::TakeWord(in, "numOpenings:")) return;
  long count = 0;
  if (!vltext::ReadInteger(in, 0, 32767, &count)) return;
  for (long i = 0; i < count && in.good(); ++i) {
    const std::streampos at = vltext::Tell(in);
    // Polyline openings are not a kind this program makes: their record is refused.
    if (vltext::ReadWord(in) != "Opening:") {
      vltext::FailAt(in, at, "an opening record does not start with \"Opening:\"");
      break;
    }
    auto* made = new (std::nothrow) CRectangularOpening;
    if (!made) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    Owned<VLOpening> opening(made);
    const SInt32 ownerPosition = gCurrentObjectList ? SInt32(gCurrentObjectList->GetNumItems()) : 0;
    if (!opening->ReadOpening(in, ownerPosition, factor)) break;
    AddOpening(opening.get());
    opening.release();
  }
  RefreshOpenings(nullptr);
}

// ---- The opening record ----

void VLOpening::WriteText(std::FILE* file, double factor) {
  Print(std::fputs("Opening:\n", file));
  Print(std::fprintf(file, "faces: %d %d\n", frontFace, backFace));
  Print(std::fprintf(file, "numVerts: %d\n", vertexCount));
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    vltext::WriteCoordinate(file, vertices[i].x, factor, kOpeningZero, kDEErrorErrorWritingModelFile);
    vltext::WriteCoordinate(file, vertices[i].y, factor, kOpeningZero, kDEErrorErrorWritingModelFile);
    vltext::WriteCoordinate(file, vertices[i].z, factor, kOpeningZero, kDEErrorErrorWritingModelFile);
    Print(std::fputs("1\n", file));
  }
  ThrowIfFileError(file, kDEErrorErrorWritingModelFile);
}

bool VLOpening::ReadOpening(std::istream& in, SInt32 ownerPosition, double factor) {
  auto* found = dynamic_cast<VLOpeningOwner*>(ObjectAtListPosition(ownerPosition));
  if (!found) {
    in.setstate(std::ios::failbit);
    return false;
  }
  if (!InitBoxStorage()) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  if (!Expect(in, "faces:")) return false;
  // Both faces must be faces of the owner: the opening lies on them.
  long front = 0, back = 0;
  if (!vltext::ReadInteger(in, 0, found->faceCount - 1, &front) ||
      !vltext::ReadInteger(in, 0, found->faceCount - 1, &back))
    return false;
  if (!Expect(in, "numVerts:")) return false;
  // The box holds exactly its eight corners.
  long count = 0;
  if (!vltext::ReadInteger(in, kOpeningBoxVertices, kOpeningBoxVertices, &count)) return false;
  SetArrayPointers();
  for (long i = 0; i < count; ++i) {
    double x = 0, y = 0, z = 0, w = 0;
    if (!vltext::ReadDouble(in, &x) || !vltext::ReadDouble(in, &y) || !vltext::ReadDouble(in, &z) ||
        !vltext::ReadDouble(in, &w))
      return false;
    vertices[i] = Vector3d{x * factor, y * factor, z * factor};
  }
  frontFace = SInt16(front);
  backFace = SInt16(back);
  owner = found;
  TakeOwnerLook();
  SaveCorners();
  OrientFaces();
  CalcFacePlanes();
  MarkChanged();
  return true;
}

// ---- The frame line ----

void VLOpeningOwner::WriteFrameLine(std::FILE* file, const CObjectTransformer* frame) {
  if (!frame || frame->IsUnrotated()) return;
  Vector3d axes[3];
  frame->GetAxes(&axes[0], &axes[1], &axes[2]);
  bool tooLarge = false;
  for (const Vector3d& axis : axes)
    for (double c : {axis.x, axis.y, axis.z}) tooLarge = tooLarge || !(std::fabs(c) <= kFrameLimit);
  if (tooLarge) {
    Print(std::fputs("UVW: 1 0 0 0 1 0 0 0 1\n", file));
    return;
  }
  Print(std::fputs("UVW:", file));
  for (const Vector3d& axis : axes)
    for (double c : {axis.x, axis.y, axis.z}) {
      if (std::fabs(c) < kFrameZero)
        Print(std::fputs(" 0", file));
      else
        Print(std::fprintf(file, " %g", c));
    }
  Print(std::fputs("\n", file));
}

bool VLOpeningOwner::ReadFrameLine(std::istream& in, Vector3d axes[3]) {
  // Another word, or the end of the file, is left to the next record.
  if (!vltext::TakeWord(in, "UVW:")) return false;
  bool valid = true;
  for (int k = 0; k < 3; ++k) {
    double c[3];
    for (double& value : c) {
      if (!vltext::ReadDouble(in, &value)) return false;
      valid = valid && std::fabs(value) <= kFrameLimit;
    }
    axes[k] = Vector3d{c[0], c[1], c[2]};
    valid = valid && std::fabs(Length(axes[k]) - 1.0) <= kUnitTolerance;
  }
  return valid;
}

// ---- Blocks ----

void VLCube::WriteText(std::FILE* file, double factor) {
  Print(std::fputs("\nCube:\n", file));
  WriteOpenings(file, factor);
  WriteFrameLine(file, frame);
  ThrowIfFileError(file, kDEErrorErrorWritingModelFile);
}

void VLCube::ReadText(std::istream& in, double factor, char delimiter) {
  ReadOpenings(in, factor, delimiter);
  if (in.fail()) return;
  Vector3d axes[3];
  if (ReadFrameLine(in, axes)) SetFrame(NewFrame(axes));
}

// ---- Polylines, extrusions and polyhedra ----

const CObjectTransformer* VLPolyline::RecordFrame() const {
  if (frame) return frame;
  return box ? box->frame : nullptr;
}

void VLPolyline::WriteText(std::FILE* file, double factor) {
  WritePolylineRecord(*this, file, factor, extruded ? "\nExtrusion:\n" : "\nPolyline:\n");
}

void CPolyhedron::WriteText(std::FILE* file, double factor) {
  WritePolylineRecord(*this, file, factor, "\nPolyhedron:\n");
}

void VLPolyline::ReadText(std::istream& in, double factor, char delimiter) {
  ReadOpenings(in, factor, delimiter);
  currentOpening = -1;

  // What was read decides the kind, whatever the keyword said.
  SetArrayPointers();
  if (typeCode == kObjectTypePolyhedron) {
    closed = 1;
    extruded = 1;
  } else {
    if (faceCount > 2) typeCode = kObjectTypeExtrusion;
    if (typeCode == kObjectTypeExtrusion) {
      extruded = 1;
    } else {
      extruded = 0;
      closed = edgeCount > 0 && edges[edgeCount - 1].b == 0;
    }
  }
  if (in.fail()) return;

  Vector3d axes[3];
  if (ReadFrameLine(in, axes)) {
    const bool ownFrame = extruded ? faceCount < 7 : (closed ? vertexCount <= 4 : vertexCount < 4);
    if (ownFrame)
      SetFrame(NewFrame(axes));
    else
      UpdateBoundingBoxInFrame(&axes[0], &axes[1], &axes[2]);
  } else if (!in.fail()) {
    UpdateBoundingBox();
  }
}
