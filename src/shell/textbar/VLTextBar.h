// The coordinate text bar along the bottom of a document window: where the crosshair is, as a
// point ("X", "Y", "Z") and as an offset from a reference point ("E", "S", "V"), and a free text.
// The user types coordinates instead of clicking: Tab applies a typed field and moves to the next
// field of its group, Return or Enter applies it and gives the keys back to the view pane.
//
// Modes (LocationBar): 0 off, 1 point entry (the locator moves to the typed point, a drawing in
// progress follows it), 2 view entry (the typed point becomes the view's look or eye point, and a
// point straight along an axis gives the plan or an elevation).
//
// Implemented in VLTextBar.cpp (fields, display, notices) and VLTextBarEntry.cpp (the keys,
// applying a typed point, classifying a view point).
#pragma once

#include "CPane.h"
#include "LocationBar.h"
#include "PString.h"

class CFeetInchesPane;
class CEditText;
class VLLocationPane;
class VLViewPane;

class VLTextBar : public CPane, public LocationBar {
  VL_REGISTERED_CLASS(VLTextBar, CPane)

 public:
  // Notices the bar takes from the crosshair (info: three doubles, none for the last two).
  enum : long {
    kShowPointNow = 5000,
    kShowPoint = 5001,
    kReferenceNow = 5002,
    kReference = 5003,
    kReferenceOriginNow = 5004,
    kReferenceOrigin = 5005,
  };
  // What a typed view point makes of the view (ClassifyLookPoint, ClassifyEyePoint): plan, the
  // elevations by their view kinds (2 to 5), or no principal view.
  static constexpr SInt16 kNoAxis = 0;
  static constexpr SInt16 kPlan = 1;
  // The plane codes the view pane keeps for the views the bar chooses.
  static constexpr SInt16 kPlanCode = 6000;
  static constexpr SInt16 kAxonometricCode = 6004;
  static constexpr SInt16 kFirstElevationCode = 6100;

  VLTextBar() = default;

  // The bar across the bottom of the enclosure (as wide as it, kLocationBarHeight high, following
  // its width and bottom edge) with its six coordinate fields (lengths, precision 3, right-aligned,
  // framed, field indices 0 to 2 in each group), their one-letter labels and the empty text field.
  // Both references are the origin; mode 0.
  virtual void IVLTextBar(CView* enclosure, CBureaucrat* supervisor);

  CCollaborator* AsCollaborator() override { return this; }
  // A word kept for the caller; the bar never reads it.
  virtual void SetClientWord(SInt32 word) { clientWord = word; }
  SInt32 GetClientWord() const { return clientWord; }
  void SetViewTransform(VLViewTransform* view) override { viewTransform = view; }
  // Any mode but 0 makes the coordinate fields clickable; mode 0 empties every field, makes the
  // coordinate fields ignore clicks and redraws them at once.
  void SetMode(UInt16 newMode) override;
  UInt16 GetMode() const override { return mode; }
  // In mode 1 a field is redrawn only when its value changed as well.
  void ShowPoint(const Vector3d& point, Boolean redraw) override;
  // Mode 2 keeps its own reference.
  void SetReference(const Vector3d& point, Boolean redraw) override;
  void GetReferencePoint(Vector3d* point) const override;
  // The text field's text; redrawn at once when asked.
  virtual void ShowText(ConstStringPtr text, Boolean redraw);
  // The angle a rotation turned, in the text field at once, its whole text selected when asked.
  virtual void SetAngleText(const char* text, Boolean select);
  // Indices outside 0 to 2 are ignored.
  void FocusPointField(SInt16 index) override;
  void FocusOffsetField(SInt16 index) override;
  // Draws the bar and its fields at once.
  virtual void RedrawNow();
  // Every coordinate field in the document's current units, then the bar is refreshed.
  void ReformatFields() override;
  // What the typed point q makes of the view transform's view when it becomes the look point
  // (compared with the eye) or the eye point (compared with the eye as it is): kPlan, an
  // elevation's view kind (2 to 5) or kNoAxis. kNoAxis without a view transform.
  virtual SInt16 ClassifyLookPoint(const Vector3d& q) const;
  virtual SInt16 ClassifyEyePoint(const Vector3d& q) const;

  // The crosshair's notices (above); others go to the class library.
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;
  // Tab, Return and Enter from a coordinate field (VLTextBarEntry.cpp); other keys go to the
  // supervisor.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;
  // A new size erases the whole bar at the next draw.
  void ChangeSize(const Rect* delta, Boolean redraw) override;
  void Draw(const Rect* area) override;

  CFeetInchesPane* GetPointField(SInt16 index) const { return InRange(index) ? pointFields[index] : nullptr; }
  CFeetInchesPane* GetOffsetField(SInt16 index) const { return InRange(index) ? offsetFields[index] : nullptr; }
  VLLocationPane* GetTextField() const { return textField; }

 private:
  static bool InRange(SInt16 index) { return index >= 0 && index < 3; }
  // The reference of the current mode: mode 2 has its own.
  const Vector3d& CurrentReference() const { return mode == kModeView ? viewReference : pointReference; }
  // Shows the offsets of the point from the current reference.
  void ShowOffsets(const Vector3d& point, Boolean redraw);
  // Makes one coordinate field and its label.
  CFeetInchesPane* MakeField(SInt16 h, SInt16 index, const char* label);
  // The group (0 point, 1 offset) and index of the field that is the command target; false when
  // no coordinate field of the bar is.
  bool FindTargetField(SInt16* group, SInt16* index) const;
  // The point the group's fields give: the point fields' values, or the offsets plus the current
  // mode's reference (the point reference in mode 1).
  Vector3d TypedPoint(SInt16 group) const;
  // Mode 1: the locator moves to p, a drawing in progress follows; with finish it ends there.
  void ApplyPoint(const Vector3d& p, bool finish);
  // Mode 2: p becomes the look point (view tool 0) or the eye point, and the view its kind.
  void ApplyViewPoint(Vector3d p);
  // The view pane takes the kind the bar chose.
  void ShowViewKind(VLViewPane* pane, SInt16 kind);

  CFeetInchesPane* pointFields[3] = {};
  CFeetInchesPane* offsetFields[3] = {};
  VLLocationPane* textField = nullptr;
  Vector3d pointReference;
  Vector3d viewReference;
  SInt32 clientWord = 0;
  VLViewTransform* viewTransform = nullptr;
  UInt16 mode = kModeOff;
  UInt8 erasePending = 0;
};

// Installs the bar as every document window's (gLocationBarMaker) and as the rotation's angle
// display (gAngleTextDisplay), which shows in the current view pane's bar.
void InstallTextBar();
