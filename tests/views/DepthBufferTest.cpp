// The depth sorter's painting end: record colours, filling records and overlays into a world,
// clipping to the port, and the record housekeeping the ordering calls.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "DETException.h"
#include "Memory.h"
#include "VLArray.h"
#include "VLDepthBuffer.h"
#include "ViewDrawingFlags.h"
#include "ViewTestSupport.h"

namespace {

// The painting tests draw into a 40 x 30 world.
struct PaintWorld : CurrentWorld {
  PaintWorld() : CurrentWorld(40, 30) {}
};

// A sorter set up as the application makes it, disposed at the end.
struct Sorter {
  Sorter() { buffer->IVLDepthBuffer(); }
  ~Sorter() { buffer->Dispose(); }
  Sorter(const Sorter&) = delete;
  Sorter& operator=(const Sorter&) = delete;
  VLDepthBuffer* operator->() const { return buffer; }
  VLDepthBuffer* buffer = new VLDepthBuffer;
};

// A record with the points and colour given, edges none.
DepthPolygonHandle MakeRecord(const std::vector<Vector3d>& points, RGBColor colour, double shade) {
  DepthPolygonHandle r = NewDepthPolygon();
  EXPECT_NE(r, nullptr);
  if (!points.empty()) {
    Handle block = PortAllocHandle(Size(points.size() * sizeof(Vector3d)));
    std::copy(points.begin(), points.end(), reinterpret_cast<Vector3d*>(*block));
    (*r)->points = block;
    (*r)->pointCount = SInt16(points.size());
  }
  (*r)->colour = colour;
  (*r)->shade = shade;
  return r;
}

Handle MakeOverlay(const std::vector<Vector3d>& points, double shade, SInt16 face) {
  Handle node = NewDepthOverlay(SInt16(points.size()), shade, face);
  std::copy(points.begin(), points.end(), OverlayPoints(node));
  return node;
}

void FreeRecord(VLDepthBuffer* sorter, DepthPolygonHandle r) {
  sorter->FreeRecordParts(r);
  DisposeDepthPolygon(r);
}

std::vector<Vector3d> Square(double left, double top, double right, double bottom) {
  return {{left, top, 1}, {right, top, 1}, {right, bottom, 1}, {left, bottom, 1}};
}

// ---- Colours ----

TEST(DepthShading, ColourOfARecordFollowsTheLightCosine) {
  struct Case {
    UInt8 shaded;
    UInt8 soft;
    double shade;
    RGBColor expected;
  };
  const RGBColor colour{65535, 32768, 0};
  const std::vector<Case> cases = {
      {1, 0, 1.0, {65535, 32768, 0}},     // lit head-on: unchanged
      {1, 1, 1.0, {55704, 27852, 0}},     // soft shading: 0.85
      {1, 0, 0.5, {45874, 22937, 0}},     // 0.7
      {1, 0, -0.5, {22937, 11468, 0}},    // back-lit: 0.35
      {1, 0, -1.0, {19660, 9830, 0}},     // 0.3
      {1, 0, -999.0, {0, 0, 0}},          // the black marker
      {1, 0, -1.5, {0, 0, 0}},
      {0, 0, 0.7, {65535, 65535, 65535}}, // hidden lines: white
      {0, 0, -0.5, {65535, 65535, 65535}},
      {0, 0, -999.0, {0, 0, 0}},
  };
  Sorter sorter;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shaded " << int(c.shaded) << " soft " << int(c.soft) << " c " << c.shade);
    FlagScope flags(c.shaded);
    sorter->shadowPass = c.soft;
    PaintWorld world;
    DepthPolygonHandle r = MakeRecord(Square(2, 2, 10, 10), colour, c.shade);
    sorter->ShadeFace(r);
    EXPECT_EQ((*sorter->fillPattern)->rgb, c.expected);
    FreeRecord(sorter.buffer, r);
  }
  EXPECT_EQ(VLDepthBuffer::OverlayColour(colour, 0.5), (RGBColor{52428, 26214, 0}));
  EXPECT_EQ(VLDepthBuffer::OverlayColour(colour, -1.0), (RGBColor{32767, 16384, 0}));
  // Shades beyond -1..1 keep every component in its range.
  EXPECT_EQ(VLDepthBuffer::OverlayColour(colour, 2.0), (RGBColor{65535, 45875, 0}));
  EXPECT_EQ(VLDepthBuffer::OverlayColour(colour, -20.0), (RGBColor{0, 0, 0}));
}

// ---- Painting ----

TEST(DepthPainting, FaceOverlaysAndEdgesLandOnTheirPixels) {
  FlagScope flags(1);
  Sorter sorter;
  PaintWorld world;
  DepthPolygonHandle r = MakeRecord(Square(2, 2, 20, 20), {65535, 0, 0}, 1.0);
  (*r)->overlays = MakeOverlay(Square(5, 5, 9, 9), 1.0, 3);
  Handle edges = PortAllocHandle(Size(sizeof(DepthEdge)));
  reinterpret_cast<DepthEdge*>(*edges)[0] = {0, 1};
  (*r)->edges = edges;
  (*r)->edgeCount = 1;
  sorter->ShadeFace(r);
  EXPECT_EQ(world.At(15, 15), 0xFF0000u);
  EXPECT_EQ(world.At(6, 6), 0xFF0000u) << "an overlay lit at 1.0 is at full colour";
  EXPECT_EQ(world.At(10, 2), 0x000000u) << "the edge, near-black";
  EXPECT_EQ(world.At(25, 25), kWhitePixel);
  FreeRecord(sorter.buffer, r);
}

TEST(DepthPainting, WhileTrackingOnlyOverlaysAndEdgesAreDrawn) {
  FlagScope flags(1, 1);
  Sorter sorter;
  PaintWorld world;
  DepthPolygonHandle r = MakeRecord(Square(2, 2, 20, 20), {65535, 0, 0}, 1.0);
  (*r)->overlays = MakeOverlay(Square(5, 5, 9, 9), 0.0, 0);
  sorter->ShadeFace(r);
  EXPECT_EQ(world.At(15, 15), kWhitePixel);
  EXPECT_EQ(world.CountOf(kWhitePixel), 40 * 30 - 16) << "only the 4 x 4 overlay";
  FreeRecord(sorter.buffer, r);
}

TEST(DepthPainting, AStoredRegionIsFilledUnlessPrinting) {
  Sorter sorter;
  for (UInt8 printing : {0, 1}) {
    FlagScope flags(1, 0, printing);
    PaintWorld world;
    DepthPolygonHandle r = MakeRecord(Square(2, 2, 20, 20), {0, 0, 65535}, 1.0);
    (*r)->outline = PortNewRegion();
    PortSetRectRegion((*r)->outline, 30, 20, 35, 25);
    sorter->ShadeFace(r);
    EXPECT_EQ(world.At(32, 22) == 0x0000FFu, !printing) << "printing " << int(printing);
    EXPECT_EQ(world.At(10, 10) == 0x0000FFu, bool(printing)) << "printing " << int(printing);
    FreeRecord(sorter.buffer, r);
  }
}

TEST(DepthPainting, FacesAreClippedToThePort) {
  FlagScope flags(1);
  Sorter sorter;
  PaintWorld world;
  // A triangle reaching beyond the left and bottom of the 40 x 30 port.
  DepthPolygonHandle r = MakeRecord({{-20, 10, 1}, {20, 10, 1}, {20, 50, 1}}, {0, 65535, 0}, 1.0);
  std::unique_ptr<VLArray, void (*)(VLArray*)> clipped(sorter->ClipToPortRect(*r),
                                                        [](VLArray* a) { a->Dispose(); });
  std::vector<Vector3d> points(std::size_t(clipped->GetNumItems()));
  for (long i = 0; i < clipped->GetNumItems(); ++i) clipped->GetItem(&points[std::size_t(i)], i + 1);
  for (const Vector3d& p : points) {
    EXPECT_TRUE(p.x >= 0 && p.x <= 40 && p.y >= 0 && p.y <= 30) << p.x << " " << p.y;
    EXPECT_EQ(p.z, 1.0);
  }
  EXPECT_GE(points.size(), 4u) << "the left corner cut off, the bottom cut across";
  sorter->ShadeFace(r);
  EXPECT_EQ(world.At(15, 20), 0x00FF00u);
  EXPECT_EQ(world.At(0, 10), 0x00FF00u);
  FreeRecord(sorter.buffer, r);

  // Wholly outside: nothing left, nothing filled.
  PaintWorld empty;
  DepthPolygonHandle outside = MakeRecord(Square(50, 40, 60, 50), {0, 65535, 0}, 1.0);
  std::unique_ptr<VLArray, void (*)(VLArray*)> none(sorter->ClipToPortRect(*outside),
                                                     [](VLArray* a) { a->Dispose(); });
  EXPECT_EQ(none->GetNumItems(), 0);
  sorter->ShadeFace(outside);
  EXPECT_EQ(empty.CountOf(kWhitePixel), 40 * 30);
  FreeRecord(sorter.buffer, outside);
}

// ---- Housekeeping ----

TEST(DepthRecords, FreeingReleasesEveryPartAndKeepsTheBlock) {
  Sorter sorter;
  const long before = PortLiveHandleCount();
  DepthPolygonHandle r = MakeRecord(Square(0, 0, 5, 5), {}, 0.0);
  (*r)->spare = PortAllocHandle(24);
  (*r)->edges = PortAllocHandle(8);
  (*r)->splitSerials = PortAllocHandle(4);
  (*r)->splitCount = 2;
  (*r)->outline = PortNewRegion();
  (*r)->overlays = MakeOverlay(Square(0, 0, 1, 1), 0.0, 0);
  OverlayHeader((*r)->overlays)->next = MakeOverlay(Square(0, 0, 2, 2), 0.0, 1);
  // The spare and edge blocks come with zero counts: they go all the same.
  EXPECT_EQ(sorter->FreeRecordParts(r), r);
  EXPECT_EQ(PortLiveHandleCount(), before + 1) << "only the record block is left";
  EXPECT_EQ((*r)->points, nullptr);
  EXPECT_EQ((*r)->pointCount, 0);
  EXPECT_EQ((*r)->overlays, nullptr);
  EXPECT_EQ((*r)->outline, nullptr);
  DisposeDepthPolygon(r);

  // Without keepRegions the outline and the split list are left to their owner.
  sorter->SetKeepRegions(false);
  DepthPolygonHandle kept = MakeRecord(Square(0, 0, 5, 5), {}, 0.0);
  (*kept)->splitSerials = PortAllocHandle(4);
  (*kept)->splitCount = 2;
  sorter->FreeRecordParts(kept);
  EXPECT_NE((*kept)->splitSerials, nullptr);
  EXPECT_EQ((*kept)->splitCount, 2);
  PortFreeHandle((*kept)->splitSerials);
  DisposeDepthPolygon(kept);
  EXPECT_EQ(PortLiveHandleCount(), before);
}

TEST(DepthRecords, SamePlaneAndCounts) {
  Sorter sorter;
  EXPECT_EQ(sorter->Count(), 0);
  DepthPolygonHandle a = MakeRecord({}, {}, 0.3);
  DepthPolygonHandle b = MakeRecord({}, {}, 0.3);
  DepthPolygonHandle c = MakeRecord({}, {}, 0.3);
  (*a)->normal = {0, 0, 1};
  (*a)->planeD = -5;
  (*b)->normal = {0.00005, 0, 0.99995};
  (*b)->planeD = -5.00009;
  (*c)->normal = {0, 0, 1};
  (*c)->planeD = -5.0002;
  EXPECT_TRUE(sorter->SamePlane(a, b));
  EXPECT_FALSE(sorter->SamePlane(a, c));
  sorter->head = a;
  (*a)->next = b;
  (*b)->next = c;
  EXPECT_EQ(sorter->CountRecords(), 3);
  EXPECT_EQ(sorter->Count(), 3);
  (*a)->shade = -9999.0;
  EXPECT_EQ(sorter->Count(), 6) << "a section plane first doubles the progress total";
  sorter->head = nullptr;
  for (DepthPolygonHandle r : {a, b, c}) FreeRecord(sorter.buffer, r);
}

// A sorter whose splitter hands out parts as the test says: a part with points or an empty one.
class ScriptedSorter : public VLDepthBuffer {
 public:
  bool nearHasPoints = true;
  bool farHasPoints = true;
  bool fail = false;
  void SplitPolygon(DepthPolygonHandle, DepthPolygonHandle record, DepthPolygonHandle nearPart,
                    DepthPolygonHandle farPart) override {
    if (nearHasPoints) Fill(nearPart, 1);
    if (farHasPoints) Fill(farPart, 2);
    if (fail) ThrowError(kDEErrorNilPointer, Str255("split"));
  }
  static void Fill(DepthPolygonHandle part, SInt32 serial) {
    Handle block = PortAllocHandle(Size(3 * sizeof(Vector3d)));
    (*part)->points = block;
    (*part)->pointCount = 3;
    (*part)->serial = serial;
  }
};

TEST(DepthRecords, SplittingPutsTheNonEmptyPartsInTheRecordsPlace) {
  struct Case {
    bool nearPart;
    bool farPart;
    std::vector<SInt32> expected;  // serials of the list after the split
  };
  const std::vector<Case> cases = {
      {true, false, {100, 1, 300}},
      {true, true, {100, 1, 2, 300}},
      {false, true, {100, 2, 300}},
      {false, false, {100, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "near " << c.nearPart << " far " << c.farPart);
    const long live = PortLiveHandleCount();
    auto* sorter = new ScriptedSorter;
    sorter->IVLDepthBuffer();
    sorter->nearHasPoints = c.nearPart;
    sorter->farHasPoints = c.farPart;
    DepthPolygonHandle first = MakeRecord(Square(0, 0, 1, 1), {}, 0.5);
    DepthPolygonHandle split = MakeRecord(Square(0, 0, 1, 1), {}, 0.5);
    DepthPolygonHandle last = MakeRecord(Square(0, 0, 1, 1), {}, 0.5);
    (*first)->serial = 100;
    (*split)->serial = 200;
    (*last)->serial = 300;
    (*first)->next = split;
    (*split)->next = last;
    sorter->head = first;
    // The record before is the one whose next is split: both links follow.
    DepthPolygonHandle holder = split;
    EXPECT_TRUE(sorter->SplitRecord(first, &holder, first));
    std::vector<SInt32> serials;
    for (DepthPolygonHandle r = sorter->head; r; r = (*r)->next) serials.push_back((*r)->serial);
    EXPECT_EQ(serials, c.expected);
    EXPECT_EQ((*holder)->serial, c.expected[1]);
    while (sorter->head) {
      DepthPolygonHandle next = (*sorter->head)->next;
      FreeRecord(sorter, sorter->head);
      sorter->head = next;
    }
    sorter->Dispose();
    EXPECT_EQ(PortLiveHandleCount(), live);
  }
}

TEST(DepthRecords, AFailedSplitLeavesTheListAndNoBlocksBehind) {
  auto* sorter = new ScriptedSorter;
  sorter->IVLDepthBuffer();
  sorter->fail = true;
  DepthPolygonHandle first = MakeRecord(Square(0, 0, 1, 1), {}, 0.5);
  DepthPolygonHandle split = MakeRecord(Square(0, 0, 1, 1), {}, 0.5);
  (*first)->next = split;
  const long live = PortLiveHandleCount();
  DepthPolygonHandle holder = split;
  EXPECT_THROW(sorter->SplitRecord(first, &holder, first), DETException);
  EXPECT_EQ(holder, split);
  EXPECT_EQ((*first)->next, split);
  EXPECT_EQ((*split)->pointCount, 4);
  EXPECT_EQ(PortLiveHandleCount(), live);
  FreeRecord(sorter, first);
  FreeRecord(sorter, split);
  sorter->Dispose();
}

TEST(DepthRecords, OverlaysAreCutByAPlaneIntoANewChainInReverseOrder) {
  Sorter sorter;
  const long live = PortLiveHandleCount();
  // Three overlays: across x = 5, wholly kept, wholly cut away.
  Handle a = MakeOverlay(Square(0, 0, 10, 4), 0.25, 1);
  Handle b = MakeOverlay(Square(6, 0, 8, 2), 0.5, 2);
  Handle c = MakeOverlay(Square(0, 0, 3, 3), 0.75, 3);
  OverlayHeader(a)->next = b;
  OverlayHeader(b)->next = c;
  const Vector3d normal{1, 0, 0};
  Handle chain = sorter->ClipSubPolygons(a, &normal, -5.0);  // keeps x >= 5
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(OverlayHeader(chain)->face, 2) << "the last one made comes first";
  EXPECT_EQ(OverlayHeader(chain)->shade, 0.5);
  Handle second = OverlayHeader(chain)->next;
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(OverlayHeader(second)->face, 1);
  EXPECT_EQ(OverlayHeader(second)->pointCount, 4);
  for (SInt16 i = 0; i < 4; ++i) EXPECT_GE(OverlayPoints(second)[i].x, 5.0);
  EXPECT_EQ(OverlayHeader(second)->next, nullptr);
  // The old chain is the caller's and unchanged.
  EXPECT_EQ(OverlayHeader(a)->pointCount, 4);
  DepthPolygonHandle holder = NewDepthPolygon();
  (*holder)->overlays = chain;
  FreeRecord(sorter.buffer, holder);
  (*(holder = NewDepthPolygon()))->overlays = a;
  FreeRecord(sorter.buffer, holder);
  EXPECT_EQ(PortLiveHandleCount(), live);
}

TEST(DepthRecords, PointClipperKeepsTheNonNegativeSide) {
  Sorter sorter;
  const std::vector<Vector3d> square = Square(0, 0, 4, 4);
  const Vector3d normal{0, 1, 0};
  ASSERT_EQ(sorter->ClipPointsToPlane(&normal, -1.0, square.data(), 4), 4);  // y >= 1
  for (SInt16 i = 0; i < 4; ++i) EXPECT_GE(sorter->ScratchPoints()[i].y, 1.0);
  EXPECT_EQ(sorter->ClipPointsToPlane(&normal, -5.0, square.data(), 4), 0);
  EXPECT_EQ(sorter->ClipPointsToPlane(&normal, 0.0, square.data(), 4), 4) << "a point on the plane is kept";
  EXPECT_EQ(sorter->ClipPointsToPlane(&normal, 0.0, square.data(), 0), 0);
}

}  // namespace
