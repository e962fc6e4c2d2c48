#include "TestClasses.h"

#include <map>

namespace q3test {
namespace {

// One table serves every registration, filled right before it: the library must
// take the methods while it registers.
std::map<TQ3XMethodType, TQ3XFunctionPointer> gTable;

TQ3XFunctionPointer MetaHandler(TQ3XMethodType type) {
  auto it = gTable.find(type);
  return it == gTable.end() ? nullptr : it->second;
}

template <class F>
void Put(TQ3XMethodType type, F f) {
  gTable[type] = reinterpret_cast<TQ3XFunctionPointer>(f);
}

bool AtEnd(TQ3FileObject file) {
  return Q3File_IsEndOfData(file) == kQ3True && Q3File_IsEndOfContainer(file, nullptr) == kQ3True;
}

// --- a vector
TQ3Status ReadVector(TQ3Object set, TQ3FileObject file) {
  TQ3Vector3D v;
  if (Q3Vector3D_Read(&v, file) != kQ3Success || !AtEnd(file)) return kQ3Failure;
  return Q3Set_Add(set, Types().vector, &v);
}
TQ3Status TraverseVector(TQ3Object, void* data, TQ3ViewObject view) {
  return data ? Q3XView_SubmitWriteData(view, 12, data, nullptr) : kQ3Success;
}
TQ3Status WriteVector(const void* data, TQ3FileObject file) {
  return Q3Vector3D_Write(static_cast<const TQ3Vector3D*>(data), file);
}

// --- a number
TQ3Status ReadNumber(TQ3Object set, TQ3FileObject file) {
  TQ3Int32 v;
  if (Q3Int32_Read(&v, file) != kQ3Success || !AtEnd(file)) return kQ3Failure;
  return Q3Set_Add(set, Types().number, &v);
}
TQ3Status TraverseNumber(TQ3Object, void* data, TQ3ViewObject view) {
  return data ? Q3XView_SubmitWriteData(view, 4, data, nullptr) : kQ3Success;
}
TQ3Status WriteNumber(const void* data, TQ3FileObject file) {
  return Q3Int32_Write(*static_cast<const TQ3Int32*>(data), file);
}

// --- a C string object, held by reference and written as a sub-object
TQ3Status ReadCaption(TQ3Object set, TQ3FileObject file) {
  TQ3Object o = Q3File_ReadObject(file);
  if (o && !Q3Object_IsType(o, kQ3StringTypeCString)) {
    Q3Object_Dispose(o);
    return kQ3Failure;
  }
  TQ3Status status = AtEnd(file) ? Q3Set_Add(set, Types().caption, &o) : kQ3Failure;
  if (o) Q3Object_Dispose(o);
  return status;
}
TQ3Status TraverseCaption(TQ3Object, void* data, TQ3ViewObject view) {
  if (!data) return kQ3Failure;
  if (Q3XView_SubmitWriteData(view, 0, nullptr, nullptr) != kQ3Success) return kQ3Failure;
  TQ3Object o = *static_cast<TQ3Object*>(data);
  return o ? Q3Object_Submit(o, view) : kQ3Success;
}
TQ3Status ShareCaption(const void* from, void* to) {
  TQ3Object o = *static_cast<const TQ3Object*>(from);
  *static_cast<TQ3Object*>(to) = o ? Q3Shared_GetReference(o) : nullptr;
  return kQ3Success;
}
TQ3Status ReplaceCaption(const void* from, void* onto) {
  TQ3Object old = *static_cast<TQ3Object*>(onto);
  ShareCaption(from, onto);
  if (old) Q3Object_Dispose(old);
  return kQ3Success;
}
TQ3Status DuplicateCaption(const void* from, void* to) {
  TQ3Object o = *static_cast<const TQ3Object*>(from);
  *static_cast<TQ3Object*>(to) = o ? Q3Object_Duplicate(o) : nullptr;
  return kQ3Success;
}
TQ3Status DeleteCaption(void* data) {
  TQ3Object o = *static_cast<TQ3Object*>(data);
  if (o) Q3Object_Dispose(o);
  return kQ3Success;
}

// --- a packed flag array: count, then one bit per flag, least significant first
TQ3Status ReadFlags(TQ3Object set, TQ3FileObject file) {
  std::vector<TQ3Uns8> flags;
  if (Q3File_IsEndOfData(file) == kQ3False) {
    TQ3Uns32 count = 0;
    if (Q3Uns32_Read(&count, file) != kQ3Success || count > 1u << 20) return kQ3Failure;
    flags.assign(count, 0);
    std::vector<TQ3Uns8> bytes((count + 7) / 8);
    if (count && Q3RawData_Read(bytes.data(), TQ3Uns32(bytes.size()), file) != kQ3Success) return kQ3Failure;
    for (TQ3Uns32 i = 0; i < count; ++i) flags[i] = (bytes[i / 8] >> (i % 8)) & 1;
  }
  FlagArray array = &flags;
  return Q3Set_Add(set, Types().flags, &array);
}
TQ3Status TraverseFlags(TQ3Object, void* data, TQ3ViewObject view) {
  if (!data) return kQ3Success;
  FlagArray array = *static_cast<FlagArray*>(data);
  TQ3Size size = array->empty() ? 0 : 4 + Q3Size_Pad(TQ3Size((array->size() + 7) / 8));
  return Q3XView_SubmitWriteData(view, size, data, nullptr);
}
TQ3Status WriteFlags(const void* data, TQ3FileObject file) {
  FlagArray array = *static_cast<const FlagArray*>(data);
  std::vector<TQ3Uns8> bytes((array->size() + 7) / 8, 0);
  for (size_t i = 0; i < array->size(); ++i)
    if ((*array)[i]) bytes[i / 8] |= TQ3Uns8(1u << (i % 8));
  if (Q3NewLine_Write(file) != kQ3Success || Q3Uns32_Write(TQ3Uns32(array->size()), file) != kQ3Success ||
      Q3Comment_Write("numBits", file) != kQ3Success)
    return kQ3Failure;
  return bytes.empty() ? kQ3Success : Q3RawData_Write(bytes.data(), TQ3Uns32(bytes.size()), file);
}
TQ3Status NewFlags(const void* from, void* to) {
  *static_cast<FlagArray*>(to) = new std::vector<TQ3Uns8>(**static_cast<const FlagArray*>(from));
  return kQ3Success;
}
TQ3Status AssignFlags(const void* from, void* to) {
  **static_cast<FlagArray*>(to) = **static_cast<const FlagArray*>(from);
  return kQ3Success;
}
TQ3Status DeleteFlags(void* data) {
  delete *static_cast<FlagArray*>(data);
  *static_cast<FlagArray*>(data) = nullptr;
  return kQ3Success;
}

// --- presence only
TQ3Status ReadPresence(TQ3Object set, TQ3FileObject) { return Q3Set_Add(set, Types().presence, nullptr); }
TQ3Status TraversePresence(TQ3Object, void*, TQ3ViewObject view) {
  return Q3XView_SubmitWriteData(view, 0, nullptr, nullptr);
}

// --- a group subclass that writes no data of its own
TQ3Status NewSequence(TQ3Object, void*, const void*) { return kQ3Success; }
TQ3Object ReadSequence(TQ3FileObject) { return Q3XObjectHierarchy_NewObject(Types().sequenceClass, nullptr); }
TQ3Status WriteNothing(const void*, TQ3FileObject) { return kQ3Success; }
TQ3Status TraverseSequence(TQ3Object, void*, TQ3ViewObject view) {
  return Q3XView_SubmitWriteData(view, 0, nullptr, nullptr);
}

TQ3ElementType RegisterElement(const char* name, TQ3Uns32 size) {
  TQ3ElementType type = 0;
  TQ3XObjectClass cls = Q3XElementClass_Register(&type, name, size, MetaHandler);
  gTable.clear();
  if (cls) Types().classes.push_back(cls);
  return type;
}

}  // namespace

TestTypes& Types() {
  static TestTypes types;
  return types;
}

void RegisterTestClasses() {
  Types() = TestTypes{};
  gTable.clear();
  Put(kQ3XMethodTypeObjectReadData, ReadVector);
  Put(kQ3XMethodTypeObjectTraverse, TraverseVector);
  Put(kQ3XMethodTypeObjectWrite, WriteVector);
  Types().vector = RegisterElement("Test:Vector", sizeof(TQ3Vector3D));

  Put(kQ3XMethodTypeObjectReadData, ReadNumber);
  Put(kQ3XMethodTypeObjectTraverse, TraverseNumber);
  Put(kQ3XMethodTypeObjectWrite, WriteNumber);
  Types().number = RegisterElement("Test:Number", sizeof(TQ3Int32));

  Put(kQ3XMethodTypeObjectReadData, ReadCaption);
  Put(kQ3XMethodTypeObjectTraverse, TraverseCaption);
  Put(kQ3XMethodTypeElementCopyAdd, ShareCaption);
  Put(kQ3XMethodTypeElementCopyGet, ShareCaption);
  Put(kQ3XMethodTypeElementCopyReplace, ReplaceCaption);
  Put(kQ3XMethodTypeElementCopyDuplicate, DuplicateCaption);
  Put(kQ3XMethodTypeElementDelete, DeleteCaption);
  Types().caption = RegisterElement("Test:Caption", sizeof(TQ3Object));

  Put(kQ3XMethodTypeObjectReadData, ReadFlags);
  Put(kQ3XMethodTypeObjectTraverse, TraverseFlags);
  Put(kQ3XMethodTypeObjectWrite, WriteFlags);
  Put(kQ3XMethodTypeElementCopyAdd, NewFlags);
  Put(kQ3XMethodTypeElementCopyDuplicate, NewFlags);
  Put(kQ3XMethodTypeElementCopyReplace, AssignFlags);
  Put(kQ3XMethodTypeElementCopyGet, AssignFlags);
  Put(kQ3XMethodTypeElementDelete, DeleteFlags);
  Types().flags = RegisterElement("Test:Flags", sizeof(FlagArray));

  Put(kQ3XMethodTypeObjectReadData, ReadPresence);
  Put(kQ3XMethodTypeObjectTraverse, TraversePresence);
  Types().presence = RegisterElement("Test:Presence", 0);

  Types().memoryOnly = RegisterElement("Test:MemoryOnly", sizeof(TQ3Int32));

  Put(kQ3XMethodTypeObjectNew, NewSequence);
  Put(kQ3XMethodTypeObjectRead, ReadSequence);
  Put(kQ3XMethodTypeObjectWrite, WriteNothing);
  Put(kQ3XMethodTypeObjectTraverse, TraverseSequence);
  Put(kQ3XMethodTypeObjectTraverseData, TraverseSequence);
  Types().sequenceClass = Q3XObjectHierarchy_RegisterClass(kQ3ShapeTypeGroup, &Types().sequence,
                                                           "Test:Group:Sequence", MetaHandler, nullptr, 0, 0);
  gTable.clear();
}

void UnregisterTestClasses() {
  if (Types().sequenceClass) Q3XObjectHierarchy_UnregisterClass(Types().sequenceClass);
  for (TQ3XObjectClass cls : Types().classes) Q3XObjectHierarchy_UnregisterClass(cls);
  Types() = TestTypes{};
}

}  // namespace q3test
