// Small solids for the model object tests: a unit block, an L-shaped extrusion and a flat
// rectangle, built straight into the geometry store.
#pragma once

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "VLUser3DObject.h"

namespace modeltest {

// Sets the object's vertices, edges and faces (the store is made to fit), then computes the
// face planes. Faces are given as loops of vertex indices.
void SetGeometry(VLUser3DObject* object, const std::vector<Vector3d>& vertices,
                 const std::vector<std::vector<SInt16>>& faces, bool withEdges = true);

// The unit cube [0,1]^3 with every face loop running clockwise seen from outside.
void MakeBlock(VLUser3DObject* object);
// An L-shaped prism of height 1: the outline (0,0) (2,0) (2,1) (1,1) (1,2) (0,2), with its
// faces pointing out.
void MakeLExtrusion(VLUser3DObject* object);
// A 2 by 1 rectangle at z = 0 with an upper and a lower face.
void MakeFlatRectangle(VLUser3DObject* object);

// The loop of a face as a vector.
std::vector<SInt16> Loop(VLUser3DObject* object, SInt16 face);
// The outward normal of a face of a solid: its centre moved along the stored normal lies
// outside (tested against the solid's bounding box for the convex cases).
Vector3d Normal(VLUser3DObject* object, SInt16 face);

}  // namespace modeltest

namespace modeltest {

// Objects are disposed through their virtual Dispose, as the program does.
struct ObjectDeleter {
  void operator()(VLUser3DObject* object) const {
    if (object) object->Dispose();
  }
};
using ObjectPtr = std::unique_ptr<VLUser3DObject, ObjectDeleter>;
inline ObjectPtr NewObject() { return ObjectPtr(new VLUser3DObject); }

// The object body as WriteText writes it.
std::string WriteBody(VLUser3DObject* object, double factor);

// C files closed when they go.
struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
// What a writer puts into a file, as text.
std::string WrittenText(const std::function<void(std::FILE*)>& write);
// A temporary file holding the text, at its start.
FilePtr FileWithText(const std::string& text);

}  // namespace modeltest
