#include "VLTextBar.h"

#include <new>

#include "CEditText.h"
#include "CFeetInchesPane.h"
#include "CWindow.h"
#include "CWorkingPlaneTool.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "QuickDraw.h"
#include "TaskSupport.h"
#include "VLDocument.h"
#include "VLViewPane.h"

namespace {

// The layout of the bar's fields: each 54 by 16, 3 pixels from the bar's top, following its
// bottom edge; the labels 8 by 12, 10 pixels left of their field.
constexpr SInt16 kFieldWidth = 54;
constexpr SInt16 kFieldHeight = 16;
constexpr SInt16 kFieldTop = 3;
constexpr SInt16 kPointFieldLeft[3] = {15, 84, 153};
constexpr SInt16 kOffsetFieldLeft[3] = {237, 306, 375};
constexpr SInt16 kTextFieldLeft = 459;
constexpr SInt16 kLabelWidth = 8;
constexpr SInt16 kLabelHeight = 12;
constexpr SInt16 kLabelGap = 10;
constexpr const char* kPointLabels[3] = {"X", "Y", "Z"};
constexpr const char* kOffsetLabels[3] = {"E", "S", "V"};
constexpr SInt16 kFieldPrecision = 3;
constexpr SInt16 kLabelTextSize = 9;
constexpr long kWholeText = 999;

double Coordinate(const Vector3d& p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

LocationBar* MakeTextBar(CView* enclosure, CBureaucrat* supervisor) {
  auto* bar = new (std::nothrow) VLTextBar;
  if (!bar) return nullptr;
  bar->IVLTextBar(enclosure, supervisor);
  return bar;
}

void ShowAngleInCurrentBar(const char* text, Boolean select) {
  VLViewPane* pane = gCurrentViewPane;
  if (auto* bar = pane ? dynamic_cast<VLTextBar*>(pane->textBar) : nullptr) bar->SetAngleText(text, select);
}

}  // namespace

void InstallTextBar() {
  gLocationBarMaker = MakeTextBar;
  gAngleTextDisplay = ShowAngleInCurrentBar;
}

// ---- Set-up ----

void VLTextBar::IVLTextBar(CView* enclosure, CBureaucrat* supervisor) {
  // The enclosure is the document's window, or a pane in tests.
  SInt16 width = kTextFieldLeft + kFieldWidth, height = kLocationBarHeight;
  if (const auto* window = dynamic_cast<CWindow*>(enclosure)) {
    width = window->GetWidth();
    height = window->GetHeight();
  } else if (const auto* pane = dynamic_cast<CPane*>(enclosure)) {
    width = pane->GetWidth();
    height = pane->GetHeight();
  }
  const auto top = SInt16(height - kLocationBarHeight);
  IPane(enclosure, supervisor, width, kLocationBarHeight, 0, top, sizELASTIC, sizFIXEDBOTTOM);
  for (SInt16 i = 0; i < 3; ++i) {
    pointFields[i] = MakeField(kPointFieldLeft[i], i, kPointLabels[i]);
    offsetFields[i] = MakeField(kOffsetFieldLeft[i], i, kOffsetLabels[i]);
  }
  textField = new (std::nothrow) VLLocationPane;
  ThrowIfNil(textField);
  textField->IVLLocationPane(this, this, kFieldWidth, kFieldHeight, kTextFieldLeft, kFieldTop, sizFIXEDLEFT,
                             sizFIXEDBOTTOM, kFieldWidth, 0.0, -1);
  textField->SetTextString(Str255(""));
  textField->SetJustification(2);
  pointReference = viewReference = {};
  mode = kModeOff;
  erasePending = 0;
}

CFeetInchesPane* VLTextBar::MakeField(SInt16 h, SInt16 index, const char* label) {
  auto* field = new (std::nothrow) CFeetInchesPane;
  ThrowIfNil(field);
  field->IVLLocationPaneWithBorder(this, this, kFieldWidth, kFieldHeight, h, kFieldTop, sizFIXEDLEFT, sizFIXEDBOTTOM,
                                   kFieldWidth, 0.0, index);
  field->SetKind(1);
  field->SetPrecision(kFieldPrecision);
  field->SetJustification(2);
  field->SetWantsClicks(true);
  auto* name = new (std::nothrow) CEditText;
  ThrowIfNil(name);
  name->IEditText(this, this, kLabelWidth, kLabelHeight, SInt16(h - kLabelGap), SInt16(kFieldTop + 2), sizFIXEDLEFT,
                  sizFIXEDBOTTOM, kLabelWidth);
  name->SetFontName(Str255("Geneva"));
  name->SetFontSize(kLabelTextSize);
  name->SetTextString(Str255(label));
  name->SetWantsClicks(false);
  return field;
}

// ---- Modes and shown points ----

void VLTextBar::SetMode(UInt16 newMode) {
  mode = newMode;
  if (mode == kModeOff) {
    textField->SetTextString(Str255(""));
    textField->RedrawNow();
  }
  for (SInt16 i = 0; i < 3; ++i) {
    for (CFeetInchesPane* field : {pointFields[i], offsetFields[i]}) {
      field->SetWantsClicks(mode != kModeOff);
      if (mode != kModeOff) continue;
      field->SetTextString(Str255(""));
      field->RedrawNow();
    }
  }
}

void VLTextBar::ShowPoint(const Vector3d& point, Boolean redraw) {
  for (int axis = 0; axis < 3; ++axis) {
    const Boolean changed = pointFields[axis]->SetValue(Coordinate(point, axis));
    if (redraw && (changed || mode != kModePoint)) pointFields[axis]->RedrawNow();
  }
  ShowOffsets(point, redraw);
}

void VLTextBar::ShowOffsets(const Vector3d& point, Boolean redraw) {
  const Vector3d& reference = CurrentReference();
  for (int axis = 0; axis < 3; ++axis) {
    const Boolean changed = offsetFields[axis]->SetValue(Coordinate(point, axis) - Coordinate(reference, axis));
    if (redraw && (changed || mode != kModePoint)) offsetFields[axis]->RedrawNow();
  }
}

void VLTextBar::SetReference(const Vector3d& point, Boolean redraw) {
  (mode == kModeView ? viewReference : pointReference) = point;
  for (CFeetInchesPane* field : offsetFields)
    if (field->SetValue(0.0) && redraw) field->RedrawNow();
}

void VLTextBar::GetReferencePoint(Vector3d* point) const {
  *point = pointReference;
  // The pane adds typed offsets to it in the working plane's frame.
  if (mode == kModePoint && gWorkingPlaneOn && gWorkingPlane) gWorkingPlane->WorldToPlane(&pointReference, point);
}

void VLTextBar::ShowText(ConstStringPtr text, Boolean redraw) {
  textField->SetTextString(text);
  if (redraw) textField->RedrawNow();
}

void VLTextBar::SetAngleText(const char* text, Boolean select) {
  Str255 shown;
  PStrFromStd(text ? text : "", shown);
  textField->SetTextString(shown);
  if (select) textField->SetSelection(0, kWholeText, false);
  textField->RedrawNow();
}

void VLTextBar::FocusPointField(SInt16 index) {
  if (!InRange(index)) return;
  CFeetInchesPane* field = pointFields[index];
  field->SetSelection(0, kWholeText, true);
  field->Activate();
  field->BecomeCommandTarget(true);
}

void VLTextBar::FocusOffsetField(SInt16 index) {
  if (!InRange(index)) return;
  CFeetInchesPane* field = offsetFields[index];
  field->SetSelection(0, kWholeText, true);
  field->Activate();
  field->BecomeCommandTarget(true);
}

void VLTextBar::RedrawNow() {
  Prepare();
  LongRect bounds = frame;
  Rect area;
  LongToQDRect(&bounds, &area);
  DrawAll(&area);
}

void VLTextBar::ReformatFields() {
  for (SInt16 i = 0; i < 3; ++i) {
    pointFields[i]->ShowValue();
    offsetFields[i]->ShowValue();
  }
  Refresh();
}

// ---- Notices and drawing ----

void VLTextBar::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  const Vector3d origin{};
  const auto* point = static_cast<const Vector3d*>(info);
  switch (reason) {
    case kShowPointNow:
    case kShowPoint:
      if (point) ShowPoint(*point, reason == kShowPointNow);
      break;
    case kReferenceNow:
    case kReference:
      if (point) SetReference(*point, reason == kReferenceNow);
      break;
    case kReferenceOriginNow:
    case kReferenceOrigin:
      SetReference(origin, reason == kReferenceOriginNow);
      break;
    default:
      CPane::ProviderChanged(provider, reason, info);
      break;
  }
}

void VLTextBar::ChangeSize(const Rect* delta, Boolean redraw) {
  erasePending = 1;
  CPane::ChangeSize(delta, redraw);
}

void VLTextBar::Draw(const Rect* area) {
  if (!erasePending) return;
  PortEraseRect(area);
  erasePending = 0;
}
