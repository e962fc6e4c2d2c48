// Projecting points, segments and faces to the pane, with clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

#include "DETException.h"
#include "Memory.h"
#include "ViewTestSupport.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// ---- Every view kind, against the pinhole oracle ----

struct ViewCase {
  const char* name;
  std::function<void(VLViewTransform*)> show;
  SInt16 kind;
  Vector3d right;  // the model direction that should run to the right (zero: not axis-aligned)
};

TEST(ProjectionTable, EveryViewKindPutsPointsWhereThePinholeDoes) {
  const Vector3d min{0, 0, 0}, max{20, 10, 6};
  const Vector3d centre{10, 5, 3};
  const std::vector<ViewCase> cases = {
      {"perspective", [](VLViewTransform*) {}, kPerspectiveView, {}},
      {"plan", [](VLViewTransform* t) { t->UpdateForViewKind(); }, kPlanView, {1, 0, 0}},
      {"north", [](VLViewTransform* t) { t->SetElevationView(kCmdNorthElevation); }, kNorthElevationView, {-1, 0, 0}},
      {"south", [](VLViewTransform* t) { t->SetElevationView(kCmdSouthElevation); }, kSouthElevationView, {1, 0, 0}},
      {"east", [](VLViewTransform* t) { t->SetElevationView(kCmdEastElevation); }, kEastElevationView, {0, -1, 0}},
      {"west", [](VLViewTransform* t) { t->SetElevationView(kCmdWestElevation); }, kWestElevationView, {0, 1, 0}},
      {"axonometric", [](VLViewTransform* t) { t->SwitchToAxonometric(0); }, kAxonometricView, {}},
  };
  for (const ViewCase& c : cases) {
    SCOPED_TRACE(c.name);
    VLViewTransform t = SetUpTransform(400, 300);
    t.InitViewsForBox(&min, &max);
    c.show(&t);
    EXPECT_EQ(t.viewKind, c.kind);
    EXPECT_EQ(t.perspective, c.kind == kPerspectiveView);
    EXPECT_EQ(t.principalView, c.kind >= kPlanView && c.kind <= kWestElevationView);

    std::vector<Vector3d> points = {centre, Add(centre, {1, 0, 0}), Add(centre, {0, -1, 0}), Add(centre, {0, 0, 1})};
    for (double x : {min.x, max.x})
      for (double y : {min.y, max.y})
        for (double z : {min.z, max.z}) points.push_back({x, y, z});
    for (const Vector3d& p : points) {
      Vector3d pane;
      t.ProjectPoint(&p, &pane);
      const Vector3d expected = OracleProject(t, p);
      EXPECT_NEAR(pane.x, expected.x, 1e-7) << p.x << " " << p.y << " " << p.z;
      EXPECT_NEAR(pane.y, expected.y, 1e-7) << p.x << " " << p.y << " " << p.z;
    }

    Vector3d atCentre, above, toRight;
    t.ProjectPoint(&centre, &atCentre);
    if (c.kind == kPlanView) {
      // North at the top, east to the right; the higher point is nearer the eye.
      t.ProjectPoint(ToPtr(Add(centre, {0, -1, 0})), &above);
      EXPECT_LT(above.y, atCentre.y);
      Vector3d higher;
      t.ProjectPoint(ToPtr(Add(centre, {0, 0, 1})), &higher);
      EXPECT_LT(higher.z, atCentre.z);
    } else {
      t.ProjectPoint(ToPtr(Add(centre, {0, 0, 1})), &above);
      EXPECT_LT(above.y, atCentre.y);
    }
    if (c.right.x != 0 || c.right.y != 0) {
      t.ProjectPoint(ToPtr(Add(centre, c.right)), &toRight);
      EXPECT_GT(toRight.x, atCentre.x);
      EXPECT_NEAR(toRight.y, atCentre.y, 1e-9);
      ExpectNear(t.screenRight, c.right, 1e-12);
    }
  }
}

// ---- Outcodes ----

TEST(Outcode, BoundsOfTheWholeWindowAndASubWindow) {
  VLViewTransform t = SetUpTransform(400, 300);
  struct Case {
    Vector3d p;
    UInt8 perspective;
    UInt16 expected;
  };
  using VT = VLViewTransform;
  for (const Case& c : {
           Case{{0.5, -0.5, 0.5}, 1, 0},           // on the bounds x = z, y = -z: inside
           Case{{0.6, 0, 0.5}, 1, VT::kOutXHigh},  // right of the view
           Case{{-0.6, 0.7, 0.5}, 1, VT::kOutXLow | VT::kOutYHigh},
           Case{{0, -0.7, 1.5}, 1, VT::kOutFar},                                 // beyond the far plane, y within +-z
           Case{{0, 0, -1}, 1, VT::kOutHither | VT::kOutYHigh | VT::kOutXHigh},  // behind the eye: x > z
           Case{{0.6, 0, 0.5}, 0, 0},                                            // parallel bounds are +-1
           Case{{1.2, -1.2, 0.5}, 0, VT::kOutXHigh | VT::kOutYLow},
       }) {
    t.perspective = c.perspective;
    EXPECT_EQ(t.ClipOutcode(&c.p, 1), c.expected) << c.p.x << " " << c.p.y << " " << c.p.z;
    EXPECT_EQ(t.ClipOutcode(&c.p, 0), c.expected & VT::kOutHither);
  }
  // Zoomed into the pane's left half: the right half of the view lies outside.
  t.perspective = 1;
  Rect left{0, 0, 300, 200};
  ASSERT_TRUE(t.ZoomToRect(&left));
  EXPECT_EQ(t.fullWindow, 0);
  EXPECT_EQ(t.ClipOutcode(ToPtr({0.4, 0, 0.5}), 1), VT::kOutXHigh);
  EXPECT_EQ(t.ClipOutcode(ToPtr({-0.4, 0, 0.5}), 1), 0);
}

// ---- Points and polygons without and with clipping ----

TEST(ProjectPoint, APointOnTheEyePlaneIsNotAPanePoint) {
  const VLViewTransform t = PlanFromAbove(true);
  Vector3d pane;
  t.ProjectPoint(ToPtr({1, 0, 5}), &pane);  // beside the eye: view z is 0
  EXPECT_FALSE(std::isfinite(pane.x));
  SInt16 value = 77;
  EXPECT_FALSE(PaneCoordinate(pane.x, &value));
  EXPECT_EQ(value, 77);
  Point point{1, 2};
  EXPECT_FALSE(PanePointFromProjected(&pane, &point));
  EXPECT_EQ(point, (Point{1, 2}));

  for (const auto& [in, out] : {std::pair<double, SInt16>{123.9, 123}, {-0.5, 0}, {50000, 30000}, {-1e300, -30000}}) {
    EXPECT_TRUE(PaneCoordinate(in, &value));
    EXPECT_EQ(value, out) << in;
  }
  EXPECT_FALSE(PaneCoordinate(-kInf, &value));
  EXPECT_FALSE(PaneCoordinate(std::nan(""), &value));
}

TEST(ProjectPolygon, RejectsAFaceOffToOneSideOnlyWhenClipping) {
  const VLViewTransform t = PlanFromAbove(true);
  const Vector3d left[3] = {{-20, 0, 0}, {-25, 1, 0}, {-22, -3, 0}};
  Vector3d pane[3], view[3];
  UInt8 behind = 9;
  EXPECT_FALSE(t.ProjectPolygon(left, 3, pane, &behind, view, 1));
  EXPECT_EQ(behind, 0);
  EXPECT_TRUE(t.ProjectPolygon(left, 3, pane, &behind, view, 0));
  EXPECT_NEAR(pane[0].x, 200 - 20 * 20, 1e-9);
  EXPECT_FALSE(t.ProjectPolygon(left, 0, pane, &behind, view, 1));
}

TEST(ProjectPolygon, AFaceReachingBehindTheHitherPlaneIsLeftForTheClipper) {
  const VLViewTransform t = PlanFromAbove(true);
  const Vector3d face[3] = {{-1, -1, 0}, {1, -1, 0}, {0, 1, 10}};  // the last corner is above the eye
  Vector3d pane[3] = {{7, 7, 7}, {7, 7, 7}, {7, 7, 7}}, view[3];
  UInt8 behind = 0;
  EXPECT_TRUE(t.ProjectPolygon(face, 3, pane, &behind, view, 1));
  EXPECT_EQ(behind, 1);
  for (const Vector3d& p : pane) EXPECT_EQ(p, (Vector3d{7, 7, 7}));
  // A parallel view never clips.
  const VLViewTransform flat = PlanFromAbove(false);
  EXPECT_TRUE(flat.ProjectPolygon(face, 3, pane, &behind, view, 1));
  EXPECT_EQ(behind, 0);
  EXPECT_NEAR(pane[2].x, 200, 1e-9);
}

// ---- Face clipping ----

class IndexBlock {
 public:
  explicit IndexBlock(std::vector<SInt16> indices) {
    block_ = PortAllocHandle(Size(indices.size() * sizeof(SInt16)));
    for (std::size_t i = 0; i < indices.size(); ++i) reinterpret_cast<SInt16*>(*block_)[i] = indices[i];
  }
  ~IndexBlock() { PortFreeHandle(block_); }
  IndexBlock(const IndexBlock&) = delete;
  IndexBlock& operator=(const IndexBlock&) = delete;
  Handle get() const { return block_; }

 private:
  Handle block_;
};

struct ClipResult {
  bool away = false;
  UInt8 behind = 0;
  UInt8 frontMarked = 0;
  std::vector<Vector3d> pane;
  Vector3d normal;
};

ClipResult Clip(VLViewTransform& t, const std::vector<Vector3d>& view, std::vector<SInt16> order, UInt16 capacity = 0) {
  IndexBlock indices(order);
  if (capacity == 0) capacity = VLViewTransform::ClippedPointBound(SInt16(order.size()));
  ClipResult r;
  std::vector<Vector3d> pane(capacity);
  UInt16 count = 0;
  r.away = t.ClipPolygon(view.data(), SInt16(order.size()), indices.get(), &r.behind, pane.data(), capacity, &count,
                         &r.frontMarked, &r.normal);
  pane.resize(count);
  r.pane = pane;
  return r;
}

// Every clipped point lies in the view volume: on the pane, at or beyond the hither plane.
void ExpectInsideView(const VLViewTransform& t, const std::vector<Vector3d>& pane) {
  const double slack = 1e-6;
  for (const Vector3d& p : pane) {
    EXPECT_TRUE(p.x >= -slack && p.x <= t.paneWidth + slack) << p.x;
    EXPECT_TRUE(p.y >= -slack && p.y <= t.paneHeight + slack) << p.y;
    EXPECT_GE(p.z, -1 / t.hither * (1 + slack));
  }
}

TEST(ClipPolygon, AFaceCrossingTheHitherPlaneIsCutThere) {
  VLViewTransform t = SetUpTransform(400, 300);
  // A triangle in view space through the eye's axis, one corner behind the eye (z < 0).
  const std::vector<Vector3d> view = {{-0.5, 0.1, 0.5}, {0.5, 0.1, 0.5}, {0, -0.1, -0.5}, {9, 9, 9}};
  const ClipResult r = Clip(t, view, {0, 1, 2});
  EXPECT_EQ(r.behind, 1);
  ASSERT_GE(r.pane.size(), 4u);
  ExpectInsideView(t, r.pane);
  int onHither = 0;
  for (const Vector3d& p : r.pane)
    if (std::fabs(p.z - -1 / t.hither) < 1e-6 / t.hither) ++onHither;
  EXPECT_EQ(onHither, 2);
  // The same corners in the other order turn the other way.
  const ClipResult reversed = Clip(t, view, {2, 1, 0});
  EXPECT_NE(r.away, reversed.away);
  EXPECT_LT(r.normal.z * reversed.normal.z, 0.0);
}

TEST(ClipPolygon, FacesWhollyBehindOrOutsideAreRefused) {
  VLViewTransform t = SetUpTransform(400, 300);
  const std::vector<Vector3d> view = {{0, 0, -0.1}, {0.2, 0, -0.5}, {0.1, 0.1, -0.2},  // behind the eye
                                      {2, 0, 0.5},  {3, 1, 0.5},    {2.5, -1, 0.9}};   // right of the view
  for (const std::vector<SInt16>& face : {std::vector<SInt16>{0, 1, 2}, {3, 4, 5}, {}}) {
    const ClipResult r = Clip(t, view, face, 16);
    EXPECT_FALSE(r.away);
    EXPECT_EQ(r.frontMarked, 0);
    EXPECT_TRUE(r.pane.empty());
  }
}

TEST(ClipPolygon, MarksFacesThatLookTowardTheViewerUnlessTheSorterHasPainted) {
  VLViewTransform t = SetUpTransform(400, 300);
  gDepthSortPainted = 0;  // a sorted draw of an earlier test sets it for the rest of the run
  // Clockwise on the pane (v grows downward): toward the viewer.
  const std::vector<Vector3d> view = {{-0.1, -0.1, 0.5}, {0.1, -0.1, 0.5}, {0.1, 0.1, 0.5}};
  ClipResult r = Clip(t, view, {0, 1, 2});
  EXPECT_FALSE(r.away);
  EXPECT_EQ(r.frontMarked, 1);
  EXPECT_EQ(r.pane.size(), 3u);
  ExpectNear(r.normal, {0, 0, 1}, 1e-12);
  gDepthSortPainted = 1;
  r = Clip(t, view, {0, 1, 2});
  gDepthSortPainted = 0;
  EXPECT_FALSE(r.away);
  EXPECT_EQ(r.frontMarked, 0);
  r = Clip(t, view, {2, 1, 0});
  EXPECT_TRUE(r.away);
  EXPECT_EQ(r.frontMarked, 0);
}

TEST(ClipPolygon, TheOutputIsBoundedByTheCallersRoom) {
  VLViewTransform t = SetUpTransform(400, 300);
  // A large triangle across the whole view with one corner behind the eye: the side planes
  // leave more corners than it had.
  const std::vector<Vector3d> view = {{-5, -5, 0.5}, {5, -5, 0.5}, {0, 10, -0.5}};
  const ClipResult fits = Clip(t, view, {0, 1, 2});
  EXPECT_GT(fits.pane.size(), 3u);
  EXPECT_LE(fits.pane.size(), VLViewTransform::ClippedPointBound(3));
  ExpectInsideView(t, fits.pane);
  const ClipResult tooSmall = Clip(t, view, {0, 1, 2}, UInt16(fits.pane.size() - 1));
  EXPECT_TRUE(tooSmall.pane.empty());
  EXPECT_FALSE(tooSmall.away);
  // An index block shorter than its count is refused.
  IndexBlock shortBlock({0, 1});
  Vector3d pane[16], normal;
  UInt8 behind = 0, marked = 0;
  UInt16 count = 5;
  EXPECT_FALSE(t.ClipPolygon(view.data(), 3, shortBlock.get(), &behind, pane, 16, &count, &marked, &normal));
  EXPECT_EQ(count, 0);
}

TEST(ClipPolygon, ALargeFaceClipsWithoutAFixedBuffer) {
  VLViewTransform t = SetUpTransform(400, 300);
  // 5000 corners on a circle that crosses the hither plane: more than the old scratch held.
  const int n = 5000;
  std::vector<Vector3d> view(n);
  std::vector<SInt16> order(n);
  for (int i = 0; i < n; ++i) {
    const double a = 2 * std::numbers::pi * i / n;
    view[i] = {0.3 * std::cos(a), 0.1, 0.5 + 0.6 * std::sin(a)};
    order[i] = SInt16(i);
  }
  const ClipResult r = Clip(t, view, order);
  EXPECT_EQ(r.behind, 1);
  EXPECT_GT(r.pane.size(), 1000u);
  ExpectInsideView(t, r.pane);
}

// ---- Polygon blocks ----

class PolygonBlock {
 public:
  explicit PolygonBlock(const std::vector<Vector3d>& points) : block_(NewPolygonBlock(SInt16(points.size()))) {
    for (std::size_t i = 0; i < points.size(); ++i) PolygonBlockPoints(block_)[i] = points[i];
  }
  ~PolygonBlock() { PortFreeHandle(block_); }
  PolygonBlock(const PolygonBlock&) = delete;
  PolygonBlock& operator=(const PolygonBlock&) = delete;
  Handle get() const { return block_; }
  std::vector<Vector3d> points() const {
    const Vector3d* p = PolygonBlockPoints(block_);
    return {p, p + PolygonBlockCount(block_)};
  }

 private:
  Handle block_;
};

TEST(ProjectFaceList, ACornerBehindTheEyeBecomesTwoPointsOnTheHitherPlane) {
  VLViewTransform t = PlanFromAbove(true);
  PolygonBlock block({{-1, -1, 0}, {1, -1, 0}, {1, 1, 10}, {-1, 1, 0}});
  PortLockHandle(block.get());
  ASSERT_TRUE(t.ProjectFaceList(block.get(), 1));
  EXPECT_NE(PortGetHandleState(block.get()) & kHandleLockedBit, 0);
  const std::vector<Vector3d> points = block.points();
  ASSERT_EQ(points.size(), 5u);
  EXPECT_NEAR(points[0].x, 180, 1e-9);
  EXPECT_NEAR(points[0].y, 130, 1e-9);
  for (int i : {2, 3}) EXPECT_NEAR(points[i].z, -1 / t.hither, 1e-6 / t.hither);
  // Without clipping every point is projected as it stands.
  PolygonBlock unclipped({{-1, -1, 0}, {1, -1, 0}, {1, 1, 1}});
  EXPECT_TRUE(t.ProjectFaceList(unclipped.get(), 0));
  EXPECT_EQ(unclipped.points().size(), 3u);
}

TEST(ProjectFaceList, FacesThatVanishAnswerFalse) {
  VLViewTransform t = PlanFromAbove(true);
  PolygonBlock behind({{-1, -1, 6}, {1, -1, 7}, {1, 1, 8}});
  EXPECT_FALSE(t.ProjectFaceList(behind.get(), 1));
  PolygonBlock twoPoints({{-1, -1, 0}, {1, -1, 0}});
  EXPECT_FALSE(t.ProjectFaceList(twoPoints.get(), 1));
  // Two corners behind the eye of a triangle leave a cut of three points.
  PolygonBlock mostlyBehind({{0, 0, 0}, {1, 0, 8}, {0, 1, 8}});
  EXPECT_TRUE(t.ProjectFaceList(mostlyBehind.get(), 1));
  EXPECT_EQ(mostlyBehind.points().size(), 3u);
  // A block that does not hold its count is not read.
  PolygonBlock lying({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  *reinterpret_cast<SInt16*>(*lying.get()) = 200;
  EXPECT_FALSE(t.ProjectFaceList(lying.get(), 1));
  EXPECT_FALSE(t.ProjectFaceList(nullptr, 1));
}

TEST(ProjectFaceList, ABlockThatWouldPassTheCountLimitRaises) {
  VLViewTransform t = PlanFromAbove(true);
  std::vector<Vector3d> points(32767, Vector3d{0, 0, 0});
  points[0] = {0, 0, 10};  // behind the eye between two visible neighbours
  PolygonBlock block(points);
  try {
    t.ProjectFaceList(block.get(), 1);
    ADD_FAILURE() << "the block grew past 32767 points";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorNotEnoughMemory);
  }
  EXPECT_EQ(PolygonBlockCount(block.get()), 32767);
}

// ---- Orientation on the pane ----

TEST(PolygonPlane, OrientsByTheWindingOnThePane) {
  const VLViewTransform t = SetUpTransform(400, 300);
  struct Case {
    const char* name;
    std::vector<Vector3d> points;
    bool clockwise;
  };
  const std::vector<Case> cases = {
      {"triangle", {{0, 0, 1}, {10, 0, 1}, {10, 10, 1}}, true},
      {"closing point repeats the first", {{0, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}, {0, 0, 1}}, true},
      {"leading collinear points", {{0, 0, 1}, {5, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}}, true},
      {"repeated second point", {{0, 0, 1}, {0, 0, 1}, {10, 0, 1}, {10, 10, 1}}, true},
      // An L whose first corner is reflex: the first triple alone would turn it the wrong way.
      {"reflex first corner", {{5, 5, 1}, {5, 10, 1}, {0, 10, 1}, {0, 0, 1}, {10, 0, 1}, {10, 5, 1}}, true},
      {"counter-clockwise", {{0, 0, 1}, {10, 10, 1}, {10, 0, 1}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Vector3d normal;
    EXPECT_EQ(t.PolygonPlane(c.points.data(), SInt16(c.points.size()), &normal), c.clockwise);
    ExpectNear(normal, {0, 0, c.clockwise ? 1.0 : -1.0}, 1e-12);
  }
  Vector3d untouched{4, 5, 6};
  const Vector3d two[2] = {{0, 0, 0}, {1, 1, 1}};
  EXPECT_FALSE(t.PolygonPlane(two, 2, &untouched));
  EXPECT_EQ(untouched, (Vector3d{4, 5, 6}));
}

// ---- Segments ----

TEST(ProjectSegment, ParallelSegmentsHaveNoDepth) {
  const VLViewTransform t = PlanFromAbove(false);
  Vector3d a, b;
  UInt8 visible = 0, aSame = 0, bSame = 0;
  t.ProjectSegment(ToPtr({-1, 0, 0}), ToPtr({1, 0, 40}), &a, &b, &visible, &aSame, &bSame);
  EXPECT_EQ(visible, 1);
  EXPECT_EQ(aSame, 1);
  EXPECT_EQ(bSame, 1);
  ExpectNear(a, {180, 150, 0}, 1e-9);
  ExpectNear(b, {220, 150, 0}, 1e-9);
}

TEST(ProjectSegment, PerspectiveSegmentsAreCutAtTheHitherPlaneAndClamped) {
  const VLViewTransform t = PlanFromAbove(true);
  Vector3d a{1, 1, 1}, b{2, 2, 2};
  UInt8 visible = 0, aSame = 9, bSame = 9;
  // From the ground up through the eye's height: the far end is cut.
  t.ProjectSegment(ToPtr({0, 0, 0}), ToPtr({0, 0, 10}), &a, &b, &visible, &aSame, &bSame);
  EXPECT_EQ(visible, 1);
  EXPECT_EQ(aSame, 1);
  EXPECT_EQ(bSame, 0);
  EXPECT_NEAR(b.z, -1 / t.hither, 1e-6 / t.hither);
  // Far to the east on the ground: 50200 pixels becomes the limit.
  t.ProjectSegment(ToPtr({0, 0, 0}), ToPtr({2500, 0, 0}), &a, &b, &visible, &aSame, &bSame);
  EXPECT_EQ(visible, 1);
  EXPECT_EQ(b.x, 30000.0);
  EXPECT_EQ(b.y, 150.0);
  // Wholly above the eye: nothing, and the outputs keep what they held.
  a = {1, 1, 1};
  b = {2, 2, 2};
  t.ProjectSegment(ToPtr({0, 0, 6}), ToPtr({1, 0, 7}), &a, &b, &visible, &aSame, &bSame);
  EXPECT_EQ(visible, 0);
  EXPECT_EQ(aSame, 0);
  EXPECT_EQ(bSame, 0);
  EXPECT_EQ(a, (Vector3d{1, 1, 1}));
  EXPECT_EQ(b, (Vector3d{2, 2, 2}));
  // An end that is not a number is not drawn.
  t.ProjectSegment(ToPtr({0, 0, 0}), ToPtr({std::nan(""), 0, 0}), &a, &b, &visible, &aSame, &bSame);
  EXPECT_EQ(visible, 0);
  EXPECT_EQ(a, (Vector3d{1, 1, 1}));
}

TEST(ProjectViewSegment, ClipsAtTheSidesAndLeavesAnInvisibleSegmentsFlags) {
  const VLViewTransform t = PlanFromAbove(true);
  Vector3d a, b;
  UInt8 visible = 0, aSame = 9, bSame = 9;
  // From the view's centre out past its right side (x = z).
  t.ProjectViewSegment(ToPtr({0, 0, 0.5}), ToPtr({2, 0, 0.5}), &a, &b, &visible, &aSame, &bSame);
  EXPECT_EQ(visible, 1);
  EXPECT_EQ(aSame, 1);
  EXPECT_EQ(bSame, 0);
  EXPECT_NEAR(a.x, 200, 1e-9);
  EXPECT_NEAR(b.x, 400, 1e-9);
  aSame = bSame = 9;
  t.ProjectViewSegment(ToPtr({0, 0, -0.5}), ToPtr({0.1, 0, -0.2}), &a, &b, &visible, &aSame, &bSame);
  EXPECT_EQ(visible, 0);
  EXPECT_EQ(aSame, 9);
  EXPECT_EQ(bSame, 9);
}

}  // namespace
