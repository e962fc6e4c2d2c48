// The engines of 3DMF reading and writing, over either back end.
#include <algorithm>
#include <exception>

#include "Refusal.h"
#include "internal/Classes.h"
#include "internal/Metafile.h"
#include "internal/MetafileFormat.h"

namespace q3d {

namespace {
int gQuiet = 0;
}

QuietReads::QuietReads() { ++gQuiet; }
QuietReads::~QuietReads() { --gQuiet; }

void FailRead(TQ3Error error, const char* reason) {
  if (!gQuiet) {
    vlcore::NoteRefusal(reason);
    PostError(error);
  }
  throw ReadFailure{};
}

unsigned IndexWidth(TQ3Uns32 count) { return count <= 0xFE ? 1 : count <= 0xFFFE ? 2 : 4; }

// ---------------------------------------------------------------------------
// Shared reader and writer helpers.
void Reader::Floats(float* dst, size_t count) {
  for (size_t i = 0; i < count; ++i) dst[i] = F32();
}

void Reader::Indices(TQ3Uns32* dst, size_t count, unsigned) {
  for (size_t i = 0; i < count; ++i) dst[i] = U32();
}

TQ3Point2D Reader::Point2D() {
  TQ3Point2D p;
  Floats(&p.x, 2);
  return p;
}
TQ3Point3D Reader::Point3D() {
  TQ3Point3D p;
  Floats(&p.x, 3);
  return p;
}
TQ3Vector3D Reader::Vector3D() {
  TQ3Vector3D v;
  Floats(&v.x, 3);
  return v;
}
TQ3Param2D Reader::Param2D() {
  TQ3Param2D p;
  Floats(&p.u, 2);
  return p;
}
TQ3ColorRGB Reader::ColorRGB() {
  TQ3ColorRGB c;
  Floats(&c.r, 3);
  return c;
}
TQ3Matrix4x4 Reader::Matrix4x4() {
  TQ3Matrix4x4 m;
  Floats(&m.value[0][0], 16);
  return m;
}
TQ3Matrix3x3 Reader::Matrix3x3() {
  TQ3Matrix3x3 m;
  Floats(&m.value[0][0], 9);
  return m;
}

void Writer::Floats(const float* v, size_t count) {
  for (size_t i = 0; i < count; ++i) F32(v[i]);
}

void Writer::Indices(const TQ3Uns32* v, size_t count, unsigned) {
  for (size_t i = 0; i < count; ++i) U32(v[i]);
}

void Writer::Matrix4x4(const TQ3Matrix4x4& m) {
  for (const auto& row : m.value) {
    Floats(row, 4);
    NewLine();
  }
}

void Writer::Matrix3x3(const TQ3Matrix3x3& m) {
  for (const auto& row : m.value) Floats(row, 3);
}

// ---------------------------------------------------------------------------
// Reading.
ReadContext::DataScope::DataScope(ReadContext& c, const Entry& entry) : ctx(c), saved(c.r().Data()) {
  ctx.r().SetData({entry.dataBegin, entry.dataEnd});
}
ReadContext::DataScope::~DataScope() { ctx.r().SetData(saved); }

ReadContext::DepthScope::DepthScope(ReadContext& c) : ctx(c) {
  if (++ctx.depth_ > kMaxNesting) {
    --ctx.depth_;
    FailRead(kQ3ErrorNestingTooDeep, "objects are nested too deeply");
  }
}

// While a registered class's method reads: its data and its container's sub-objects.
struct FrameScope {
  FrameScope(ReadContext& c, const Entry& entry) : ctx(c), saved(c.r().Data()) {
    ctx.frames_.push_back({entry.subBegin, entry.container ? entry.subEnd : entry.subBegin});
    ctx.r().SetData({entry.dataBegin, entry.dataEnd});
  }
  ~FrameScope() {
    ctx.frames_.pop_back();
    ctx.r().SetData(saved);
  }
  size_t SubPos() const { return ctx.frames_.back().subPos; }
  ReadContext& ctx;
  Reader::Range saved;
};

ReadContext::ReadContext(std::unique_ptr<Reader> reader, TQ3FileObject file)
    : reader_(std::move(reader)), file_(file) {
  reader_->resolveType = [this](TQ3ObjectType type, std::string& name) -> ClassInfo* {
    if (type < 0) {
      auto it = declared_.find(type);
      if (it == declared_.end()) return nullptr;
      name = it->second;
      return FindClassByName(name);
    }
    return FindClass(type);
  };
}

ReadContext::~ReadContext() = default;

ClassInfo* ReadContext::ClassOfFileType(TQ3ObjectType fileType) {
  std::string name;
  return reader_->resolveType(fileType, name);
}

bool ReadContext::Open(TQ3FileMode* mode, TQ3FileVersion* version) {
  TQ3Uns32 major = 0, minor = 0, flags = 0, toc = 0;
  std::string tocLabel;
  try {
    top_ = reader_->ParseHeader(major, minor, flags, toc, tocLabel);
  } catch (ReadFailure&) {
    return false;
  }
  *mode = (reader_->IsText() ? TQ3FileMode(kQ3FileModeText) : TQ3FileMode(0)) | (flags & (kQ3FileModeStream | kQ3FileModeDatabase));
  *version = (major << 16) | (minor & 0xFFFF);
  // Declarations of types can come after their first use through a reference.
  if (!reader_->IsText()) {
    // The damage the look-ahead meets is reported when reading reaches it.
    QuietReads quiet;
    try {
      Entry e;
      for (size_t pos = top_; pos < reader_->Length() && reader_->ParseEntry(pos, reader_->Length(), e); pos = e.end)
        if (e.kind == Entry::kTypeDeclaration) ReadDeclaration(e);
    } catch (ReadFailure&) {
    }
  }
  // A damaged table of contents is reported; the objects are still read as they come.
  size_t tocPos = std::string::npos;
  if (!reader_->IsText() && toc)
    tocPos = toc;
  else if (reader_->IsText() && !tocLabel.empty())
    tocPos = reader_->LabelPosition(tocLabel);
  // Text files of other writers name a table they never wrote: that is no damage.
  if (reader_->IsText() && !tocLabel.empty() && tocPos == std::string::npos)
    PostWarning(kQ3WarningInvalidTableOfContents);
  try {
    if (tocPos != std::string::npos) ReadTableOfContents(tocPos);
  } catch (ReadFailure&) {
  }
  return true;
}

void ReadContext::ReadDeclaration(const Entry& entry) {
  WithData(entry, [&] {
    TQ3Int32 code = reader_->I32();
    std::string name = reader_->String();
    if (code < 0)
      declared_[code] = name;
    else
      PostWarning(kQ3WarningInconsistentData);
  });
}

void ReadContext::ReadTableOfContents(size_t pos) {
  std::unordered_set<size_t> seen;
  Reader& r = *reader_;
  while (pos != std::string::npos && seen.insert(pos).second && seen.size() <= size_t(kMaxNesting)) {
    Entry e;
    if (!r.ParseEntry(pos, r.Length(), e) || e.kind != Entry::kTableOfContents)
      FailRead(kQ3ErrorInvalidMetafile, "the table of contents is not where the header says");
    size_t next = std::string::npos;
    WithData(e, [&] {
      if (r.IsText()) {
        std::string word = r.Word();
        if (word.size() > 1 && word.back() == '>') next = r.LabelPosition(word.substr(0, word.size() - 1));
      } else {
        TQ3Uns32 hi = r.U32(), lo = r.U32();
        if (hi == 0 && lo != 0) next = lo;
      }
      r.U32();  // reference seed
      r.I32();  // type seed
      TQ3Uns32 entryType = r.U32();
      TQ3Uns32 entrySize = r.U32();
      TQ3Uns32 n = r.U32();
      const TQ3Uns32 leastSize = entryType ? format::kTocEntrySize : format::kTocShortEntrySize;
      if (entryType > format::kTocEntryType || (!r.IsText() && entrySize < leastSize))
        FailRead(kQ3ErrorInvalidMetafile, "a table of contents has an unknown entry layout");
      r.CheckCount(n, entrySize, entryType ? 3 : 2);
      for (TQ3Uns32 i = 0; i < n; ++i) {
        TQ3Uns32 refID = r.U32();
        size_t where = std::string::npos;
        if (r.IsText()) {
          std::string word = r.Word();
          if (word.size() > 1 && word.back() == '>') where = r.LabelPosition(word.substr(0, word.size() - 1));
          if (entryType) r.Word();
        } else {
          TQ3Uns32 hi = r.U32(), lo = r.U32();
          if (hi == 0 && lo < r.Length()) where = lo;
          if (entryType) r.I32();
          for (TQ3Uns32 skip = leastSize; skip < entrySize; skip += 4) r.U32();
        }
        if (where == std::string::npos) {
          PostWarning(kQ3WarningInvalidTableOfContents);
          continue;
        }
        targets_[refID] = where;
        targetPositions_.insert(where);
      }
    });
    pos = next;
  }
}

size_t ReadContext::Progress() const { return std::min(lastEntry_, reader_->Length()); }

void ReadContext::Idle() {
  if (!CallFileIdle(file_)) FailRead(kQ3ErrorFileCancelled, "reading was cancelled");
}

bool ReadContext::NextTopEntry(Entry& entry) {
  for (;;) {
    if (top_ >= reader_->Length()) return false;
    bool found;
    try {
      found = reader_->ParseEntry(top_, reader_->Length(), entry);
    } catch (...) {
      top_ = reader_->Length();  // nothing after damage this deep can be trusted
      throw;
    }
    if (!found) {
      top_ = reader_->Length();
      return false;
    }
    switch (entry.kind) {
      case Entry::kTypeDeclaration:
        top_ = entry.end;
        ReadDeclaration(entry);
        continue;
      case Entry::kTableOfContents:
      case Entry::kHeader:
        top_ = entry.end;
        continue;
      case Entry::kEndGroup:
        top_ = entry.end;
        PostWarning(kQ3WarningUnmatchedEndGroup);
        continue;
      case Entry::kObject:
        if (entry.cls && (entry.cls->element || entry.cls->part)) {
          top_ = entry.end;
          PostWarning(kQ3WarningInvalidSubObjectForObject);
          continue;
        }
        return true;
      default:
        return true;
    }
  }
}

Ref ReadContext::ReadNext() {
  try {
    if (!frames_.empty()) {
      Frame& f = frames_.back();
      Entry e;
      if (f.subPos >= f.subEnd || !reader_->ParseEntry(f.subPos, f.subEnd, e)) {
        vlcore::NoteRefusal("the container holds no more objects");
        PostError(kQ3ErrorEndOfContainer);
        return Ref();
      }
      f.subPos = e.end;
      size_t pos = e.end;
      Ref object = ReadEntryObject(e, &pos, f.subEnd);
      frames_.back().subPos = pos;
      return object;
    }
    Entry e;
    if (!NextTopEntry(e)) {
      vlcore::NoteRefusal("the file holds no more objects");
      PostError(kQ3ErrorEndOfFile);
      return Ref();
    }
    top_ = e.end;
    Idle();
    return ReadEntryObject(e, &top_, reader_->Length());
  } catch (ReadFailure&) {
    return Ref();
  }
}

bool ReadContext::SkipNext() {
  try {
    Entry e;
    if (!NextTopEntry(e)) {
      PostError(kQ3ErrorEndOfFile);
      return false;
    }
    top_ = e.end;
    if (e.kind != Entry::kBeginGroup) return true;
    // A group goes with its members.
    for (int depth = 1; depth > 0 && top_ < reader_->Length();) {
      Entry m;
      if (!reader_->ParseEntry(top_, reader_->Length(), m)) break;
      top_ = m.end;
      if (m.kind == Entry::kBeginGroup) ++depth;
      if (m.kind == Entry::kEndGroup) --depth;
    }
    return true;
  } catch (ReadFailure&) {
    top_ = reader_->Length();
    return false;
  }
}

bool ReadContext::AtEndOfFile() {
  if (!frames_.empty()) return false;
  try {
    Entry e;
    return !NextTopEntry(e);
  } catch (ReadFailure&) {
    return true;
  }
}

bool ReadContext::AtEndOfData() {
  if (frames_.empty()) return true;
  try {
    return reader_->AtEndOfData();
  } catch (ReadFailure&) {
    return true;
  }
}

bool ReadContext::AtEndOfContainer() {
  if (frames_.empty()) return true;
  const Frame& f = frames_.back();
  if (f.subPos >= f.subEnd) return true;
  try {
    Entry e;
    return !reader_->ParseEntry(f.subPos, f.subEnd, e);
  } catch (ReadFailure&) {
    return true;
  }
}

Ref ReadContext::ReadEntryObject(const Entry& entry, size_t* seqPos, size_t seqEnd) {
  DepthScope depth(*this);
  lastEntry_ = entry.begin;
  if (reader_->Position() >= lastIdle_ + 65536) {
    lastIdle_ = reader_->Position();
    Idle();
  }
  switch (entry.kind) {
    case Entry::kReference:
      return ResolveReference(entry);
    case Entry::kObject:
    case Entry::kBeginGroup: {
      bool target = targetPositions_.count(entry.begin) > 0;
      if (target) {
        auto it = cache_.find(entry.begin);
        if (it != cache_.end()) {
          if (entry.kind == Entry::kBeginGroup) SkipGroupMembers(seqPos, seqEnd);
          return it->second.Copy();
        }
      }
      Ref object = ReadRoot(entry);
      if (entry.kind == Entry::kBeginGroup) object = ReadGroupMembers(std::move(object), seqPos, seqEnd);
      if (target && object) cache_[entry.begin] = object.Copy();
      return object;
    }
    case Entry::kEndGroup:
      PostWarning(kQ3WarningUnmatchedEndGroup);
      return Ref();
    case Entry::kTypeDeclaration:
      ReadDeclaration(entry);
      return Ref();
    default:
      return Ref();
  }
}

void ReadContext::SkipGroupMembers(size_t* seqPos, size_t seqEnd) {
  for (int depth = 1; depth > 0 && *seqPos < seqEnd;) {
    Entry m;
    if (!reader_->ParseEntry(*seqPos, seqEnd, m)) break;
    *seqPos = m.end;
    if (m.kind == Entry::kBeginGroup) ++depth;
    if (m.kind == Entry::kEndGroup) --depth;
  }
}

Ref ReadContext::ReadGroupMembers(Ref group, size_t* seqPos, size_t seqEnd) {
  auto* g = group && IsGroup(group.get()) ? static_cast<Group*>(group.get()) : nullptr;
  if (group && !g) PostWarning(kQ3WarningInvalidSubObjectForObject);
  while (*seqPos < seqEnd) {
    Entry m;
    if (!reader_->ParseEntry(*seqPos, seqEnd, m)) break;
    *seqPos = m.end;
    if (m.kind == Entry::kEndGroup) return group;
    if (m.kind == Entry::kTableOfContents || m.kind == Entry::kHeader) continue;
    if (m.kind == Entry::kObject && m.cls && (m.cls->element || m.cls->part)) {
      PostWarning(kQ3WarningInvalidSubObjectForObject);
      continue;
    }
    Ref member = ReadEntryObject(m, seqPos, seqEnd);
    if (!member || !g) continue;
    if (g->Accepts(member.get()))
      g->Add(member.get(), 0, 0);
    else
      PostWarning(kQ3WarningInvalidSubObjectForObject);
  }
  PostWarning(kQ3WarningUnmatchedBeginGroup);
  return group;
}

Ref ReadContext::ResolveReference(const Entry& entry) {
  TQ3Uns32 id = WithData(entry, [&] { return reader_->U32(); });
  auto it = targets_.find(id);
  if (it == targets_.end()) FailRead(kQ3ErrorUnresolvableReference, "a reference names no object in the file");
  size_t pos = it->second;
  auto cached = cache_.find(pos);
  if (cached != cache_.end()) return cached->second.Copy();
  if (!reading_.insert(pos).second) FailRead(kQ3ErrorUnresolvableReference, "a reference refers to itself");
  struct Done {
    std::unordered_set<size_t>& set;
    size_t pos;
    ~Done() { set.erase(pos); }
  } done{reading_, pos};
  Entry target;
  if (!reader_->ParseEntry(pos, reader_->Length(), target))
    FailRead(kQ3ErrorUnresolvableReference, "a reference points to no entry");
  size_t seq = target.end;
  Ref object = ReadEntryObject(target, &seq, reader_->Length());
  if (object) cache_[pos] = object.Copy();
  return object;
}

Ref ReadContext::ReadRoot(const Entry& entry) {
  ClassInfo* cls = entry.cls;
  if (!cls) return ReadUnknown(entry);
  if (cls->element || cls->part) {
    PostWarning(kQ3WarningInvalidSubObjectForObject);
    return Ref();
  }
  if (cls->custom) return CallReadMethod(entry);
  if (!cls->read) return ReadUnknown(entry);
  return cls->read(*this, cls, entry);
}

Ref ReadContext::CallReadMethod(const Entry& entry) {
  auto read = entry.cls->MethodAs<TQ3XObjectReadMethod>(kQ3XMethodTypeObjectRead);
  if (!read) {
    PostWarning(kQ3WarningNoObjectSupportForReadMethod);
    return Ref();
  }
  Ref object;
  size_t rest = entry.subBegin;
  {
    FrameScope frame(*this, entry);
    TQ3Object made = read(file_);
    rest = frame.SubPos();
    if (made && !IsLive(made)) made = nullptr;
    object = Ref(made);
  }
  if (!object) FailRead(kQ3ErrorInvalidMetafileObject, "an object's class could not read it");
  if (entry.container) ReadSubObjectRange(object.get(), rest, entry.subEnd);
  return object;
}

void ReadContext::ReadSubObjects(OpaqueTQ3Object* parent, const Entry& entry) {
  if (entry.container) ReadSubObjectRange(parent, entry.subBegin, entry.subEnd);
}

void ReadContext::ReadSubObjectRange(OpaqueTQ3Object* parent, size_t pos, size_t end) {
  while (pos < end) {
    Entry sub;
    if (!reader_->ParseEntry(pos, end, sub)) break;
    pos = sub.end;
    if (sub.kind == Entry::kObject && sub.cls && sub.cls->part) {
      DepthScope depth(*this);
      if (!parent->ReadPart(*this, sub)) PostWarning(kQ3WarningInvalidSubObjectForObject);
      continue;
    }
    if (sub.kind == Entry::kObject && sub.cls && sub.cls->element) {
      DepthScope depth(*this);
      ReadElement(parent, sub);
      continue;
    }
    Ref child = ReadEntryObject(sub, &pos, end);
    if (child && !parent->Attach(*this, std::move(child))) PostWarning(kQ3WarningInvalidSubObjectForObject);
  }
}

Ref ReadContext::ReadSubObject(const Entry& entry, size_t* pos, size_t end) { return ReadEntryObject(entry, pos, end); }

void ReadContext::ReadElement(OpaqueTQ3Object* parent, const Entry& entry) {
  ClassInfo* cls = entry.cls;
  // The set the element goes into: a set itself, or a shape's set.
  TQ3Object setObject = nullptr;
  if (parent->IsType(kQ3SharedTypeSet)) {
    setObject = parent;
  } else if (parent->IsType(kQ3SharedTypeShape)) {
    if (parent->Elements(true)) setObject = static_cast<Shape*>(parent)->shapeSet.get();
  }
  if (cls->attributeIO) {
    ElementSet* target = setObject ? setObject->Elements(true) : parent->Elements(true);
    auto storage = NewElementStorage(cls->elementSize);
    if (cls->attributeType == kQ3AttributeTypeSurfaceShader) {
      Ref shader;
      size_t pos = entry.subBegin;
      Entry sub;
      if (entry.container && reader_->ParseEntry(pos, entry.subEnd, sub)) {
        pos = sub.end;
        shader = ReadEntryObject(sub, &pos, entry.subEnd);
      }
      if (!shader || !shader->IsType(kQ3ShapeTypeShader)) {
        PostWarning(kQ3WarningInvalidSubObjectForObject);
        return;
      }
      TQ3Object s = shader.get();
      target->Add(cls->attributeType, &s);
      return;
    }
    WithData(entry, [&] { cls->attributeIO->read(*reader_, storage.get()); });
    target->Add(cls->attributeType, storage.get());
    return;
  }
  auto readData = cls->MethodAs<TQ3XObjectReadDataMethod>(kQ3XMethodTypeObjectReadData);
  if (!readData || !setObject) {
    PostWarning(readData ? kQ3WarningInvalidSubObjectForObject : kQ3WarningNoObjectSupportForReadMethod);
    return;
  }
  FrameScope frame(*this, entry);
  if (readData(setObject, file_) != kQ3Success) PostWarning(kQ3WarningInvalidSubObjectForObject);
}

Ref ReadContext::ReadUnknown(const Entry& entry) {
  PostWarning(kQ3WarningUnknownObject);
  Ref unknown = NewObject(reader_->IsText() ? kQ3UnknownTypeText : kQ3UnknownTypeBinary);
  if (!unknown) FailRead(kQ3ErrorOutOfMemory, "no memory for an unknown object");
  auto* u = static_cast<UnknownObject*>(unknown.get());
  u->name = entry.name;
  u->fileType = entry.fileType;
  u->contents = reader_->Slice(entry.dataBegin, entry.dataEnd);
  if (entry.container && entry.subBegin < entry.subEnd) PostWarning(kQ3WarningInvalidSubObjectForObject);
  return unknown;
}

// ---------------------------------------------------------------------------
// Writing.
void WritePlan::AddObject(TQ3Object object) {
  if (object) Add([object](WriteContext& ctx) { ctx.WriteObject(object); });
}

WriteContext::Pending::~Pending() {
  if (deleteData) deleteData(data);
}

// While a traverse method runs: what it submits is recorded.
struct PendingScope {
  PendingScope(WriteContext& c, WriteContext::Pending& p) : ctx(c) { ctx.pending_.push_back(&p); }
  ~PendingScope() { ctx.pending_.pop_back(); }
  WriteContext& ctx;
};

WriteContext::WriteContext(std::unique_ptr<Writer> writer, TQ3FileObject file, bool stream)
    : writer_(std::move(writer)), file_(file), stream_(stream) {}

WriteContext::~WriteContext() = default;

std::vector<TQ3Uns8> WriteContext::Finish() { return writer_->Finish(toc_); }

bool WriteContext::Traverse(TQ3XObjectTraverseMethod traverse, TQ3Object object, void* data, Pending& pending) {
  PendingScope scope(*this, pending);
  if (traverse(object, data, view_) != kQ3Success) {
    PostWarning(kQ3WarningObjectNotWritten);
    return false;
  }
  return pending.submitted;
}

// The root of a registered class's object or element, through its write method.
void WriteContext::WriteSubmitted(const ClassInfo* cls, Pending& pending, WritePlan& plan) {
  for (Ref& sub : pending.subObjects) plan.AddObject(sub.get());
  bool container = !plan.items.empty();
  if (container) writer_->BeginContainer();
  writer_->BeginObject(writer_->TypeCode(cls), cls->name);
  // Nothing submitted means nothing to write: the write method is not asked.
  auto write = cls->MethodAs<TQ3XObjectWriteMethod>(kQ3XMethodTypeObjectWrite);
  TQ3Status status = kQ3Success;
  if (write && pending.size > 0) status = write(pending.data, file_);
  size_t written = writer_->ObjectDataSize();
  writer_->EndObject();
  for (auto& item : plan.items) item(*this);
  if (container) writer_->EndContainer();
  if (status != kQ3Success) {
    ok_ = false;
    PostError(kQ3ErrorInvalidData);
  } else if (!writer_->IsText() && written != pending.size) {
    ok_ = false;
    PostError(written > pending.size ? kQ3ErrorWroteMoreThanSize : kQ3ErrorWroteLessThanSize);
  }
}

void WriteContext::PlanElements(const ElementSet* set, WritePlan& plan) {
  if (!set) return;
  for (const ElementSet::Slot& slot : set->Slots()) {
    ClassInfo* cls = slot.cls;
    void* data = slot.data();
    if (cls->attributeIO) {
      if (cls->attributeType == kQ3AttributeTypeSurfaceShader) {
        TQ3Object shader = *static_cast<TQ3Object*>(data);
        if (!shader) continue;
        plan.Add([cls, shader](WriteContext& ctx) {
          WritePlan subs;
          subs.AddObject(shader);
          ctx.WritePart(cls->type, [](Writer&) {}, &subs);
        });
      } else {
        plan.Add([cls, data](WriteContext& ctx) {
          ctx.WritePart(cls->type, [&](Writer& w) { cls->attributeIO->write(w, data); });
        });
      }
      continue;
    }
    auto traverse = cls->MethodAs<TQ3XObjectTraverseMethod>(kQ3XMethodTypeObjectTraverse);
    if (!traverse) continue;  // kept in memory only
    auto pending = std::make_shared<Pending>();
    if (!Traverse(traverse, nullptr, data, *pending)) continue;
    plan.Add([cls, pending](WriteContext& ctx) {
      WritePlan subs;
      ctx.WriteSubmitted(cls, *pending, subs);
    });
  }
}

void WriteContext::WritePart(TQ3ObjectType type, const std::function<void(Writer&)>& data, const WritePlan* subs) {
  const ClassInfo* cls = FindClass(type);
  bool container = subs && !subs->items.empty();
  if (container) writer_->BeginContainer();
  writer_->BeginObject(writer_->TypeCode(cls), cls->name);
  data(*writer_);
  writer_->EndObject();
  if (container)
    for (auto& item : subs->items) item(*this);
  if (container) writer_->EndContainer();
}

void WriteContext::WriteWithPlan(OpaqueTQ3Object* object, const std::function<void()>& root, WritePlan& plan) {
  WriteWithPlan(object, writer_->TypeCode(object->cls), object->cls->name, root, plan);
}

void WriteContext::WriteWithPlan(OpaqueTQ3Object* object, TQ3ObjectType fileType, std::string_view name,
                                 const std::function<void()>& root, WritePlan& plan) {
  bool container = !plan.items.empty();
  size_t pos = container ? writer_->BeginContainer() : 0;
  size_t at = writer_->BeginObject(fileType, name);
  if (!container) pos = at;
  root();
  writer_->EndObject();
  if (object->IsShared()) written_[object] = {Ref::Share(object), pos, 0};
  for (auto& item : plan.items) item(*this);
  if (container) writer_->EndContainer();
}

bool WriteContext::WriteCustomObject(OpaqueTQ3Object* object) {
  const ClassInfo* cls = object->cls;
  auto traverse = cls->MethodAs<TQ3XObjectTraverseMethod>(kQ3XMethodTypeObjectTraverse);
  if (!traverse) traverse = cls->MethodAs<TQ3XObjectTraverseMethod>(kQ3XMethodTypeObjectTraverseData);
  if (!traverse) return false;
  Pending pending;
  if (!Traverse(traverse, object, object->PrivateData(), pending)) return true;
  WritePlan plan;
  for (Ref& sub : pending.subObjects) plan.AddObject(sub.get());
  PlanElements(object->Elements(false), plan);
  auto write = cls->MethodAs<TQ3XObjectWriteMethod>(kQ3XMethodTypeObjectWrite);
  TQ3Status status = kQ3Success;
  size_t written = 0;
  WriteWithPlan(object, [&] {
    if (write && pending.size > 0) status = write(pending.data, file_);
    written = writer_->ObjectDataSize();
  }, plan);
  if (status != kQ3Success) {
    ok_ = false;
    PostError(kQ3ErrorInvalidData);
  } else if (!writer_->IsText() && written != pending.size) {
    ok_ = false;
    PostError(written > pending.size ? kQ3ErrorWroteMoreThanSize : kQ3ErrorWroteLessThanSize);
  }
  return true;
}

void WriteContext::WriteGroup(OpaqueTQ3Object* object) {
  auto* g = static_cast<Group*>(object);
  if (IsDisplayGroup(g) && !(g->state & kQ3DisplayGroupStateMaskIsWritten)) return;
  size_t pos = writer_->BeginGroup();
  written_[object] = {Ref::Share(object), pos, 0};
  // The group object of a registered class writes itself; members follow either way.
  const ClassInfo* cls = g->cls;
  auto traverse = cls->MethodAs<TQ3XObjectTraverseMethod>(kQ3XMethodTypeObjectTraverse);
  if (!traverse) traverse = cls->MethodAs<TQ3XObjectTraverseMethod>(kQ3XMethodTypeObjectTraverseData);
  Pending pending;
  WritePlan plan;
  if (cls->custom && traverse && Traverse(traverse, object, object->PrivateData(), pending)) {
    for (Ref& sub : pending.subObjects) plan.AddObject(sub.get());
    writer_->BeginObject(writer_->TypeCode(cls), cls->name);
    auto write = cls->MethodAs<TQ3XObjectWriteMethod>(kQ3XMethodTypeObjectWrite);
    if (write && pending.size > 0 && write(pending.data, file_) != kQ3Success) {
      ok_ = false;
      PostError(kQ3ErrorInvalidData);
    }
    writer_->EndObject();
  } else {
    // Without its own writing a registered group class is written as the class it builds on.
    const ClassInfo* builtin = cls;
    while (builtin->custom) builtin = builtin->parent;
    writer_->BeginObject(writer_->TypeCode(builtin), builtin->name);
    writer_->EndObject();
  }
  g->PlanSubObjects(*this, plan);
  for (auto& item : plan.items) item(*this);
  writer_->EndGroupHead();
  std::vector<TQ3Object> members;
  g->ForEach([&](TQ3Object m) { members.push_back(m); });
  for (TQ3Object m : members) WriteObject(m);
  writer_->EndGroup();
}

void WriteContext::WriteObject(TQ3Object object) {
  if (!object) return;
  if (depth_ >= kMaxNesting) {
    ok_ = false;
    PostError(kQ3ErrorNestingTooDeep);
    return;
  }
  if (inProgress_.count(object)) {
    PostWarning(kQ3WarningObjectNotWritten);
    return;
  }
  if (!stream_) {
    auto it = written_.find(object);
    if (it != written_.end()) {
      Written& w = it->second;
      if (!w.refID) {
        w.refID = nextRefID_++;
        toc_.push_back({w.refID, w.position, writer_->TypeCode(object->cls), object->cls->name});
      }
      writer_->Reference(w.refID);
      return;
    }
  }
  struct Scope {
    WriteContext& ctx;
    TQ3Object object;
    int exceptions = std::uncaught_exceptions();
    Scope(WriteContext& c, TQ3Object o) : ctx(c), object(o) {
      ++ctx.depth_;
      ctx.inProgress_.insert(o);
    }
    ~Scope() {
      --ctx.depth_;
      ctx.inProgress_.erase(object);
      if (std::uncaught_exceptions() > exceptions) ctx.ok_ = false;  // left half written
    }
  } scope(*this, object);

  const ClassInfo* cls = object->cls;
  if (object->IsType(kQ3ShapeTypeUnknown)) {
    auto* u = static_cast<UnknownObject*>(object);
    bool text = cls->type == kQ3UnknownTypeText;
    if (text != writer_->IsText()) {
      PostWarning(kQ3WarningObjectNotWritten);
      return;
    }
    WritePlan plan;
    WriteWithPlan(object, writer_->TypeCodeForName(u->fileType, u->name), u->name, [&] {
      if (text)
        writer_->Verbatim(u->contents);
      else
        writer_->Raw(reinterpret_cast<const TQ3Uns8*>(u->contents.data()), u->contents.size());
    }, plan);
    return;
  }
  if (IsGroup(object)) {
    WriteGroup(object);
    return;
  }
  if (cls->custom && WriteCustomObject(object)) return;
  const ClassInfo* builtin = cls;
  while (builtin && builtin->custom) builtin = builtin->parent;
  if (!builtin || !builtin->read) {
    PostWarning(kQ3WarningNoObjectSupportForWriteMethod);
    return;
  }
  WritePlan plan;
  object->PlanSubObjects(*this, plan);
  WriteWithPlan(object, [&] { object->WriteData(*this); }, plan);
}

}  // namespace q3d
