// Operations whose own files come later: each answers its neutral result (nothing done, false,
// -1, no block) until its file takes it over. Object classes may already override them.
#include "VLUser3DObject.h"

// Geometry from polygons.
void VLUser3DObject::CreateObjectFromPolys(Handle, const Vector3d*, double) {}
void VLUser3DObject::CapPlane(const Vector3d*, double, FaceRecord*, SInt16*, Vector3d*, SInt16) {}
Boolean VLUser3DObject::HasEdge(SInt16, SInt16, const EdgeRecord*, SInt16) { return false; }
void VLUser3DObject::RemoveRepeatedLoopVertices(FaceRecord*, SInt16*) {}
void VLUser3DObject::BuildSheetFaces(SInt16) {}

// Export writers.
void VLUser3DObject::WriteDXFEdges(std::FILE*) {}
void VLUser3DObject::WriteDrawingFaces(DXFExporter*) {}
void VLUser3DObject::WriteDXFFaces(std::FILE*) {}
void VLUser3DObject::WriteDXFOutline(std::FILE*) {}
SInt16 VLUser3DObject::WriteClarisLines(CDataFile*, double, double) { return 0; }
void VLUser3DObject::WriteRadiance(std::FILE*, std::FILE*, VLArray*, SInt32*, const char*, D3TMaterialList*) {}
const char* VLUser3DObject::LayerNameOfPhase(SInt16) { return ""; }

// Trimming.
Boolean VLUser3DObject::TrimWith(CTrimmer*, VLArray*, VLArray*) { return false; }
Boolean VLUser3DObject::IsCrossedBy(CTrimmer*) { return false; }
Boolean VLUser3DObject::LiesInFrontOf(CTrimmer*) { return false; }

// Extending and joining.
void VLUser3DObject::ExtendToNearest(SInt16) {}
void VLUser3DObject::IntersectFaces(SInt16, SInt16, UInt8*, UInt8*, VLUser3DObject*, double, const Vector3d*, double,
                                    const Vector3d*) {}
void VLUser3DObject::JoinFaces(SInt16, SInt16, VLUser3DObject*) {}
SInt16 VLUser3DObject::PreviousSide(SInt16) { return -1; }
SInt16 VLUser3DObject::NextSide(SInt16) { return -1; }
