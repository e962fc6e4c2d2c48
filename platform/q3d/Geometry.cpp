// Geometry with plain data: points, lines, polylines, triangles, polygons,
// general polygons, boxes, ellipses, markers and pixmap markers.
#include <cstdlib>

#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {

// ---------------------------------------------------------------------------
// Vertices and attribute set lists.
bool ValidAttributeSet(TQ3Object set) { return !set || Check(set, kQ3SetTypeAttribute); }

bool ValidVertices(const TQ3Vertex3D* vertices, TQ3Uns32 count) {
  if (count && !CheckPointer(vertices)) return false;
  for (TQ3Uns32 i = 0; i < count; ++i)
    if (!ValidAttributeSet(vertices[i].attributeSet)) return false;
  return true;
}

std::vector<Vertex> ImportVertices(const TQ3Vertex3D* vertices, TQ3Uns32 count) {
  std::vector<Vertex> out(count);
  for (TQ3Uns32 i = 0; i < count; ++i) {
    out[i].point = vertices[i].point;
    out[i].set = Ref::Share(vertices[i].attributeSet);
  }
  return out;
}

TQ3Vertex3D* ExportVertices(const std::vector<Vertex>& vertices) {
  auto* out = AllocArray<TQ3Vertex3D>(vertices.size());
  if (!out) return nullptr;
  for (size_t i = 0; i < vertices.size(); ++i) {
    out[i].point = vertices[i].point;
    out[i].attributeSet = vertices[i].set.Copy().release();
  }
  return out;
}

void FreeVertices(TQ3Vertex3D* vertices, TQ3Uns32 count) {
  if (!vertices) return;
  for (TQ3Uns32 i = 0; i < count; ++i) Release(vertices[i].attributeSet);
  std::free(vertices);
}

namespace {

const EnumName kPackingNames[] = {{"include", 0}, {"exclude", 1}, {nullptr, 0}};

std::vector<Vertex> CloneVertices(const std::vector<Vertex>& from) {
  std::vector<Vertex> out(from.size());
  for (size_t i = 0; i < from.size(); ++i) {
    out[i].point = from[i].point;
    if (from[i].set) out[i].set = Duplicate(from[i].set.get());
  }
  return out;
}

std::vector<Ref> CloneSets(const std::vector<Ref>& from) {
  std::vector<Ref> out(from.size());
  for (size_t i = 0; i < from.size(); ++i)
    if (from[i]) out[i] = Duplicate(from[i].get());
  return out;
}

std::vector<TQ3Object> SetsOf(const std::vector<Vertex>& vertices) {
  std::vector<TQ3Object> sets;
  for (const Vertex& v : vertices) sets.push_back(v.set.get());
  return sets;
}

std::vector<TQ3Object> SetsOf(const std::vector<Ref>& refs) {
  std::vector<TQ3Object> sets;
  for (const Ref& r : refs) sets.push_back(r.get());
  return sets;
}

void AssignSets(std::vector<Vertex>& vertices, std::vector<Ref> sets) {
  for (size_t i = 0; i < vertices.size() && i < sets.size(); ++i)
    if (sets[i]) vertices[i].set = std::move(sets[i]);
}

void WritePoints(Writer& w, const std::vector<Vertex>& vertices) {
  for (const Vertex& v : vertices) {
    w.Point3D(v.point);
    w.NewLine();
  }
}

std::vector<Vertex> ReadPoints(Reader& r, TQ3Uns32 count) {
  r.CheckCount(count, 12, 3);
  std::vector<Vertex> vertices(count);
  for (Vertex& v : vertices) v.point = r.Point3D();
  return vertices;
}

Ref ReadGeometryEntry(ReadContext& ctx, ClassInfo* cls, const Entry& entry,
                      const std::function<void(OpaqueTQ3Object*)>& data) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a geometry");
  ctx.WithData(entry, [&] { data(object.get()); });
  ctx.ReadSubObjects(object.get(), entry);
  return object;
}

// The sets of an exported array, released with the array.
template <class T>
T* ExportSets(const std::vector<Ref>& sets) {
  if (sets.empty()) return nullptr;
  auto* out = AllocArray<TQ3AttributeSet>(sets.size());
  if (!out) return nullptr;
  for (size_t i = 0; i < sets.size(); ++i) out[i] = sets[i].Copy().release();
  return out;
}

void FreeSets(TQ3AttributeSet* sets, TQ3Uns32 count) {
  if (!sets) return;
  for (TQ3Uns32 i = 0; i < count; ++i) Release(sets[i]);
  std::free(sets);
}

bool ValidSets(const TQ3AttributeSet* sets, TQ3Uns32 count) {
  if (!sets) return true;
  for (TQ3Uns32 i = 0; i < count; ++i)
    if (!ValidAttributeSet(sets[i])) return false;
  return true;
}

std::vector<Ref> ImportSets(const TQ3AttributeSet* sets, TQ3Uns32 count) {
  std::vector<Ref> out;
  if (!sets) return out;
  for (TQ3Uns32 i = 0; i < count; ++i) out.push_back(Ref::Share(sets[i]));
  return out;
}

// ---------------------------------------------------------------------------
struct PointGeom : Geometry {
  using Geometry::Geometry;
  TQ3Point3D point{};
  Ref Clone() const override {
    Ref copy(new PointGeom(cls));
    auto* g = static_cast<PointGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->point = point;
    return copy;
  }
  void WriteData(WriteContext& ctx) const override { ctx.w().Point3D(point); }
};

// Lines and triangles: a fixed number of vertices, each with its attribute set.
template <size_t N>
struct FixedGeom : Geometry {
  using Geometry::Geometry;
  std::vector<Vertex> vertices = std::vector<Vertex>(N);
  Ref Clone() const override {
    Ref copy(new FixedGeom(cls));
    auto* g = static_cast<FixedGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->vertices = CloneVertices(vertices);
    return copy;
  }
  void WriteData(WriteContext& ctx) const override { WritePoints(ctx.w(), vertices); }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    PlanSetList(plan, kVertexSetListPart, SetsOf(vertices));
    Geometry::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type != kVertexSetListPart) return false;
    AssignSets(vertices, ReadSetList(ctx, e, TQ3Uns32(N)));
    return true;
  }
};
using LineGeom = FixedGeom<2>;
using TriangleGeom = FixedGeom<3>;

struct PolyLineGeom : Geometry {
  using Geometry::Geometry;
  std::vector<Vertex> vertices;
  std::vector<Ref> segmentSets;  // empty or one per segment
  Ref Clone() const override {
    Ref copy(new PolyLineGeom(cls));
    auto* g = static_cast<PolyLineGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->vertices = CloneVertices(vertices);
    g->segmentSets = CloneSets(segmentSets);
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    ctx.w().U32(TQ3Uns32(vertices.size()));
    ctx.w().NewLine();
    WritePoints(ctx.w(), vertices);
  }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    PlanSetList(plan, kVertexSetListPart, SetsOf(vertices));
    PlanSetList(plan, kGeometrySetListPart, SetsOf(segmentSets));
    Geometry::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type == kVertexSetListPart) {
      AssignSets(vertices, ReadSetList(ctx, e, TQ3Uns32(vertices.size())));
      return true;
    }
    if (e.cls->type == kGeometrySetListPart) {
      TQ3Uns32 segments = vertices.empty() ? 0 : TQ3Uns32(vertices.size() - 1);
      segmentSets = ReadSetList(ctx, e, segments);
      return true;
    }
    return false;
  }
};

struct PolygonGeom : PolyLineGeom {
  using PolyLineGeom::PolyLineGeom;
  Ref Clone() const override {
    Ref copy(new PolygonGeom(cls));
    auto* g = static_cast<PolygonGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->vertices = CloneVertices(vertices);
    return copy;
  }
};

const EnumName kHintNames[] = {{"Complex", 0}, {"Concave", 1}, {"Convex", 2}, {nullptr, 0}};
constexpr TQ3ObjectType kGeneralPolygonHintPart = Q3FourCC("gplh");

struct GeneralPolygonGeom : Geometry {
  using Geometry::Geometry;
  std::vector<std::vector<Vertex>> contours;
  TQ3GeneralPolygonShapeHint hint = kQ3GeneralPolygonShapeHintComplex;
  Ref Clone() const override {
    Ref copy(new GeneralPolygonGeom(cls));
    auto* g = static_cast<GeneralPolygonGeom*>(copy.get());
    g->CopyGeometry(*this);
    for (const auto& c : contours) g->contours.push_back(CloneVertices(c));
    g->hint = hint;
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    w.U32(TQ3Uns32(contours.size()));
    w.NewLine();
    for (const auto& c : contours) {
      w.U32(TQ3Uns32(c.size()));
      w.NewLine();
      WritePoints(w, c);
    }
  }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    if (hint != kQ3GeneralPolygonShapeHintComplex) {
      TQ3Uns32 h = hint;
      plan.Add([h](WriteContext& c) { c.WritePart(kGeneralPolygonHintPart, [h](Writer& w) { w.Enum(h, kHintNames); }); });
    }
    std::vector<TQ3Object> sets;
    for (const auto& c : contours)
      for (const Vertex& v : c) sets.push_back(v.set.get());
    PlanSetList(plan, kVertexSetListPart, sets);
    Geometry::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type == kGeneralPolygonHintPart) {
      TQ3Uns32 h = ctx.WithData(e, [&] { return ctx.r().Enum(kHintNames); });
      hint = h <= 2 ? TQ3GeneralPolygonShapeHint(h) : kQ3GeneralPolygonShapeHintComplex;
      return true;
    }
    if (e.cls->type != kVertexSetListPart) return false;
    size_t total = 0;
    for (const auto& c : contours) total += c.size();
    std::vector<Ref> sets = ReadSetList(ctx, e, TQ3Uns32(total));
    size_t k = 0;
    for (auto& c : contours) {
      for (Vertex& v : c) {
        if (k < sets.size() && sets[k]) v.set = std::move(sets[k]);
        ++k;
      }
    }
    return true;
  }
};

struct BoxGeom : Geometry {
  using Geometry::Geometry;
  TQ3Point3D origin{0, 0, 0};
  TQ3Vector3D orientation{0, 1, 0}, majorAxis{0, 0, 1}, minorAxis{1, 0, 0};
  std::vector<Ref> faceSets;  // empty or six
  Ref Clone() const override {
    Ref copy(new BoxGeom(cls));
    auto* g = static_cast<BoxGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->origin = origin;
    g->orientation = orientation;
    g->majorAxis = majorAxis;
    g->minorAxis = minorAxis;
    g->faceSets = CloneSets(faceSets);
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    w.Vector3D(orientation);
    w.NewLine();
    w.Vector3D(majorAxis);
    w.NewLine();
    w.Vector3D(minorAxis);
    w.NewLine();
    w.Point3D(origin);
  }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    PlanSetList(plan, kFaceSetListPart, SetsOf(faceSets));
    Geometry::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type != kFaceSetListPart) return false;
    faceSets = ReadSetList(ctx, e, 6);
    return true;
  }
};

struct EllipseGeom : Geometry {
  using Geometry::Geometry;
  TQ3Point3D origin{0, 0, 0};
  TQ3Vector3D majorRadius{1, 0, 0}, minorRadius{0, 1, 0};
  float uMin = 0, uMax = 1;
  Ref Clone() const override {
    Ref copy(new EllipseGeom(cls));
    auto* g = static_cast<EllipseGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->origin = origin;
    g->majorRadius = majorRadius;
    g->minorRadius = minorRadius;
    g->uMin = uMin;
    g->uMax = uMax;
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    w.Vector3D(majorRadius);
    w.NewLine();
    w.Vector3D(minorRadius);
    w.NewLine();
    w.Point3D(origin);
    w.NewLine();
    w.F32(uMin);
    w.F32(uMax);
  }
};

const EnumName kEndianNames[] = {{"BigEndian", 0}, {"LittleEndian", 1}, {nullptr, 0}};

struct MarkerGeom : Geometry {
  using Geometry::Geometry;
  TQ3Point3D location{};
  TQ3Int32 xOffset = 0, yOffset = 0;
  TQ3Uns32 width = 0, height = 0, rowBytes = 0;
  TQ3Endian bitOrder = kQ3EndianBig;
  std::vector<TQ3Uns8> image;
  Ref Clone() const override {
    Ref copy(new MarkerGeom(cls));
    auto* g = static_cast<MarkerGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->location = location;
    g->xOffset = xOffset;
    g->yOffset = yOffset;
    g->width = width;
    g->height = height;
    g->rowBytes = rowBytes;
    g->bitOrder = bitOrder;
    g->image = image;
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    w.Point3D(location);
    w.NewLine();
    w.I32(xOffset);
    w.I32(yOffset);
    w.NewLine();
    w.U32(width);
    w.U32(height);
    w.U32(rowBytes);
    w.Enum(bitOrder, kEndianNames);
    w.NewLine();
    w.Raw(image.data(), image.size());
  }
};

// The bytes of a rowBytes x height image, or false when they cannot be.
bool ImageSize(TQ3Uns32 rowBytes, TQ3Uns32 height, TQ3Uns32 minRowBytes, size_t& size) {
  if (rowBytes < minRowBytes) return false;
  TQ3Uns64 bytes = TQ3Uns64(rowBytes) * height;
  if (bytes > (TQ3Uns64(1) << 30)) return false;
  size = size_t(bytes);
  return true;
}

struct PixmapMarkerGeom : Geometry {
  using Geometry::Geometry;
  TQ3Point3D position{};
  TQ3Int32 xOffset = 0, yOffset = 0;
  Pixmap pixmap;
  Ref Clone() const override {
    Ref copy(new PixmapMarkerGeom(cls));
    auto* g = static_cast<PixmapMarkerGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->position = position;
    g->xOffset = xOffset;
    g->yOffset = yOffset;
    g->pixmap = pixmap.Copy();
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    w.Point3D(position);
    w.NewLine();
    w.I32(xOffset);
    w.I32(yOffset);
    w.NewLine();
    pixmap.Write(w);
  }
};

OpaqueTQ3Object* MakePoint(ClassInfo* c) { return new PointGeom(c); }
OpaqueTQ3Object* MakeLine(ClassInfo* c) { return new LineGeom(c); }
OpaqueTQ3Object* MakePolyLine(ClassInfo* c) { return new PolyLineGeom(c); }
OpaqueTQ3Object* MakeTriangle(ClassInfo* c) { return new TriangleGeom(c); }
OpaqueTQ3Object* MakePolygon(ClassInfo* c) { return new PolygonGeom(c); }
OpaqueTQ3Object* MakeGeneralPolygon(ClassInfo* c) { return new GeneralPolygonGeom(c); }
OpaqueTQ3Object* MakeBox(ClassInfo* c) { return new BoxGeom(c); }
OpaqueTQ3Object* MakeEllipse(ClassInfo* c) { return new EllipseGeom(c); }
OpaqueTQ3Object* MakeMarker(ClassInfo* c) { return new MarkerGeom(c); }
OpaqueTQ3Object* MakePixmapMarker(ClassInfo* c) { return new PixmapMarkerGeom(c); }
OpaqueTQ3Object* MakeGeometry(ClassInfo* c) { return new Geometry(c); }

Ref ReadPoint(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  return ReadGeometryEntry(ctx, cls, e, [&](OpaqueTQ3Object* o) { static_cast<PointGeom*>(o)->point = ctx.r().Point3D(); });
}

template <size_t N>
Ref ReadFixed(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  return ReadGeometryEntry(ctx, cls, e,
                           [&](OpaqueTQ3Object* o) { static_cast<FixedGeom<N>*>(o)->vertices = ReadPoints(ctx.r(), N); });
}

Ref ReadPolyLine(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  Ref object = ReadGeometryEntry(ctx, cls, e, [&](OpaqueTQ3Object* o) {
    TQ3Uns32 n = ctx.r().U32();
    static_cast<PolyLineGeom*>(o)->vertices = ReadPoints(ctx.r(), n);
  });
  auto* g = static_cast<PolyLineGeom*>(object.get());
  TQ3Uns32 minimum = cls->type == kQ3GeometryTypePolygon ? 3 : 2;
  if (g->vertices.size() < minimum)
    FailRead(kQ3ErrorGeometryInsufficientNumberOfPoints, "a line or polygon has too few points");
  return object;
}

Ref ReadGeneralPolygon(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  return ReadGeometryEntry(ctx, cls, e, [&](OpaqueTQ3Object* o) {
    auto* g = static_cast<GeneralPolygonGeom*>(o);
    Reader& r = ctx.r();
    TQ3Uns32 n = r.U32();
    r.CheckCount(n, 4 + 36, 1 + 9);
    if (n == 0) FailRead(kQ3ErrorGeometryInsufficientNumberOfPoints, "a general polygon has no contours");
    for (TQ3Uns32 i = 0; i < n; ++i) {
      TQ3Uns32 count = r.U32();
      if (count < 3) FailRead(kQ3ErrorGeometryInsufficientNumberOfPoints, "a contour has fewer than three points");
      g->contours.push_back(ReadPoints(r, count));
    }
  });
}

Ref ReadBox(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  return ReadGeometryEntry(ctx, cls, e, [&](OpaqueTQ3Object* o) {
    auto* g = static_cast<BoxGeom*>(o);
    Reader& r = ctx.r();
    if (r.AtEndOfData()) return;  // a box with no data is the unit box
    g->orientation = r.Vector3D();
    g->majorAxis = r.Vector3D();
    g->minorAxis = r.Vector3D();
    g->origin = r.Point3D();
  });
}

Ref ReadEllipse(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  return ReadGeometryEntry(ctx, cls, e, [&](OpaqueTQ3Object* o) {
    auto* g = static_cast<EllipseGeom*>(o);
    Reader& r = ctx.r();
    if (r.AtEndOfData()) return;
    g->majorRadius = r.Vector3D();
    g->minorRadius = r.Vector3D();
    g->origin = r.Point3D();
    if (r.AtEndOfData()) return;
    g->uMin = r.F32();
    g->uMax = r.F32();
  });
}

Ref ReadMarker(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  return ReadGeometryEntry(ctx, cls, e, [&](OpaqueTQ3Object* o) {
    auto* g = static_cast<MarkerGeom*>(o);
    Reader& r = ctx.r();
    g->location = r.Point3D();
    g->xOffset = r.I32();
    g->yOffset = r.I32();
    g->width = r.U32();
    g->height = r.U32();
    g->rowBytes = r.U32();
    g->bitOrder = TQ3Endian(r.Enum(kEndianNames) ? 1 : 0);
    size_t size = 0;
    if (!ImageSize(g->rowBytes, g->height, (g->width + 7) / 8, size))
      FailRead(kQ3ErrorInvalidData, "a bitmap's size is out of range");
    r.CheckCount(size, 1, 1);
    g->image.resize(size);
    r.Raw(g->image.data(), size);
  });
}

Ref ReadPixmapMarker(ReadContext& ctx, ClassInfo* cls, const Entry& e) {
  return ReadGeometryEntry(ctx, cls, e, [&](OpaqueTQ3Object* o) {
    auto* g = static_cast<PixmapMarkerGeom*>(o);
    Reader& r = ctx.r();
    g->position = r.Point3D();
    g->xOffset = r.I32();
    g->yOffset = r.I32();
    g->pixmap.Read(r);
  });
}

// ---------------------------------------------------------------------------
// The C calls: each geometry's data in and out.
template <class G>
G* GeometryOf(TQ3Object object, TQ3ObjectType type) {
  return As<G>(object, type);
}

template <class G, class D, class Set>
TQ3GeometryObject NewFrom(TQ3ObjectType type, const D* data, Set set) {
  if (!CheckPointer(data)) return nullptr;
  Ref object = NewObject(type);
  if (!object) return nullptr;
  if (set(static_cast<G*>(object.get()), data) != kQ3Success) return nullptr;
  return object.release();
}

}  // namespace

// ---------------------------------------------------------------------------
// Pixmaps.
static const EnumName kPixelTypeNames[] = {{"RGB32", 0}, {"ARGB32", 1},    {"RGB16", 2}, {"ARGB16", 3},
                                           {"RGB16_565", 4}, {"RGB24", 5}, {nullptr, 0}};

static bool PixmapSize(TQ3Uns32 width, TQ3Uns32 height, TQ3Uns32 rowBytes, TQ3Uns32 pixelSize, TQ3Uns32 pixelType,
                       size_t& size) {
  if (pixelType > kQ3PixelTypeRGB24 || (pixelSize != 16 && pixelSize != 24 && pixelSize != 32)) return false;
  return ImageSize(rowBytes, height, TQ3Uns32((TQ3Uns64(width) * pixelSize + 7) / 8), size);
}

bool Pixmap::Import(const TQ3StoragePixmap& p) {
  size_t size = 0;
  if (!PixmapSize(p.width, p.height, p.rowBytes, p.pixelSize, p.pixelType, size)) {
    PostError(kQ3ErrorInvalidData);
    return false;
  }
  if (!Check(p.image, kQ3SharedTypeStorage)) return false;
  TQ3Uns32 have = 0;
  if (Q3Storage_GetSize(p.image, &have) != kQ3Success || have < size) {
    PostError(kQ3ErrorInvalidData);
    return false;
  }
  width = p.width;
  height = p.height;
  rowBytes = p.rowBytes;
  pixelSize = p.pixelSize;
  pixelType = p.pixelType;
  bitOrder = p.bitOrder == kQ3EndianLittle ? kQ3EndianLittle : kQ3EndianBig;
  byteOrder = p.byteOrder == kQ3EndianLittle ? kQ3EndianLittle : kQ3EndianBig;
  image = Ref::Share(p.image);
  return true;
}

void Pixmap::Export(TQ3StoragePixmap& p) const {
  p.image = image.Copy().release();
  p.width = width;
  p.height = height;
  p.rowBytes = rowBytes;
  p.pixelSize = pixelSize;
  p.pixelType = pixelType;
  p.bitOrder = bitOrder;
  p.byteOrder = byteOrder;
}

Pixmap Pixmap::Copy() const {
  Pixmap p;
  p.width = width;
  p.height = height;
  p.rowBytes = rowBytes;
  p.pixelSize = pixelSize;
  p.pixelType = pixelType;
  p.bitOrder = bitOrder;
  p.byteOrder = byteOrder;
  if (image) p.image = Duplicate(image.get());
  return p;
}

void Pixmap::Write(Writer& w) const {
  w.U32(width);
  w.U32(height);
  w.U32(rowBytes);
  w.U32(pixelSize);
  w.Enum(pixelType, kPixelTypeNames);
  w.Enum(bitOrder, kEndianNames);
  w.Enum(byteOrder, kEndianNames);
  w.NewLine();
  std::vector<TQ3Uns8> bytes;
  if (image) StorageBytes(image.get(), bytes);
  bytes.resize(size_t(rowBytes) * height);
  w.Raw(bytes.data(), bytes.size());
}

void Pixmap::Read(Reader& r) {
  width = r.U32();
  height = r.U32();
  rowBytes = r.U32();
  pixelSize = r.U32();
  pixelType = TQ3PixelType(r.Enum(kPixelTypeNames));
  bitOrder = TQ3Endian(r.Enum(kEndianNames) ? 1 : 0);
  byteOrder = TQ3Endian(r.Enum(kEndianNames) ? 1 : 0);
  size_t size = 0;
  if (!PixmapSize(width, height, rowBytes, pixelSize, pixelType, size))
    FailRead(kQ3ErrorInvalidData, "a pixmap's size is out of range");
  r.CheckCount(size, 1, 1);
  std::vector<TQ3Uns8> bytes(size);
  r.Raw(bytes.data(), size);
  image = NewMemoryStorage(std::move(bytes));
  if (!image) FailRead(kQ3ErrorOutOfMemory, "no memory for a pixmap");
}

// ---------------------------------------------------------------------------
// Attribute set lists.
void PlanSetList(WritePlan& plan, TQ3ObjectType part, std::vector<TQ3Object> sets) {
  std::vector<TQ3Uns32> with, without;
  for (TQ3Uns32 i = 0; i < sets.size(); ++i) (sets[i] ? with : without).push_back(i);
  if (with.empty()) return;
  // List whichever indices are fewer.
  bool include = with.size() <= without.size();
  std::vector<TQ3Uns32> indices = include ? with : without;
  auto count = TQ3Uns32(sets.size());
  plan.Add([part, sets = std::move(sets), indices = std::move(indices), include, count](WriteContext& ctx) {
    WritePlan subs;
    for (TQ3Object s : sets) subs.AddObject(s);
    ctx.WritePart(
        part,
        [&](Writer& w) {
          w.U32(count);
          w.Enum(include ? 0 : 1, kPackingNames);
          w.U32(TQ3Uns32(indices.size()));
          w.NewLine();
          w.Indices(indices.data(), indices.size(), 4);
        },
        &subs);
  });
}

std::vector<Ref> ReadSetList(ReadContext& ctx, const Entry& entry, TQ3Uns32 count) {
  std::vector<Ref> sets(count);
  std::vector<bool> listed;
  TQ3Uns32 nObjects = 0;
  bool include = true;
  ctx.WithData(entry, [&] {
    Reader& r = ctx.r();
    nObjects = r.U32();
    include = r.Enum(kPackingNames) == 0;
    TQ3Uns32 nIndices = r.U32();
    r.CheckCount(nIndices, 4, 1);
    listed.assign(nObjects < count ? nObjects : count, false);
    for (TQ3Uns32 i = 0; i < nIndices; ++i) {
      TQ3Uns32 index = r.U32();
      if (index < listed.size())
        listed[index] = true;
      else
        PostWarning(kQ3WarningInconsistentData);
    }
  });
  if (nObjects != count) PostWarning(kQ3WarningInconsistentData);
  size_t pos = entry.subBegin;
  TQ3Uns32 i = 0;
  while (pos < entry.subEnd) {
    Entry sub;
    if (!ctx.r().ParseEntry(pos, entry.subEnd, sub)) break;
    pos = sub.end;
    Ref set = ctx.ReadSubObject(sub, &pos, entry.subEnd);
    while (i < listed.size() && listed[i] != include) ++i;
    if (i >= listed.size()) {
      PostWarning(kQ3WarningInconsistentData);
      break;
    }
    if (set && set->IsType(kQ3SetTypeAttribute))
      sets[i] = std::move(set);
    else
      PostWarning(kQ3WarningInvalidSubObjectForObject);
    ++i;
  }
  return sets;
}

void RegisterGeometryClasses() {
  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeGeometry, "Geometry", MakeGeometry, nullptr, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypePoint, "Point", MakePoint, ReadPoint, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeLine, "Line", MakeLine, ReadFixed<2>, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypePolyLine, "PolyLine", MakePolyLine, ReadPolyLine, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeTriangle, "Triangle", MakeTriangle, ReadFixed<3>, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypePolygon, "Polygon", MakePolygon, ReadPolyLine, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeGeneralPolygon, "GeneralPolygon", MakeGeneralPolygon,
           ReadGeneralPolygon, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeBox, "Box", MakeBox, ReadBox, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeEllipse, "Ellipse", MakeEllipse, ReadEllipse, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeMarker, "Marker", MakeMarker, ReadMarker, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypePixmapMarker, "PixmapMarker", MakePixmapMarker, ReadPixmapMarker,
           true);
  AddPartClass(kVertexSetListPart, "VertexAttributeSetList");
  AddPartClass(kFaceSetListPart, "FaceAttributeSetList");
  AddPartClass(kGeometrySetListPart, "GeometryAttributeSetList");
  AddPartClass(kEdgeSetListPart, "EdgeAttributeSetList");
  AddPartClass(kGeneralPolygonHintPart, "GeneralPolygonHint");
}

}  // namespace q3d

using namespace q3d;

// ---------------------------------------------------------------------------
// Points.
static TQ3Status SetPoint(PointGeom* g, const TQ3PointData* d) {
  if (!ValidAttributeSet(d->pointAttributeSet)) return kQ3Failure;
  g->point = d->point;
  g->attributeSet = Ref::Share(d->pointAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3Point_New(const TQ3PointData* pointData) {
  return NewFrom<PointGeom>(kQ3GeometryTypePoint, pointData, SetPoint);
}
TQ3Status Q3Point_GetData(TQ3GeometryObject point, TQ3PointData* pointData) {
  auto* g = GeometryOf<PointGeom>(point, kQ3GeometryTypePoint);
  if (!g || !CheckPointer(pointData)) return kQ3Failure;
  pointData->point = g->point;
  pointData->pointAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3Point_SetData(TQ3GeometryObject point, const TQ3PointData* pointData) {
  auto* g = GeometryOf<PointGeom>(point, kQ3GeometryTypePoint);
  return g && CheckPointer(pointData) ? SetPoint(g, pointData) : kQ3Failure;
}
TQ3Status Q3Point_EmptyData(TQ3PointData* pointData) {
  if (!CheckPointer(pointData)) return kQ3Failure;
  Release(pointData->pointAttributeSet);
  pointData->pointAttributeSet = nullptr;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Lines and triangles: the same calls over vertex arrays of two and three.
template <size_t N, class D>
static TQ3Status SetFixed(FixedGeom<N>* g, const D* d, TQ3AttributeSet D::*set) {
  if (!ValidVertices(d->vertices, N) || !ValidAttributeSet(d->*set)) return kQ3Failure;
  g->vertices = ImportVertices(d->vertices, N);
  g->attributeSet = Ref::Share(d->*set);
  return kQ3Success;
}
template <size_t N, class D>
static TQ3Status GetFixed(TQ3Object object, TQ3ObjectType type, D* d, TQ3AttributeSet D::*set) {
  auto* g = GeometryOf<FixedGeom<N>>(object, type);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  for (size_t i = 0; i < N; ++i) d->vertices[i] = {g->vertices[i].point, g->vertices[i].set.Copy().release()};
  d->*set = g->attributeSet.Copy().release();
  return kQ3Success;
}
template <size_t N, class D>
static TQ3Status EmptyFixed(D* d, TQ3AttributeSet D::*set) {
  if (!CheckPointer(d)) return kQ3Failure;
  for (auto& v : d->vertices) {
    Release(v.attributeSet);
    v.attributeSet = nullptr;
  }
  Release(d->*set);
  d->*set = nullptr;
  return kQ3Success;
}

static TQ3Status SetLine(LineGeom* g, const TQ3LineData* d) { return SetFixed(g, d, &TQ3LineData::lineAttributeSet); }
TQ3GeometryObject Q3Line_New(const TQ3LineData* lineData) {
  return NewFrom<LineGeom>(kQ3GeometryTypeLine, lineData, SetLine);
}
TQ3Status Q3Line_GetData(TQ3GeometryObject line, TQ3LineData* lineData) {
  return GetFixed<2>(line, kQ3GeometryTypeLine, lineData, &TQ3LineData::lineAttributeSet);
}
TQ3Status Q3Line_SetData(TQ3GeometryObject line, const TQ3LineData* lineData) {
  auto* g = GeometryOf<LineGeom>(line, kQ3GeometryTypeLine);
  return g && CheckPointer(lineData) ? SetLine(g, lineData) : kQ3Failure;
}
TQ3Status Q3Line_EmptyData(TQ3LineData* lineData) {
  return EmptyFixed<2>(lineData, &TQ3LineData::lineAttributeSet);
}

static TQ3Status SetTriangle(TriangleGeom* g, const TQ3TriangleData* d) {
  return SetFixed(g, d, &TQ3TriangleData::triangleAttributeSet);
}
TQ3GeometryObject Q3Triangle_New(const TQ3TriangleData* triangleData) {
  return NewFrom<TriangleGeom>(kQ3GeometryTypeTriangle, triangleData, SetTriangle);
}
TQ3Status Q3Triangle_GetData(TQ3GeometryObject triangle, TQ3TriangleData* d) {
  return GetFixed<3>(triangle, kQ3GeometryTypeTriangle, d, &TQ3TriangleData::triangleAttributeSet);
}
TQ3Status Q3Triangle_SetData(TQ3GeometryObject triangle, const TQ3TriangleData* d) {
  auto* g = GeometryOf<TriangleGeom>(triangle, kQ3GeometryTypeTriangle);
  return g && CheckPointer(d) ? SetTriangle(g, d) : kQ3Failure;
}
TQ3Status Q3Triangle_EmptyData(TQ3TriangleData* d) {
  return EmptyFixed<3>(d, &TQ3TriangleData::triangleAttributeSet);
}

// ---------------------------------------------------------------------------
// Polylines.
static TQ3Status SetPolyLine(PolyLineGeom* g, const TQ3PolyLineData* d) {
  if (d->numVertices < 2) {
    PostError(kQ3ErrorGeometryInsufficientNumberOfPoints);
    return kQ3Failure;
  }
  if (!ValidVertices(d->vertices, d->numVertices) || !ValidSets(d->segmentAttributeSet, d->numVertices - 1) ||
      !ValidAttributeSet(d->polyLineAttributeSet))
    return kQ3Failure;
  g->vertices = ImportVertices(d->vertices, d->numVertices);
  g->segmentSets = ImportSets(d->segmentAttributeSet, d->numVertices - 1);
  g->attributeSet = Ref::Share(d->polyLineAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3PolyLine_New(const TQ3PolyLineData* polylineData) {
  return NewFrom<PolyLineGeom>(kQ3GeometryTypePolyLine, polylineData, SetPolyLine);
}
TQ3Status Q3PolyLine_GetData(TQ3GeometryObject polyLine, TQ3PolyLineData* d) {
  auto* g = GeometryOf<PolyLineGeom>(polyLine, kQ3GeometryTypePolyLine);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  d->numVertices = TQ3Uns32(g->vertices.size());
  d->vertices = ExportVertices(g->vertices);
  d->segmentAttributeSet = ExportSets<TQ3AttributeSet>(g->segmentSets);
  d->polyLineAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3PolyLine_SetData(TQ3GeometryObject polyLine, const TQ3PolyLineData* d) {
  auto* g = GeometryOf<PolyLineGeom>(polyLine, kQ3GeometryTypePolyLine);
  return g && CheckPointer(d) ? SetPolyLine(g, d) : kQ3Failure;
}
TQ3Status Q3PolyLine_EmptyData(TQ3PolyLineData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  FreeVertices(d->vertices, d->numVertices);
  FreeSets(d->segmentAttributeSet, d->numVertices ? d->numVertices - 1 : 0);
  Release(d->polyLineAttributeSet);
  *d = TQ3PolyLineData{};
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Polygons.
static TQ3Status SetPolygon(PolygonGeom* g, const TQ3PolygonData* d) {
  if (d->numVertices < 3) {
    PostError(kQ3ErrorGeometryInsufficientNumberOfPoints);
    return kQ3Failure;
  }
  if (!ValidVertices(d->vertices, d->numVertices) || !ValidAttributeSet(d->polygonAttributeSet)) return kQ3Failure;
  g->vertices = ImportVertices(d->vertices, d->numVertices);
  g->attributeSet = Ref::Share(d->polygonAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3Polygon_New(const TQ3PolygonData* polygonData) {
  return NewFrom<PolygonGeom>(kQ3GeometryTypePolygon, polygonData, SetPolygon);
}
TQ3Status Q3Polygon_GetData(TQ3GeometryObject polygon, TQ3PolygonData* d) {
  auto* g = GeometryOf<PolygonGeom>(polygon, kQ3GeometryTypePolygon);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  d->numVertices = TQ3Uns32(g->vertices.size());
  d->vertices = ExportVertices(g->vertices);
  d->polygonAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3Polygon_SetData(TQ3GeometryObject polygon, const TQ3PolygonData* d) {
  auto* g = GeometryOf<PolygonGeom>(polygon, kQ3GeometryTypePolygon);
  return g && CheckPointer(d) ? SetPolygon(g, d) : kQ3Failure;
}
TQ3Status Q3Polygon_EmptyData(TQ3PolygonData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  FreeVertices(d->vertices, d->numVertices);
  Release(d->polygonAttributeSet);
  *d = TQ3PolygonData{};
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// General polygons.
static TQ3Status SetGeneralPolygon(GeneralPolygonGeom* g, const TQ3GeneralPolygonData* d) {
  if (d->numContours == 0 || !CheckPointer(d->contours)) {
    if (d->numContours == 0) PostError(kQ3ErrorGeometryInsufficientNumberOfPoints);
    return kQ3Failure;
  }
  for (TQ3Uns32 i = 0; i < d->numContours; ++i) {
    if (d->contours[i].numVertices < 3) {
      PostError(kQ3ErrorGeometryInsufficientNumberOfPoints);
      return kQ3Failure;
    }
    if (!ValidVertices(d->contours[i].vertices, d->contours[i].numVertices)) return kQ3Failure;
  }
  if (!ValidAttributeSet(d->generalPolygonAttributeSet)) return kQ3Failure;
  g->contours.clear();
  for (TQ3Uns32 i = 0; i < d->numContours; ++i)
    g->contours.push_back(ImportVertices(d->contours[i].vertices, d->contours[i].numVertices));
  g->hint = d->shapeHint <= kQ3GeneralPolygonShapeHintConvex ? d->shapeHint : kQ3GeneralPolygonShapeHintComplex;
  g->attributeSet = Ref::Share(d->generalPolygonAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3GeneralPolygon_New(const TQ3GeneralPolygonData* data) {
  return NewFrom<GeneralPolygonGeom>(kQ3GeometryTypeGeneralPolygon, data, SetGeneralPolygon);
}
TQ3Status Q3GeneralPolygon_GetData(TQ3GeometryObject polygon, TQ3GeneralPolygonData* d) {
  auto* g = GeometryOf<GeneralPolygonGeom>(polygon, kQ3GeometryTypeGeneralPolygon);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  d->numContours = TQ3Uns32(g->contours.size());
  d->contours = AllocArray<TQ3GeneralPolygonContourData>(g->contours.size());
  for (size_t i = 0; d->contours && i < g->contours.size(); ++i) {
    d->contours[i].numVertices = TQ3Uns32(g->contours[i].size());
    d->contours[i].vertices = ExportVertices(g->contours[i]);
  }
  d->shapeHint = g->hint;
  d->generalPolygonAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3GeneralPolygon_SetData(TQ3GeometryObject polygon, const TQ3GeneralPolygonData* d) {
  auto* g = GeometryOf<GeneralPolygonGeom>(polygon, kQ3GeometryTypeGeneralPolygon);
  return g && CheckPointer(d) ? SetGeneralPolygon(g, d) : kQ3Failure;
}
TQ3Status Q3GeneralPolygon_EmptyData(TQ3GeneralPolygonData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  for (TQ3Uns32 i = 0; d->contours && i < d->numContours; ++i)
    FreeVertices(d->contours[i].vertices, d->contours[i].numVertices);
  std::free(d->contours);
  Release(d->generalPolygonAttributeSet);
  *d = TQ3GeneralPolygonData{};
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Boxes.
static TQ3Status SetBox(BoxGeom* g, const TQ3BoxData* d) {
  if (!ValidSets(d->faceAttributeSet, 6) || !ValidAttributeSet(d->boxAttributeSet)) return kQ3Failure;
  g->origin = d->origin;
  g->orientation = d->orientation;
  g->majorAxis = d->majorAxis;
  g->minorAxis = d->minorAxis;
  g->faceSets = ImportSets(d->faceAttributeSet, 6);
  g->attributeSet = Ref::Share(d->boxAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3Box_New(const TQ3BoxData* data) { return NewFrom<BoxGeom>(kQ3GeometryTypeBox, data, SetBox); }
TQ3Status Q3Box_GetData(TQ3GeometryObject box, TQ3BoxData* d) {
  auto* g = GeometryOf<BoxGeom>(box, kQ3GeometryTypeBox);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  d->origin = g->origin;
  d->orientation = g->orientation;
  d->majorAxis = g->majorAxis;
  d->minorAxis = g->minorAxis;
  d->faceAttributeSet = ExportSets<TQ3AttributeSet>(g->faceSets);
  d->boxAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3Box_SetData(TQ3GeometryObject box, const TQ3BoxData* d) {
  auto* g = GeometryOf<BoxGeom>(box, kQ3GeometryTypeBox);
  return g && CheckPointer(d) ? SetBox(g, d) : kQ3Failure;
}
TQ3Status Q3Box_EmptyData(TQ3BoxData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  FreeSets(d->faceAttributeSet, 6);
  d->faceAttributeSet = nullptr;
  Release(d->boxAttributeSet);
  d->boxAttributeSet = nullptr;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Ellipses.
static TQ3Status SetEllipse(EllipseGeom* g, const TQ3EllipseData* d) {
  if (!ValidAttributeSet(d->ellipseAttributeSet)) return kQ3Failure;
  g->origin = d->origin;
  g->majorRadius = d->majorRadius;
  g->minorRadius = d->minorRadius;
  g->uMin = d->uMin;
  g->uMax = d->uMax;
  g->attributeSet = Ref::Share(d->ellipseAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3Ellipse_New(const TQ3EllipseData* data) {
  return NewFrom<EllipseGeom>(kQ3GeometryTypeEllipse, data, SetEllipse);
}
TQ3Status Q3Ellipse_GetData(TQ3GeometryObject ellipse, TQ3EllipseData* d) {
  auto* g = GeometryOf<EllipseGeom>(ellipse, kQ3GeometryTypeEllipse);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  d->origin = g->origin;
  d->majorRadius = g->majorRadius;
  d->minorRadius = g->minorRadius;
  d->uMin = g->uMin;
  d->uMax = g->uMax;
  d->ellipseAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3Ellipse_SetData(TQ3GeometryObject ellipse, const TQ3EllipseData* d) {
  auto* g = GeometryOf<EllipseGeom>(ellipse, kQ3GeometryTypeEllipse);
  return g && CheckPointer(d) ? SetEllipse(g, d) : kQ3Failure;
}
TQ3Status Q3Ellipse_EmptyData(TQ3EllipseData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  Release(d->ellipseAttributeSet);
  d->ellipseAttributeSet = nullptr;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Markers.
static TQ3Status SetMarker(MarkerGeom* g, const TQ3MarkerData* d) {
  size_t size = 0;
  const TQ3Bitmap& b = d->bitmap;
  if (!ImageSize(b.rowBytes, b.height, (b.width + 7) / 8, size) || (size && !b.image)) {
    PostError(kQ3ErrorInvalidData);
    return kQ3Failure;
  }
  if (!ValidAttributeSet(d->markerAttributeSet)) return kQ3Failure;
  g->location = d->location;
  g->xOffset = d->xOffset;
  g->yOffset = d->yOffset;
  g->width = b.width;
  g->height = b.height;
  g->rowBytes = b.rowBytes;
  g->bitOrder = b.bitOrder == kQ3EndianLittle ? kQ3EndianLittle : kQ3EndianBig;
  g->image.assign(b.image, b.image + size);
  g->attributeSet = Ref::Share(d->markerAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3Marker_New(const TQ3MarkerData* data) {
  return NewFrom<MarkerGeom>(kQ3GeometryTypeMarker, data, SetMarker);
}
TQ3Status Q3Marker_GetData(TQ3GeometryObject marker, TQ3MarkerData* d) {
  auto* g = GeometryOf<MarkerGeom>(marker, kQ3GeometryTypeMarker);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  d->location = g->location;
  d->xOffset = g->xOffset;
  d->yOffset = g->yOffset;
  d->bitmap.width = g->width;
  d->bitmap.height = g->height;
  d->bitmap.rowBytes = g->rowBytes;
  d->bitmap.bitOrder = g->bitOrder;
  d->bitmap.image = AllocArray<TQ3Uns8>(g->image.size());
  if (d->bitmap.image && !g->image.empty()) std::memcpy(d->bitmap.image, g->image.data(), g->image.size());
  d->markerAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3Marker_SetData(TQ3GeometryObject marker, const TQ3MarkerData* d) {
  auto* g = GeometryOf<MarkerGeom>(marker, kQ3GeometryTypeMarker);
  return g && CheckPointer(d) ? SetMarker(g, d) : kQ3Failure;
}
TQ3Status Q3Marker_EmptyData(TQ3MarkerData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  std::free(d->bitmap.image);
  d->bitmap.image = nullptr;
  Release(d->markerAttributeSet);
  d->markerAttributeSet = nullptr;
  return kQ3Success;
}

static TQ3Status SetPixmapMarker(PixmapMarkerGeom* g, const TQ3PixmapMarkerData* d) {
  if (!ValidAttributeSet(d->pixmapMarkerAttributeSet)) return kQ3Failure;
  Pixmap p;
  if (!p.Import(d->pixmap)) return kQ3Failure;
  g->position = d->position;
  g->xOffset = d->xOffset;
  g->yOffset = d->yOffset;
  g->pixmap = std::move(p);
  g->attributeSet = Ref::Share(d->pixmapMarkerAttributeSet);
  return kQ3Success;
}
TQ3GeometryObject Q3PixmapMarker_New(const TQ3PixmapMarkerData* data) {
  return NewFrom<PixmapMarkerGeom>(kQ3GeometryTypePixmapMarker, data, SetPixmapMarker);
}
TQ3Status Q3PixmapMarker_GetData(TQ3GeometryObject marker, TQ3PixmapMarkerData* d) {
  auto* g = GeometryOf<PixmapMarkerGeom>(marker, kQ3GeometryTypePixmapMarker);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  d->position = g->position;
  d->xOffset = g->xOffset;
  d->yOffset = g->yOffset;
  g->pixmap.Export(d->pixmap);
  d->pixmapMarkerAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}
TQ3Status Q3PixmapMarker_SetData(TQ3GeometryObject marker, const TQ3PixmapMarkerData* d) {
  auto* g = GeometryOf<PixmapMarkerGeom>(marker, kQ3GeometryTypePixmapMarker);
  return g && CheckPointer(d) ? SetPixmapMarker(g, d) : kQ3Failure;
}
TQ3Status Q3PixmapMarker_EmptyData(TQ3PixmapMarkerData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  Release(d->pixmap.image);
  d->pixmap.image = nullptr;
  Release(d->pixmapMarkerAttributeSet);
  d->pixmapMarkerAttributeSet = nullptr;
  return kQ3Success;
}
