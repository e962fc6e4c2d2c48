// The coordinate text bar outside any window: what the crosshair's notices show, the modes, the
// keys that move between fields, and what a typed view point makes of the view.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CFeetInchesPane.h"
#include "CWorkingPlaneTool.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "Format.h"
#include "PString.h"
#include "UnitBase.h"
#include "VLTextBar.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"

namespace {

// The bar's supervisor; it records the keys that reach it.
class RecordingRoot : public CPane {
 public:
  RecordingRoot() { Init(nullptr, nullptr, 700, 300, 0, 0, sizFIXEDLEFT, sizFIXEDTOP); }
  void DoKeyDown(char c, UInt8, EventRecord*) override { keys.push_back(int(UInt8(c))); }
  std::vector<int> keys;
};

class TextBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = {gLengthFormat, gModelLengthUnit, gLengthEntryUnit};
    gModelLengthUnit = gFeet;
    gLengthEntryUnit = gFeet;
    gLengthFormat = Format({gFeet}, Format::kDecimals, 2);
    gTextBarTyped = 0;
    gFieldTyped[0] = gFieldTyped[1] = gFieldTyped[2] = 0;
    root = new RecordingRoot;
    bar = new VLTextBar;
    bar->IVLTextBar(root, root);
  }
  void TearDown() override {
    if (gCommandTarget && gCommandTarget != root) gCommandTarget = nullptr;
    root->Dispose();
    gLengthFormat = saved.length;
    gModelLengthUnit = saved.modelLength;
    gLengthEntryUnit = saved.lengthEntry;
  }
  static std::string Text(VLLocationPane* field) {
    Str255 s;
    field->GetTextString(s);
    return s.Std();
  }
  Vector3d Shown(bool offsets) const {
    auto value = [&](SInt16 i) { return (offsets ? bar->GetOffsetField(i) : bar->GetPointField(i))->GetValue(); };
    return {value(0), value(1), value(2)};
  }
  void Notice(long reason, Vector3d p) { bar->ProviderChanged(nullptr, reason, &p); }

  struct Saved {
    Format length;
    UnitBase modelLength, lengthEntry;
  } saved;
  RecordingRoot* root = nullptr;
  VLTextBar* bar = nullptr;
};

const Vector3d* ToPoint(const Vector3d& p) { return &p; }

void ExpectPoint(const Vector3d& actual, const Vector3d& expected) {
  EXPECT_DOUBLE_EQ(actual.x, expected.x);
  EXPECT_DOUBLE_EQ(actual.y, expected.y);
  EXPECT_DOUBLE_EQ(actual.z, expected.z);
}

TEST_F(TextBarTest, LaysOutSixLengthFieldsAlongTheBottom) {
  LongRect frame;
  bar->GetFrameInEnclosure(&frame);
  EXPECT_EQ(frame.bottom, 300);
  EXPECT_EQ(frame.top, 300 - kLocationBarHeight);
  EXPECT_EQ(frame.right, 700);
  const SInt16 lefts[6] = {15, 84, 153, 237, 306, 375};
  for (SInt16 i = 0; i < 3; ++i) {
    for (CFeetInchesPane* field : {bar->GetPointField(i), bar->GetOffsetField(i)}) {
      LongRect place;
      field->GetFrameInEnclosure(&place);
      EXPECT_EQ(place.top, 3);
      EXPECT_EQ(place.right - place.left, 54);
      EXPECT_EQ(place.bottom - place.top, 16);
      EXPECT_EQ(field->GetKind(), 1);
      EXPECT_EQ(field->GetPrecision(), 3);
      EXPECT_EQ(field->GetFieldIndex(), i);
    }
    LongRect place;
    bar->GetPointField(i)->GetFrameInEnclosure(&place);
    EXPECT_EQ(place.left, lefts[i]);
    bar->GetOffsetField(i)->GetFrameInEnclosure(&place);
    EXPECT_EQ(place.left, lefts[i + 3]);
  }
  EXPECT_EQ(Text(bar->GetTextField()), "");
  EXPECT_EQ(bar->GetMode(), LocationBar::kModeOff);
}

TEST_F(TextBarTest, ModeOffEmptiesTheFieldsAndIgnoresClicks) {
  bar->SetMode(LocationBar::kModePoint);
  EXPECT_TRUE(bar->GetPointField(0)->WantsClicks());
  Notice(VLTextBar::kShowPoint, {1, 2, 3});
  bar->ShowText(Str255("45"), true);
  EXPECT_EQ(Text(bar->GetPointField(1)), "2.00'");
  bar->SetMode(LocationBar::kModeOff);
  for (SInt16 i = 0; i < 3; ++i) {
    EXPECT_EQ(Text(bar->GetPointField(i)), "");
    EXPECT_EQ(Text(bar->GetOffsetField(i)), "");
    EXPECT_FALSE(bar->GetPointField(i)->WantsClicks());
    EXPECT_FALSE(bar->GetOffsetField(i)->WantsClicks());
  }
  EXPECT_EQ(Text(bar->GetTextField()), "");
}

TEST_F(TextBarTest, NoticesShowThePointAndItsOffsetFromTheReference) {
  bar->SetMode(LocationBar::kModePoint);
  Notice(VLTextBar::kReferenceNow, {5, 0, 0});
  ExpectPoint(Shown(true), {0, 0, 0});
  Notice(VLTextBar::kShowPointNow, {7, 2, 1});
  ExpectPoint(Shown(false), {7, 2, 1});
  ExpectPoint(Shown(true), {2, 2, 1});
  Notice(VLTextBar::kReferenceOrigin, {});
  Notice(VLTextBar::kShowPoint, {7, 2, 1});
  ExpectPoint(Shown(true), {7, 2, 1});
  Vector3d reference;
  bar->GetReferencePoint(&reference);
  ExpectPoint(reference, {0, 0, 0});
  // View entry keeps its own reference; the point entry's is left alone.
  bar->SetMode(LocationBar::kModeView);
  Notice(VLTextBar::kReference, {1, 1, 1});
  Notice(VLTextBar::kShowPoint, {4, 1, 1});
  ExpectPoint(Shown(true), {3, 0, 0});
  bar->GetReferencePoint(&reference);
  ExpectPoint(reference, {0, 0, 0});
}

TEST_F(TextBarTest, TheReferenceIsGivenInTheWorkingPlanesFrameWhileItIsOn) {
  auto* plane = new CWorkingPlaneTool;
  plane->InitPlane(0, 0, 0, 0);
  plane->ComputeMatrices();
  bar->SetMode(LocationBar::kModePoint);
  Notice(VLTextBar::kReference, {10, 0, 0});
  gWorkingPlane = plane;
  gWorkingPlaneOn = 1;
  Vector3d inPlane, reference;
  plane->WorldToPlane(ToPoint({10, 0, 0}), &inPlane);
  ASSERT_GT(std::fabs(inPlane.y), 1.0) << "the plane is turned";
  bar->GetReferencePoint(&reference);
  ExpectPoint(reference, inPlane);
  // Only point entry's reference is the plane's.
  bar->SetMode(LocationBar::kModeView);
  bar->GetReferencePoint(&reference);
  ExpectPoint(reference, {10, 0, 0});
  gWorkingPlaneOn = 0;
  gWorkingPlane = nullptr;
  plane->Dispose();
}

TEST_F(TextBarTest, TheAngleTurnedShowsInTheTextField) {
  bar->SetAngleText("45.00", true);
  EXPECT_EQ(Text(bar->GetTextField()), "45.00");
  long start = -1, end = -1;
  bar->GetTextField()->GetSelection(&start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 5);
  bar->SetAngleText("", false);
  EXPECT_EQ(Text(bar->GetTextField()), "");
}

TEST_F(TextBarTest, TabMovesToTheNextFieldOfTheGroup) {
  bar->SetMode(LocationBar::kModePoint);
  EventRecord e{};
  bar->FocusOffsetField(2);
  EXPECT_EQ(gCommandTarget, bar->GetOffsetField(2));
  // Not typed into: only the focus moves (there is no view pane to apply to anyway).
  bar->GetOffsetField(2)->DoKeyDown(kTabChar, kTabKeyCode, &e);
  EXPECT_EQ(gCommandTarget, bar->GetOffsetField(0));
  bar->FocusPointField(1);
  bar->GetPointField(1)->DoKeyDown(kTabChar, kTabKeyCode, &e);
  EXPECT_EQ(gCommandTarget, bar->GetPointField(2));
  // Other keys climb to the supervisor.
  bar->DoKeyDown('q', 0, &e);
  EXPECT_EQ(root->keys, std::vector<int>{'q'});
}

TEST_F(TextBarTest, AMeasurementThatDoesNotParseIsNotApplied) {
  bar->SetMode(LocationBar::kModePoint);
  Notice(VLTextBar::kShowPoint, {1, 2, 3});
  EventRecord e{};
  bar->FocusOffsetField(0);
  CFeetInchesPane* field = bar->GetOffsetField(0);
  field->SetTextString(Str255(""));
  for (char c : std::string("5x")) field->DoKeyDown(c, 0, &e);
  field->DoKeyDown(kTabChar, kTabKeyCode, &e);
  EXPECT_EQ(gCommandTarget, field) << "the Tab is swallowed";
  EXPECT_DOUBLE_EQ(field->GetValue(), 1.0);
}

// ---- Classifying ----

// An eye at (0, 0, 10) over the origin, looking down with the minimum distance 5.
VLViewTransform PlanCamera(Vector3d eye, Vector3d look) {
  VLViewTransform view;
  view.IVLViewTransform(400, 300);
  view.lookPoint = look;
  const Vector3d d{eye.x - look.x, eye.y - look.y, eye.z - look.z};
  const double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  view.planeNormal = {d.x / length, d.y / length, d.z / length};
  view.SetReferenceFromEye(&eye);
  view.minimumEyeDistance = 5.0;
  return view;
}

TEST_F(TextBarTest, ATypedViewPointGivesThePrincipalViewAlongItsAxis) {
  struct Case {
    Vector3d eye, look, typed;
    SInt16 kind;
  };
  const Vector3d oblique{3, 4, 5};
  const Case cases[] = {
      // Straight below the eye, far enough or not: the plan; only when the view looks down.
      {{0, 0, 10}, oblique, {0, 0, 0}, VLTextBar::kPlan},
      {{0, 0, 10}, oblique, {0, 0, 8}, VLTextBar::kNoAxis},
      {{0, 0, 10}, {0, 0, 0}, {0, 0, 8}, VLTextBar::kPlan},
      // Level with the eye along y: the north elevation looks south, from the smaller y.
      {{0, -20, 5}, oblique, {0, 0, 5}, kNorthElevationView},
      {{0, 20, 5}, oblique, {0, 0, 5}, kSouthElevationView},
      {{20, 0, 5}, oblique, {0, 0, 5}, kEastElevationView},
      {{-20, 0, 5}, oblique, {0, 0, 5}, kWestElevationView},
      {{-2, 0, 5}, oblique, {0, 0, 5}, VLTextBar::kNoAxis},
      // The eye itself: the view's own direction decides.
      {{0, -20, 5}, {0, 0, 5}, {0, -20, 5}, kNorthElevationView},
      {{20, 0, 5}, {0, 0, 5}, {20, 0, 5}, kEastElevationView},
      {{0, 0, 10}, {0, 0, 0}, {0, 0, 10}, VLTextBar::kPlan},
      {{0, 0, 10}, oblique, {0, 0, 10}, VLTextBar::kNoAxis},
      {{0, 0, 10}, oblique, {1, 2, 3}, VLTextBar::kNoAxis},
  };
  for (const Case& c : cases) {
    VLViewTransform view = PlanCamera(c.eye, c.look);
    bar->SetViewTransform(&view);
    EXPECT_EQ(bar->ClassifyLookPoint(c.typed), c.kind)
        << "eye " << c.eye.x << "," << c.eye.y << "," << c.eye.z << " typed " << c.typed.x << "," << c.typed.y << ","
        << c.typed.z;
    bar->SetViewTransform(nullptr);
  }
  EXPECT_EQ(bar->ClassifyEyePoint({0, 0, 0}), VLTextBar::kNoAxis) << "no view";
}

}  // namespace
