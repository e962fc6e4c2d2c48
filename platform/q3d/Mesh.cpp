// Meshes: vertices, faces with contours, corners and edges kept up to date as
// faces come and go. Parts are named by handles that carry the mesh's serial
// number, the part's kind and its id, so a stale or foreign handle is refused.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {
namespace {

enum PartKind : TQ3Uns32 { kVertexPart = 0, kFacePart = 1, kContourPart = 2, kEdgePart = 3 };
enum IteratorKind : TQ3Uns32 {
  kIterNone,
  kIterMeshVertices,
  kIterMeshFaces,
  kIterMeshEdges,
  kIterFaceVertices,
  kIterFaceContours,
  kIterContourVertices,
  kIterVertexFaces,
  kIterVertexEdges
};

constexpr TQ3ObjectType kCornersPart = Q3FourCC("crnr");
constexpr TQ3ObjectType kEdgesPart = Q3FourCC("edge");

// A short list kept inline: most vertices meet a handful of faces and edges,
// most faces have one contour.
template <class T, size_t N>
class SmallList {
 public:
  T* begin() { return big_ ? heap_.data() : local_; }
  T* end() { return begin() + size(); }
  const T* begin() const { return big_ ? heap_.data() : local_; }
  const T* end() const { return begin() + size(); }
  size_t size() const { return big_ ? heap_.size() : n_; }
  bool empty() const { return size() == 0; }
  T& operator[](size_t i) { return begin()[i]; }
  const T& operator[](size_t i) const { return begin()[i]; }
  const T& front() const { return *begin(); }
  void push_back(T v) {
    if (!big_) {
      if (n_ < N) {
        local_[n_++] = v;
        return;
      }
      heap_.assign(local_, local_ + n_);
      big_ = true;
    }
    heap_.push_back(v);
  }
  bool contains(T v) const { return std::find(begin(), end(), v) != end(); }
  void remove(T v) {
    size_t n = size_t(std::remove(begin(), end(), v) - begin());
    if (big_)
      heap_.resize(n);
    else
      n_ = TQ3Uns32(n);
  }
  void clear() {
    n_ = 0;
    big_ = false;
    std::vector<T>().swap(heap_);
  }

 private:
  T local_[N] = {};
  TQ3Uns32 n_ = 0;
  bool big_ = false;
  std::vector<T> heap_;
};

struct MVertex {
  TQ3Point3D point{};
  Ref set;
  SmallList<TQ3Uns32, 6> faces;  // each face using the vertex, once
  SmallList<TQ3Uns32, 6> edges;
  bool live = true;
};
struct MCorner {
  TQ3Uns32 vertex;
  Ref set;
};
struct MContour {
  TQ3Uns32 face = 0;
  std::vector<MCorner> corners;
  bool live = true;
};
struct MFace {
  SmallList<TQ3Uns32, 1> contours;
  Ref set;
  bool live = true;
};
struct MEdge {
  TQ3Uns32 v[2];
  Ref set;
  TQ3Uns32 uses = 0;
  bool live = true;
};

// Live ranks of ids, recomputed only after deletions.
template <class T>
struct Ranks {
  std::vector<TQ3Uns32> rank;
  bool dirty = false;
  bool holes = false;
  TQ3Uns32 Of(const std::vector<T>& items, TQ3Uns32 id) {
    if (!holes) return id;
    if (dirty) {
      rank.assign(items.size(), 0);
      TQ3Uns32 n = 0;
      for (size_t i = 0; i < items.size(); ++i)
        if (items[i].live) rank[i] = n++;
      dirty = false;
    }
    return rank[id];
  }
  void Changed() { holes = dirty = true; }
};

struct MeshGeom;
std::unordered_map<TQ3Uns32, MeshGeom*> gMeshes;
TQ3Uns32 gNextSerial = 1;

struct MeshGeom : Geometry {
  explicit MeshGeom(ClassInfo* c) : Geometry(c) {
    do {
      serial = gNextSerial++ & 0x3FFFFFFFu;
    } while (serial == 0 || gMeshes.count(serial));
    gMeshes[serial] = this;
  }
  ~MeshGeom() override { gMeshes.erase(serial); }

  TQ3Uns32 serial;
  std::vector<MVertex> vertices;
  std::vector<MFace> faces;
  std::vector<MContour> contours;
  std::vector<MEdge> edges;
  TQ3Uns32 liveVertices = 0, liveFaces = 0, liveEdges = 0;
  Ranks<MVertex> vertexRanks;
  Ranks<MFace> faceRanks;

  template <class H>
  H Handle(PartKind kind, TQ3Uns32 id) const {
    return reinterpret_cast<H>(uintptr_t((std::uint64_t(serial) << 34) | (std::uint64_t(kind) << 32) | (id + 1)));
  }

  // --- building
  TQ3Uns32 AddVertex(const TQ3Point3D& p, Ref set) {
    MVertex v;
    v.point = p;
    v.set = std::move(set);
    vertices.push_back(std::move(v));
    ++liveVertices;
    return TQ3Uns32(vertices.size() - 1);
  }

  // The edge between two vertices, found among the first one's edges; kNone when there is none.
  static constexpr TQ3Uns32 kNone = 0xFFFFFFFFu;
  TQ3Uns32 FindEdge(TQ3Uns32 a, TQ3Uns32 b) const {
    if (a >= vertices.size() || b >= vertices.size()) return kNone;
    for (TQ3Uns32 e : vertices[a].edges) {
      const MEdge& edge = edges[e];
      if ((edge.v[0] == a && edge.v[1] == b) || (edge.v[0] == b && edge.v[1] == a)) return e;
    }
    return kNone;
  }

  void UseEdge(TQ3Uns32 a, TQ3Uns32 b) {
    if (a == b) return;
    TQ3Uns32 id = FindEdge(a, b);
    if (id == kNone) {
      MEdge e;
      e.v[0] = a;
      e.v[1] = b;
      edges.push_back(std::move(e));
      id = TQ3Uns32(edges.size() - 1);
      vertices[a].edges.push_back(id);
      vertices[b].edges.push_back(id);
      ++liveEdges;
    }
    ++edges[id].uses;
  }

  void DropEdge(TQ3Uns32 a, TQ3Uns32 b) {
    if (a == b) return;
    TQ3Uns32 id = FindEdge(a, b);
    if (id == kNone) return;
    MEdge& e = edges[id];
    if (--e.uses > 0) return;
    for (TQ3Uns32 end : e.v) {
      vertices[end].edges.remove(id);
    }
    e.live = false;
    e.set.reset();
    --liveEdges;
  }

  void ForEachContourEdge(const MContour& c, void (MeshGeom::*fn)(TQ3Uns32, TQ3Uns32)) {
    size_t n = c.corners.size();
    if (n < 2) return;
    for (size_t i = 0; i < n; ++i) (this->*fn)(c.corners[i].vertex, c.corners[(i + 1) % n].vertex);
  }

  TQ3Uns32 AddContour(TQ3Uns32 face, const std::vector<TQ3Uns32>& ids) {
    MContour c;
    c.face = face;
    for (TQ3Uns32 id : ids) c.corners.push_back({id, Ref()});
    contours.push_back(std::move(c));
    TQ3Uns32 cid = TQ3Uns32(contours.size() - 1);
    ForEachContourEdge(contours[cid], &MeshGeom::UseEdge);
    faces[face].contours.push_back(cid);
    for (TQ3Uns32 id : ids)
      if (!vertices[id].faces.contains(face)) vertices[id].faces.push_back(face);
    return cid;
  }

  TQ3Uns32 AddFace(const std::vector<TQ3Uns32>& ids, Ref set) {
    MFace f;
    f.set = std::move(set);
    faces.push_back(std::move(f));
    TQ3Uns32 fid = TQ3Uns32(faces.size() - 1);
    ++liveFaces;
    AddContour(fid, ids);
    return fid;
  }

  void DeleteFace(TQ3Uns32 fid) {
    MFace& f = faces[fid];
    for (TQ3Uns32 cid : f.contours) {
      MContour& c = contours[cid];
      ForEachContourEdge(c, &MeshGeom::DropEdge);
      for (const MCorner& k : c.corners) vertices[k.vertex].faces.remove(fid);
      c.live = false;
      c.corners.clear();
    }
    f.contours.clear();
    f.set.reset();
    f.live = false;
    --liveFaces;
    faceRanks.Changed();
  }

  TQ3Uns32 MoveToContour(TQ3Uns32 container, TQ3Uns32 fid) {
    MFace& f = faces[fid];
    TQ3Uns32 first = f.contours.front();
    for (TQ3Uns32 cid : f.contours) {
      contours[cid].face = container;
      faces[container].contours.push_back(cid);
      for (const MCorner& k : contours[cid].corners) {
        auto& list = vertices[k.vertex].faces;
        list.remove(fid);
        if (!list.contains(container)) list.push_back(container);
      }
    }
    f.contours.clear();
    f.set.reset();
    f.live = false;
    --liveFaces;
    faceRanks.Changed();
    return first;
  }

  // --- handles
  template <class T>
  static bool Decode(const void* handle, PartKind kind, MeshGeom*& mesh, TQ3Uns32& id) {
    auto v = std::uint64_t(reinterpret_cast<uintptr_t>(handle));
    if (!v || ((v >> 32) & 3) != kind || (v & 0xFFFFFFFFu) == 0) return false;
    auto it = gMeshes.find(TQ3Uns32(v >> 34));
    if (it == gMeshes.end()) return false;
    mesh = it->second;
    id = TQ3Uns32(v & 0xFFFFFFFFu) - 1;
    return true;
  }

  MVertex* VertexAt(TQ3Uns32 id) { return id < vertices.size() && vertices[id].live ? &vertices[id] : nullptr; }
  MFace* FaceAt(TQ3Uns32 id) { return id < faces.size() && faces[id].live ? &faces[id] : nullptr; }
  MContour* ContourAt(TQ3Uns32 id) { return id < contours.size() && contours[id].live ? &contours[id] : nullptr; }
  MEdge* EdgeAt(TQ3Uns32 id) { return id < edges.size() && edges[id].live ? &edges[id] : nullptr; }

  TQ3Uns32 VertexIndex(TQ3Uns32 id) { return vertexRanks.Of(vertices, id); }
  TQ3Uns32 FaceIndex(TQ3Uns32 id) { return faceRanks.Of(faces, id); }

  // --- copies and files
  Ref Clone() const override {
    Ref copy(new MeshGeom(cls));
    auto* m = static_cast<MeshGeom*>(copy.get());
    m->CopyGeometry(*this);
    auto dup = [](const Ref& r) { return r ? Duplicate(r.get()) : Ref(); };
    for (const MVertex& v : vertices) {
      MVertex c;
      c.point = v.point;
      c.set = dup(v.set);
      c.faces = v.faces;
      c.edges = v.edges;
      c.live = v.live;
      m->vertices.push_back(std::move(c));
    }
    for (const MFace& f : faces) {
      MFace c;
      c.contours = f.contours;
      c.set = dup(f.set);
      c.live = f.live;
      m->faces.push_back(std::move(c));
    }
    for (const MContour& k : contours) {
      MContour c;
      c.face = k.face;
      c.live = k.live;
      for (const MCorner& corner : k.corners) c.corners.push_back({corner.vertex, dup(corner.set)});
      m->contours.push_back(std::move(c));
    }
    for (const MEdge& e : edges) {
      MEdge c;
      c.v[0] = e.v[0];
      c.v[1] = e.v[1];
      c.set = dup(e.set);
      c.uses = e.uses;
      c.live = e.live;
      m->edges.push_back(std::move(c));
    }
    m->liveVertices = liveVertices;
    m->liveFaces = liveFaces;
    m->liveEdges = liveEdges;
    m->vertexRanks.holes = m->vertexRanks.dirty = vertexRanks.holes;
    m->faceRanks.holes = m->faceRanks.dirty = faceRanks.holes;
    return copy;
  }

  void ForEachHeld(const std::function<void(TQ3Object)>& visit) const override { Geometry::ForEachHeld(visit); }

  void WriteData(WriteContext& ctx) const override {
    auto* self = const_cast<MeshGeom*>(this);
    Writer& w = ctx.w();
    w.U32(liveVertices);
    w.NewLine();
    for (const MVertex& v : vertices) {
      if (!v.live) continue;
      w.Point3D(v.point);
      w.NewLine();
    }
    TQ3Uns32 holes = 0;
    for (const MFace& f : faces)
      if (f.live) holes += TQ3Uns32(f.contours.size() - 1);
    w.U32(liveFaces);
    w.U32(holes);
    w.NewLine();
    std::vector<TQ3Uns32> indices;
    for (const MFace& f : faces) {
      if (!f.live) continue;
      bool firstContour = true;
      for (TQ3Uns32 cid : f.contours) {
        const MContour& c = contours[cid];
        w.I32(firstContour ? TQ3Int32(c.corners.size()) : -TQ3Int32(c.corners.size()));
        indices.clear();
        for (const MCorner& k : c.corners) indices.push_back(self->VertexIndex(k.vertex));
        w.Indices(indices.data(), indices.size(), 4);
        w.NewLine();
        firstContour = false;
      }
    }
  }

  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    auto* self = const_cast<MeshGeom*>(this);
    // Corners: each (vertex, set) with the faces that share it.
    struct Corner {
      TQ3Uns32 vertex;
      TQ3Object set;
      std::vector<TQ3Uns32> faces;
    };
    std::vector<Corner> corners;
    std::map<std::pair<TQ3Uns32, TQ3Object>, size_t> cornerIndex;
    for (TQ3Uns32 fid = 0; fid < faces.size(); ++fid) {
      if (!faces[fid].live) continue;
      std::vector<TQ3Uns32> seen;
      for (TQ3Uns32 cid : faces[fid].contours)
        for (const MCorner& k : contours[cid].corners) {
          if (!k.set || std::find(seen.begin(), seen.end(), k.vertex) != seen.end()) continue;
          seen.push_back(k.vertex);
          auto key = std::make_pair(k.vertex, k.set.get());
          auto [it, added] = cornerIndex.emplace(key, corners.size());
          if (added) corners.push_back({self->VertexIndex(k.vertex), k.set.get(), {}});
          corners[it->second].faces.push_back(self->FaceIndex(fid));
        }
    }
    if (!corners.empty()) {
      plan.Add([corners = std::move(corners)](WriteContext& c) {
        WritePlan subs;
        for (const Corner& k : corners) subs.AddObject(k.set);
        c.WritePart(
            kCornersPart,
            [&](Writer& w) {
              w.U32(TQ3Uns32(corners.size()));
              w.NewLine();
              for (const Corner& k : corners) {
                w.U32(k.vertex);
                w.U32(TQ3Uns32(k.faces.size()));
                w.Indices(k.faces.data(), k.faces.size(), 4);
                w.NewLine();
              }
            },
            &subs);
      });
    }
    // Edges that carry attribute sets.
    std::vector<std::pair<TQ3Uns32, TQ3Uns32>> ends;
    std::vector<TQ3Object> edgeSets;
    for (const MEdge& e : edges) {
      if (!e.live || !e.set) continue;
      ends.emplace_back(self->VertexIndex(e.v[0]), self->VertexIndex(e.v[1]));
      edgeSets.push_back(e.set.get());
    }
    if (!ends.empty()) {
      plan.Add([ends = std::move(ends), edgeSets = std::move(edgeSets)](WriteContext& c) {
        WritePlan subs;
        for (TQ3Object s : edgeSets) subs.AddObject(s);
        c.WritePart(
            kEdgesPart,
            [&](Writer& w) {
              w.U32(TQ3Uns32(ends.size()));
              w.NewLine();
              for (const auto& [a, b] : ends) {
                w.U32(a);
                w.U32(b);
                w.NewLine();
              }
            },
            &subs);
      });
    }
    std::vector<TQ3Object> sets;
    for (const MFace& f : faces)
      if (f.live) sets.push_back(f.set.get());
    PlanSetList(plan, kFaceSetListPart, sets);
    sets.clear();
    for (const MVertex& v : vertices)
      if (v.live) sets.push_back(v.set.get());
    PlanSetList(plan, kVertexSetListPart, sets);
    Geometry::PlanSubObjects(ctx, plan);
  }

  // Files are read into a fresh mesh, so file indices are ids.
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    TQ3ObjectType t = e.cls->type;
    if (t == kFaceSetListPart) {
      auto sets = ReadSetList(ctx, e, TQ3Uns32(faces.size()));
      for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i]) faces[i].set = std::move(sets[i]);
      return true;
    }
    if (t == kVertexSetListPart) {
      auto sets = ReadSetList(ctx, e, TQ3Uns32(vertices.size()));
      for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i]) vertices[i].set = std::move(sets[i]);
      return true;
    }
    if (t == kCornersPart) {
      std::vector<std::pair<TQ3Uns32, std::vector<TQ3Uns32>>> corners;
      ctx.WithData(e, [&] {
        Reader& r = ctx.r();
        TQ3Uns32 n = r.U32();
        r.CheckCount(n, 8, 2);
        for (TQ3Uns32 i = 0; i < n; ++i) {
          TQ3Uns32 v = r.U32();
          TQ3Uns32 nf = r.U32();
          r.CheckCount(nf, 4, 1);
          std::vector<TQ3Uns32> fs(nf);
          r.Indices(fs.data(), nf, 4);
          if (v >= vertices.size())
            FailRead(kQ3ErrorInvalidData, "a mesh corner names a vertex the mesh does not have");
          for (TQ3Uns32 f : fs)
            if (f >= faces.size()) FailRead(kQ3ErrorInvalidData, "a mesh corner names a face the mesh does not have");
          corners.emplace_back(v, std::move(fs));
        }
      });
      size_t pos = e.subBegin;
      for (auto& [v, fs] : corners) {
        Entry sub;
        if (!e.container || !ctx.r().ParseEntry(pos, e.subEnd, sub)) {
          PostWarning(kQ3WarningInconsistentData);
          break;
        }
        pos = sub.end;
        Ref set = ctx.ReadSubObject(sub, &pos, e.subEnd);
        if (!set || !set->IsType(kQ3SetTypeAttribute)) continue;
        for (TQ3Uns32 f : fs) SetCorner(v, f, set.get());
      }
      return true;
    }
    if (t == kEdgesPart) {
      std::vector<std::pair<TQ3Uns32, TQ3Uns32>> ends;
      ctx.WithData(e, [&] {
        Reader& r = ctx.r();
        TQ3Uns32 n = r.U32();
        r.CheckCount(n, 8, 2);
        for (TQ3Uns32 i = 0; i < n; ++i) {
          TQ3Uns32 a = r.U32(), b = r.U32();
          ends.emplace_back(a, b);
        }
      });
      size_t pos = e.subBegin;
      for (auto& [a, b] : ends) {
        Entry sub;
        if (!e.container || !ctx.r().ParseEntry(pos, e.subEnd, sub)) {
          PostWarning(kQ3WarningInconsistentData);
          break;
        }
        pos = sub.end;
        Ref set = ctx.ReadSubObject(sub, &pos, e.subEnd);
        TQ3Uns32 id = FindEdge(a, b);
        if (id == kNone || !set || !set->IsType(kQ3SetTypeAttribute)) {
          PostWarning(kQ3WarningInconsistentData);
          continue;
        }
        edges[id].set = std::move(set);
      }
      return true;
    }
    return false;
  }

  // Sets the corner of a vertex in a face; false when the vertex is not in the face.
  bool SetCorner(TQ3Uns32 vid, TQ3Uns32 fid, TQ3Object set) {
    bool found = false;
    for (TQ3Uns32 cid : faces[fid].contours)
      for (MCorner& k : contours[cid].corners)
        if (k.vertex == vid) {
          k.set = Ref::Share(set);
          found = true;
        }
    return found;
  }
};

OpaqueTQ3Object* MakeMesh(ClassInfo* c) { return new MeshGeom(c); }

Ref ReadMesh(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a mesh");
  auto* m = static_cast<MeshGeom*>(object.get());
  ctx.WithData(entry, [&] {
    Reader& r = ctx.r();
    TQ3Uns32 nv = r.U32();
    r.CheckCount(nv, 12, 3);
    m->vertices.reserve(nv);
    for (TQ3Uns32 i = 0; i < nv; ++i) m->AddVertex(r.Point3D(), Ref());
    TQ3Uns32 nf = r.U32();
    TQ3Uns32 nc = r.U32();
    r.CheckCount(TQ3Uns64(nf) + nc, 8, 2);
    m->faces.reserve(nf);
    m->contours.reserve(TQ3Uns64(nf) + nc);
    m->edges.reserve(TQ3Uns64(nv) * 3);
    std::vector<TQ3Uns32> ids;
    TQ3Uns32 facesRead = 0, contoursRead = 0;
    for (TQ3Uns64 i = 0; i < TQ3Uns64(nf) + nc; ++i) {
      TQ3Int32 count = r.I32();
      TQ3Uns32 n = count < 0 ? TQ3Uns32(-std::int64_t(count)) : TQ3Uns32(count);
      if (n == 0) FailRead(kQ3ErrorInvalidData, "a mesh face or contour has no vertices");
      r.CheckCount(n, 4, 1);
      ids.resize(n);
      r.Indices(ids.data(), n, 4);
      for (TQ3Uns32 id : ids)
        if (id >= nv) FailRead(kQ3ErrorInvalidData, "a mesh face names a vertex the mesh does not have");
      if (count > 0) {
        m->AddFace(ids, Ref());
        ++facesRead;
      } else {
        if (m->faces.empty()) FailRead(kQ3ErrorInvalidData, "a mesh contour comes before any face");
        m->AddContour(TQ3Uns32(m->faces.size() - 1), ids);
        ++contoursRead;
      }
    }
    if (facesRead != nf || contoursRead != nc) PostWarning(kQ3WarningInconsistentData);
  });
  ctx.ReadSubObjects(m, entry);
  return object;
}

MeshGeom* MeshOf(TQ3Object mesh) { return As<MeshGeom>(mesh, kQ3GeometryTypeMesh); }

template <class H>
MeshGeom* Part(H handle, PartKind kind, TQ3Uns32& id) {
  MeshGeom* mesh = nullptr;
  if (!MeshGeom::Decode<H>(handle, kind, mesh, id)) {
    PostError(kQ3ErrorInvalidMeshPart);
    return nullptr;
  }
  bool live = kind == kVertexPart    ? mesh->VertexAt(id) != nullptr
              : kind == kFacePart    ? mesh->FaceAt(id) != nullptr
              : kind == kContourPart ? mesh->ContourAt(id) != nullptr
                                     : mesh->EdgeAt(id) != nullptr;
  if (!live) {
    PostError(kQ3ErrorInvalidMeshPart);
    return nullptr;
  }
  return mesh;
}

// A part of the given mesh, or null with the error posted.
template <class H>
bool PartOf(MeshGeom* mesh, H handle, PartKind kind, TQ3Uns32& id) {
  MeshGeom* owner = Part(handle, kind, id);
  if (owner && owner != mesh) {
    PostError(kQ3ErrorInvalidMeshPart);
    return false;
  }
  return owner != nullptr;
}

TQ3PlaneEquation PlaneOf(MeshGeom* m, const MFace& f, bool& ok) {
  const MContour& c = m->contours[f.contours.front()];
  double nx = 0, ny = 0, nz = 0, cx = 0, cy = 0, cz = 0;
  size_t n = c.corners.size();
  for (size_t i = 0; i < n; ++i) {
    const TQ3Point3D& a = m->vertices[c.corners[i].vertex].point;
    const TQ3Point3D& b = m->vertices[c.corners[(i + 1) % n].vertex].point;
    nx += (double(a.y) - b.y) * (double(a.z) + b.z);
    ny += (double(a.z) - b.z) * (double(a.x) + b.x);
    nz += (double(a.x) - b.x) * (double(a.y) + b.y);
    cx += a.x;
    cy += a.y;
    cz += a.z;
  }
  double len = std::sqrt(nx * nx + ny * ny + nz * nz);
  TQ3PlaneEquation plane{{0, 0, 0}, 0};
  ok = len > 0 && n > 0;
  if (!ok) return plane;
  plane.normal = {float(nx / len), float(ny / len), float(nz / len)};
  plane.constant = float(-(nx * cx + ny * cy + nz * cz) / (len * double(n)));
  return plane;
}

}  // namespace

void RegisterMeshClass() {
  AddClass(kQ3ShapeTypeGeometry, kQ3GeometryTypeMesh, "Mesh", MakeMesh, ReadMesh, true);
  AddPartClass(kCornersPart, "MeshCorners");
  AddPartClass(kEdgesPart, "MeshEdges");
}

}  // namespace q3d

using namespace q3d;

TQ3GeometryObject Q3Mesh_New() { return NewObject(kQ3GeometryTypeMesh).release(); }

TQ3MeshVertex Q3Mesh_VertexNew(TQ3GeometryObject mesh, const TQ3Vertex3D* vertex) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(vertex) || !ValidAttributeSet(vertex->attributeSet)) return nullptr;
  return m->Handle<TQ3MeshVertex>(kVertexPart, m->AddVertex(vertex->point, Ref::Share(vertex->attributeSet)));
}

TQ3Status Q3Mesh_VertexDelete(TQ3GeometryObject mesh, TQ3MeshVertex vertex) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, vertex, kVertexPart, id)) return kQ3Failure;
  std::vector<TQ3Uns32> using_(m->vertices[id].faces.begin(), m->vertices[id].faces.end());
  for (TQ3Uns32 f : using_) m->DeleteFace(f);
  MVertex& v = m->vertices[id];
  v.live = false;
  v.set.reset();
  v.faces.clear();
  v.edges.clear();
  --m->liveVertices;
  m->vertexRanks.Changed();
  return kQ3Success;
}

TQ3MeshFace Q3Mesh_FaceNew(TQ3GeometryObject mesh, TQ3Uns32 numVertices, const TQ3MeshVertex* vertices,
                           TQ3AttributeSet attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !ValidAttributeSet(attributeSet)) return nullptr;
  if (numVertices == 0 || !CheckPointer(vertices)) {
    if (numVertices == 0) PostError(kQ3ErrorGeometryInsufficientNumberOfPoints);
    return nullptr;
  }
  std::vector<TQ3Uns32> ids(numVertices);
  for (TQ3Uns32 i = 0; i < numVertices; ++i)
    if (!PartOf(m, vertices[i], kVertexPart, ids[i])) return nullptr;
  return m->Handle<TQ3MeshFace>(kFacePart, m->AddFace(ids, Ref::Share(attributeSet)));
}

TQ3Status Q3Mesh_FaceDelete(TQ3GeometryObject mesh, TQ3MeshFace face) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, face, kFacePart, id)) return kQ3Failure;
  m->DeleteFace(id);
  return kQ3Success;
}

TQ3MeshContour Q3Mesh_FaceToContour(TQ3GeometryObject mesh, TQ3MeshFace containerFace, TQ3MeshFace face) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 container, id;
  if (!m || !PartOf(m, containerFace, kFacePart, container) || !PartOf(m, face, kFacePart, id)) return nullptr;
  if (container == id) {
    PostError(kQ3ErrorInvalidParameter);
    return nullptr;
  }
  return m->Handle<TQ3MeshContour>(kContourPart, m->MoveToContour(container, id));
}

TQ3Status Q3Mesh_DelayUpdates(TQ3GeometryObject mesh) { return MeshOf(mesh) ? kQ3Success : kQ3Failure; }
TQ3Status Q3Mesh_ResumeUpdates(TQ3GeometryObject mesh) { return MeshOf(mesh) ? kQ3Success : kQ3Failure; }

TQ3Status Q3Mesh_GetNumVertices(TQ3GeometryObject mesh, TQ3Uns32* numVertices) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(numVertices)) return kQ3Failure;
  *numVertices = m->liveVertices;
  return kQ3Success;
}

TQ3Status Q3Mesh_GetNumFaces(TQ3GeometryObject mesh, TQ3Uns32* numFaces) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(numFaces)) return kQ3Failure;
  *numFaces = m->liveFaces;
  return kQ3Success;
}

TQ3Status Q3Mesh_GetNumEdges(TQ3GeometryObject mesh, TQ3Uns32* numEdges) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(numEdges)) return kQ3Failure;
  *numEdges = m->liveEdges;
  return kQ3Success;
}

TQ3Status Q3Mesh_GetNumCorners(TQ3GeometryObject mesh, TQ3Uns32* numCorners) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(numCorners)) return kQ3Failure;
  TQ3Uns32 n = 0;
  std::vector<TQ3Uns32> seen;
  for (const MFace& f : m->faces) {
    if (!f.live) continue;
    seen.clear();
    for (TQ3Uns32 cid : f.contours)
      for (const MCorner& k : m->contours[cid].corners)
        if (k.set && std::find(seen.begin(), seen.end(), k.vertex) == seen.end()) {
          seen.push_back(k.vertex);
          ++n;
        }
  }
  *numCorners = n;
  return kQ3Success;
}

TQ3Status Q3Mesh_GetVertexCoordinates(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3Point3D* coordinates) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, vertex, kVertexPart, id) || !CheckPointer(coordinates)) return kQ3Failure;
  *coordinates = m->vertices[id].point;
  return kQ3Success;
}

TQ3Status Q3Mesh_SetVertexCoordinates(TQ3GeometryObject mesh, TQ3MeshVertex vertex, const TQ3Point3D* coordinates) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, vertex, kVertexPart, id) || !CheckPointer(coordinates)) return kQ3Failure;
  m->vertices[id].point = *coordinates;
  return kQ3Success;
}

TQ3Status Q3Mesh_GetVertexIndex(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3Uns32* index) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, vertex, kVertexPart, id) || !CheckPointer(index)) return kQ3Failure;
  *index = m->VertexIndex(id);
  return kQ3Success;
}

TQ3Status Q3Mesh_GetVertexAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3AttributeSet* attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, vertex, kVertexPart, id) || !CheckPointer(attributeSet)) return kQ3Failure;
  *attributeSet = m->vertices[id].set.Copy().release();
  return kQ3Success;
}

TQ3Status Q3Mesh_SetVertexAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3AttributeSet attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, vertex, kVertexPart, id) || !ValidAttributeSet(attributeSet)) return kQ3Failure;
  m->vertices[id].set = Ref::Share(attributeSet);
  return kQ3Success;
}

TQ3Status Q3Mesh_GetFaceNumVertices(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3Uns32* numVertices) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, face, kFacePart, id) || !CheckPointer(numVertices)) return kQ3Failure;
  TQ3Uns32 n = 0;
  for (TQ3Uns32 cid : m->faces[id].contours) n += TQ3Uns32(m->contours[cid].corners.size());
  *numVertices = n;
  return kQ3Success;
}

TQ3Status Q3Mesh_GetFaceNumContours(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3Uns32* numContours) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, face, kFacePart, id) || !CheckPointer(numContours)) return kQ3Failure;
  *numContours = TQ3Uns32(m->faces[id].contours.size());
  return kQ3Success;
}

TQ3Status Q3Mesh_GetFaceIndex(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3Uns32* index) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, face, kFacePart, id) || !CheckPointer(index)) return kQ3Failure;
  *index = m->FaceIndex(id);
  return kQ3Success;
}

TQ3Status Q3Mesh_GetFacePlaneEquation(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3PlaneEquation* planeEquation) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, face, kFacePart, id) || !CheckPointer(planeEquation)) return kQ3Failure;
  bool ok = false;
  *planeEquation = PlaneOf(m, m->faces[id], ok);
  if (!ok) {
    PostWarning(kQ3WarningDegenerateGeometry);
    return kQ3Failure;
  }
  return kQ3Success;
}

TQ3Status Q3Mesh_GetFaceAttributeSet(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3AttributeSet* attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, face, kFacePart, id) || !CheckPointer(attributeSet)) return kQ3Failure;
  *attributeSet = m->faces[id].set.Copy().release();
  return kQ3Success;
}

TQ3Status Q3Mesh_SetFaceAttributeSet(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3AttributeSet attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, face, kFacePart, id) || !ValidAttributeSet(attributeSet)) return kQ3Failure;
  m->faces[id].set = Ref::Share(attributeSet);
  return kQ3Success;
}

TQ3Status Q3Mesh_GetCornerAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3MeshFace face,
                                       TQ3AttributeSet* attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 vid, fid;
  if (!m || !PartOf(m, vertex, kVertexPart, vid) || !PartOf(m, face, kFacePart, fid) || !CheckPointer(attributeSet))
    return kQ3Failure;
  for (TQ3Uns32 cid : m->faces[fid].contours)
    for (const MCorner& k : m->contours[cid].corners)
      if (k.vertex == vid) {
        *attributeSet = k.set.Copy().release();
        return kQ3Success;
      }
  PostError(kQ3ErrorInvalidMeshPart);
  return kQ3Failure;
}

TQ3Status Q3Mesh_SetCornerAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3MeshFace face,
                                       TQ3AttributeSet attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 vid, fid;
  if (!m || !PartOf(m, vertex, kVertexPart, vid) || !PartOf(m, face, kFacePart, fid) ||
      !ValidAttributeSet(attributeSet))
    return kQ3Failure;
  if (!m->SetCorner(vid, fid, attributeSet)) {
    PostError(kQ3ErrorInvalidMeshPart);
    return kQ3Failure;
  }
  return kQ3Success;
}

TQ3Status Q3Mesh_GetEdgeVertices(TQ3GeometryObject mesh, TQ3MeshEdge edge, TQ3MeshVertex* vertex1,
                                 TQ3MeshVertex* vertex2) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, edge, kEdgePart, id) || !CheckPointer(vertex1) || !CheckPointer(vertex2)) return kQ3Failure;
  *vertex1 = m->Handle<TQ3MeshVertex>(kVertexPart, m->edges[id].v[0]);
  *vertex2 = m->Handle<TQ3MeshVertex>(kVertexPart, m->edges[id].v[1]);
  return kQ3Success;
}

TQ3Status Q3Mesh_GetEdgeAttributeSet(TQ3GeometryObject mesh, TQ3MeshEdge edge, TQ3AttributeSet* attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, edge, kEdgePart, id) || !CheckPointer(attributeSet)) return kQ3Failure;
  *attributeSet = m->edges[id].set.Copy().release();
  return kQ3Success;
}

TQ3Status Q3Mesh_SetEdgeAttributeSet(TQ3GeometryObject mesh, TQ3MeshEdge edge, TQ3AttributeSet attributeSet) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, edge, kEdgePart, id) || !ValidAttributeSet(attributeSet)) return kQ3Failure;
  m->edges[id].set = Ref::Share(attributeSet);
  return kQ3Success;
}

TQ3Status Q3Mesh_GetContourFace(TQ3GeometryObject mesh, TQ3MeshContour contour, TQ3MeshFace* face) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, contour, kContourPart, id) || !CheckPointer(face)) return kQ3Failure;
  *face = m->Handle<TQ3MeshFace>(kFacePart, m->contours[id].face);
  return kQ3Success;
}

TQ3Status Q3Mesh_GetContourNumVertices(TQ3GeometryObject mesh, TQ3MeshContour contour, TQ3Uns32* numVertices) {
  MeshGeom* m = MeshOf(mesh);
  TQ3Uns32 id;
  if (!m || !PartOf(m, contour, kContourPart, id) || !CheckPointer(numVertices)) return kQ3Failure;
  *numVertices = TQ3Uns32(m->contours[id].corners.size());
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Iterators. Each step re-checks the mesh and the part it walks, so an
// iterator over a changed mesh ends early instead of going astray.
static MeshGeom* IteratorMesh(TQ3MeshIterator* it, IteratorKind kind) {
  if (!CheckPointer(it)) return nullptr;
  if (it->kind != kind || !IsLive(it->mesh) || !it->mesh->IsType(kQ3GeometryTypeMesh)) return nullptr;
  return static_cast<MeshGeom*>(it->mesh);
}

template <class T, class H>
static H NextLive(MeshGeom* m, const std::vector<T>& items, TQ3MeshIterator* it, PartKind kind) {
  while (it->index < items.size() && !items[it->index].live) ++it->index;
  if (it->index >= items.size()) {
    it->kind = kIterNone;
    return nullptr;
  }
  return m->Handle<H>(kind, it->index++);
}

static void Start(TQ3MeshIterator* it, MeshGeom* m, IteratorKind kind, TQ3Uns32 owner) {
  it->mesh = m;
  it->kind = kind;
  it->owner = owner;
  it->index = 0;
  it->subIndex = 0;
}

TQ3MeshVertex Q3Mesh_FirstMeshVertex(TQ3GeometryObject mesh, TQ3MeshIterator* iterator) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(iterator)) return nullptr;
  Start(iterator, m, kIterMeshVertices, 0);
  return Q3Mesh_NextMeshVertex(iterator);
}

TQ3MeshVertex Q3Mesh_NextMeshVertex(TQ3MeshIterator* iterator) {
  MeshGeom* m = IteratorMesh(iterator, kIterMeshVertices);
  return m ? NextLive<MVertex, TQ3MeshVertex>(m, m->vertices, iterator, kVertexPart) : nullptr;
}

TQ3MeshFace Q3Mesh_FirstMeshFace(TQ3GeometryObject mesh, TQ3MeshIterator* iterator) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(iterator)) return nullptr;
  Start(iterator, m, kIterMeshFaces, 0);
  return Q3Mesh_NextMeshFace(iterator);
}

TQ3MeshFace Q3Mesh_NextMeshFace(TQ3MeshIterator* iterator) {
  MeshGeom* m = IteratorMesh(iterator, kIterMeshFaces);
  return m ? NextLive<MFace, TQ3MeshFace>(m, m->faces, iterator, kFacePart) : nullptr;
}

TQ3MeshEdge Q3Mesh_FirstMeshEdge(TQ3GeometryObject mesh, TQ3MeshIterator* iterator) {
  MeshGeom* m = MeshOf(mesh);
  if (!m || !CheckPointer(iterator)) return nullptr;
  Start(iterator, m, kIterMeshEdges, 0);
  return Q3Mesh_NextMeshEdge(iterator);
}

TQ3MeshEdge Q3Mesh_NextMeshEdge(TQ3MeshIterator* iterator) {
  MeshGeom* m = IteratorMesh(iterator, kIterMeshEdges);
  return m ? NextLive<MEdge, TQ3MeshEdge>(m, m->edges, iterator, kEdgePart) : nullptr;
}

TQ3MeshVertex Q3Mesh_FirstFaceVertex(TQ3MeshFace face, TQ3MeshIterator* iterator) {
  TQ3Uns32 id;
  MeshGeom* m = Part(face, kFacePart, id);
  if (!m || !CheckPointer(iterator)) return nullptr;
  Start(iterator, m, kIterFaceVertices, id);
  return Q3Mesh_NextFaceVertex(iterator);
}

TQ3MeshVertex Q3Mesh_NextFaceVertex(TQ3MeshIterator* iterator) {
  MeshGeom* m = IteratorMesh(iterator, kIterFaceVertices);
  MFace* f = m ? m->FaceAt(iterator->owner) : nullptr;
  if (!f) return nullptr;
  while (iterator->index < f->contours.size()) {
    const MContour& c = m->contours[f->contours[iterator->index]];
    if (iterator->subIndex < c.corners.size())
      return m->Handle<TQ3MeshVertex>(kVertexPart, c.corners[iterator->subIndex++].vertex);
    ++iterator->index;
    iterator->subIndex = 0;
  }
  iterator->kind = kIterNone;
  return nullptr;
}

// Starts an iterator over a list kept by one part.
template <class H, class P, class F>
static H FirstIn(P part, PartKind kind, IteratorKind iter, TQ3MeshIterator* iterator, F next) {
  TQ3Uns32 id;
  MeshGeom* m = Part(part, kind, id);
  if (!m || !CheckPointer(iterator)) return nullptr;
  Start(iterator, m, iter, id);
  return next(iterator);
}

// The next entry of the list a part keeps, as a handle of the given kind.
template <class H, class Owner, class Size, class Item>
static H NextIn(TQ3MeshIterator* iterator, IteratorKind iter, Owner* (MeshGeom::*find)(TQ3Uns32), PartKind kind,
                Size size, Item item) {
  MeshGeom* m = IteratorMesh(iterator, iter);
  Owner* owner = m ? (m->*find)(iterator->owner) : nullptr;
  if (!owner || iterator->index >= size(*owner)) {
    if (iterator) iterator->kind = kIterNone;
    return nullptr;
  }
  return m->Handle<H>(kind, item(*owner, iterator->index++));
}

TQ3MeshContour Q3Mesh_FirstFaceContour(TQ3MeshFace face, TQ3MeshIterator* iterator) {
  return FirstIn<TQ3MeshContour>(face, kFacePart, kIterFaceContours, iterator, Q3Mesh_NextFaceContour);
}

TQ3MeshContour Q3Mesh_NextFaceContour(TQ3MeshIterator* iterator) {
  return NextIn<TQ3MeshContour>(
      iterator, kIterFaceContours, &MeshGeom::FaceAt, kContourPart, [](const MFace& f) { return f.contours.size(); },
      [](const MFace& f, size_t i) { return f.contours[i]; });
}

TQ3MeshVertex Q3Mesh_FirstContourVertex(TQ3MeshContour contour, TQ3MeshIterator* iterator) {
  return FirstIn<TQ3MeshVertex>(contour, kContourPart, kIterContourVertices, iterator, Q3Mesh_NextContourVertex);
}

TQ3MeshVertex Q3Mesh_NextContourVertex(TQ3MeshIterator* iterator) {
  return NextIn<TQ3MeshVertex>(
      iterator, kIterContourVertices, &MeshGeom::ContourAt, kVertexPart,
      [](const MContour& c) { return c.corners.size(); }, [](const MContour& c, size_t i) { return c.corners[i].vertex; });
}

TQ3MeshFace Q3Mesh_FirstVertexFace(TQ3MeshVertex vertex, TQ3MeshIterator* iterator) {
  return FirstIn<TQ3MeshFace>(vertex, kVertexPart, kIterVertexFaces, iterator, Q3Mesh_NextVertexFace);
}

TQ3MeshFace Q3Mesh_NextVertexFace(TQ3MeshIterator* iterator) {
  return NextIn<TQ3MeshFace>(
      iterator, kIterVertexFaces, &MeshGeom::VertexAt, kFacePart, [](const MVertex& v) { return v.faces.size(); },
      [](const MVertex& v, size_t i) { return v.faces[i]; });
}

TQ3MeshEdge Q3Mesh_FirstVertexEdge(TQ3MeshVertex vertex, TQ3MeshIterator* iterator) {
  return FirstIn<TQ3MeshEdge>(vertex, kVertexPart, kIterVertexEdges, iterator, Q3Mesh_NextVertexEdge);
}

TQ3MeshEdge Q3Mesh_NextVertexEdge(TQ3MeshIterator* iterator) {
  return NextIn<TQ3MeshEdge>(
      iterator, kIterVertexEdges, &MeshGeom::VertexAt, kEdgePart, [](const MVertex& v) { return v.edges.size(); },
      [](const MVertex& v, size_t i) { return v.edges[i]; });
}
