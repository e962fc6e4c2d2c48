#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"

namespace {

using modeltest::BoxRecord;
using modeltest::NoticeRecorder;
using modeltest::ObjectPtr;
using modeltest::PaletteStandIn;
using modeltest::ReadObject;
using modeltest::SelectionList;
using modeltest::ShownPhase;

// A block as the block's own reader leaves it: no current opening.
ObjectPtr Box(double x) {
  ObjectPtr box = ReadObject(BoxRecord({x, 0, 0}, {x + 1, 1, 1}));
  box->currentOpening = -1;
  return box;
}

std::vector<long> Reasons(const NoticeRecorder& recorder) {
  std::vector<long> reasons;
  for (const auto& notice : recorder.heard) reasons.push_back(notice.reason);
  return reasons;
}

TEST(Selection, ThePaletteFollowsTheSingleSelectedObject) {
  ShownPhase phase;
  SelectionList selection;
  PaletteStandIn palette;
  ObjectPtr a = Box(0), b = Box(2), c = Box(4);

  a->Select();
  EXPECT_TRUE(palette.LinkedWith(a.get()));
  ASSERT_EQ(Reasons(palette), (std::vector<long>{kInfoShowMe}));
  ASSERT_TRUE(palette.heard[0].hasRecord);
  EXPECT_EQ(palette.heard[0].record.position, (Vector3d{0, 0, 0}));
  EXPECT_EQ(palette.heard[0].record.size, (Vector3d{1, 1, 1}));

  // A second selection: the first says it is no longer shown and lets go of the palette.
  b->Select();
  ASSERT_EQ(Reasons(palette), (std::vector<long>{kInfoShowMe, kInfoDeselected}));
  EXPECT_FALSE(palette.heard[1].hasRecord);
  EXPECT_FALSE(palette.HasProvider(a.get()));
  EXPECT_FALSE(a->HasProvider(&palette));
  EXPECT_EQ(palette.multipleSelections, 1);

  // A third changes nothing in the palette, nor does going back to two.
  c->Select();
  c->Deselect();
  EXPECT_EQ(palette.heard.size(), 2u);
  EXPECT_EQ(palette.multipleSelections, 1);
  EXPECT_EQ(selection.Objects(), (std::vector<VLUser3DObject*>{a.get(), b.get()}));

  // Back to one: the one left is shown.
  a->Deselect();
  EXPECT_TRUE(palette.LinkedWith(b.get()));
  ASSERT_EQ(Reasons(palette), (std::vector<long>{kInfoShowMe, kInfoDeselected, kInfoShowMe}));
  EXPECT_EQ(palette.heard[2].record.position, (Vector3d{2, 0, 0}));

  // None left: the last says so and lets go.
  b->Deselect();
  EXPECT_EQ(Reasons(palette), (std::vector<long>{kInfoShowMe, kInfoDeselected, kInfoShowMe, kInfoDeselected}));
  EXPECT_FALSE(palette.HasProvider(b.get()));
  EXPECT_FALSE(b->HasProvider(&palette));
  EXPECT_TRUE(selection.Objects().empty());
  for (const ObjectPtr* o : {&a, &b, &c}) EXPECT_FALSE((*o)->selected);
}

TEST(Selection, ObjectsThatCannotBeSelectedStayOut) {
  ShownPhase phase;
  SelectionList selection;
  ObjectPtr hidden = Box(0), otherPhase = Box(2);
  hidden->hidden = 1;
  otherPhase->phase = 2;  // no such phase: neither shown nor selectable
  for (VLUser3DObject* o : {hidden.get(), otherPhase.get()}) {
    o->Select();
    o->SelectFace(1);
    o->ToggleSelection();
    o->SelectHit(nullptr, nullptr, 0.0, -1);
    EXPECT_FALSE(o->selected);
    EXPECT_FALSE(o->faceMode);
  }
  EXPECT_TRUE(selection.Objects().empty());
}

TEST(Selection, SelectingAFaceOfASelectedObjectSwitchesToThatFace) {
  ShownPhase phase;
  SelectionList selection;
  ObjectPtr box = Box(0);
  box->Select();
  box->Select();  // already selected: nothing
  EXPECT_EQ(selection.Objects().size(), 1u);
  EXPECT_FALSE(box->faceMode);
  box->SelectFace(4);
  EXPECT_TRUE(box->faceMode);
  EXPECT_EQ(box->currentFace, 4);
  EXPECT_EQ(selection.Objects().size(), 1u);
  box->SelectFace(2);
  EXPECT_EQ(box->currentFace, 2);
  box->ToggleSelection();
  EXPECT_FALSE(box->selected);
  EXPECT_FALSE(box->faceMode);
  box->ToggleSelection();
  EXPECT_TRUE(box->selected);
  EXPECT_FALSE(box->faceMode);
}

TEST(Selection, WithoutASelectionListNothingIsSelectedNorInFaceMode) {
  ShownPhase phase;
  ObjectPtr box = Box(0);
  box->SelectFace(4);
  EXPECT_FALSE(box->selected);
  EXPECT_FALSE(box->faceMode);
}

TEST(Selection, WithThePaletteClosedOnlyTheListAndTheFlagsChange) {
  ShownPhase phase;
  SelectionList selection;
  ObjectPtr a = Box(0), b = Box(2);
  NoticeRecorder listener;
  listener.AttachToProvider(a.get());
  a->Select();
  b->Select();
  a->Deselect();
  const Vector3d offset{1, 0, 0};
  a->Move(&offset);  // the palette's notice goes to no one while it is closed
  EXPECT_TRUE(listener.heard.empty());
  EXPECT_EQ(selection.Objects(), (std::vector<VLUser3DObject*>{b.get()}));
  listener.DetachFromProvider(a.get());
}

TEST(Selection, AnObjectWithACurrentOpeningLeavesThePaletteAlone) {
  ShownPhase phase;
  SelectionList selection;
  PaletteStandIn palette;
  ObjectPtr a = Box(0);
  a->Select();
  a->currentOpening = 0;
  a->Deselect();
  EXPECT_EQ(Reasons(palette), (std::vector<long>{kInfoShowMe}));
  EXPECT_TRUE(palette.LinkedWith(a.get()));
  palette.DetachFromProvider(a.get());
  a->DetachFromProvider(&palette);
}

TEST(Selection, ForcedDeselectionLetsGoWhateverRemains) {
  ShownPhase phase;
  SelectionList selection;
  PaletteStandIn palette;
  ObjectPtr a = Box(0), b = Box(2), c = Box(4);
  a->Select();
  b->Select();
  palette.heard.clear();
  // Taken into a group: the one left is not shown, as it would be after Deselect.
  a->ForceDeselect();
  EXPECT_FALSE(a->selected);
  EXPECT_EQ(selection.Objects(), (std::vector<VLUser3DObject*>{b.get()}));
  EXPECT_FALSE(palette.HasProvider(b.get()));
  EXPECT_TRUE(palette.heard.empty());
  b->ForceDeselect();

  // The object the palette shows says it no longer is, and lets go.
  c->Select();
  c->ForceDeselect();
  EXPECT_EQ(Reasons(palette), (std::vector<long>{kInfoShowMe, kInfoDeselected}));
  EXPECT_FALSE(palette.HasProvider(c.get()));
  EXPECT_FALSE(c->HasProvider(&palette));
  EXPECT_TRUE(selection.Objects().empty());
}

TEST(Hiding, HiddenObjectsAreDeselectedAndShowComesBackChanged) {
  ShownPhase phase;
  SelectionList selection;
  PaletteStandIn palette;
  ObjectPtr box = Box(0);
  box->SelectFace(4);
  box->Hide();
  EXPECT_TRUE(box->hidden);
  EXPECT_FALSE(box->selected);
  EXPECT_FALSE(box->faceMode);
  EXPECT_TRUE(selection.Objects().empty());
  EXPECT_EQ(Reasons(palette), (std::vector<long>{kInfoShowMe, kInfoDeselected}));

  // Not drawn and not picked.
  EXPECT_FALSE(box->IsVisible());
  const Rect everywhere{-1000, -1000, 1000, 1000};
  box->screenBounds = everywhere;
  EXPECT_FALSE(box->HitScreenBounds(&everywhere));
  EXPECT_FALSE(box->PointInScreenBounds(Point{0, 0}));
  const Vector3d origin{0.5, 0.5, 5}, down{0, 0, -1};
  double distance = 100.0;
  SInt16 face = -1;
  EXPECT_FALSE(box->PickFace(Point{0, 0}, &origin, &down, &distance, &face));
  box->Select();
  EXPECT_FALSE(box->selected);

  box->changed = box->needsRedraw = 0;
  box->Show();
  EXPECT_FALSE(box->hidden);
  EXPECT_FALSE(box->selected);
  EXPECT_TRUE(box->changed);
  EXPECT_TRUE(box->needsRedraw);
  EXPECT_TRUE(box->PickFace(Point{0, 0}, &origin, &down, &distance, &face));

  // Showing what is shown marks nothing.
  box->changed = box->needsRedraw = 0;
  box->Show();
  EXPECT_FALSE(box->changed);
  EXPECT_FALSE(box->needsRedraw);
}

}  // namespace
