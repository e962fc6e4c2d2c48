// Library start and end, errors, the class registry, objects and references.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "internal/Classes.h"
#include "internal/Core.h"
#include "internal/Metafile.h"

namespace q3d {
namespace {

// ---------------------------------------------------------------------------
// Errors, warnings and notices.
template <class Code, class Method>
struct Channel {
  Method method = nullptr;
  TQ3Int32 reference = 0;
  Code first = Code(0);
  Code last = Code(0);

  void Post(Code code) {
    if (first == Code(0)) first = code;
    last = code;
    if (!method) return;
    try {
      method(first, last, reference);
    } catch (...) {
      // A handler that throws takes the report with it: the next one starts afresh.
      first = last = Code(0);
      throw;
    }
  }
  Code Take(Code* firstOut) {
    if (firstOut) *firstOut = first;
    Code result = last;
    first = last = Code(0);
    return result;
  }
};

Channel<TQ3Error, TQ3ErrorMethod> gErrors;
Channel<TQ3Warning, TQ3WarningMethod> gWarnings;
Channel<TQ3Notice, TQ3NoticeMethod> gNotices;

// ---------------------------------------------------------------------------
// Registry.
struct Registry {
  std::vector<std::unique_ptr<ClassInfo>> classes;
  std::unordered_map<TQ3ObjectType, ClassInfo*> byType;
  std::unordered_map<std::string, ClassInfo*> byName;
  ClassInfo* builtinAttributes[kQ3AttributeTypeNumTypes] = {};
  TQ3ObjectType nextCustomType = -1;
};

std::unique_ptr<Registry> gRegistry;
int gInitCount = 0;
std::unordered_set<const OpaqueTQ3Object*> gLive;

// Every method type a metahandler may answer; asked once while registering.
constexpr TQ3XMethodType kMethodTypes[] = {
    kQ3XMethodTypeObjectNew,         kQ3XMethodTypeObjectDelete,        kQ3XMethodTypeObjectDuplicate,
    kQ3XMethodTypeObjectRead,        kQ3XMethodTypeObjectReadData,      kQ3XMethodTypeObjectTraverse,
    kQ3XMethodTypeObjectTraverseData, kQ3XMethodTypeObjectWrite,        kQ3XMethodTypeObjectSubmitRender,
    kQ3XMethodTypeElementCopyAdd,    kQ3XMethodTypeElementCopyReplace,  kQ3XMethodTypeElementCopyGet,
    kQ3XMethodTypeElementCopyDuplicate, kQ3XMethodTypeElementDelete,   kQ3XMethodTypeAttributeInherit,
    kQ3XMethodTypeAttributeCopyInherit};

ClassInfo* Register(std::unique_ptr<ClassInfo> info) {
  ClassInfo* cls = info.get();
  // Names and types identify classes in files: each stands for one class.
  if (gRegistry->byType.count(cls->type) || gRegistry->byName.count(cls->name)) std::abort();
  gRegistry->byType[cls->type] = cls;
  gRegistry->byName[cls->name] = cls;
  if (cls->parent) cls->parent->children.push_back(cls);
  gRegistry->classes.push_back(std::move(info));
  return cls;
}

void Unlink(ClassInfo* cls) {
  gRegistry->byType.erase(cls->type);
  gRegistry->byName.erase(cls->name);
  if (cls->parent) {
    auto& kids = cls->parent->children;
    kids.erase(std::remove(kids.begin(), kids.end(), cls), kids.end());
  }
  auto& all = gRegistry->classes;
  all.erase(std::remove_if(all.begin(), all.end(), [cls](const auto& p) { return p.get() == cls; }), all.end());
}

bool InUse(const ClassInfo* cls) {
  if (cls->instances > 0) return true;
  for (const ClassInfo* child : cls->children)
    if (InUse(child)) return true;
  return false;
}

// A registered class: its name must be new; the metahandler answers now.
ClassInfo* RegisterCustom(ClassInfo* parent, const char* name, TQ3XMetaHandler metaHandler) {
  if (!LibraryOpen()) {
    PostError(kQ3ErrorNotInitialized);
    return nullptr;
  }
  if (!name || !*name || std::strlen(name) >= kQ3StringMaximumLength) {
    PostError(kQ3ErrorInvalidObjectName);
    return nullptr;
  }
  if (gRegistry->byName.count(name)) {
    PostError(kQ3ErrorInvalidObjectName);
    return nullptr;
  }
  auto info = std::make_unique<ClassInfo>();
  info->type = gRegistry->nextCustomType--;
  info->name = name;
  info->parent = parent;
  info->custom = true;
  if (metaHandler) {
    for (TQ3XMethodType m : kMethodTypes) {
      TQ3XFunctionPointer f = metaHandler(m);
      if (f) info->methods[m] = f;
    }
  }
  return Register(std::move(info));
}

}  // namespace

void PostError(TQ3Error error) { gErrors.Post(error); }
void PostWarning(TQ3Warning warning) { gWarnings.Post(warning); }
void PostNotice(TQ3Notice notice) { gNotices.Post(notice); }

// ---------------------------------------------------------------------------
// Classes.
TQ3XFunctionPointer ClassInfo::Method(TQ3XMethodType t) const {
  auto it = methods.find(t);
  return it == methods.end() ? nullptr : it->second;
}

bool ClassInfo::IsA(TQ3ObjectType t) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    if (c->type == t) return true;
  return false;
}

const ClassInfo* ClassInfo::Below(TQ3ObjectType base) const {
  const ClassInfo* below = nullptr;
  for (const ClassInfo* c = this; c; c = c->parent) {
    if (c->type == base) return below;
    below = c;
  }
  return nullptr;
}

bool LibraryOpen() { return gInitCount > 0 && gRegistry; }

ClassInfo* FindClass(TQ3ObjectType type) {
  if (!gRegistry) return nullptr;
  auto it = gRegistry->byType.find(type);
  return it == gRegistry->byType.end() ? nullptr : it->second;
}

ClassInfo* FindClassByName(std::string_view name) {
  if (!gRegistry) return nullptr;
  auto it = gRegistry->byName.find(std::string(name));
  return it == gRegistry->byName.end() ? nullptr : it->second;
}

ClassInfo* FindClassByNameNoCase(std::string_view name) {
  if (ClassInfo* cls = FindClassByName(name)) return cls;
  if (!gRegistry) return nullptr;
  auto lower = [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); };
  for (const auto& c : gRegistry->classes)
    if (c->name.size() == name.size() &&
        std::equal(name.begin(), name.end(), c->name.begin(), [&](char a, char b) { return lower(a) == lower(b); }))
      return c.get();
  return nullptr;
}

ClassInfo* FindElementClass(TQ3ElementType type) {
  if (!gRegistry) return nullptr;
  if (type > 0 && type < kQ3AttributeTypeNumTypes) return gRegistry->builtinAttributes[type];
  ClassInfo* cls = FindClass(type);
  return cls && cls->element ? cls : nullptr;
}

ClassInfo* AddClass(TQ3ObjectType parentType, TQ3ObjectType type, const char* name, Factory create, ReadFn read,
                    bool drawable) {
  auto info = std::make_unique<ClassInfo>();
  info->type = type;
  info->name = name;
  info->parent = parentType ? FindClass(parentType) : nullptr;
  info->create = create;
  info->read = read;
  info->drawable = drawable;
  return Register(std::move(info));
}

ClassInfo* AddAttributeClass(TQ3AttributeType attributeType, TQ3ObjectType type, const char* name, TQ3Uns32 size,
                             const AttributeIO* io) {
  ClassInfo* cls = AddClass(kQ3ElementTypeAttribute, type, name, nullptr, nullptr, false);
  cls->element = cls->attribute = true;
  cls->attributeType = attributeType;
  cls->elementSize = size;
  cls->attributeIO = io;
  gRegistry->builtinAttributes[attributeType] = cls;
  return cls;
}

Ref NewObject(TQ3ObjectType type) {
  if (!LibraryOpen()) {
    PostError(kQ3ErrorNotInitialized);
    return Ref();
  }
  return NewInstance(FindClass(type));
}

Ref NewInstance(ClassInfo* cls, const void* parameters) {
  const ClassInfo* maker = cls;
  while (maker && !maker->create) maker = maker->parent;
  if (!maker) {
    PostError(kQ3ErrorInvalidObjectClass);
    return Ref();
  }
  Ref object(maker->create(cls));
  if (cls->custom && cls->instanceSize > 0) {
    object->privateData = NewElementStorage(cls->instanceSize);
  }
  if (auto make = cls->MethodAs<TQ3XObjectNewMethod>(kQ3XMethodTypeObjectNew)) {
    if (make(object.get(), object->PrivateData(), parameters) != kQ3Success) {
      PostError(kQ3ErrorRegistrationFailed);
      return Ref();
    }
  }
  return object;
}

// ---------------------------------------------------------------------------
// References.
Ref& Ref::operator=(Ref&& other) noexcept {
  if (this != &other) {
    reset(other.object_);
    other.object_ = nullptr;
  }
  return *this;
}

Ref::~Ref() { Release(object_); }

void Ref::reset(TQ3Object adopt) {
  TQ3Object old = object_;
  object_ = adopt;
  Release(old);
}

Ref Ref::Share(TQ3Object object) {
  if (object) ++object->refCount;
  return Ref(object);
}

void Release(TQ3Object object) {
  if (!object) return;
  if (object->IsShared() && --object->refCount > 0) return;
  if (auto drop = object->cls->MethodAs<TQ3XObjectDeleteMethod>(kQ3XMethodTypeObjectDelete)) {
    try {
      drop(object, object->PrivateData());
    } catch (...) {
      // Deleting goes on whatever the class's own clean-up did.
    }
  }
  delete object;
}

// While a duplicate is being made, the copies of the shared objects it holds. A shared object
// met again (a member several groups hold) gives the same copy, so the copy keeps the sharing and
// the work stays that of the objects there are, not of the paths to them, which can double with
// every level of groups.
static std::unordered_map<TQ3Object, Ref>* gCopies = nullptr;

Ref Duplicate(TQ3Object object) {
  std::unordered_map<TQ3Object, Ref> copies;
  struct Outermost {
    bool is = gCopies == nullptr;
    explicit Outermost(std::unordered_map<TQ3Object, Ref>* mine) {
      if (is) gCopies = mine;
    }
    ~Outermost() {
      if (is) gCopies = nullptr;
    }
  } outermost(&copies);
  if (object->IsShared()) {
    auto known = gCopies->find(object);
    if (known != gCopies->end()) return known->second.Copy();
  }
  Ref copy = object->Clone();
  if (!copy) return copy;
  if (auto dup = object->cls->MethodAs<TQ3XObjectDuplicateMethod>(kQ3XMethodTypeObjectDuplicate)) {
    if (dup(object, object->PrivateData(), copy.get(), copy->PrivateData()) != kQ3Success) {
      PostWarning(kQ3WarningNoObjectSupportForDuplicateMethod);
      return Ref();
    }
  }
  if (object->IsShared()) gCopies->emplace(object, copy.Copy());
  return copy;
}

// ---------------------------------------------------------------------------
// Validation.
bool IsLive(TQ3Object object) { return object && gLive.count(object) > 0; }

OpaqueTQ3Object* Check(TQ3Object object, TQ3ObjectType type) {
  if (!object) {
    PostError(kQ3ErrorNULLParameter);
    return nullptr;
  }
  if (!IsLive(object)) {
    PostError(kQ3ErrorInvalidObject);
    return nullptr;
  }
  if (type && !object->IsType(type)) {
    PostError(kQ3ErrorInvalidObjectType);
    return nullptr;
  }
  return object;
}

bool CheckPointer(const void* pointer) {
  if (pointer) return true;
  PostError(kQ3ErrorNULLParameter);
  return false;
}

void* AllocData(size_t size) {
  void* p = std::calloc(size ? size : 1, 1);
  if (!p) PostError(kQ3ErrorOutOfMemory);
  return p;
}

}  // namespace q3d

using namespace q3d;

// ---------------------------------------------------------------------------
// The object base.
OpaqueTQ3Object::OpaqueTQ3Object(ClassInfo* c) : cls(c) {
  ++cls->instances;
  gLive.insert(this);
}

OpaqueTQ3Object::~OpaqueTQ3Object() {
  gLive.erase(this);
  --cls->instances;
}

void OpaqueTQ3Object::CopyBase(const OpaqueTQ3Object& other) {
  if (other.elements) elements = other.elements->Duplicate();
  if (other.privateData && cls->instanceSize > 0) {
    privateData = NewElementStorage(cls->instanceSize);
    std::memcpy(privateData.get(), other.privateData.get(), cls->instanceSize);
  }
}

Ref OpaqueTQ3Object::Clone() const {
  Ref copy(new OpaqueTQ3Object(cls));
  copy->CopyBase(*this);
  return copy;
}

ElementSet* OpaqueTQ3Object::Elements(bool create) {
  if (!elements && create) elements = std::make_unique<ElementSet>();
  return elements.get();
}

void OpaqueTQ3Object::ForEachHeld(const std::function<void(TQ3Object)>&) const {}
void OpaqueTQ3Object::WriteData(WriteContext&) const {}
void OpaqueTQ3Object::PlanSubObjects(WriteContext& ctx, WritePlan& plan) const { ctx.PlanElements(elements.get(), plan); }
bool OpaqueTQ3Object::ReadPart(ReadContext&, const Entry&) { return false; }
bool OpaqueTQ3Object::Attach(ReadContext&, Ref) { return false; }

// ---------------------------------------------------------------------------
// Start and end.
TQ3Status Q3Initialize() {
  if (gInitCount > 0) {
    ++gInitCount;
    PostNotice(kQ3NoticeSystemAlreadyInitialized);
    return kQ3Success;
  }
  if (!gRegistry) {
    gRegistry = std::make_unique<Registry>();
    RegisterBuiltinClasses();
  }
  gInitCount = 1;
  return kQ3Success;
}

TQ3Status Q3Exit() {
  if (gInitCount <= 0) {
    PostError(kQ3ErrorNotInitialized);
    return kQ3Failure;
  }
  if (--gInitCount > 0) return kQ3Success;
  // Objects still alive keep their classes; the registry then stays until they go.
  if (!gLive.empty()) {
    PostWarning(kQ3WarningPossibleMemoryLeak);
    return kQ3Success;
  }
  gRegistry.reset();
  return kQ3Success;
}

TQ3Boolean Q3IsInitialized() { return gInitCount > 0 ? kQ3True : kQ3False; }

TQ3Status Q3GetVersion(TQ3Uns32* majorRevision, TQ3Uns32* minorRevision) {
  if (!CheckPointer(majorRevision) || !CheckPointer(minorRevision)) return kQ3Failure;
  *majorRevision = 1;
  *minorRevision = 6;
  return kQ3Success;
}

TQ3Status Q3GetReleaseVersion(TQ3Uns32* releaseRevision) {
  if (!CheckPointer(releaseRevision)) return kQ3Failure;
  *releaseRevision = 0x01608000;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Errors.
TQ3Status Q3Error_Register(TQ3ErrorMethod errorPost, TQ3Int32 reference) {
  gErrors.method = errorPost;
  gErrors.reference = reference;
  return kQ3Success;
}

TQ3Status Q3Warning_Register(TQ3WarningMethod warningPost, TQ3Int32 reference) {
  gWarnings.method = warningPost;
  gWarnings.reference = reference;
  return kQ3Success;
}

TQ3Status Q3Notice_Register(TQ3NoticeMethod noticePost, TQ3Int32 reference) {
  gNotices.method = noticePost;
  gNotices.reference = reference;
  return kQ3Success;
}

TQ3Error Q3Error_Get(TQ3Error* firstError) { return gErrors.Take(firstError); }
TQ3Warning Q3Warning_Get(TQ3Warning* firstWarning) { return gWarnings.Take(firstWarning); }
TQ3Notice Q3Notice_Get(TQ3Notice* firstNotice) { return gNotices.Take(firstNotice); }

TQ3Boolean Q3Error_IsFatalError(TQ3Error error) {
  return error >= kQ3ErrorInternalError && error <= kQ3ErrorLastFatalError ? kQ3True : kQ3False;
}

// ---------------------------------------------------------------------------
// Objects.
TQ3Status Q3Object_Dispose(TQ3Object object) {
  if (!Check(object)) return kQ3Failure;
  Release(object);
  return kQ3Success;
}

TQ3Object Q3Object_Duplicate(TQ3Object object) {
  if (!Check(object)) return nullptr;
  return Duplicate(object).release();
}

TQ3Boolean Q3Object_IsType(TQ3Object object, TQ3ObjectType type) {
  if (!Check(object)) return kQ3False;
  return object->IsType(type) ? kQ3True : kQ3False;
}

TQ3Boolean Q3Object_IsDrawable(TQ3Object object) {
  if (!Check(object)) return kQ3False;
  return Drawable(object) ? kQ3True : kQ3False;
}

TQ3ObjectType Q3Object_GetType(TQ3Object object) {
  if (!Check(object)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = object->cls->Below(kQ3ObjectTypeRoot);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3ObjectType Q3Object_GetLeafType(TQ3Object object) {
  if (!Check(object)) return kQ3ObjectTypeInvalid;
  return object->cls->type;
}

TQ3Status Q3Object_AddElement(TQ3Object object, TQ3ElementType type, const void* data) {
  if (!Check(object)) return kQ3Failure;
  return object->Elements(true)->Add(type, data);
}

TQ3Status Q3Object_GetElement(TQ3Object object, TQ3ElementType type, void* data) {
  if (!Check(object)) return kQ3Failure;
  ElementSet* set = object->Elements(false);
  if (!set) {
    PostError(kQ3ErrorInvalidParameter);
    return kQ3Failure;
  }
  return set->Get(type, data);
}

TQ3Boolean Q3Object_ContainsElement(TQ3Object object, TQ3ElementType type) {
  if (!Check(object)) return kQ3False;
  ElementSet* set = object->Elements(false);
  return set && set->Contains(type) ? kQ3True : kQ3False;
}

TQ3Status Q3Object_GetNextElementType(TQ3Object object, TQ3ElementType* type) {
  if (!Check(object) || !CheckPointer(type)) return kQ3Failure;
  ElementSet* set = object->Elements(false);
  *type = set ? set->Next(*type) : kQ3ElementTypeNone;
  return kQ3Success;
}

TQ3Status Q3Object_EmptyElements(TQ3Object object) {
  if (!Check(object)) return kQ3Failure;
  if (ElementSet* set = object->Elements(false)) set->Empty();
  return kQ3Success;
}

TQ3Status Q3Object_ClearElement(TQ3Object object, TQ3ElementType type) {
  if (!Check(object)) return kQ3Failure;
  ElementSet* set = object->Elements(false);
  if (!set) {
    PostError(kQ3ErrorInvalidParameter);
    return kQ3Failure;
  }
  return set->Clear(type);
}

TQ3ObjectType Q3Shared_GetType(TQ3SharedObject sharedObject) {
  if (!Check(sharedObject, kQ3ObjectTypeShared)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = sharedObject->cls->Below(kQ3ObjectTypeShared);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3SharedObject Q3Shared_GetReference(TQ3SharedObject sharedObject) {
  if (!Check(sharedObject, kQ3ObjectTypeShared)) return nullptr;
  return Ref::Share(sharedObject).release();
}

TQ3Boolean Q3Shared_IsReferenced(TQ3SharedObject sharedObject) {
  if (!Check(sharedObject, kQ3ObjectTypeShared)) return kQ3False;
  return sharedObject->refCount > 1 ? kQ3True : kQ3False;
}

TQ3Uns32 Q3Shared_GetReferenceCount(TQ3SharedObject sharedObject) {
  if (!Check(sharedObject, kQ3ObjectTypeShared)) return 0;
  return sharedObject->refCount;
}

// ---------------------------------------------------------------------------
// The class hierarchy.
TQ3Status Q3ObjectHierarchy_GetTypeFromString(const char* objectClassString, TQ3ObjectType* objectClassType) {
  if (!CheckPointer(objectClassString) || !CheckPointer(objectClassType)) return kQ3Failure;
  *objectClassType = kQ3ObjectTypeInvalid;
  ClassInfo* cls = FindClassByName(objectClassString);
  if (!cls) return kQ3Failure;
  *objectClassType = cls->type;
  return kQ3Success;
}

TQ3Status Q3ObjectHierarchy_GetStringFromType(TQ3ObjectType objectClassType,
                                              TQ3ObjectClassNameString objectClassString) {
  if (!CheckPointer(objectClassString)) return kQ3Failure;
  objectClassString[0] = 0;
  ClassInfo* cls = FindClass(objectClassType);
  if (!cls) return kQ3Failure;
  size_t n = std::min(cls->name.size(), size_t(kQ3StringMaximumLength - 1));
  std::memcpy(objectClassString, cls->name.data(), n);
  objectClassString[n] = 0;
  return kQ3Success;
}

TQ3Boolean Q3ObjectHierarchy_IsTypeRegistered(TQ3ObjectType objectClassType) {
  return FindClass(objectClassType) ? kQ3True : kQ3False;
}

TQ3Boolean Q3ObjectHierarchy_IsNameRegistered(const char* objectClassName) {
  return objectClassName && FindClassByName(objectClassName) ? kQ3True : kQ3False;
}

TQ3Status Q3ObjectHierarchy_GetSubClassData(TQ3ObjectType objectClassType, TQ3SubClassData* subClassData) {
  if (!CheckPointer(subClassData)) return kQ3Failure;
  subClassData->numClasses = 0;
  subClassData->classTypes = nullptr;
  ClassInfo* cls = FindClass(objectClassType);
  if (!cls) {
    PostError(kQ3ErrorInvalidObjectClass);
    return kQ3Failure;
  }
  if (cls->children.empty()) return kQ3Success;
  auto* types = AllocArray<TQ3ObjectType>(cls->children.size());
  if (!types) return kQ3Failure;
  for (size_t i = 0; i < cls->children.size(); ++i) types[i] = cls->children[i]->type;
  subClassData->numClasses = TQ3Uns32(cls->children.size());
  subClassData->classTypes = types;
  return kQ3Success;
}

TQ3Status Q3ObjectHierarchy_EmptySubClassData(TQ3SubClassData* subClassData) {
  if (!CheckPointer(subClassData)) return kQ3Failure;
  std::free(subClassData->classTypes);
  subClassData->classTypes = nullptr;
  subClassData->numClasses = 0;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Classes registered at run time.
static ClassInfo* AsClass(TQ3XObjectClass objectClass) {
  if (!objectClass || !gRegistry) return nullptr;
  for (const auto& c : gRegistry->classes)
    if (reinterpret_cast<TQ3XObjectClass>(c.get()) == objectClass) return c.get();
  return nullptr;
}

static TQ3XObjectClass AsHandle(ClassInfo* cls) { return reinterpret_cast<TQ3XObjectClass>(cls); }

TQ3XObjectClass Q3XObjectHierarchy_RegisterClass(TQ3ObjectType parentType, TQ3ObjectType* objectType,
                                                 const char* objectName, TQ3XMetaHandler metaHandler,
                                                 TQ3XMetaHandler, TQ3Uns32, TQ3Uns32 instanceSize) {
  if (!CheckPointer(objectType)) return nullptr;
  ClassInfo* parent = FindClass(parentType);
  // The new class's objects are made as its parent's; a parent that cannot make
  // objects (elements, storage, strings) cannot be built on.
  if (!parent || parent->element || parent->part || !parent->create) {
    PostError(kQ3ErrorInvalidObjectClass);
    return nullptr;
  }
  ClassInfo* cls = RegisterCustom(parent, objectName, metaHandler);
  if (!cls) return nullptr;
  cls->instanceSize = instanceSize;
  cls->drawable = parent->drawable;
  *objectType = cls->type;
  return AsHandle(cls);
}

TQ3Status Q3XObjectHierarchy_UnregisterClass(TQ3XObjectClass objectClass) {
  ClassInfo* cls = AsClass(objectClass);
  if (!cls || !cls->custom) {
    PostError(kQ3ErrorInvalidObjectClass);
    return kQ3Failure;
  }
  if (InUse(cls) || !cls->children.empty()) {
    PostError(kQ3ErrorObjectClassInUse);
    return kQ3Failure;
  }
  Unlink(cls);
  return kQ3Success;
}

TQ3Object Q3XObjectHierarchy_NewObject(TQ3XObjectClass objectClass, void* parameters) {
  ClassInfo* cls = AsClass(objectClass);
  if (!cls || cls->element) {
    PostError(kQ3ErrorInvalidObjectClass);
    return nullptr;
  }
  return NewInstance(cls, parameters).release();
}

TQ3XObjectClass Q3XObjectHierarchy_FindClassByType(TQ3ObjectType type) { return AsHandle(FindClass(type)); }

TQ3XFunctionPointer Q3XObjectClass_GetMethod(TQ3XObjectClass objectClass, TQ3XMethodType methodType) {
  ClassInfo* cls = AsClass(objectClass);
  if (!cls) {
    PostError(kQ3ErrorInvalidObjectClass);
    return nullptr;
  }
  return cls->Method(methodType);
}

TQ3Status Q3XObjectClass_GetType(TQ3XObjectClass objectClass, TQ3ObjectType* theType) {
  ClassInfo* cls = AsClass(objectClass);
  if (!cls || !CheckPointer(theType)) {
    if (!cls) PostError(kQ3ErrorInvalidObjectClass);
    return kQ3Failure;
  }
  *theType = cls->type;
  return kQ3Success;
}

TQ3XObjectClass Q3XObject_GetClass(TQ3Object object) {
  if (!Check(object)) return nullptr;
  return AsHandle(object->cls);
}

void* Q3XObjectClass_GetPrivate(TQ3XObjectClass objectClass, TQ3Object targetObject) {
  ClassInfo* cls = AsClass(objectClass);
  if (!cls || !Check(targetObject)) return nullptr;
  return targetObject->IsType(cls->type) ? targetObject->PrivateData() : nullptr;
}

static TQ3XObjectClass RegisterElementClass(TQ3ElementType* elementType, const char* name, TQ3Uns32 size,
                                            TQ3XMetaHandler metaHandler, bool attribute) {
  if (!CheckPointer(elementType)) return nullptr;
  ClassInfo* parent = FindClass(attribute ? kQ3ElementTypeAttribute : kQ3ObjectTypeElement);
  ClassInfo* cls = parent ? RegisterCustom(parent, name, metaHandler) : nullptr;
  if (!cls) return nullptr;
  cls->element = true;
  cls->attribute = attribute;
  cls->elementSize = size;
  *elementType = cls->type;
  return AsHandle(cls);
}

TQ3XObjectClass Q3XElementClass_Register(TQ3ElementType* elementType, const char* name, TQ3Uns32 sizeOfElement,
                                         TQ3XMetaHandler metaHandler) {
  return RegisterElementClass(elementType, name, sizeOfElement, metaHandler, false);
}

TQ3XObjectClass Q3XAttributeClass_Register(TQ3AttributeType* attributeType, const char* creatorName,
                                           TQ3Uns32 sizeOfElement, TQ3XMetaHandler metaHandler) {
  return RegisterElementClass(attributeType, creatorName, sizeOfElement, metaHandler, true);
}

TQ3Status Q3XElementType_GetElementSize(TQ3ElementType elementType, TQ3Uns32* sizeOfElement) {
  if (!CheckPointer(sizeOfElement)) return kQ3Failure;
  ClassInfo* cls = FindElementClass(elementType);
  if (!cls) {
    *sizeOfElement = 0;
    PostError(kQ3ErrorUnknownElementType);
    return kQ3Failure;
  }
  *sizeOfElement = cls->elementSize;
  return kQ3Success;
}
