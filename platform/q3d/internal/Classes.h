// The built-in object classes that several parts of the library meet.
#pragma once

#include <list>

#include "internal/Core.h"

namespace q3d {

// Building the class tree at start-up.
void RegisterBuiltinClasses();
ClassInfo* AddClass(TQ3ObjectType parentType, TQ3ObjectType type, const char* name, Factory create, ReadFn read,
                    bool drawable);
ClassInfo* AddAttributeClass(TQ3AttributeType attributeType, TQ3ObjectType type, const char* name, TQ3Uns32 size,
                             const AttributeIO* io);
// A sub-object form of files (vertex attribute lists, camera placement, ...).
ClassInfo* AddPartClass(TQ3ObjectType type, const char* name);

void RegisterSetClasses();
void RegisterGeometryClasses();
void RegisterMeshClass();
void RegisterPolyMeshClasses();
void RegisterGroupClasses();
void RegisterSceneClasses();
void RegisterStorageClasses();

// A deep copy of an object through the class's duplicate method.
Ref Duplicate(TQ3Object object);
// Whether a class draws (registered classes only when they say how).
bool Drawable(const OpaqueTQ3Object* object);

// Sets and attribute sets.
struct SetObject : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  Ref Clone() const override;
  ElementSet* Elements(bool create) override;
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override;
  ElementSet set;
};

// Shapes carry a set of elements (their shape set).
struct Shape : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  Ref Clone() const override;
  ElementSet* Elements(bool create) override;
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override;
  bool Attach(ReadContext& ctx, Ref child) override;
  void CopyShape(const Shape& other);
  Ref shapeSet;
};

// Geometry adds its attribute set.
struct Geometry : Shape {
  using Shape::Shape;
  Ref Clone() const override;
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override;
  bool Attach(ReadContext& ctx, Ref child) override;
  void ForEachHeld(const std::function<void(TQ3Object)>& visit) const override;
  void CopyGeometry(const Geometry& other);
  Ref attributeSet;
};

struct StringObject : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  Ref Clone() const override;
  void WriteData(WriteContext& ctx) const override;
  std::string text;
};

// Groups.
struct Group : Shape {
  struct Node {
    Ref object;
    TQ3Uns32 prev = 0, next = 0;  // node ids + 1; 0 is none
    bool live = false;
  };
  using Shape::Shape;
  Ref Clone() const override;
  void ForEachHeld(const std::function<void(TQ3Object)>& visit) const override;
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override;
  bool ReadPart(ReadContext& ctx, const Entry& entry) override;

  // Adds a reference to the object; 0 when it is refused (the error is posted).
  TQ3Uns32 Add(TQ3Object object, TQ3Uns32 before, TQ3Uns32 after);
  bool Accepts(TQ3Object object) const;
  Node* At(TQ3Uns32 position);  // null (with an error) for a stale position
  Ref Remove(TQ3Uns32 position);
  void Empty();
  template <class F>
  void ForEach(F fn) const {
    for (TQ3Uns32 p = first; p; p = nodes[p - 1].next) fn(nodes[p - 1].object.get());
  }

  std::vector<Node> nodes;
  TQ3Uns32 first = 0, last = 0;
  TQ3Uns32 count = 0;
  TQ3Uns32 state = 0;  // display groups
};
bool IsGroup(const OpaqueTQ3Object* object);
bool IsDisplayGroup(const OpaqueTQ3Object* object);

// Unknown objects, kept as read.
struct UnknownObject : Shape {
  using Shape::Shape;
  Ref Clone() const override;
  std::string name;          // class name in the file
  TQ3ObjectType fileType = 0;
  std::string contents;      // text: the data between the parentheses; binary: the bytes
  TQ3Endian byteOrder = kQ3EndianBig;
};

// Vertices of geometry: a point and an attribute set.
struct Vertex {
  TQ3Point3D point;
  Ref set;
};
// Null or a live attribute set (else the error is posted).
bool ValidAttributeSet(TQ3Object set);
bool ValidVertices(const TQ3Vertex3D* vertices, TQ3Uns32 count);
std::vector<Vertex> ImportVertices(const TQ3Vertex3D* vertices, TQ3Uns32 count);
TQ3Vertex3D* ExportVertices(const std::vector<Vertex>& vertices);
void FreeVertices(TQ3Vertex3D* vertices, TQ3Uns32 count);

// Lists of attribute sets in files (vertex, face, segment, edge lists).
constexpr TQ3ObjectType kVertexSetListPart = Q3FourCC("vasl");
constexpr TQ3ObjectType kFaceSetListPart = Q3FourCC("fasl");
constexpr TQ3ObjectType kGeometrySetListPart = Q3FourCC("gasl");
constexpr TQ3ObjectType kEdgeSetListPart = Q3FourCC("easl");
void PlanSetList(WritePlan& plan, TQ3ObjectType part, std::vector<TQ3Object> sets);
// The sets of a list entry for count items (null where none).
std::vector<Ref> ReadSetList(ReadContext& ctx, const Entry& entry, TQ3Uns32 count);

// Storage bytes, for pixmaps.
bool StorageBytes(TQ3Object storage, std::vector<TQ3Uns8>& out);
Ref NewMemoryStorage(std::vector<TQ3Uns8> bytes);

// Pixmaps of markers and textures.
struct Pixmap {
  TQ3Uns32 width = 0, height = 0, rowBytes = 0, pixelSize = 32;
  TQ3PixelType pixelType = kQ3PixelTypeRGB32;
  TQ3Endian bitOrder = kQ3EndianBig, byteOrder = kQ3EndianBig;
  Ref image;
  bool Import(const TQ3StoragePixmap& p);  // checks the sizes and the storage
  void Export(TQ3StoragePixmap& p) const;  // a new reference to the storage
  void Write(Writer& w) const;
  void Read(Reader& r);
  Pixmap Copy() const;
};

}  // namespace q3d
