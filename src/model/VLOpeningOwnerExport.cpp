// An owner's faces with the outlines of its openings joined in, as the exporters write them:
// Radiance polygons and DXF text polylines.
#include <cstdio>
#include <memory>
#include <string>

#include "DETException.h"
#include "DxfText.h"
#include "Memory.h"
#include "RadianceNames.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"

namespace {

struct HandleFreer {
  void operator()(Handle h) const { PortFreeHandle(h); }
};

// A formatted write that failed, and then any error the stream holds, end the export.
void CheckWrite(int written, std::FILE* file) { dxftext::CheckWrite(written, file, kDEErrorErrorWritingFile); }

}  // namespace

std::vector<Vector3d> VLOpeningOwner::FacePolygon(SInt16 face) {
  std::vector<Vector3d> polygon;
  SetArrayPointers();
  if (face < 0 || face >= faceCount || faces[face].degenerate) return polygon;
  const FaceRecord& record = faces[face];
  const SInt16* loop = LoopEntries(record);
  const SInt16 n = loop ? record.loopCount : 0;
  for (SInt16 k = 0; k < n; ++k)
    if (loop[k] >= 0 && loop[k] < vertexCount) polygon.push_back(vertices[loop[k]]);
  if (polygon.empty()) return polygon;
  const Vector3d last = polygon.back();

  // Each hole: its outline, its first point again, and a seam back to the loop's last point.
  std::unique_ptr<char*, HandleFreer> holes;
  RefreshOpenings(nullptr);
  for (VLOpening* opening : Openings()) {
    Handle points = holes.get();
    const bool onFace = opening->AppendHoleOutline(face, &points);
    // The first hole makes the block; later ones grow it in place.
    if (points != holes.get()) holes.reset(points);
    if (!onFace) continue;
    const long count = long(PortHandleSize(points) / Size(sizeof(Vector3d)));
    reinterpret_cast<Vector3d*>(*points)[count - 1] = last;
  }
  if (!holes) return polygon;
  const auto* hole = reinterpret_cast<const Vector3d*>(*holes);
  polygon.insert(polygon.end(), hole, hole + PortHandleSize(holes.get()) / Size(sizeof(Vector3d)));
  polygon.push_back(last);
  return polygon;
}

void VLOpeningOwner::WriteRadiance(std::FILE* scene, std::FILE* materialFile, VLArray* names, SInt32* nameCount,
                                   const char* objectName, D3TMaterialList* materials) {
  if (!openings || !IsVisible()) {
    VLObjectOwner::WriteRadiance(scene, materialFile, names, nameCount, objectName, materials);
    return;
  }
  SetArrayPointers();
  const std::string material = RadianceMaterialName(GetMaterialIndex(), color, materials);
  if (!RadianceNameWritten(names, *nameCount, material)) {
    std::fprintf(materialFile, "void plastic %s\n0\n0\n", material.c_str());
    CheckWrite(std::fprintf(materialFile, "5 %f %f %f 0 0\n\n", color.red / 65535.0, color.green / 65535.0,
                            color.blue / 65535.0),
               materialFile);
    NoteRadianceName(names, nameCount, material);
  }
  // The openings' polygons are named after the last face written (the object's own name when
  // none was).
  std::string polygonName = objectName ? objectName : "";
  for (SInt16 f = 0; f < faceCount; ++f) {
    const std::vector<Vector3d> polygon = FacePolygon(f);
    if (polygon.empty()) continue;
    polygonName = std::string(objectName ? objectName : "") + "_" + std::to_string(f);
    std::fprintf(scene, "%s polygon face%s\n0\n0\n%d\n", material.c_str(), polygonName.c_str(),
                 int(3 * polygon.size()));
    for (const Vector3d& p : polygon)
      std::fprintf(scene, "\t\t%Lg %Lg %Lg\n", (long double)p.x, (long double)-p.y, (long double)p.z);
    CheckWrite(std::fprintf(scene, "\n"), scene);
  }
  for (VLOpening* opening : Openings())
    opening->WriteRadiance(scene, materialFile, names, nameCount, polygonName.c_str(), materials);
}

void VLOpeningOwner::WriteDXFFaces(std::FILE* file) {
  if (hidden || !IsVisible()) return;
  if (Openings().empty()) {
    VLObjectOwner::WriteDXFFaces(file);
    return;
  }
  const std::string layer = LayerNameOfPhase(phase);
  for (SInt16 f = 0; f < faceCount; ++f) {
    const std::vector<Vector3d> polygon = FacePolygon(f);
    if (polygon.empty()) continue;
    std::fprintf(file, "0\nPOLYLINE\n66\n1\n8\n%s\n70\n9\n71\n0\n72\n%d\n", layer.c_str(), int(polygon.size()));
    for (const Vector3d& p : polygon) dxftext::WriteVertex(file, p, false);
    CheckWrite(std::fprintf(file, "0\nSEQEND\n"), file);
  }
  for (VLOpening* opening : Openings()) opening->WriteDXFFaces(file);
}

void VLOpeningOwner::WriteDXFEdges(std::FILE* file) {
  if (hidden || !IsVisible()) return;
  VLObjectOwner::WriteDXFEdges(file);
  for (VLOpening* opening : Openings()) opening->WriteDXFEdges(file);
}

void VLOpeningOwner::WriteDXFOutline(std::FILE* file) {
  VLObjectOwner::WriteDXFOutline(file);
  for (VLOpening* opening : Openings()) opening->WriteDXFOutline(file);
}
