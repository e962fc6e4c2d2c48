// The object model behind the Q3 calls: classes, objects, references, element
// sets and error posting. Private to the library.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Q3.h"

struct OpaqueTQ3Object;

namespace q3d {

using TQ3Uns64 = std::uint64_t;

class ElementSet;
class Reader;
class Writer;
class ReadContext;
class WriteContext;
struct Entry;

// ---------------------------------------------------------------------------
// Errors. A handler may throw; callers post errors where their state is consistent.
void PostError(TQ3Error error);
void PostWarning(TQ3Warning warning);
void PostNotice(TQ3Notice notice);

// ---------------------------------------------------------------------------
// One counted reference, released when the holder goes.
class Ref {
 public:
  Ref() = default;
  explicit Ref(TQ3Object adopt) : object_(adopt) {}
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  Ref& operator=(Ref&& other) noexcept;
  ~Ref();

  // A new reference to a shared object (null stays null).
  static Ref Share(TQ3Object object);
  Ref Copy() const { return Share(object_); }

  TQ3Object get() const { return object_; }
  OpaqueTQ3Object* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  TQ3Object release() {
    TQ3Object o = object_;
    object_ = nullptr;
    return o;
  }
  void reset(TQ3Object adopt = nullptr);

 private:
  TQ3Object object_ = nullptr;
};

// Releases one reference without any check: the caller owns it.
void Release(TQ3Object object);

// ---------------------------------------------------------------------------
// Classes.
using Factory = OpaqueTQ3Object* (*)(struct ClassInfo* cls);
// Reads the data of an object of the class; answers the new object (throws ReadFailure).
using ReadFn = Ref (*)(ReadContext& ctx, struct ClassInfo* cls, const Entry& entry);

// File form of a built-in attribute's value (surface shaders are sub-objects instead).
struct AttributeIO {
  void (*read)(Reader& r, void* value);
  void (*write)(Writer& w, const void* value);
  int floats;  // the value is this many floats (0: another form)
};

struct ClassInfo {
  TQ3ObjectType type = 0;
  std::string name;
  ClassInfo* parent = nullptr;
  std::vector<ClassInfo*> children;
  bool custom = false;
  bool element = false;    // element or attribute class
  bool attribute = false;  // registered as an attribute class (or built in as one)
  bool drawable = false;
  bool part = false;       // a sub-object form in files, never a stand-alone object
  TQ3AttributeType attributeType = 0;  // built-in attributes: 1 .. 12
  TQ3Uns32 elementSize = 0;
  TQ3Uns32 instanceSize = 0;
  std::unordered_map<TQ3XMethodType, TQ3XFunctionPointer> methods;
  long instances = 0;
  Factory create = nullptr;
  ReadFn read = nullptr;
  const AttributeIO* attributeIO = nullptr;

  TQ3XFunctionPointer Method(TQ3XMethodType type) const;
  template <class F>
  F MethodAs(TQ3XMethodType type) const {
    return reinterpret_cast<F>(Method(type));
  }
  bool IsA(TQ3ObjectType t) const;
  // The class directly below the ancestor of type base, or null.
  const ClassInfo* Below(TQ3ObjectType base) const;
};

bool LibraryOpen();
ClassInfo* FindClass(TQ3ObjectType type);
ClassInfo* FindClassByName(std::string_view name);
// The same with no regard to case, for files of writers that do not keep it.
ClassInfo* FindClassByNameNoCase(std::string_view name);
// Built-in attribute types 1 .. 12 and the types of element and attribute classes.
ClassInfo* FindElementClass(TQ3ElementType type);
// A new object of a built-in class (kQ3ErrorNotInitialized before Q3Initialize).
Ref NewObject(TQ3ObjectType type);
// Makes an instance of the class (or of its nearest ancestor with a factory),
// with private data and the new method of a registered class.
Ref NewInstance(ClassInfo* cls, const void* parameters = nullptr);

// ---------------------------------------------------------------------------
// Elements: each holds class-sized data, copied through the class's methods.
class ElementSet {
 public:
  struct Slot {
    ClassInfo* cls = nullptr;
    TQ3ElementType type = 0;
    std::unique_ptr<std::max_align_t[]> storage;
    void* data() const { return storage.get(); }
  };

  ElementSet() = default;
  ElementSet(const ElementSet&) = delete;
  ElementSet& operator=(const ElementSet&) = delete;
  ~ElementSet();

  TQ3Status Add(TQ3ElementType type, const void* data);
  TQ3Status Get(TQ3ElementType type, void* data) const;
  bool Contains(TQ3ElementType type) const;
  TQ3Status Clear(TQ3ElementType type);
  void Empty();
  TQ3ElementType Next(TQ3ElementType type) const;
  // A copy through the duplicate methods; elements that fail to copy are left out.
  std::unique_ptr<ElementSet> Duplicate() const;
  // Adds the parent's inheritable elements that this set lacks.
  void InheritFrom(const ElementSet& parent);
  const std::vector<Slot>& Slots() const { return slots_; }
  bool empty() const { return slots_.empty(); }
  const Slot* Find(TQ3ElementType type) const;
  void Swap(ElementSet& other) { slots_.swap(other.slots_); }

 private:
  std::vector<Slot> slots_;
};

// Element storage of at least size bytes (never null), zero-filled.
std::unique_ptr<std::max_align_t[]> NewElementStorage(TQ3Uns32 size);
void DeleteElementData(ClassInfo* cls, void* data);

// ---------------------------------------------------------------------------
// Validation of object arguments. Post kQ3ErrorInvalidObject (or ...Type) and
// answer null when the object is not a live object of the type.
bool IsLive(TQ3Object object);
OpaqueTQ3Object* Check(TQ3Object object, TQ3ObjectType type = 0);
template <class T>
T* As(TQ3Object object, TQ3ObjectType type) {
  return static_cast<T*>(Check(object, type));
}
bool CheckPointer(const void* pointer);  // posts kQ3ErrorNULLParameter for null

// Allocation of plain data handed to callers (released with free()).
void* AllocData(size_t size);
template <class T>
T* AllocArray(size_t count) {
  return static_cast<T*>(AllocData(count * sizeof(T)));
}

// Writing into a file: the object's root data and its sub-objects.
struct WritePlan;

}  // namespace q3d

// ---------------------------------------------------------------------------
// The base of every object.
struct OpaqueTQ3Object {
  explicit OpaqueTQ3Object(q3d::ClassInfo* cls);
  OpaqueTQ3Object(const OpaqueTQ3Object&) = delete;
  OpaqueTQ3Object& operator=(const OpaqueTQ3Object&) = delete;
  virtual ~OpaqueTQ3Object();

  // A deep copy (members, attribute sets and elements duplicated).
  virtual q3d::Ref Clone() const;
  // Where elements added to the object go (created on demand when create is true).
  virtual q3d::ElementSet* Elements(bool create);
  // Objects this one holds, for refusing cycles in groups.
  virtual void ForEachHeld(const std::function<void(TQ3Object)>& visit) const;

  // 3DMF writing: the root data, then the sub-objects.
  virtual void WriteData(q3d::WriteContext& ctx) const;
  virtual void PlanSubObjects(q3d::WriteContext& ctx, q3d::WritePlan& plan) const;
  // 3DMF reading: a sub-object that only this class understands (true when handled).
  virtual bool ReadPart(q3d::ReadContext& ctx, const q3d::Entry& entry);
  // 3DMF reading: a sub-object read as an object; false when it does not belong here.
  virtual bool Attach(q3d::ReadContext& ctx, q3d::Ref child);

  bool IsType(TQ3ObjectType type) const { return cls->IsA(type); }
  bool IsShared() const { return cls->IsA(kQ3ObjectTypeShared); }
  void* PrivateData() const { return privateData.get(); }

  q3d::ClassInfo* cls;
  TQ3Uns32 refCount = 1;
  std::unique_ptr<q3d::ElementSet> elements;
  std::unique_ptr<std::max_align_t[]> privateData;

 protected:
  // Copies the class, elements and private data of other into this new object.
  void CopyBase(const OpaqueTQ3Object& other);
};
