// The tree of built-in classes, made at start-up.
#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {
namespace {

OpaqueTQ3Object* MakeBase(ClassInfo* c) { return new OpaqueTQ3Object(c); }
OpaqueTQ3Object* MakeShape(ClassInfo* c) { return new Shape(c); }
OpaqueTQ3Object* MakeUnknown(ClassInfo* c) { return new UnknownObject(c); }

}  // namespace

ClassInfo* AddPartClass(TQ3ObjectType type, const char* name) {
  ClassInfo* cls = AddClass(0, type, name, nullptr, nullptr, false);
  cls->part = true;
  return cls;
}

Ref UnknownObject::Clone() const {
  Ref copy(new UnknownObject(cls));
  auto* u = static_cast<UnknownObject*>(copy.get());
  u->CopyShape(*this);
  u->name = name;
  u->fileType = fileType;
  u->contents = contents;
  u->byteOrder = byteOrder;
  return copy;
}

void RegisterBuiltinClasses() {
  AddClass(0, kQ3ObjectTypeRoot, "Object", MakeBase, nullptr, false);
  AddClass(kQ3ObjectTypeRoot, kQ3ObjectTypeElement, "Element", nullptr, nullptr, false);
  AddClass(kQ3ObjectTypeElement, kQ3ElementTypeAttribute, "Attribute", nullptr, nullptr, false);
  AddClass(kQ3ObjectTypeRoot, kQ3ObjectTypeShared, "Shared", MakeBase, nullptr, false);
  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeShape, "Shape", MakeShape, nullptr, false);
  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeUnknown, "Unknown", MakeUnknown, nullptr, false);
  AddClass(kQ3ShapeTypeUnknown, kQ3UnknownTypeText, "UnknownText", MakeUnknown, nullptr, false);
  AddClass(kQ3ShapeTypeUnknown, kQ3UnknownTypeBinary, "UnknownBinary", MakeUnknown, nullptr, false);
  RegisterSetClasses();
  RegisterGeometryClasses();
  RegisterPolyMeshClasses();
  RegisterMeshClass();
  RegisterGroupClasses();
  RegisterSceneClasses();
  RegisterStorageClasses();
}

}  // namespace q3d
