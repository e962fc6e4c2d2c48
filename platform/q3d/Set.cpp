// Element sets, sets and attribute sets, shapes' sets, geometry attribute sets
// and C string objects.
#include <algorithm>
#include <cstdlib>

#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {

// ---------------------------------------------------------------------------
// Element storage and the copy methods.
std::unique_ptr<std::max_align_t[]> NewElementStorage(TQ3Uns32 size) {
  size_t units = (size_t(size) + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
  return std::unique_ptr<std::max_align_t[]>(new std::max_align_t[units ? units : 1]());
}

void DeleteElementData(ClassInfo* cls, void* data) {
  if (auto drop = cls->MethodAs<TQ3XElementDeleteMethod>(kQ3XMethodTypeElementDelete)) drop(data);
}

namespace {

// Fills new storage from caller's data through the class's copy method.
bool CopyIn(ClassInfo* cls, TQ3XMethodType method, const void* from, void* to) {
  if (auto copy = cls->MethodAs<TQ3XElementCopyAddMethod>(method)) return copy(from, to) == kQ3Success;
  if (cls->elementSize) std::memcpy(to, from, cls->elementSize);
  return true;
}

bool CopySlot(const ElementSet::Slot& from, ElementSet::Slot& to, bool inherit) {
  to.cls = from.cls;
  to.type = from.type;
  to.storage = NewElementStorage(from.cls->elementSize);
  TQ3XMethodType method = kQ3XMethodTypeElementCopyDuplicate;
  if (inherit && from.cls->Method(kQ3XMethodTypeAttributeCopyInherit)) method = kQ3XMethodTypeAttributeCopyInherit;
  if (!CopyIn(from.cls, method, from.data(), to.data())) return false;
  ++to.cls->instances;
  return true;
}

bool Inherits(const ClassInfo* cls) {
  if (!cls->custom) return true;
  auto inherit = cls->MethodAs<TQ3XAttributeInheritMethod>(kQ3XMethodTypeAttributeInherit);
  return inherit && inherit() == kQ3True;
}

// Surface shaders in attribute sets are counted references.
TQ3Status ShaderCopy(const void* from, void* to) {
  TQ3Object shader = *static_cast<const TQ3Object*>(from);
  if (shader && !IsLive(shader)) {
    PostError(kQ3ErrorInvalidObject);
    return kQ3Failure;
  }
  *static_cast<TQ3Object*>(to) = Ref::Share(shader).release();
  return kQ3Success;
}

TQ3Status ShaderReplace(const void* from, void* onto) {
  TQ3Object old = *static_cast<TQ3Object*>(onto);
  if (ShaderCopy(from, onto) != kQ3Success) return kQ3Failure;
  Release(old);
  return kQ3Success;
}

TQ3Status ShaderDelete(void* data) {
  Release(*static_cast<TQ3Object*>(data));
  *static_cast<TQ3Object*>(data) = nullptr;
  return kQ3Success;
}

// File forms of the built-in attributes.
template <int N>
void ReadFloats(Reader& r, void* value) {
  r.Floats(static_cast<float*>(value), N);
}
template <int N>
void WriteFloats(Writer& w, const void* value) {
  w.Floats(static_cast<const float*>(value), N);
}

const EnumName kSwitchNames[] = {{"Off", 0}, {"On", 1}, {nullptr, 0}};
void ReadSwitch(Reader& r, void* value) { *static_cast<TQ3Switch*>(value) = TQ3Switch(r.Enum(kSwitchNames) ? 1 : 0); }
void WriteSwitch(Writer& w, const void* value) { w.Enum(*static_cast<const TQ3Switch*>(value), kSwitchNames); }
void ReadNothing(Reader&, void*) {}
void WriteNothing(Writer&, const void*) {}

const AttributeIO kParam2D = {ReadFloats<2>, WriteFloats<2>, 2};
const AttributeIO kVector = {ReadFloats<3>, WriteFloats<3>, 3};
const AttributeIO kFloat = {ReadFloats<1>, WriteFloats<1>, 1};
const AttributeIO kTangent = {ReadFloats<6>, WriteFloats<6>, 6};
const AttributeIO kSwitch = {ReadSwitch, WriteSwitch, 0};
const AttributeIO kShader = {ReadNothing, WriteNothing, 0};

OpaqueTQ3Object* MakeSet(ClassInfo* cls) { return new SetObject(cls); }
OpaqueTQ3Object* MakeString(ClassInfo* cls) { return new StringObject(cls); }

Ref ReadSet(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref set = NewObject(cls->type);
  ctx.ReadSubObjects(set.get(), entry);
  return set;
}

Ref ReadString(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object(new StringObject(cls));
  ctx.WithData(entry, [&] { static_cast<StringObject*>(object.get())->text = ctx.r().String(); });
  return object;
}

ElementSet* SetOf(TQ3Object set) {
  auto* object = As<SetObject>(set, kQ3SharedTypeSet);
  return object ? &object->set : nullptr;
}

ElementSet* AttributeSetOf(TQ3Object set) {
  auto* object = As<SetObject>(set, kQ3SetTypeAttribute);
  return object ? &object->set : nullptr;
}

// The shape's set, made on demand.
ElementSet* ShapeSetOf(TQ3Object shape, bool create) {
  auto* object = As<Shape>(shape, kQ3SharedTypeShape);
  return object ? object->Elements(create) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
ElementSet::~ElementSet() { Empty(); }

const ElementSet::Slot* ElementSet::Find(TQ3ElementType type) const {
  for (const Slot& s : slots_)
    if (s.type == type) return &s;
  return nullptr;
}

TQ3Status ElementSet::Add(TQ3ElementType type, const void* data) {
  ClassInfo* cls = FindElementClass(type);
  if (!cls) {
    PostError(kQ3ErrorUnknownElementType);
    return kQ3Failure;
  }
  if (!data && cls->elementSize > 0) {
    PostError(kQ3ErrorNULLParameter);
    return kQ3Failure;
  }
  for (Slot& s : slots_) {
    if (s.type != type) continue;
    return CopyIn(cls, kQ3XMethodTypeElementCopyReplace, data, s.data()) ? kQ3Success : kQ3Failure;
  }
  Slot slot;
  slot.cls = cls;
  slot.type = type;
  slot.storage = NewElementStorage(cls->elementSize);
  if (!CopyIn(cls, kQ3XMethodTypeElementCopyAdd, data, slot.data())) return kQ3Failure;
  ++cls->instances;
  slots_.push_back(std::move(slot));
  return kQ3Success;
}

TQ3Status ElementSet::Get(TQ3ElementType type, void* data) const {
  const Slot* s = Find(type);
  if (!s) return kQ3Failure;
  if (!data && s->cls->elementSize > 0) {
    PostError(kQ3ErrorNULLParameter);
    return kQ3Failure;
  }
  return CopyIn(s->cls, kQ3XMethodTypeElementCopyGet, s->data(), data) ? kQ3Success : kQ3Failure;
}

bool ElementSet::Contains(TQ3ElementType type) const { return Find(type) != nullptr; }

TQ3Status ElementSet::Clear(TQ3ElementType type) {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].type != type) continue;
    Slot gone = std::move(slots_[i]);
    slots_.erase(slots_.begin() + long(i));
    DeleteElementData(gone.cls, gone.data());
    --gone.cls->instances;
    return kQ3Success;
  }
  return kQ3Failure;
}

void ElementSet::Empty() {
  std::vector<Slot> gone;
  gone.swap(slots_);
  for (Slot& s : gone) {
    try {
      DeleteElementData(s.cls, s.data());
    } catch (...) {
      // The element goes whatever its class's clean-up did.
    }
    --s.cls->instances;
  }
}

TQ3ElementType ElementSet::Next(TQ3ElementType type) const {
  if (type == kQ3ElementTypeNone) return slots_.empty() ? kQ3ElementTypeNone : slots_.front().type;
  for (size_t i = 0; i + 1 < slots_.size(); ++i)
    if (slots_[i].type == type) return slots_[i + 1].type;
  return kQ3ElementTypeNone;
}

std::unique_ptr<ElementSet> ElementSet::Duplicate() const {
  auto copy = std::make_unique<ElementSet>();
  for (const Slot& s : slots_) {
    Slot slot;
    if (CopySlot(s, slot, false))
      copy->slots_.push_back(std::move(slot));
    else
      PostWarning(kQ3WarningNoObjectSupportForDuplicateMethod);
  }
  return copy;
}

void ElementSet::InheritFrom(const ElementSet& parent) {
  for (const Slot& s : parent.slots_) {
    if (Contains(s.type) || !Inherits(s.cls)) continue;
    Slot slot;
    if (CopySlot(s, slot, true)) slots_.push_back(std::move(slot));
  }
}

// ---------------------------------------------------------------------------
Ref SetObject::Clone() const {
  Ref copy(new SetObject(cls));
  auto* s = static_cast<SetObject*>(copy.get());
  s->CopyBase(*this);
  s->set.Swap(*set.Duplicate());
  return copy;
}

ElementSet* SetObject::Elements(bool) { return &set; }

void SetObject::PlanSubObjects(WriteContext& ctx, WritePlan& plan) const { ctx.PlanElements(&set, plan); }

// ---------------------------------------------------------------------------
void Shape::CopyShape(const Shape& other) {
  CopyBase(other);
  if (other.shapeSet) shapeSet = Duplicate(other.shapeSet.get());
}

Ref Shape::Clone() const {
  Ref copy(new Shape(cls));
  static_cast<Shape*>(copy.get())->CopyShape(*this);
  return copy;
}

ElementSet* Shape::Elements(bool create) {
  if (!shapeSet) {
    if (!create) return nullptr;
    shapeSet = NewObject(kQ3SharedTypeSet);
    if (!shapeSet) return nullptr;
  }
  return &static_cast<SetObject*>(shapeSet.get())->set;
}

void Shape::PlanSubObjects(WriteContext& ctx, WritePlan& plan) const {
  if (shapeSet) ctx.PlanElements(&static_cast<SetObject*>(shapeSet.get())->set, plan);
}

bool Shape::Attach(ReadContext&, Ref child) {
  if (child->cls->type != kQ3SharedTypeSet) return false;
  shapeSet = std::move(child);
  return true;
}

void Geometry::CopyGeometry(const Geometry& other) {
  CopyShape(other);
  if (other.attributeSet) attributeSet = Duplicate(other.attributeSet.get());
}

Ref Geometry::Clone() const {
  Ref copy(new Geometry(cls));
  static_cast<Geometry*>(copy.get())->CopyGeometry(*this);
  return copy;
}

void Geometry::PlanSubObjects(WriteContext& ctx, WritePlan& plan) const {
  plan.AddObject(attributeSet.get());
  Shape::PlanSubObjects(ctx, plan);
}

bool Geometry::Attach(ReadContext& ctx, Ref child) {
  if (child->IsType(kQ3SetTypeAttribute)) {
    attributeSet = std::move(child);
    return true;
  }
  return Shape::Attach(ctx, std::move(child));
}

void Geometry::ForEachHeld(const std::function<void(TQ3Object)>& visit) const {
  if (attributeSet) visit(attributeSet.get());
}

// ---------------------------------------------------------------------------
Ref StringObject::Clone() const {
  Ref copy(new StringObject(cls));
  auto* s = static_cast<StringObject*>(copy.get());
  s->CopyBase(*this);
  s->text = text;
  return copy;
}

void StringObject::WriteData(WriteContext& ctx) const { ctx.w().String(text); }

void RegisterSetClasses() {
  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeSet, "Set", MakeSet, ReadSet, false);
  AddClass(kQ3SharedTypeSet, kQ3SetTypeAttribute, "AttributeSet", MakeSet, ReadSet, true);
  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeString, "String", nullptr, nullptr, false);
  AddClass(kQ3SharedTypeString, kQ3StringTypeCString, "CString", MakeString, ReadString, false);

  AddAttributeClass(kQ3AttributeTypeSurfaceUV, Q3FourCC("srfu"), "SurfaceUV", sizeof(TQ3Param2D), &kParam2D);
  AddAttributeClass(kQ3AttributeTypeShadingUV, Q3FourCC("shuv"), "ShadingUV", sizeof(TQ3Param2D), &kParam2D);
  AddAttributeClass(kQ3AttributeTypeNormal, Q3FourCC("nrml"), "Normal", sizeof(TQ3Vector3D), &kVector);
  AddAttributeClass(kQ3AttributeTypeAmbientCoefficient, Q3FourCC("camb"), "AmbientCoefficient", sizeof(float),
                    &kFloat);
  AddAttributeClass(kQ3AttributeTypeDiffuseColor, Q3FourCC("kdif"), "DiffuseColor", sizeof(TQ3ColorRGB), &kVector);
  AddAttributeClass(kQ3AttributeTypeSpecularColor, Q3FourCC("kspc"), "SpecularColor", sizeof(TQ3ColorRGB),
                    &kVector);
  AddAttributeClass(kQ3AttributeTypeSpecularControl, Q3FourCC("cspc"), "SpecularControl", sizeof(float), &kFloat);
  AddAttributeClass(kQ3AttributeTypeTransparencyColor, Q3FourCC("kxpr"), "TransparencyColor", sizeof(TQ3ColorRGB),
                    &kVector);
  AddAttributeClass(kQ3AttributeTypeSurfaceTangent, Q3FourCC("srtn"), "SurfaceTangent", sizeof(TQ3Tangent2D),
                    &kTangent);
  AddAttributeClass(kQ3AttributeTypeHighlightState, Q3FourCC("hlst"), "HighlightState", sizeof(TQ3Switch),
                    &kSwitch);
  ClassInfo* shader = AddAttributeClass(kQ3AttributeTypeSurfaceShader, Q3FourCC("sssh"), "SurfaceShader",
                                        sizeof(TQ3Object), &kShader);
  shader->methods[kQ3XMethodTypeElementCopyAdd] = reinterpret_cast<TQ3XFunctionPointer>(ShaderCopy);
  shader->methods[kQ3XMethodTypeElementCopyReplace] = reinterpret_cast<TQ3XFunctionPointer>(ShaderReplace);
  shader->methods[kQ3XMethodTypeElementCopyGet] = reinterpret_cast<TQ3XFunctionPointer>(ShaderCopy);
  shader->methods[kQ3XMethodTypeElementCopyDuplicate] = reinterpret_cast<TQ3XFunctionPointer>(ShaderCopy);
  shader->methods[kQ3XMethodTypeAttributeCopyInherit] = reinterpret_cast<TQ3XFunctionPointer>(ShaderCopy);
  shader->methods[kQ3XMethodTypeElementDelete] = reinterpret_cast<TQ3XFunctionPointer>(ShaderDelete);
  AddAttributeClass(kQ3AttributeTypeEmissiveColor, Q3FourCC("kems"), "EmissiveColor", sizeof(TQ3ColorRGB),
                    &kVector);
}

}  // namespace q3d

using namespace q3d;

// ---------------------------------------------------------------------------
// Sets.
TQ3SetObject Q3Set_New() { return NewObject(kQ3SharedTypeSet).release(); }

TQ3ObjectType Q3Set_GetType(TQ3SetObject set) {
  if (!Check(set, kQ3SharedTypeSet)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = set->cls->Below(kQ3SharedTypeSet);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3Set_Add(TQ3SetObject set, TQ3ElementType type, const void* data) {
  ElementSet* s = SetOf(set);
  return s ? s->Add(type, data) : kQ3Failure;
}

TQ3Status Q3Set_Get(TQ3SetObject set, TQ3ElementType type, void* data) {
  ElementSet* s = SetOf(set);
  return s ? s->Get(type, data) : kQ3Failure;
}

TQ3Boolean Q3Set_Contains(TQ3SetObject set, TQ3ElementType type) {
  ElementSet* s = SetOf(set);
  return s && s->Contains(type) ? kQ3True : kQ3False;
}

TQ3Status Q3Set_Clear(TQ3SetObject set, TQ3ElementType type) {
  ElementSet* s = SetOf(set);
  return s ? s->Clear(type) : kQ3Failure;
}

TQ3Status Q3Set_Empty(TQ3SetObject set) {
  ElementSet* s = SetOf(set);
  if (!s) return kQ3Failure;
  s->Empty();
  return kQ3Success;
}

TQ3Status Q3Set_GetNextElementType(TQ3SetObject set, TQ3ElementType* type) {
  ElementSet* s = SetOf(set);
  if (!s || !CheckPointer(type)) return kQ3Failure;
  *type = s->Next(*type);
  return kQ3Success;
}

TQ3AttributeSet Q3AttributeSet_New() { return NewObject(kQ3SetTypeAttribute).release(); }

TQ3Status Q3AttributeSet_Add(TQ3AttributeSet attributeSet, TQ3AttributeType type, const void* data) {
  ElementSet* s = AttributeSetOf(attributeSet);
  return s ? s->Add(type, data) : kQ3Failure;
}

TQ3Boolean Q3AttributeSet_Contains(TQ3AttributeSet attributeSet, TQ3AttributeType attributeType) {
  ElementSet* s = AttributeSetOf(attributeSet);
  return s && s->Contains(attributeType) ? kQ3True : kQ3False;
}

TQ3Status Q3AttributeSet_Get(TQ3AttributeSet attributeSet, TQ3AttributeType type, void* data) {
  ElementSet* s = AttributeSetOf(attributeSet);
  return s ? s->Get(type, data) : kQ3Failure;
}

TQ3Status Q3AttributeSet_Clear(TQ3AttributeSet attributeSet, TQ3AttributeType type) {
  ElementSet* s = AttributeSetOf(attributeSet);
  return s ? s->Clear(type) : kQ3Failure;
}

TQ3Status Q3AttributeSet_Empty(TQ3AttributeSet target) {
  ElementSet* s = AttributeSetOf(target);
  if (!s) return kQ3Failure;
  s->Empty();
  return kQ3Success;
}

TQ3Status Q3AttributeSet_GetNextAttributeType(TQ3AttributeSet source, TQ3AttributeType* type) {
  ElementSet* s = AttributeSetOf(source);
  if (!s || !CheckPointer(type)) return kQ3Failure;
  *type = s->Next(*type);
  return kQ3Success;
}

TQ3Status Q3AttributeSet_Inherit(TQ3AttributeSet parent, TQ3AttributeSet child, TQ3AttributeSet result) {
  ElementSet* p = AttributeSetOf(parent);
  ElementSet* c = AttributeSetOf(child);
  ElementSet* r = AttributeSetOf(result);
  if (!p || !c || !r) return kQ3Failure;
  // Build aside first: result may be parent or child.
  std::unique_ptr<ElementSet> merged = c->Duplicate();
  merged->InheritFrom(*p);
  r->Swap(*merged);
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Shapes.
TQ3ObjectType Q3Shape_GetType(TQ3ShapeObject shape) {
  if (!Check(shape, kQ3SharedTypeShape)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = shape->cls->Below(kQ3SharedTypeShape);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3Shape_GetSet(TQ3ShapeObject shape, TQ3SetObject* set) {
  auto* s = As<Shape>(shape, kQ3SharedTypeShape);
  if (!s || !CheckPointer(set)) return kQ3Failure;
  *set = s->shapeSet.Copy().release();
  return kQ3Success;
}

TQ3Status Q3Shape_SetSet(TQ3ShapeObject shape, TQ3SetObject set) {
  auto* s = As<Shape>(shape, kQ3SharedTypeShape);
  if (!s) return kQ3Failure;
  if (set && !Check(set, kQ3SharedTypeSet)) return kQ3Failure;
  s->shapeSet = Ref::Share(set);
  return kQ3Success;
}

TQ3Status Q3Shape_AddElement(TQ3ShapeObject shape, TQ3ElementType type, const void* data) {
  ElementSet* s = ShapeSetOf(shape, true);
  return s ? s->Add(type, data) : kQ3Failure;
}

TQ3Status Q3Shape_GetElement(TQ3ShapeObject shape, TQ3ElementType type, void* data) {
  ElementSet* s = ShapeSetOf(shape, false);
  return s ? s->Get(type, data) : kQ3Failure;
}

TQ3Boolean Q3Shape_ContainsElement(TQ3ShapeObject shape, TQ3ElementType type) {
  ElementSet* s = ShapeSetOf(shape, false);
  return s && s->Contains(type) ? kQ3True : kQ3False;
}

TQ3Status Q3Shape_GetNextElementType(TQ3ShapeObject shape, TQ3ElementType* type) {
  if (!Check(shape, kQ3SharedTypeShape) || !CheckPointer(type)) return kQ3Failure;
  ElementSet* s = ShapeSetOf(shape, false);
  *type = s ? s->Next(*type) : kQ3ElementTypeNone;
  return kQ3Success;
}

TQ3Status Q3Shape_EmptyElements(TQ3ShapeObject shape) {
  if (!Check(shape, kQ3SharedTypeShape)) return kQ3Failure;
  if (ElementSet* s = ShapeSetOf(shape, false)) s->Empty();
  return kQ3Success;
}

TQ3Status Q3Shape_ClearElement(TQ3ShapeObject shape, TQ3ElementType type) {
  ElementSet* s = ShapeSetOf(shape, false);
  return s ? s->Clear(type) : kQ3Failure;
}

// ---------------------------------------------------------------------------
// Geometry attribute sets.
TQ3ObjectType Q3Geometry_GetType(TQ3GeometryObject geometry) {
  if (!Check(geometry, kQ3ShapeTypeGeometry)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = geometry->cls->Below(kQ3ShapeTypeGeometry);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3Geometry_GetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet* attributeSet) {
  auto* g = As<Geometry>(geometry, kQ3ShapeTypeGeometry);
  if (!g || !CheckPointer(attributeSet)) return kQ3Failure;
  *attributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}

TQ3Status Q3Geometry_SetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet attributeSet) {
  auto* g = As<Geometry>(geometry, kQ3ShapeTypeGeometry);
  if (!g) return kQ3Failure;
  if (attributeSet && !Check(attributeSet, kQ3SetTypeAttribute)) return kQ3Failure;
  g->attributeSet = Ref::Share(attributeSet);
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// C strings.
TQ3ObjectType Q3String_GetType(TQ3StringObject stringObj) {
  if (!Check(stringObj, kQ3SharedTypeString)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = stringObj->cls->Below(kQ3SharedTypeString);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3StringObject Q3CString_New(const char* str) {
  if (!CheckPointer(str)) return nullptr;
  Ref object = NewObject(kQ3StringTypeCString);
  if (!object) return nullptr;
  static_cast<StringObject*>(object.get())->text = str;
  return object.release();
}

TQ3Status Q3CString_GetLength(TQ3StringObject stringObj, TQ3Uns32* length) {
  auto* s = As<StringObject>(stringObj, kQ3StringTypeCString);
  if (!s || !CheckPointer(length)) return kQ3Failure;
  *length = TQ3Uns32(s->text.size());
  return kQ3Success;
}

TQ3Status Q3CString_SetString(TQ3StringObject stringObj, const char* str) {
  auto* s = As<StringObject>(stringObj, kQ3StringTypeCString);
  if (!s || !CheckPointer(str)) return kQ3Failure;
  s->text = str;
  return kQ3Success;
}

TQ3Status Q3CString_GetString(TQ3StringObject stringObj, char** str) {
  auto* s = As<StringObject>(stringObj, kQ3StringTypeCString);
  if (!s || !CheckPointer(str)) return kQ3Failure;
  char* copy = AllocArray<char>(s->text.size() + 1);
  if (!copy) return kQ3Failure;
  std::memcpy(copy, s->text.c_str(), s->text.size() + 1);
  *str = copy;
  return kQ3Success;
}

TQ3Status Q3CString_EmptyData(char** str) {
  if (!CheckPointer(str)) return kQ3Failure;
  std::free(*str);
  *str = nullptr;
  return kQ3Success;
}
