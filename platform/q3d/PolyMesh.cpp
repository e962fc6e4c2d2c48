// Polyhedra and triangle meshes.
#include <algorithm>
#include <cstdlib>

#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {
namespace {

bool ValidIndex(TQ3Uns32 index, TQ3Uns32 count, bool noneAllowed) {
  return index < count || (noneAllowed && index == kQ3ArrayIndexNULL);
}

// ---------------------------------------------------------------------------
// Polyhedra.
struct PolyhedronGeom : Geometry {
  struct Edge {
    TQ3Uns32 v[2], t[2];
    Ref set;
  };
  struct Triangle {
    TQ3Uns32 v[3];
    TQ3PolyhedronEdge flag;
    Ref set;
  };
  using Geometry::Geometry;
  std::vector<Vertex> vertices;
  std::vector<Edge> edges;
  std::vector<Triangle> triangles;

  Ref Clone() const override {
    Ref copy(new PolyhedronGeom(cls));
    auto* g = static_cast<PolyhedronGeom*>(copy.get());
    g->CopyGeometry(*this);
    for (const Vertex& v : vertices) g->vertices.push_back({v.point, v.set ? Duplicate(v.set.get()) : Ref()});
    for (const Edge& e : edges)
      g->edges.push_back({{e.v[0], e.v[1]}, {e.t[0], e.t[1]}, e.set ? Duplicate(e.set.get()) : Ref()});
    for (const Triangle& t : triangles)
      g->triangles.push_back({{t.v[0], t.v[1], t.v[2]}, t.flag, t.set ? Duplicate(t.set.get()) : Ref()});
    return copy;
  }

  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    w.U32(TQ3Uns32(vertices.size()));
    w.NewLine();
    for (const Vertex& v : vertices) {
      w.Point3D(v.point);
      w.NewLine();
    }
    w.U32(TQ3Uns32(triangles.size()));
    w.U32(TQ3Uns32(edges.size()));
    w.NewLine();
    for (const Triangle& t : triangles) {
      w.Indices(t.v, 3, 4);
      w.U32(t.flag);
      w.NewLine();
    }
    for (const Edge& e : edges) {
      w.Indices(e.v, 2, 4);
      w.Indices(e.t, 2, 4);
      w.NewLine();
    }
  }

  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    std::vector<TQ3Object> sets;
    for (const Vertex& v : vertices) sets.push_back(v.set.get());
    PlanSetList(plan, kVertexSetListPart, sets);
    sets.clear();
    for (const Triangle& t : triangles) sets.push_back(t.set.get());
    PlanSetList(plan, kFaceSetListPart, sets);
    sets.clear();
    for (const Edge& e : edges) sets.push_back(e.set.get());
    PlanSetList(plan, kEdgeSetListPart, sets);
    Geometry::PlanSubObjects(ctx, plan);
  }

  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    TQ3ObjectType t = e.cls->type;
    if (t == kVertexSetListPart) {
      auto sets = ReadSetList(ctx, e, TQ3Uns32(vertices.size()));
      for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i]) vertices[i].set = std::move(sets[i]);
    } else if (t == kFaceSetListPart) {
      auto sets = ReadSetList(ctx, e, TQ3Uns32(triangles.size()));
      for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i]) triangles[i].set = std::move(sets[i]);
    } else if (t == kEdgeSetListPart) {
      auto sets = ReadSetList(ctx, e, TQ3Uns32(edges.size()));
      for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i]) edges[i].set = std::move(sets[i]);
    } else {
      return false;
    }
    return true;
  }
};

Ref ReadPolyhedron(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a polyhedron");
  auto* g = static_cast<PolyhedronGeom*>(object.get());
  ctx.WithData(entry, [&] {
    Reader& r = ctx.r();
    TQ3Uns32 nv = r.U32();
    r.CheckCount(nv, 12, 3);
    g->vertices.resize(nv);
    for (Vertex& v : g->vertices) v.point = r.Point3D();
    TQ3Uns32 nt = r.U32();
    TQ3Uns32 ne = r.U32();
    r.CheckCount(nt, 16, 4);
    r.CheckCount(ne, 16, 4);
    g->triangles.resize(nt);
    for (auto& t : g->triangles) {
      r.Indices(t.v, 3, 4);
      t.flag = r.U32() & kQ3PolyhedronEdgeAll;
      for (TQ3Uns32 k : t.v)
        if (k >= nv) FailRead(kQ3ErrorInvalidData, "a polyhedron triangle names a vertex it does not have");
    }
    g->edges.resize(ne);
    for (auto& e : g->edges) {
      r.Indices(e.v, 2, 4);
      r.Indices(e.t, 2, 4);
      if (e.v[0] >= nv || e.v[1] >= nv || !ValidIndex(e.t[0], nt, true) || !ValidIndex(e.t[1], nt, true))
        FailRead(kQ3ErrorInvalidData, "a polyhedron edge names a vertex or triangle it does not have");
    }
  });
  ctx.ReadSubObjects(g, entry);
  return object;
}

// ---------------------------------------------------------------------------
// Triangle meshes.
constexpr TQ3ObjectType kAttributeArrayPart = Q3FourCC("atar");

// One array of attribute values; surface shaders are held references.
struct AttrArray {
  TQ3AttributeType type = 0;
  ClassInfo* cls = nullptr;
  TQ3Uns32 count = 0;
  std::vector<TQ3Uns8> data;
  std::vector<char> use;  // empty: every element has its value

  AttrArray() = default;
  AttrArray(AttrArray&&) = default;
  AttrArray& operator=(AttrArray&&) = default;
  ~AttrArray() {
    if (type != kQ3AttributeTypeSurfaceShader) return;
    for (TQ3Uns32 i = 0; i < count && (i + 1) * sizeof(TQ3Object) <= data.size(); ++i) Release(Object(i));
  }
  bool IsShader() const { return type == kQ3AttributeTypeSurfaceShader; }
  TQ3Object Object(TQ3Uns32 i) const {
    TQ3Object o;
    std::memcpy(&o, data.data() + size_t(i) * sizeof(TQ3Object), sizeof o);
    return o;
  }
  void SetObject(TQ3Uns32 i, TQ3Object o) {
    std::memcpy(data.data() + size_t(i) * sizeof(TQ3Object), &o, sizeof o);
  }
};

// The attribute class of an array type that files can carry.
ClassInfo* ArrayClass(TQ3AttributeType type) {
  ClassInfo* cls = FindElementClass(type);
  if (!cls) PostError(kQ3ErrorUnknownElementType);
  return cls;
}

bool ImportArrays(const TQ3TriMeshAttributeData* in, TQ3Uns32 n, TQ3Uns32 count, std::vector<AttrArray>& out) {
  if (n && !CheckPointer(in)) return false;
  std::vector<AttrArray> arrays;
  for (TQ3Uns32 i = 0; i < n; ++i) {
    ClassInfo* cls = ArrayClass(in[i].attributeType);
    if (!cls) return false;
    if (count && !CheckPointer(in[i].data)) return false;
    AttrArray a;
    a.type = in[i].attributeType;
    a.cls = cls;
    const auto* bytes = static_cast<const TQ3Uns8*>(in[i].data);
    if (a.IsShader()) {
      a.data.assign(size_t(count) * sizeof(TQ3Object), 0);
      for (TQ3Uns32 k = 0; k < count; ++k) {
        TQ3Object s;
        std::memcpy(&s, bytes + size_t(k) * sizeof(TQ3Object), sizeof s);
        if (s && !Check(s, kQ3ShapeTypeShader)) return false;
      }
      a.count = count;
      for (TQ3Uns32 k = 0; k < count; ++k) {
        TQ3Object s;
        std::memcpy(&s, bytes + size_t(k) * sizeof(TQ3Object), sizeof s);
        a.SetObject(k, Ref::Share(s).release());
      }
    } else {
      a.count = count;
      if (count) a.data.assign(bytes, bytes + size_t(count) * cls->elementSize);
    }
    if (in[i].attributeUseArray) a.use.assign(in[i].attributeUseArray, in[i].attributeUseArray + count);
    arrays.push_back(std::move(a));
  }
  out = std::move(arrays);
  return true;
}

TQ3TriMeshAttributeData* ExportArrays(const std::vector<AttrArray>& arrays) {
  if (arrays.empty()) return nullptr;
  auto* out = AllocArray<TQ3TriMeshAttributeData>(arrays.size());
  if (!out) return nullptr;
  for (size_t i = 0; i < arrays.size(); ++i) {
    const AttrArray& a = arrays[i];
    out[i].attributeType = a.type;
    out[i].data = AllocData(a.data.size());
    if (out[i].data && !a.data.empty()) std::memcpy(out[i].data, a.data.data(), a.data.size());
    if (a.IsShader() && out[i].data)
      for (TQ3Uns32 k = 0; k < a.count; ++k) Ref::Share(a.Object(k)).release();
    out[i].attributeUseArray = nullptr;
    if (!a.use.empty()) {
      out[i].attributeUseArray = AllocArray<char>(a.use.size());
      if (out[i].attributeUseArray) std::memcpy(out[i].attributeUseArray, a.use.data(), a.use.size());
    }
  }
  return out;
}

void FreeArrays(TQ3TriMeshAttributeData* arrays, TQ3Uns32 n, TQ3Uns32 count) {
  if (!arrays) return;
  for (TQ3Uns32 i = 0; i < n; ++i) {
    if (arrays[i].attributeType == kQ3AttributeTypeSurfaceShader && arrays[i].data) {
      auto* objects = static_cast<TQ3Object*>(arrays[i].data);
      for (TQ3Uns32 k = 0; k < count; ++k) Release(objects[k]);
    }
    std::free(arrays[i].data);
    std::free(arrays[i].attributeUseArray);
  }
  std::free(arrays);
}

std::vector<AttrArray> CloneArrays(const std::vector<AttrArray>& from) {
  std::vector<AttrArray> out;
  for (const AttrArray& a : from) {
    AttrArray c;
    c.type = a.type;
    c.cls = a.cls;
    c.count = a.count;
    c.data = a.data;
    c.use = a.use;
    if (a.IsShader())
      for (TQ3Uns32 k = 0; k < a.count; ++k) c.SetObject(k, a.Object(k) ? Duplicate(a.Object(k)).release() : nullptr);
    out.push_back(std::move(c));
  }
  return out;
}

struct TriMeshGeom : Geometry {
  using Geometry::Geometry;
  std::vector<TQ3TriMeshTriangleData> triangles;
  std::vector<TQ3TriMeshEdgeData> edges;
  std::vector<TQ3Point3D> points;
  std::vector<AttrArray> triangleAttrs, edgeAttrs, vertexAttrs;
  TQ3BoundingBox bBox{{0, 0, 0}, {0, 0, 0}, kQ3True};
  // Arrays read from a file, placed by their position once all are read.
  struct Placed {
    TQ3Uns32 where, index;
    AttrArray array;
  };
  std::vector<Placed> placed;

  Ref Clone() const override {
    Ref copy(new TriMeshGeom(cls));
    auto* g = static_cast<TriMeshGeom*>(copy.get());
    g->CopyGeometry(*this);
    g->triangles = triangles;
    g->edges = edges;
    g->points = points;
    g->triangleAttrs = CloneArrays(triangleAttrs);
    g->edgeAttrs = CloneArrays(edgeAttrs);
    g->vertexAttrs = CloneArrays(vertexAttrs);
    g->bBox = bBox;
    return copy;
  }

  static bool Writable(const AttrArray& a) {
    if (a.cls->attributeIO) return true;
    PostWarning(kQ3WarningObjectNotWritten);
    return false;
  }

  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    auto writable = [](const std::vector<AttrArray>& v) {
      return TQ3Uns32(std::count_if(v.begin(), v.end(), [](const AttrArray& a) { return a.cls->attributeIO; }));
    };
    w.U32(TQ3Uns32(triangles.size()));
    w.U32(writable(triangleAttrs));
    w.U32(TQ3Uns32(edges.size()));
    w.U32(writable(edgeAttrs));
    w.U32(TQ3Uns32(points.size()));
    w.U32(writable(vertexAttrs));
    w.NewLine();
    unsigned pw = IndexWidth(TQ3Uns32(points.size()));
    unsigned tw = IndexWidth(TQ3Uns32(triangles.size()));
    static_assert(sizeof(TQ3TriMeshTriangleData) == 12);
    if (w.IsText()) {
      for (const auto& t : triangles) {
        w.Indices(t.pointIndices, 3, pw);
        w.NewLine();
      }
    } else if (!triangles.empty()) {
      w.Indices(triangles[0].pointIndices, triangles.size() * 3, pw);
    }
    for (const auto& e : edges) {
      w.Indices(e.pointIndices, 2, pw);
      w.Indices(e.triangleIndices, 2, tw);
      w.NewLine();
    }
    if (w.IsText()) {
      for (const auto& p : points) {
        w.Point3D(p);
        w.NewLine();
      }
    } else if (!points.empty()) {
      w.Floats(&points[0].x, points.size() * 3);
    }
    w.Point3D(bBox.min);
    w.Point3D(bBox.max);
    w.Boolean(bBox.isEmpty == kQ3True);
  }

  void PlanArrays(WritePlan& plan, const std::vector<AttrArray>& arrays, TQ3Uns32 where) const {
    TQ3Uns32 index = 0;
    for (const AttrArray& a : arrays) {
      if (!Writable(a)) continue;
      const AttrArray* array = &a;
      TQ3Uns32 i = index++;
      plan.Add([array, where, i](WriteContext& ctx) { WriteArray(ctx, *array, where, i); });
    }
  }

  static void WriteArray(WriteContext& ctx, const AttrArray& a, TQ3Uns32 where, TQ3Uns32 index) {
    WritePlan subs;
    if (a.IsShader())
      for (TQ3Uns32 k = 0; k < a.count; ++k)
        if (a.Object(k) && (a.use.empty() || a.use[k])) subs.AddObject(a.Object(k));
    // Null shaders are written as unused entries.
    std::vector<char> use = a.use;
    if (a.IsShader())
      for (TQ3Uns32 k = 0; k < a.count; ++k)
        if (!a.Object(k)) {
          if (use.empty()) use.assign(a.count, 1);
          use[k] = 0;
        }
    ctx.WritePart(
        kAttributeArrayPart,
        [&](Writer& w) {
          w.I32(a.type);
          w.U32(0);
          w.U32(where);
          w.U32(index);
          w.U32(use.empty() ? 0 : 1);
          w.NewLine();
          if (!use.empty()) {
            w.Raw(reinterpret_cast<const TQ3Uns8*>(use.data()), use.size());
            w.NewLine();
          }
          const AttributeIO* io = a.cls->attributeIO;
          if (io->floats) {
            const auto* f = reinterpret_cast<const float*>(a.data.data());
            if (w.IsText()) {
              for (TQ3Uns32 k = 0; k < a.count; ++k) {
                w.Floats(f + size_t(k) * io->floats, size_t(io->floats));
                w.NewLine();
              }
            } else {
              w.Floats(f, size_t(a.count) * size_t(io->floats));
            }
          } else if (!a.IsShader()) {
            for (TQ3Uns32 k = 0; k < a.count; ++k) io->write(w, a.data.data() + size_t(k) * a.cls->elementSize);
          }
        },
        &subs);
  }

  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    PlanArrays(plan, triangleAttrs, 0);
    PlanArrays(plan, edgeAttrs, 1);
    PlanArrays(plan, vertexAttrs, 2);
    Geometry::PlanSubObjects(ctx, plan);
  }

  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type != kAttributeArrayPart) return false;
    AttrArray a;
    TQ3Uns32 where = 0, index = 0;
    bool ok = ctx.WithData(e, [&] {
      Reader& r = ctx.r();
      TQ3Int32 type = r.I32();
      r.U32();
      where = r.U32();
      index = r.U32();
      TQ3Uns32 useFlag = r.U32();
      if (where > 2) FailRead(kQ3ErrorInvalidData, "an attribute array is attached to an unknown part");
      a.count = TQ3Uns32(where == 0 ? triangles.size() : where == 1 ? edges.size() : points.size());
      ClassInfo* cls = type < 0 ? ctx.ClassOfFileType(type) : FindElementClass(type);
      if (!cls || !cls->element || !cls->attributeIO) {
        PostWarning(kQ3WarningUnknownElementType);
        return false;
      }
      a.type = cls->attributeType ? cls->attributeType : cls->type;
      a.cls = cls;
      if (useFlag) {
        r.CheckCount(a.count, 1, 1);
        a.use.resize(a.count);
        r.Raw(reinterpret_cast<TQ3Uns8*>(a.use.data()), a.count);
      }
      const AttributeIO* io = cls->attributeIO;
      a.data.assign(size_t(a.count) * cls->elementSize, 0);
      if (io->floats) {
        r.CheckCount(TQ3Uns64(a.count) * TQ3Uns32(io->floats), 4, 1);
        r.Floats(reinterpret_cast<float*>(a.data.data()), size_t(a.count) * size_t(io->floats));
      } else if (!a.IsShader()) {
        r.CheckCount(a.count, 4, 1);
        for (TQ3Uns32 k = 0; k < a.count; ++k) io->read(r, a.data.data() + size_t(k) * cls->elementSize);
      }
      return true;
    });
    if (!ok) return true;
    if (a.IsShader()) {
      size_t pos = e.subBegin;
      for (TQ3Uns32 k = 0; k < a.count; ++k) {
        if (!a.use.empty() && !a.use[k]) continue;
        Entry sub;
        if (!e.container || !ctx.r().ParseEntry(pos, e.subEnd, sub))
          FailRead(kQ3ErrorInvalidMetafileSubObject, "an attribute array lacks its shaders");
        pos = sub.end;
        Ref shader = ctx.ReadSubObject(sub, &pos, e.subEnd);
        if (!shader || !shader->IsType(kQ3ShapeTypeShader))
          FailRead(kQ3ErrorInvalidMetafileSubObject, "an attribute array holds something that is not a shader");
        a.SetObject(k, shader.release());
      }
    }
    placed.push_back({where, index, std::move(a)});
    return true;
  }

  // Puts the arrays read into their lists, in the order of their positions.
  void PlaceArrays() {
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& x, const Placed& y) { return x.index < y.index; });
    for (Placed& p : placed) (p.where == 0 ? triangleAttrs : p.where == 1 ? edgeAttrs : vertexAttrs).push_back(std::move(p.array));
    placed.clear();
  }
};

Ref ReadTriMesh(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a triangle mesh");
  auto* g = static_cast<TriMeshGeom*>(object.get());
  ctx.WithData(entry, [&] {
    Reader& r = ctx.r();
    TQ3Uns32 nt = r.U32();
    r.U32();
    TQ3Uns32 ne = r.U32();
    r.U32();
    TQ3Uns32 np = r.U32();
    r.U32();
    unsigned pw = IndexWidth(np), tw = IndexWidth(nt);
    r.CheckCount(TQ3Uns64(nt) * 3, pw, 1);
    r.CheckCount(TQ3Uns64(ne), 2 * pw + 2 * tw, 4);
    r.CheckCount(TQ3Uns64(np) * 3, 4, 1);
    g->triangles.resize(nt);
    if (nt) r.Indices(g->triangles[0].pointIndices, size_t(nt) * 3, pw);
    for (const auto& t : g->triangles)
      for (TQ3Uns32 k : t.pointIndices)
        if (k >= np) FailRead(kQ3ErrorInvalidData, "a triangle names a point the mesh does not have");
    g->edges.resize(ne);
    for (auto& e : g->edges) {
      r.Indices(e.pointIndices, 2, pw);
      r.Indices(e.triangleIndices, 2, tw);
      if (!ValidIndex(e.pointIndices[0], np, false) || !ValidIndex(e.pointIndices[1], np, false) ||
          !ValidIndex(e.triangleIndices[0], nt, true) || !ValidIndex(e.triangleIndices[1], nt, true))
        FailRead(kQ3ErrorInvalidData, "a mesh edge names a point or triangle it does not have");
    }
    g->points.resize(np);
    if (np) r.Floats(&g->points[0].x, size_t(np) * 3);
    g->bBox.min = r.Point3D();
    g->bBox.max = r.Point3D();
    g->bBox.isEmpty = r.Boolean();
  });
  ctx.ReadSubObjects(g, entry);
  g->PlaceArrays();
  return object;
}

OpaqueTQ3Object* MakePolyhedron(ClassInfo* c) { return new PolyhedronGeom(c); }
OpaqueTQ3Object* MakeTriMesh(ClassInfo* c) { return new TriMeshGeom(c); }

}  // namespace

void RegisterPolyMeshClasses() {
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypePolyhedron, "Polyhedron", MakePolyhedron, ReadPolyhedron, true);
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeTriMesh, "TriMesh", MakeTriMesh, ReadTriMesh, true);
  AddPartClass(kAttributeArrayPart, "AttributeArray");
}

}  // namespace q3d

using namespace q3d;

// ---------------------------------------------------------------------------
// Polyhedra.
static TQ3Status SetPolyhedron(PolyhedronGeom* g, const TQ3PolyhedronData* d) {
  if (!ValidVertices(d->vertices, d->numVertices) || !ValidAttributeSet(d->polyhedronAttributeSet)) return kQ3Failure;
  if ((d->numEdges && !CheckPointer(d->edges)) || (d->numTriangles && !CheckPointer(d->triangles))) return kQ3Failure;
  for (TQ3Uns32 i = 0; i < d->numTriangles; ++i) {
    const auto& t = d->triangles[i];
    if (t.vertexIndices[0] >= d->numVertices || t.vertexIndices[1] >= d->numVertices ||
        t.vertexIndices[2] >= d->numVertices) {
      PostError(kQ3ErrorInvalidData);
      return kQ3Failure;
    }
    if (!ValidAttributeSet(t.triangleAttributeSet)) return kQ3Failure;
  }
  for (TQ3Uns32 i = 0; i < d->numEdges; ++i) {
    const auto& e = d->edges[i];
    if (!ValidIndex(e.vertexIndices[0], d->numVertices, false) ||
        !ValidIndex(e.vertexIndices[1], d->numVertices, false) ||
        !ValidIndex(e.triangleIndices[0], d->numTriangles, true) ||
        !ValidIndex(e.triangleIndices[1], d->numTriangles, true)) {
      PostError(kQ3ErrorInvalidData);
      return kQ3Failure;
    }
    if (!ValidAttributeSet(e.edgeAttributeSet)) return kQ3Failure;
  }
  g->vertices = ImportVertices(d->vertices, d->numVertices);
  g->edges.clear();
  for (TQ3Uns32 i = 0; i < d->numEdges; ++i) {
    const auto& e = d->edges[i];
    g->edges.push_back({{e.vertexIndices[0], e.vertexIndices[1]},
                        {e.triangleIndices[0], e.triangleIndices[1]},
                        Ref::Share(e.edgeAttributeSet)});
  }
  g->triangles.clear();
  for (TQ3Uns32 i = 0; i < d->numTriangles; ++i) {
    const auto& t = d->triangles[i];
    g->triangles.push_back({{t.vertexIndices[0], t.vertexIndices[1], t.vertexIndices[2]},
                            t.edgeFlag & kQ3PolyhedronEdgeAll,
                            Ref::Share(t.triangleAttributeSet)});
  }
  g->attributeSet = Ref::Share(d->polyhedronAttributeSet);
  return kQ3Success;
}

TQ3GeometryObject Q3Polyhedron_New(const TQ3PolyhedronData* data) {
  if (!CheckPointer(data)) return nullptr;
  Ref object = NewObject(kQ3GeometryTypePolyhedron);
  if (!object || SetPolyhedron(static_cast<PolyhedronGeom*>(object.get()), data) != kQ3Success) return nullptr;
  return object.release();
}

TQ3Status Q3Polyhedron_GetData(TQ3GeometryObject polyhedron, TQ3PolyhedronData* d) {
  auto* g = As<PolyhedronGeom>(polyhedron, kQ3GeometryTypePolyhedron);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  *d = TQ3PolyhedronData{};
  d->numVertices = TQ3Uns32(g->vertices.size());
  d->vertices = ExportVertices(g->vertices);
  d->numEdges = TQ3Uns32(g->edges.size());
  d->edges = g->edges.empty() ? nullptr : AllocArray<TQ3PolyhedronEdgeData>(g->edges.size());
  for (size_t i = 0; d->edges && i < g->edges.size(); ++i) {
    const auto& e = g->edges[i];
    d->edges[i] = {{e.v[0], e.v[1]}, {e.t[0], e.t[1]}, e.set.Copy().release()};
  }
  d->numTriangles = TQ3Uns32(g->triangles.size());
  d->triangles = g->triangles.empty() ? nullptr : AllocArray<TQ3PolyhedronTriangleData>(g->triangles.size());
  for (size_t i = 0; d->triangles && i < g->triangles.size(); ++i) {
    const auto& t = g->triangles[i];
    d->triangles[i] = {{t.v[0], t.v[1], t.v[2]}, t.flag, t.set.Copy().release()};
  }
  d->polyhedronAttributeSet = g->attributeSet.Copy().release();
  return kQ3Success;
}

TQ3Status Q3Polyhedron_SetData(TQ3GeometryObject polyhedron, const TQ3PolyhedronData* d) {
  auto* g = As<PolyhedronGeom>(polyhedron, kQ3GeometryTypePolyhedron);
  return g && CheckPointer(d) ? SetPolyhedron(g, d) : kQ3Failure;
}

TQ3Status Q3Polyhedron_EmptyData(TQ3PolyhedronData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  FreeVertices(d->vertices, d->numVertices);
  for (TQ3Uns32 i = 0; d->edges && i < d->numEdges; ++i) Release(d->edges[i].edgeAttributeSet);
  std::free(d->edges);
  for (TQ3Uns32 i = 0; d->triangles && i < d->numTriangles; ++i) Release(d->triangles[i].triangleAttributeSet);
  std::free(d->triangles);
  Release(d->polyhedronAttributeSet);
  *d = TQ3PolyhedronData{};
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Triangle meshes.
static TQ3Status SetTriMesh(TriMeshGeom* g, const TQ3TriMeshData* d) {
  if (!ValidAttributeSet(d->triMeshAttributeSet)) return kQ3Failure;
  if ((d->numTriangles && !CheckPointer(d->triangles)) || (d->numEdges && !CheckPointer(d->edges)) ||
      (d->numPoints && !CheckPointer(d->points)))
    return kQ3Failure;
  for (TQ3Uns32 i = 0; i < d->numTriangles; ++i)
    for (TQ3Uns32 k : d->triangles[i].pointIndices)
      if (k >= d->numPoints) {
        PostError(kQ3ErrorInvalidData);
        return kQ3Failure;
      }
  for (TQ3Uns32 i = 0; i < d->numEdges; ++i) {
    const auto& e = d->edges[i];
    if (!ValidIndex(e.pointIndices[0], d->numPoints, false) || !ValidIndex(e.pointIndices[1], d->numPoints, false) ||
        !ValidIndex(e.triangleIndices[0], d->numTriangles, true) ||
        !ValidIndex(e.triangleIndices[1], d->numTriangles, true)) {
      PostError(kQ3ErrorInvalidData);
      return kQ3Failure;
    }
  }
  std::vector<AttrArray> tri, edge, vert;
  if (!ImportArrays(d->triangleAttributeTypes, d->numTriangleAttributeTypes, d->numTriangles, tri) ||
      !ImportArrays(d->edgeAttributeTypes, d->numEdgeAttributeTypes, d->numEdges, edge) ||
      !ImportArrays(d->vertexAttributeTypes, d->numVertexAttributeTypes, d->numPoints, vert))
    return kQ3Failure;
  g->triangles.assign(d->triangles, d->triangles + d->numTriangles);
  g->edges.assign(d->edges, d->edges + d->numEdges);
  g->points.assign(d->points, d->points + d->numPoints);
  g->triangleAttrs = std::move(tri);
  g->edgeAttrs = std::move(edge);
  g->vertexAttrs = std::move(vert);
  g->bBox = d->bBox;
  g->attributeSet = Ref::Share(d->triMeshAttributeSet);
  return kQ3Success;
}

TQ3GeometryObject Q3TriMesh_New(const TQ3TriMeshData* data) {
  if (!CheckPointer(data)) return nullptr;
  Ref object = NewObject(kQ3GeometryTypeTriMesh);
  if (!object || SetTriMesh(static_cast<TriMeshGeom*>(object.get()), data) != kQ3Success) return nullptr;
  return object.release();
}

TQ3Status Q3TriMesh_GetData(TQ3GeometryObject triMesh, TQ3TriMeshData* d) {
  auto* g = As<TriMeshGeom>(triMesh, kQ3GeometryTypeTriMesh);
  if (!g || !CheckPointer(d)) return kQ3Failure;
  *d = TQ3TriMeshData{};
  d->triMeshAttributeSet = g->attributeSet.Copy().release();
  d->numTriangles = TQ3Uns32(g->triangles.size());
  if (!g->triangles.empty()) {
    d->triangles = AllocArray<TQ3TriMeshTriangleData>(g->triangles.size());
    if (d->triangles) std::copy(g->triangles.begin(), g->triangles.end(), d->triangles);
  }
  d->numTriangleAttributeTypes = TQ3Uns32(g->triangleAttrs.size());
  d->triangleAttributeTypes = ExportArrays(g->triangleAttrs);
  d->numEdges = TQ3Uns32(g->edges.size());
  if (!g->edges.empty()) {
    d->edges = AllocArray<TQ3TriMeshEdgeData>(g->edges.size());
    if (d->edges) std::copy(g->edges.begin(), g->edges.end(), d->edges);
  }
  d->numEdgeAttributeTypes = TQ3Uns32(g->edgeAttrs.size());
  d->edgeAttributeTypes = ExportArrays(g->edgeAttrs);
  d->numPoints = TQ3Uns32(g->points.size());
  if (!g->points.empty()) {
    d->points = AllocArray<TQ3Point3D>(g->points.size());
    if (d->points) std::copy(g->points.begin(), g->points.end(), d->points);
  }
  d->numVertexAttributeTypes = TQ3Uns32(g->vertexAttrs.size());
  d->vertexAttributeTypes = ExportArrays(g->vertexAttrs);
  d->bBox = g->bBox;
  return kQ3Success;
}

TQ3Status Q3TriMesh_SetData(TQ3GeometryObject triMesh, const TQ3TriMeshData* d) {
  auto* g = As<TriMeshGeom>(triMesh, kQ3GeometryTypeTriMesh);
  return g && CheckPointer(d) ? SetTriMesh(g, d) : kQ3Failure;
}

TQ3Status Q3TriMesh_EmptyData(TQ3TriMeshData* d) {
  if (!CheckPointer(d)) return kQ3Failure;
  Release(d->triMeshAttributeSet);
  std::free(d->triangles);
  FreeArrays(d->triangleAttributeTypes, d->numTriangleAttributeTypes, d->numTriangles);
  std::free(d->edges);
  FreeArrays(d->edgeAttributeTypes, d->numEdgeAttributeTypes, d->numEdges);
  std::free(d->points);
  FreeArrays(d->vertexAttributeTypes, d->numVertexAttributeTypes, d->numPoints);
  *d = TQ3TriMeshData{};
  return kQ3Success;
}
