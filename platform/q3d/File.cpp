// File objects, the primitive reads and writes of registered classes, unknown
// objects, and views as far as writing goes.
#include <cstdlib>

#include "ByteReader.h"
#include "internal/Classes.h"
#include "internal/Metafile.h"
#include "internal/MetafileFormat.h"
#include "internal/Storage.h"

namespace q3d {
namespace {

struct FileObj : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  ~FileObj() override {
    // An open file being written is finished as it goes; nothing may escape here.
    try {
      Finish(false);
    } catch (...) {
    }
  }
  Ref Clone() const override {
    Ref copy(new FileObj(cls));
    static_cast<FileObj*>(copy.get())->storage = storage.Copy();
    return copy;
  }

  StorageObject* Store() const { return static_cast<StorageObject*>(storage.get()); }
  bool IsOpen() const { return reading || writing; }

  // Ends reading or writing; writing puts the file on the storage unless cancelled.
  TQ3Status Finish(bool cancel) {
    TQ3Status status = kQ3Success;
    if (writing) {
      std::unique_ptr<WriteContext> ctx = std::move(writing);
      if (!cancel) {
        std::vector<TQ3Uns8> bytes = ctx->Finish();
        if (!Store()->WriteAll(bytes)) {
          Store()->inUse = false;
          PostError(kQ3ErrorUnixError);
          return kQ3Failure;
        }
      }
    }
    reading.reset();
    if (storage) Store()->inUse = false;
    return status;
  }

  Ref storage;
  std::unique_ptr<ReadContext> reading;
  std::unique_ptr<WriteContext> writing;
  TQ3FileMode mode = 0;
  TQ3FileVersion version = 0;
  TQ3FileIdleMethod idle = nullptr;
  const void* idleData = nullptr;
};

struct ViewObj : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  // A copy is a view of its own, not writing anything yet.
  Ref Clone() const override { return Ref(new ViewObj(cls)); }
  Ref file;  // the file being written, while writing
  bool cancelled = false;
};

OpaqueTQ3Object* MakeFile(ClassInfo* c) { return new FileObj(c); }
OpaqueTQ3Object* MakeView(ClassInfo* c) { return new ViewObj(c); }

FileObj* FileOf(TQ3Object file) { return As<FileObj>(file, kQ3SharedTypeFile); }

// The reader inside a read method, or null with the error posted.
Reader* MethodReader(TQ3FileObject file) {
  FileObj* f = FileOf(file);
  if (!f) return nullptr;
  if (!f->reading || !f->reading->InMethod()) {
    PostError(kQ3ErrorReadStateInactive);
    return nullptr;
  }
  return &f->reading->r();
}

// The writer inside a write method, or null with the error posted.
Writer* MethodWriter(TQ3FileObject file) {
  FileObj* f = FileOf(file);
  if (!f) return nullptr;
  if (!f->writing || f->writing->w().OpenObjects() == 0) {
    PostError(kQ3ErrorWriteStateInactive);
    return nullptr;
  }
  return &f->writing->w();
}

template <class T, class F>
TQ3Status ReadValue(TQ3FileObject file, T* out, F fn) {
  Reader* r = MethodReader(file);
  if (!r || !CheckPointer(out)) return kQ3Failure;
  try {
    *out = fn(*r);
    return kQ3Success;
  } catch (ReadFailure&) {
    return kQ3Failure;
  }
}

template <class F>
TQ3Status WriteValue(TQ3FileObject file, F fn) {
  Writer* w = MethodWriter(file);
  if (!w) return kQ3Failure;
  fn(*w);
  return kQ3Success;
}

}  // namespace

ReadContext* FileReading(TQ3FileObject file) { return static_cast<FileObj*>(file)->reading.get(); }
WriteContext* FileWriting(TQ3FileObject file) { return static_cast<FileObj*>(file)->writing.get(); }

bool CallFileIdle(TQ3FileObject file) {
  auto* f = static_cast<FileObj*>(file);
  return !f->idle || f->idle(file, f->idleData) == kQ3Success;
}

void RegisterFileClasses() {
  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeFile, "File", MakeFile, nullptr, false);
  AddClass(kQ3ObjectTypeRoot, kQ3ObjectTypeView, "View", MakeView, nullptr, false);
}

}  // namespace q3d

using namespace q3d;

// ---------------------------------------------------------------------------
// Files.
TQ3FileObject Q3File_New() { return NewObject(kQ3SharedTypeFile).release(); }

TQ3Status Q3File_GetStorage(TQ3FileObject file, TQ3StorageObject* storage) {
  FileObj* f = FileOf(file);
  if (!f || !CheckPointer(storage)) return kQ3Failure;
  *storage = f->storage.Copy().release();
  return kQ3Success;
}

TQ3Status Q3File_SetStorage(TQ3FileObject file, TQ3StorageObject storage) {
  FileObj* f = FileOf(file);
  if (!f || (storage && !Check(storage, kQ3SharedTypeStorage))) return kQ3Failure;
  if (f->IsOpen()) {
    PostError(kQ3ErrorFileIsOpen);
    return kQ3Failure;
  }
  f->storage = Ref::Share(storage);
  return kQ3Success;
}

TQ3Status Q3File_OpenRead(TQ3FileObject file, TQ3FileMode* mode) {
  FileObj* f = FileOf(file);
  if (!f) return kQ3Failure;
  if (!f->storage) {
    PostError(kQ3ErrorNoStorageSetForFile);
    return kQ3Failure;
  }
  if (f->IsOpen()) {
    PostError(kQ3ErrorFileAlreadyOpen);
    return kQ3Failure;
  }
  std::vector<TQ3Uns8> bytes;
  if (!f->Store()->ReadAll(bytes)) {
    PostError(kQ3ErrorUnixError);
    return kQ3Failure;
  }
  std::unique_ptr<Reader> reader;
  const TQ3Uns32 magic = vlcore::ByteReader(bytes.data(), bytes.size()).U32();
  if (magic == format::kMagic)
    reader = NewBinaryReader(std::move(bytes), false);
  else if (magic == format::kSwappedMagic)
    reader = NewBinaryReader(std::move(bytes), true);
  else
    reader = NewTextReader(std::move(bytes));
  if (!reader) return kQ3Failure;
  auto ctx = std::make_unique<ReadContext>(std::move(reader), file);
  TQ3FileMode found = 0;
  TQ3FileVersion version = 0;
  if (!ctx->Open(&found, &version)) return kQ3Failure;
  f->reading = std::move(ctx);
  f->mode = found;
  f->version = version;
  f->Store()->inUse = true;
  if (mode) *mode = found;
  return kQ3Success;
}

TQ3Status Q3File_OpenWrite(TQ3FileObject file, TQ3FileMode mode) {
  FileObj* f = FileOf(file);
  if (!f) return kQ3Failure;
  if (!f->storage) {
    PostError(kQ3ErrorNoStorageSetForFile);
    return kQ3Failure;
  }
  if (f->IsOpen()) {
    PostError(kQ3ErrorFileAlreadyOpen);
    return kQ3Failure;
  }
  bool stream = (mode & kQ3FileModeStream) != 0;
  auto writer = (mode & kQ3FileModeText) ? NewTextWriter(stream) : NewBinaryWriter(stream);
  f->writing = std::make_unique<WriteContext>(std::move(writer), file, stream);
  f->mode = mode;
  f->version = (format::kMajorVersion << 16) | format::kMinorVersion;
  f->Store()->inUse = true;
  return kQ3Success;
}

TQ3Status Q3File_IsOpen(TQ3FileObject file, TQ3Boolean* isOpen) {
  FileObj* f = FileOf(file);
  if (!f || !CheckPointer(isOpen)) return kQ3Failure;
  *isOpen = f->IsOpen() ? kQ3True : kQ3False;
  return kQ3Success;
}

TQ3Status Q3File_GetMode(TQ3FileObject file, TQ3FileMode* mode) {
  FileObj* f = FileOf(file);
  if (!f || !CheckPointer(mode)) return kQ3Failure;
  if (!f->IsOpen()) {
    PostError(kQ3ErrorFileNotOpen);
    return kQ3Failure;
  }
  *mode = f->mode;
  return kQ3Success;
}

TQ3Status Q3File_GetVersion(TQ3FileObject file, TQ3FileVersion* version) {
  FileObj* f = FileOf(file);
  if (!f || !CheckPointer(version)) return kQ3Failure;
  if (!f->IsOpen()) {
    PostError(kQ3ErrorFileNotOpen);
    return kQ3Failure;
  }
  *version = f->version;
  return kQ3Success;
}

TQ3Status Q3File_Close(TQ3FileObject file) {
  FileObj* f = FileOf(file);
  if (!f) return kQ3Failure;
  if (!f->IsOpen()) {
    PostError(kQ3ErrorFileNotOpen);
    return kQ3Failure;
  }
  return f->Finish(false);
}

TQ3Status Q3File_Cancel(TQ3FileObject file) {
  FileObj* f = FileOf(file);
  if (!f) return kQ3Failure;
  return f->Finish(true);
}

static ReadContext* Reading(TQ3FileObject file) {
  FileObj* f = FileOf(file);
  if (!f) return nullptr;
  if (!f->reading) {
    PostError(kQ3ErrorFileNotOpen);
    return nullptr;
  }
  return f->reading.get();
}

TQ3Object Q3File_ReadObject(TQ3FileObject file) {
  ReadContext* ctx = Reading(file);
  return ctx ? ctx->ReadNext().release() : nullptr;
}

TQ3Status Q3File_SkipObject(TQ3FileObject file) {
  ReadContext* ctx = Reading(file);
  return ctx && ctx->SkipNext() ? kQ3Success : kQ3Failure;
}

TQ3Boolean Q3File_IsEndOfData(TQ3FileObject file) {
  ReadContext* ctx = Reading(file);
  return !ctx || ctx->AtEndOfData() ? kQ3True : kQ3False;
}

TQ3Boolean Q3File_IsEndOfContainer(TQ3FileObject file, TQ3Object) {
  ReadContext* ctx = Reading(file);
  return !ctx || ctx->AtEndOfContainer() ? kQ3True : kQ3False;
}

TQ3Boolean Q3File_IsEndOfFile(TQ3FileObject file) {
  ReadContext* ctx = Reading(file);
  return !ctx || ctx->AtEndOfFile() ? kQ3True : kQ3False;
}

TQ3Status Q3File_SetIdleMethod(TQ3FileObject file, TQ3FileIdleMethod idle, const void* idleData) {
  FileObj* f = FileOf(file);
  if (!f) return kQ3Failure;
  f->idle = idle;
  f->idleData = idleData;
  return kQ3Success;
}

TQ3Status Q3File_GetPosition(TQ3FileObject file, TQ3Uns32* position, TQ3Uns32* length) {
  ReadContext* ctx = Reading(file);
  if (!ctx || !CheckPointer(position) || !CheckPointer(length)) return kQ3Failure;
  *position = TQ3Uns32(ctx->Progress());
  *length = TQ3Uns32(ctx->r().Length());
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Primitives.
TQ3Status Q3Uns8_Read(TQ3Uns8* d, TQ3FileObject f) { return ReadValue(f, d, [](Reader& r) { return r.U8(); }); }
TQ3Status Q3Int8_Read(TQ3Int8* d, TQ3FileObject f) { return ReadValue(f, d, [](Reader& r) { return r.I8(); }); }
TQ3Status Q3Uns16_Read(TQ3Uns16* d, TQ3FileObject f) { return ReadValue(f, d, [](Reader& r) { return r.U16(); }); }
TQ3Status Q3Int16_Read(TQ3Int16* d, TQ3FileObject f) { return ReadValue(f, d, [](Reader& r) { return r.I16(); }); }
TQ3Status Q3Uns32_Read(TQ3Uns32* d, TQ3FileObject f) { return ReadValue(f, d, [](Reader& r) { return r.U32(); }); }
TQ3Status Q3Int32_Read(TQ3Int32* d, TQ3FileObject f) { return ReadValue(f, d, [](Reader& r) { return r.I32(); }); }
TQ3Status Q3Float32_Read(TQ3Float32* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) { return r.F32(); });
}
TQ3Status Q3Float64_Read(TQ3Float64* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) { return r.F64(); });
}
TQ3Status Q3Point2D_Read(TQ3Point2D* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) { return r.Point2D(); });
}
TQ3Status Q3Point3D_Read(TQ3Point3D* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) { return r.Point3D(); });
}
TQ3Status Q3Vector2D_Read(TQ3Vector2D* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) {
    TQ3Point2D p = r.Point2D();
    return TQ3Vector2D{p.x, p.y};
  });
}
TQ3Status Q3Vector3D_Read(TQ3Vector3D* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) { return r.Vector3D(); });
}
TQ3Status Q3Param2D_Read(TQ3Param2D* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) { return r.Param2D(); });
}
TQ3Status Q3Matrix4x4_Read(TQ3Matrix4x4* d, TQ3FileObject f) {
  return ReadValue(f, d, [](Reader& r) { return r.Matrix4x4(); });
}

TQ3Status Q3Uns8_Write(TQ3Uns8 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.U8(v); }); }
TQ3Status Q3Int8_Write(TQ3Int8 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.I8(v); }); }
TQ3Status Q3Uns16_Write(TQ3Uns16 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.U16(v); }); }
TQ3Status Q3Int16_Write(TQ3Int16 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.I16(v); }); }
TQ3Status Q3Uns32_Write(TQ3Uns32 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.U32(v); }); }
TQ3Status Q3Int32_Write(TQ3Int32 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.I32(v); }); }
TQ3Status Q3Float32_Write(TQ3Float32 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.F32(v); }); }
TQ3Status Q3Float64_Write(TQ3Float64 v, TQ3FileObject f) { return WriteValue(f, [v](Writer& w) { w.F64(v); }); }

template <class T, class F>
static TQ3Status WritePointer(const T* v, TQ3FileObject f, F fn) {
  if (!CheckPointer(v)) return kQ3Failure;
  return WriteValue(f, [&](Writer& w) { fn(w, *v); });
}

TQ3Status Q3Point2D_Write(const TQ3Point2D* v, TQ3FileObject f) {
  return WritePointer(v, f, [](Writer& w, const TQ3Point2D& p) { w.Point2D(p); });
}
TQ3Status Q3Point3D_Write(const TQ3Point3D* v, TQ3FileObject f) {
  return WritePointer(v, f, [](Writer& w, const TQ3Point3D& p) { w.Point3D(p); });
}
TQ3Status Q3Vector2D_Write(const TQ3Vector2D* v, TQ3FileObject f) {
  return WritePointer(v, f, [](Writer& w, const TQ3Vector2D& p) { w.Floats(&p.x, 2); });
}
TQ3Status Q3Vector3D_Write(const TQ3Vector3D* v, TQ3FileObject f) {
  return WritePointer(v, f, [](Writer& w, const TQ3Vector3D& p) { w.Vector3D(p); });
}
TQ3Status Q3Param2D_Write(const TQ3Param2D* v, TQ3FileObject f) {
  return WritePointer(v, f, [](Writer& w, const TQ3Param2D& p) { w.Param2D(p); });
}
TQ3Status Q3Matrix4x4_Write(const TQ3Matrix4x4* v, TQ3FileObject f) {
  return WritePointer(v, f, [](Writer& w, const TQ3Matrix4x4& m) { w.Matrix4x4(m); });
}

TQ3Status Q3String_Read(char* data, TQ3Uns32* length, TQ3FileObject file) {
  Reader* r = MethodReader(file);
  if (!r || !CheckPointer(length)) return kQ3Failure;
  try {
    if (!data) {
      // Only the length: the data stays unread.
      Reader::Range saved = r->Data();
      std::string s = r->String();
      r->SetData(saved);
      *length = TQ3Uns32(std::min<size_t>(s.size(), kQ3StringMaximumLength - 1));
      return kQ3Success;
    }
    std::string s = r->String();
    if (s.size() >= kQ3StringMaximumLength) {
      PostWarning(kQ3WarningStringExceedsMaximumLength);
      s.resize(kQ3StringMaximumLength - 1);
    }
    std::memcpy(data, s.c_str(), s.size() + 1);
    *length = TQ3Uns32(s.size());
    return kQ3Success;
  } catch (ReadFailure&) {
    return kQ3Failure;
  }
}

TQ3Status Q3String_Write(const char* data, TQ3FileObject file) {
  if (!CheckPointer(data)) return kQ3Failure;
  return WriteValue(file, [data](Writer& w) { w.String(data); });
}

TQ3Status Q3RawData_Read(unsigned char* data, TQ3Uns32 size, TQ3FileObject file) {
  Reader* r = MethodReader(file);
  if (!r || (size && !CheckPointer(data))) return kQ3Failure;
  try {
    r->Raw(data, size);
    return kQ3Success;
  } catch (ReadFailure&) {
    return kQ3Failure;
  }
}

TQ3Status Q3RawData_Write(const unsigned char* data, TQ3Uns32 size, TQ3FileObject file) {
  if (size && !CheckPointer(data)) return kQ3Failure;
  return WriteValue(file, [=](Writer& w) { w.Raw(data, size); });
}

TQ3Status Q3Comment_Write(const char* comment, TQ3FileObject file) {
  if (!CheckPointer(comment)) return kQ3Failure;
  return WriteValue(file, [comment](Writer& w) { w.Comment(comment); });
}

TQ3Status Q3NewLine_Write(TQ3FileObject file) {
  return WriteValue(file, [](Writer& w) { w.NewLine(); });
}

TQ3Size Q3Size_Pad(TQ3Size size) { return (size + 3) & ~TQ3Size(3); }

// ---------------------------------------------------------------------------
// Unknown objects.
static UnknownObject* UnknownOf(TQ3Object object, TQ3ObjectType type) { return As<UnknownObject>(object, type); }

static char* CopyText(const std::string& s) {
  char* out = AllocArray<char>(s.size() + 1);
  if (out) std::memcpy(out, s.c_str(), s.size() + 1);
  return out;
}

TQ3ObjectType Q3Unknown_GetType(TQ3UnknownObject unknownObject) {
  if (!Check(unknownObject, kQ3ShapeTypeUnknown)) return kQ3ObjectTypeInvalid;
  return unknownObject->cls->type;
}

TQ3Status Q3UnknownText_GetData(TQ3UnknownObject unknownObject, TQ3UnknownTextData* d) {
  UnknownObject* u = UnknownOf(unknownObject, kQ3UnknownTypeText);
  if (!u || !CheckPointer(d)) return kQ3Failure;
  d->objectName = CopyText(u->name);
  d->contents = CopyText(u->contents);
  return kQ3Success;
}

TQ3Status Q3UnknownText_EmptyData(TQ3UnknownTextData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  std::free(d->objectName);
  std::free(d->contents);
  *d = TQ3UnknownTextData{};
  return kQ3Success;
}

TQ3Status Q3UnknownBinary_GetData(TQ3UnknownObject unknownObject, TQ3UnknownBinaryData* d) {
  UnknownObject* u = UnknownOf(unknownObject, kQ3UnknownTypeBinary);
  if (!u || !CheckPointer(d)) return kQ3Failure;
  d->objectType = u->fileType;
  d->size = TQ3Size(u->contents.size());
  d->byteOrder = u->byteOrder;
  d->contents = AllocArray<char>(u->contents.size());
  if (d->contents && !u->contents.empty()) std::memcpy(d->contents, u->contents.data(), u->contents.size());
  return kQ3Success;
}

TQ3Status Q3UnknownBinary_EmptyData(TQ3UnknownBinaryData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  std::free(d->contents);
  *d = TQ3UnknownBinaryData{};
  return kQ3Success;
}

TQ3Status Q3UnknownBinary_GetTypeString(TQ3UnknownObject unknownObject, char** typeString) {
  UnknownObject* u = UnknownOf(unknownObject, kQ3UnknownTypeBinary);
  if (!u || !CheckPointer(typeString)) return kQ3Failure;
  *typeString = CopyText(u->name);
  return kQ3Success;
}

TQ3Status Q3UnknownBinary_EmptyTypeString(char** typeString) {
  if (!CheckPointer(typeString)) return kQ3Failure;
  std::free(*typeString);
  *typeString = nullptr;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Views, for writing.
static ViewObj* ViewOf(TQ3Object view) { return As<ViewObj>(view, kQ3ObjectTypeView); }

// The file a view is writing, or null with the error posted.
static WriteContext* ViewWriting(ViewObj* v) {
  if (!v->file || !FileWriting(v->file.get())) {
    PostError(kQ3ErrorViewNotStarted);
    return nullptr;
  }
  return FileWriting(v->file.get());
}

TQ3ViewObject Q3View_New() { return NewObject(kQ3ObjectTypeView).release(); }

TQ3Status Q3View_StartWriting(TQ3ViewObject view, TQ3FileObject file) {
  ViewObj* v = ViewOf(view);
  FileObj* f = FileOf(file);
  if (!v || !f) return kQ3Failure;
  if (v->file) {
    PostError(kQ3ErrorViewIsStarted);
    return kQ3Failure;
  }
  if (!f->writing) {
    PostError(kQ3ErrorFileNotOpen);
    return kQ3Failure;
  }
  v->file = Ref::Share(file);
  v->cancelled = false;
  f->writing->SetView(view);
  return kQ3Success;
}

TQ3ViewStatus Q3View_EndWriting(TQ3ViewObject view) {
  ViewObj* v = ViewOf(view);
  if (!v) return kQ3ViewStatusError;
  if (!v->file) {
    PostError(kQ3ErrorViewNotStarted);
    return kQ3ViewStatusError;
  }
  WriteContext* ctx = FileWriting(v->file.get());
  bool ok = ctx && ctx->ok();
  if (ctx) ctx->SetView(nullptr);
  v->file.reset();
  if (v->cancelled) return kQ3ViewStatusCancelled;
  return ok ? kQ3ViewStatusDone : kQ3ViewStatusError;
}

TQ3Status Q3Object_Submit(TQ3Object object, TQ3ViewObject view) {
  ViewObj* v = ViewOf(view);
  if (!v || !Check(object)) return kQ3Failure;
  WriteContext* ctx = ViewWriting(v);
  if (!ctx) return kQ3Failure;
  if (WriteContext::Pending* pending = ctx->CurrentPending()) {
    // Inside a traverse method: a sub-object of what is being written.
    if (!object->IsShared()) {
      PostError(kQ3ErrorInvalidObjectType);
      return kQ3Failure;
    }
    pending->subObjects.push_back(Ref::Share(object));
    return kQ3Success;
  }
  if (v->cancelled) return kQ3Failure;
  ctx->WriteObject(object);
  if (!CallFileIdle(v->file.get())) {
    v->cancelled = true;
    PostNotice(kQ3NoticeFileCancelled);
    return kQ3Failure;
  }
  return ctx->ok() ? kQ3Success : kQ3Failure;
}

TQ3Status Q3XView_SubmitWriteData(TQ3ViewObject view, TQ3Size size, void* data, TQ3XDataDeleteMethod deleteData) {
  ViewObj* v = ViewOf(view);
  if (!v) return kQ3Failure;
  WriteContext* ctx = ViewWriting(v);
  if (!ctx) return kQ3Failure;
  WriteContext::Pending* pending = ctx->CurrentPending();
  if (!pending || pending->submitted) {
    PostError(kQ3ErrorWriteStateInactive);
    return kQ3Failure;
  }
  pending->size = size;
  pending->data = data;
  pending->deleteData = deleteData;
  pending->submitted = true;
  return kQ3Success;
}
