// 3DMF reading and writing: the format back ends (binary, text) and the
// engines that turn objects into entries and back. Private to the library.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "internal/Core.h"

namespace q3d {

// Containers, groups and references deeper than this are refused.
constexpr int kMaxNesting = 128;

// Thrown inside the library when data cannot be read; the error is posted
// and the reason noted (vlcore::LastRefusal) before. It never leaves the
// library's own calls.
struct ReadFailure {};
[[noreturn]] void FailRead(TQ3Error error, const char* reason);
// While one lives, failures are not posted (for looking ahead in a file).
struct QuietReads {
  QuietReads();
  ~QuietReads();
};

struct EnumName {
  const char* name;
  TQ3Uns32 value;
};

// One entry of a file: an object (or a container of a root object and its
// sub-objects), a reference, a group start or end, a table of contents or a
// type declaration.
struct Entry {
  enum Kind { kObject, kReference, kBeginGroup, kEndGroup, kTableOfContents, kTypeDeclaration, kHeader };
  Kind kind = kObject;
  size_t begin = 0, end = 0;           // the whole entry
  size_t dataBegin = 0, dataEnd = 0;   // the root's data
  size_t subBegin = 0, subEnd = 0;     // sub-objects (empty unless a container)
  bool container = false;
  ClassInfo* cls = nullptr;            // the root's class; null when unknown
  TQ3ObjectType fileType = 0;          // binary: the type code in the file
  std::string name;                    // the class name in the file (text, declared types)
};

// ---------------------------------------------------------------------------
// Reading back ends. Primitive reads work in the current data range and throw
// ReadFailure (after posting an error) when the data runs out or is malformed.
class Reader {
 public:
  virtual ~Reader() = default;
  virtual bool IsText() const = 0;
  virtual size_t Length() const = 0;
  // Parses the entry at pos, which must end by limit. False when only blanks remain.
  virtual bool ParseEntry(size_t pos, size_t limit, Entry& entry) = 0;
  // The position after the file header, and the header's fields.
  virtual size_t ParseHeader(TQ3Uns32& major, TQ3Uns32& minor, TQ3Uns32& flags, TQ3Uns32& tocLocation,
                             std::string& tocLabel) = 0;

  // The current data range.
  struct Range {
    size_t pos, end;
  };
  Range Data() const { return {pos_, end_}; }
  void SetData(Range r) {
    pos_ = r.pos;
    end_ = r.end;
  }
  size_t Position() const { return pos_; }

  virtual TQ3Uns32 U32() = 0;
  virtual TQ3Int32 I32() = 0;
  virtual TQ3Uns16 U16() = 0;
  virtual TQ3Int16 I16() = 0;
  virtual TQ3Uns8 U8() = 0;
  virtual TQ3Int8 I8() = 0;
  virtual float F32() = 0;
  virtual double F64() = 0;
  virtual std::string String() = 0;
  virtual void Raw(TQ3Uns8* dst, size_t size) = 0;
  virtual TQ3Uns32 Enum(const EnumName* names) = 0;
  virtual TQ3Uns32 Flags(const EnumName* names) = 0;
  virtual TQ3Boolean Boolean() = 0;
  virtual bool AtEndOfData() = 0;
  // Text: the next word as written (a label reference such as "name>", NULL, a class name).
  virtual std::string Word() = 0;
  // Text: the position of the entry a label names, or npos.
  virtual size_t LabelPosition(const std::string& label) const = 0;
  // The bytes of a range, as they stand in the file.
  virtual std::string Slice(size_t begin, size_t end) const = 0;
  // Fails unless count items, each of binaryBytes bytes or textTokens numbers, can fit.
  virtual void CheckCount(TQ3Uns64 count, TQ3Uns32 binaryBytes, TQ3Uns32 textTokens) = 0;
  virtual void Floats(float* dst, size_t count);
  // Indices stored in width bytes in binary (1, 2 or 4; all ones means none).
  virtual void Indices(TQ3Uns32* dst, size_t count, unsigned width);

  // Resolves a binary file's type code (declared ones included) to a class; name gets the declared name.
  std::function<ClassInfo*(TQ3ObjectType, std::string&)> resolveType;

  TQ3Point2D Point2D();
  TQ3Point3D Point3D();
  TQ3Vector3D Vector3D();
  TQ3Param2D Param2D();
  TQ3ColorRGB ColorRGB();
  TQ3Matrix4x4 Matrix4x4();
  TQ3Matrix3x3 Matrix3x3();

 protected:
  size_t pos_ = 0, end_ = 0;
};

std::unique_ptr<Reader> NewBinaryReader(std::vector<TQ3Uns8> bytes, bool swapped);
std::unique_ptr<Reader> NewTextReader(std::vector<TQ3Uns8> bytes);

// The width of an index into count items in a binary file.
unsigned IndexWidth(TQ3Uns32 count);

// ---------------------------------------------------------------------------
// Writing back ends. Everything goes to memory; Finish makes the whole file.
class Writer {
 public:
  virtual ~Writer() = default;
  virtual bool IsText() const = 0;
  // Starts an object (its position is answered for references).
  virtual size_t BeginObject(TQ3ObjectType fileType, std::string_view name) = 0;
  virtual void EndObject() = 0;
  virtual size_t BeginContainer() = 0;
  virtual void EndContainer() = 0;
  virtual size_t BeginGroup() = 0;      // the group object and its sub-objects follow
  virtual void EndGroupHead() = 0;      // then the members
  virtual void EndGroup() = 0;
  virtual void Reference(TQ3Uns32 refID) = 0;
  // The bytes of data written in the innermost open object (binary).
  virtual size_t ObjectDataSize() const = 0;
  virtual int OpenObjects() const = 0;

  virtual void U32(TQ3Uns32 v) = 0;
  virtual void I32(TQ3Int32 v) = 0;
  virtual void U16(TQ3Uns16 v) = 0;
  virtual void I16(TQ3Int16 v) = 0;
  virtual void U8(TQ3Uns8 v) = 0;
  virtual void I8(TQ3Int8 v) = 0;
  virtual void F32(float v) = 0;
  virtual void F64(double v) = 0;
  virtual void String(std::string_view s) = 0;
  virtual void Raw(const TQ3Uns8* data, size_t size) = 0;
  virtual void Enum(TQ3Uns32 value, const EnumName* names) = 0;
  virtual void Flags(TQ3Uns32 value, const EnumName* names) = 0;
  virtual void Boolean(bool value) = 0;
  virtual void Comment(std::string_view text) = 0;
  virtual void NewLine() = 0;
  // Text: contents kept from a text file, written as they stood.
  virtual void Verbatim(std::string_view text) = 0;
  virtual void Floats(const float* v, size_t count);
  virtual void Indices(const TQ3Uns32* v, size_t count, unsigned width);

  void Point2D(const TQ3Point2D& p) { Floats(&p.x, 2); }
  void Point3D(const TQ3Point3D& p) { Floats(&p.x, 3); }
  void Vector3D(const TQ3Vector3D& v) { Floats(&v.x, 3); }
  void Param2D(const TQ3Param2D& p) { Floats(&p.u, 2); }
  void ColorRGB(const TQ3ColorRGB& c) { Floats(&c.r, 3); }
  void Matrix4x4(const TQ3Matrix4x4& m);
  void Matrix3x3(const TQ3Matrix3x3& m);

  struct TocItem {
    TQ3Uns32 refID;
    size_t position;
    TQ3ObjectType fileType;
    std::string name;
  };
  // The whole file: header, declarations, body and table of contents.
  virtual std::vector<TQ3Uns8> Finish(const std::vector<TocItem>& toc) = 0;
  // The type code under which a class is written (binary: negative and declared
  // once for classes registered at run time).
  virtual TQ3ObjectType TypeCode(const ClassInfo* cls) = 0;
  virtual TQ3ObjectType TypeCodeForName(TQ3ObjectType fileType, std::string_view name) = 0;
};

std::unique_ptr<Writer> NewBinaryWriter(bool stream);
std::unique_ptr<Writer> NewTextWriter(bool stream);

// ---------------------------------------------------------------------------
// Reading engine: one per file open for reading.
class ReadContext {
 public:
  ReadContext(std::unique_ptr<Reader> reader, TQ3FileObject file);
  ~ReadContext();

  Reader& r() { return *reader_; }
  TQ3FileObject file() const { return file_; }
  bool Open(TQ3FileMode* mode, TQ3FileVersion* version);  // reads the header and the table of contents

  // The public calls.
  Ref ReadNext();              // Q3File_ReadObject
  bool SkipNext();             // Q3File_SkipObject
  bool AtEndOfFile();
  bool AtEndOfData();
  bool AtEndOfContainer();
  bool InMethod() const { return !frames_.empty(); }
  size_t Progress() const;

  // For the classes' readers.
  // Reads an object entry (resolving references); seq is the enclosing sequence
  // position, advanced past the members of a group.
  Ref ReadEntryObject(const Entry& entry, size_t* seqPos, size_t seqEnd);
  // Reads the sub-objects of an entry into parent (elements, parts, objects).
  void ReadSubObjects(OpaqueTQ3Object* parent, const Entry& entry);
  // Reads every remaining sub-object in [pos, end) into parent.
  void ReadSubObjectRange(OpaqueTQ3Object* parent, size_t pos, size_t end);
  // Reads one sub-object entry as an object (for parts holding objects).
  Ref ReadSubObject(const Entry& entry, size_t* pos, size_t end);
  // Reads the root data of an entry with fn while it is the current data range.
  template <class F>
  auto WithData(const Entry& entry, F fn) -> decltype(fn()) {
    DataScope scope(*this, entry);
    return fn();
  }
  ClassInfo* ClassOfFileType(TQ3ObjectType fileType);  // binary type codes, declared ones included
  void Idle();
  int depth() const { return depth_; }

 private:
  struct DataScope {
    DataScope(ReadContext& ctx, const Entry& entry);
    ~DataScope();
    ReadContext& ctx;
    Reader::Range saved;
  };
  struct Frame {
    size_t subPos, subEnd;
  };
  friend struct FrameScope;
  struct DepthScope {
    explicit DepthScope(ReadContext& ctx);
    ~DepthScope() { --ctx.depth_; }
    ReadContext& ctx;
  };

  bool NextTopEntry(Entry& entry);  // skips what is not an object; false at the end
  void ReadDeclaration(const Entry& entry);
  void ReadTableOfContents(size_t pos);
  Ref ReadRoot(const Entry& entry);
  Ref ReadGroupMembers(Ref group, size_t* seqPos, size_t seqEnd);
  void SkipGroupMembers(size_t* seqPos, size_t seqEnd);
  Ref ResolveReference(const Entry& entry);
  void ReadElement(OpaqueTQ3Object* parent, const Entry& entry);
  Ref ReadUnknown(const Entry& entry);
  Ref CallReadMethod(const Entry& entry);

  std::unique_ptr<Reader> reader_;
  TQ3FileObject file_;
  size_t top_ = 0;
  size_t lastIdle_ = 0;
  size_t lastEntry_ = 0;
  int depth_ = 0;
  std::vector<Frame> frames_;
  std::unordered_map<TQ3Int32, std::string> declared_;        // binary type code -> class name
  std::unordered_map<TQ3Uns32, size_t> targets_;              // reference id -> entry position
  std::unordered_map<TQ3Uns32, std::string> targetLabels_;    // text: reference id -> label
  std::unordered_map<size_t, Ref> cache_;                     // entry position -> object read
  std::unordered_set<size_t> reading_;                        // references being resolved
  std::unordered_set<size_t> targetPositions_;
};

// ---------------------------------------------------------------------------
// Writing engine: one per file open for writing.
struct WritePlan {
  std::vector<std::function<void(WriteContext&)>> items;
  void Add(std::function<void(WriteContext&)> item) { items.push_back(std::move(item)); }
  void AddObject(TQ3Object object);  // a sub-object written as an object (null: nothing)
};

class WriteContext {
 public:
  WriteContext(std::unique_ptr<Writer> writer, TQ3FileObject file, bool stream);
  ~WriteContext();

  Writer& w() { return *writer_; }
  TQ3FileObject file() const { return file_; }
  TQ3ViewObject view() const { return view_; }
  void SetView(TQ3ViewObject view) { view_ = view; }

  // Writes an object (a reference when a shared object was written before).
  void WriteObject(TQ3Object object);
  // Adds the elements of a set as sub-objects to a plan.
  void PlanElements(const ElementSet* set, WritePlan& plan);
  // Writes one part: a sub-object of a built-in form, with its own data writer
  // and optional sub-objects.
  void WritePart(TQ3ObjectType type, const std::function<void(Writer&)>& data, const WritePlan* subs = nullptr);
  std::vector<TQ3Uns8> Finish();
  bool ok() const { return ok_; }

  // Recording what a traverse method submits.
  struct Pending {
    TQ3Size size = 0;
    void* data = nullptr;
    TQ3XDataDeleteMethod deleteData = nullptr;
    bool submitted = false;
    std::vector<Ref> subObjects;
    ~Pending();
  };
  Pending* CurrentPending() { return pending_.empty() ? nullptr : pending_.back(); }

 private:
  void WriteGroup(OpaqueTQ3Object* group);
  void WriteWithPlan(OpaqueTQ3Object* object, const std::function<void()>& root, WritePlan& plan);
  void WriteWithPlan(OpaqueTQ3Object* object, TQ3ObjectType fileType, std::string_view name,
                     const std::function<void()>& root, WritePlan& plan);
  // Runs the traverse method of a registered class; false when nothing is to be written.
  bool Traverse(TQ3XObjectTraverseMethod traverse, TQ3Object object, void* data, Pending& pending);
  void WriteSubmitted(const ClassInfo* cls, Pending& pending, WritePlan& plan);
  bool WriteCustomObject(OpaqueTQ3Object* object);

  friend struct PendingScope;
  std::unique_ptr<Writer> writer_;
  TQ3FileObject file_;
  TQ3ViewObject view_ = nullptr;
  bool stream_;
  bool ok_ = true;
  int depth_ = 0;
  struct Written {
    Ref object;
    size_t position;
    TQ3Uns32 refID;
  };
  std::unordered_map<TQ3Object, Written> written_;
  std::unordered_set<TQ3Object> inProgress_;
  std::vector<Writer::TocItem> toc_;
  TQ3Uns32 nextRefID_ = 1;
  std::vector<Pending*> pending_;
};

// The read and write contexts of a file object (null when not open that way).
ReadContext* FileReading(TQ3FileObject file);
WriteContext* FileWriting(TQ3FileObject file);
// The file's idle method; false when it asks to stop.
bool CallFileIdle(TQ3FileObject file);

}  // namespace q3d
