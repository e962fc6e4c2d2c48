// Random sequences of transforms and reshapes on every object kind: coordinates stay finite,
// the operations that keep faces flat keep them flat within 0.001, and the solids keep their
// faces pointing out. Each kind joins the table of factories below as it is built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "BlockTestSupport.h"
#include "Memory.h"
#include "ModelTestSupport.h"
#include "OpeningTestSupport.h"
#include "PropertyTestSupport.h"
#include "VLPolyline.h"

namespace {

using modeltest::BoxRecord;
using modeltest::DrawingRoles;
using modeltest::Normal;
using modeltest::ObjectPtr;
using modeltest::PrismRecord;
using modeltest::ReadObject;
using modeltest::Vertices;
using modeltest::WorkingPlaneStandIn;
using proptest::Bend;
using proptest::FaceBend;
using proptest::Finite;
using proptest::Random;

constexpr double kPlanar = 0.001;

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A closed solid, and its two caps: faces that may be moved or pushed along their normal and
// tilted without bending the others (-1: none). When offsetPair is set the second cap's loop
// is the first's back face, as OffsetFace rebuilds it.
struct ObjectKind {
  const char* name;
  std::function<ObjectPtr()> make;
  SInt16 caps[2];
  bool offsetPair;
  bool hasOpenings = false;  // an opening owner: its openings must follow it
};

// A wall with two windows through it.
ObjectPtr WallWithWindows() {
  openingtest::OwnerPtr wall = openingtest::Wall();
  EXPECT_NE(openingtest::Window(wall.get(), 2, 1, 4, 2.5), nullptr);
  EXPECT_NE(openingtest::Window(wall.get(), 6, 0.5, 7, 2), nullptr);
  return ObjectPtr(wall.release());
}

// A pentagon drawn counterclockwise and pulled up: a solid with a handle box.
ObjectPtr PentagonalExtrusion() {
  auto* outline = new VLPolyline;
  ObjectPtr held(outline);
  outline->InitStorage();
  for (int i = 0; i < 5; ++i) {
    const Vector3d p{2 * std::cos(1.2566370614 * i), 1.5 * std::sin(1.2566370614 * i), 0};
    outline->BuildGeometry(nullptr, i > 0, &p, -1, nullptr);
  }
  outline->closed = 1;
  outline->BuildOutlineEdges(false);
  outline->Extrude(1.5);
  return held;
}

const std::vector<ObjectKind>& Kinds() {
  static const std::vector<ObjectKind> kinds = {
      {"box",
       [] {
         return ReadObject(BoxRecord({0, 0, 0}, {3, 2, 1}));
       },
       {4, 5},
       true},
      {"L-shaped prism",
       [] {
         return ReadObject(PrismRecord({{0, 0, 0}, {0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}}, -1, 1.5));
       },
       {6, 7},
       true},
      {"garden wall, as a document holds it",
       [] { return ReadObject(FileText(VL_TEST_DATA_DIR "/model/garden-wall.txt")); },
       {4, 5},
       false},
      {"wall with two windows", WallWithWindows, {4, 5}, true, true},
      {"block from a drag", [] { return ObjectPtr(blocktest::Dragged({0, 0, 0}, {3, 2, 1}).release()); }, {0, 5}, false},
      {"pentagonal extrusion with its handle box", PentagonalExtrusion, {5, 6}, false},
  };
  return kinds;
}

// ---- What must hold ----


// Faces point out of a closed solid when every edge is run both ways by the loops, each loop's
// stored normal agrees with its turning, and the volume the loops enclose (clockwise seen from
// outside) is positive.
::testing::AssertionResult PointsOut(VLUser3DObject* object) {
  std::map<std::pair<SInt16, SInt16>, int> runs;
  double volume = 0.0;
  for (SInt16 f = 0; f < object->faceCount; ++f) {
    const std::vector<SInt16> loop = modeltest::Loop(object, f);
    for (std::size_t k = 0; k < loop.size(); ++k) ++runs[{loop[k], loop[(k + 1) % loop.size()]}];
    const Vector3d p0 = modeltest::VertexAt(object, loop[0]);
    Vector3d turning{};
    for (std::size_t k = 1; k + 1 < loop.size(); ++k) {
      Vector3d a = modeltest::VertexAt(object, loop[k]), b = modeltest::VertexAt(object, loop[k + 1]), cross;
      VectorSubtract(&a, &p0, &a);
      VectorSubtract(&b, &p0, &b);
      VectorCross(&a, &b, &cross);
      volume -= VectorDot(&p0, &cross) / 6.0;
      VectorSubtract(&turning, &cross, &turning);
    }
    const Vector3d stored = Normal(object, f);
    if (VectorDot(&stored, &turning) <= 0.0) return ::testing::AssertionFailure() << "face " << f << " turns inward";
  }
  for (const auto& [edge, count] : runs) {
    const auto back = runs.find({edge.second, edge.first});
    if (count != 1 || back == runs.end() || back->second != 1)
      return ::testing::AssertionFailure()
             << "edge " << edge.first << "-" << edge.second << " is not run once each way";
  }
  if (!(volume > 0.0)) return ::testing::AssertionFailure() << "the loops enclose a volume of " << volume;
  return ::testing::AssertionSuccess();
}

// ---- Random arguments ----

const SInt16 kRoleSets[3][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}};

void MinMax(VLUser3DObject* object, int axis, double* lo, double* hi) {
  *lo = 1e300;
  *hi = -1e300;
  for (const Vector3d& p : Vertices(object)) {
    *lo = std::fmin(*lo, VectorComponent(p, axis));
    *hi = std::fmax(*hi, VectorComponent(p, axis));
  }
}

// ---- The operations ----

// An operation of the walk: it changes the object, keeps every face flat and the faces
// pointing out. One that changes the object as a whole takes an owner's openings along.
struct WalkStep {
  const char* name;
  void (*apply)(VLUser3DObject*, const ObjectKind&, Random&);
  bool wholeObject = false;
};

// The openings of an owner that lie on their two faces.
std::vector<VLOpening*> OpeningsOnFaces(VLUser3DObject* object) {
  std::vector<VLOpening*> fit;
  for (VLOpening* opening : static_cast<VLOpeningOwner*>(object)->Openings())
    if (opening->FitsOwnerFaces()) fit.push_back(opening);
  return fit;
}

// Every opening that lay on its faces still does. (An edit of one face can leave an opening
// off its faces; a rebuild then takes it off.)
::testing::AssertionResult OpeningsFollowed(VLUser3DObject* object, const std::vector<VLOpening*>& before) {
  const std::vector<VLOpening*> after = OpeningsOnFaces(object);
  for (VLOpening* opening : before)
    if (std::find(after.begin(), after.end(), opening) == after.end())
      return ::testing::AssertionFailure() << "an opening left its faces";
  return ::testing::AssertionSuccess();
}

const WalkStep kWalk[] = {
    {"Move",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       const Vector3d offset = r.Point(5);
       o->Move(&offset);
     },
     true},
    {"Nudge",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       Vector3d offset{};
       VectorComponent(offset, r.Below(3)) = r.Between(-1, 1);
       o->Nudge(&offset);
     },
     true},
    {"Rotate",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       const SInt16* roles = kRoleSets[r.Roles()];
       DrawingRoles drawing(roles[0], roles[1], roles[2]);
       const Vector3d centre = r.Point(4);
       o->Rotate(r.Between(-180, 180), &centre);
     },
     true},
    {"Rotate on a working plane",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       Vector3d axes[3];
       r.Rotation(axes);
       WorkingPlaneStandIn plane(r.Point(3), axes[0], axes[1], axes[2]);
       const Vector3d centre = r.Point(4);
       o->Rotate(r.Between(-180, 180), &centre);
     },
     true},
    {"ScaleAbout",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       const Vector3d centre = r.Point(4), factors{r.Between(0.7, 1.4), r.Between(0.7, 1.4), r.Between(0.7, 1.4)};
       o->ScaleAbout(&centre, &factors);
     },
     true},
    {"Stretch",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       // Evenly: uneven world factors seen along a turned frame need not stay positive.
       const double s = r.Between(0.7, 1.4);
       Vector3d anchor = modeltest::VertexAt(o, 0), handle = modeltest::VertexAt(o, SInt16(o->vertexCount - 1));
       Vector3d factors{s, s, s};
       o->Stretch(&anchor, &factors, &handle);
     },
     true},
    {"palette resize",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       ObjectInfoRecord typed;
       Vector3d size;
       o->GetSize(&size, nullptr, nullptr, nullptr);
       typed.size = Vector3d{size.x * r.Between(0.7, 1.4), size.y * r.Between(0.7, 1.4), size.z * r.Between(0.7, 1.4)};
       o->ProviderChanged(nullptr, kInfoResized, &typed);
     }},
    {"Flip",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       const SInt16 code = SInt16(r.Below(3));
       double lo, hi;
       MinMax(o, code == 1 ? 0 : code == 2 ? 2 : 1, &lo, &hi);
       o->Flip(code, lo, hi - lo);
     },
     true},
    {"mirroring Transform",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       Matrix4d m;
       SetIdentity4x4(&m);
       const int axis = r.Below(3);
       m.at(axis, axis) = -1;
       m.at(axis, 3) = r.Between(-3, 3);
       o->Transform(&m);
       // Rebuilt while the mirror has its faces inside out: an owner finds nothing behind its
       // openings then and takes them off, so this step is not one the openings follow.
       o->GeometryChanged();
       o->OrientFaces();
     }},
    {"TransformVertices",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       Vector3d rows[3];
       r.Rotation(rows);
       Matrix4d m;
       SetIdentity4x4(&m);
       MatrixFromAxes(&m, &rows[0], &rows[1], &rows[2]);
       const Vector3d t = r.Point(3);
       m.at(3, 0) = t.x;
       m.at(3, 1) = t.y;
       m.at(3, 2) = t.z;
       o->TransformVertices(&m);
     },
     true},
    {"face-mode move of a cap",
     [](VLUser3DObject* o, const ObjectKind& kind, Random& r) {
       const SInt16 cap = kind.caps[r.Below(2)];
       Vector3d offset = Normal(o, cap), slide = r.Point(0.3), along;
       VectorScale(&offset, r.Between(0.1, 0.6), &offset);
       // Some sliding within the cap's plane too.
       const Vector3d n = Normal(o, cap);
       VectorScale(&n, VectorDot(&n, &slide), &along);
       VectorSubtract(&slide, &along, &slide);
       VectorAdd(&offset, &slide, &offset);
       o->faceMode = 1;
       o->currentFace = cap;
       o->Move(&offset);
       o->faceMode = 0;
     }},
    {"PushFace",
     [](VLUser3DObject* o, const ObjectKind& kind, Random& r) {
       Vector3d offset = Normal(o, kind.caps[r.Below(2)]);
       VectorScale(&offset, r.Between(0.1, 0.6), &offset);
       SInt16 tracked = SInt16(r.Below(o->vertexCount));
       o->PushFace(&offset, &tracked);
       EXPECT_GE(tracked, 0);
       EXPECT_LT(tracked, o->vertexCount);
     }},
};

// Operations tried on a copy of the walk's object, since they bend neighbouring faces or need
// a shape that later steps would not keep. Each is undone through the vertex copy afterwards.
// The answer says whether the faces it keeps flat are flat.
struct TrialStep {
  const char* name;
  bool (*apply)(VLUser3DObject*, const ObjectKind&, Random&);
};

const TrialStep kTrials[] = {
    {"TiltFace",
     [](VLUser3DObject* o, const ObjectKind& kind, Random& r) {
       // A hinge along the cap's first edge.
       const SInt16 cap = kind.caps[r.Below(2)];
       const std::vector<SInt16> loop = modeltest::Loop(o, cap);
       const Vector3d a = modeltest::VertexAt(o, loop[0]), b = modeltest::VertexAt(o, loop[1]), n = Normal(o, cap);
       Vector3d hinge, across;
       VectorSubtract(&b, &a, &hinge);
       VectorDivide(&hinge, VectorLength(&hinge), &hinge);
       VectorCross(&n, &hinge, &across);
       CObjectTransformer* frame = new CObjectTransformer;
       frame->SetAxes(&across, &n, &hinge);
       frame->UpdateMatrices(&a);
       o->currentFace = cap;
       o->TiltFace(r.Between(-30, 30), frame);
       frame->Dispose();
       return FaceBend(o, cap) <= kPlanar;
     }},
    {"OffsetFace",
     [](VLUser3DObject* o, const ObjectKind& kind, Random& r) {
       if (!kind.offsetPair) return true;
       o->OffsetFace(kind.caps[0], kind.caps[1], r.Between(0.2, 3));
       return Bend(o) <= kPlanar;
     }},
    {"MoveVertex",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       const SInt16* roles = kRoleSets[r.Roles()];
       DrawingRoles drawing(roles[0], roles[1], roles[2]);
       o->faceMode = UInt8(r.Below(2));
       o->currentFace = SInt16(r.Below(o->faceCount));
       const Vector3d to = r.Point(5);
       o->MoveVertex(modeltest::Loop(o, o->currentFace)[0], &to, 0);
       return !o->faceMode || FaceBend(o, o->currentFace) <= kPlanar;
     }},
    {"MoveEdge",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       const SInt16* roles = kRoleSets[r.Roles()];
       DrawingRoles drawing(roles[0], roles[1], roles[2]);
       o->faceMode = UInt8(r.Below(2));
       o->currentFace = SInt16(r.Below(o->faceCount));
       Vector3d offset = r.Point(3);
       o->MoveEdge(SInt16(r.Below(o->edgeCount)), &offset, 0);
       o->GeometryChanged();
       return std::isfinite(offset.x) && std::isfinite(offset.y) && std::isfinite(offset.z);
     }},
    {"SetFaceVertices",
     [](VLUser3DObject* o, const ObjectKind&, Random& r) {
       const SInt16 face = SInt16(r.Below(o->faceCount));
       std::vector<Vector3d> points(modeltest::Loop(o, face).size());
       for (Vector3d& p : points) p = r.Point(4);
       o->SetFaceVertices(face, points.data());
       return true;
     }},
};

TEST(TransformProperty, RandomEditsKeepSolidsFiniteFlatAndOutward) {
  constexpr unsigned kSeeds = 8;
  constexpr int kSteps = 50;
  const long handlesBefore = PortLiveHandleCount();
  for (const ObjectKind& kind : Kinds()) {
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
      Random random(seed);
      ObjectPtr object = kind.make();
      ASSERT_TRUE(PointsOut(object.get())) << kind.name;
      for (int step = 0; step < kSteps; ++step) {
        const WalkStep& walk = kWalk[random.Below(int(std::size(kWalk)))];
        SCOPED_TRACE(::testing::Message() << kind.name << ", seed " << seed << ", step " << step << ": " << walk.name);
        const std::vector<VLOpening*> onFaces =
            kind.hasOpenings ? OpeningsOnFaces(object.get()) : std::vector<VLOpening*>{};
        walk.apply(object.get(), kind, random);
        ASSERT_TRUE(Finite(object.get()));
        ASSERT_LE(Bend(object.get()), kPlanar);
        ASSERT_TRUE(PointsOut(object.get()));
        if (kind.hasOpenings && walk.wholeObject) {
          ASSERT_TRUE(OpeningsFollowed(object.get(), onFaces));
        }

        const TrialStep& trial = kTrials[random.Below(int(std::size(kTrials)))];
        SCOPED_TRACE(trial.name);
        ObjectPtr copy(object->MakeCopy(nullptr));
        ASSERT_TRUE(copy);
        const std::vector<Vector3d> before = Vertices(copy.get());
        Handle saved = copy->CopyVertices();
        ASSERT_NE(saved, nullptr);
        EXPECT_TRUE(trial.apply(copy.get(), kind, random));
        EXPECT_TRUE(Finite(copy.get()));
        copy->SetVertices(saved);
        PortFreeHandle(saved);
        EXPECT_EQ(Vertices(copy.get()), before) << "undone through the vertex copy";
      }
    }
  }
  EXPECT_EQ(PortLiveHandleCount(), handlesBefore);
}

}  // namespace
