#include "VLStandInDocumentViews.h"

#include <new>
#include <string>

#include "CPaneBorder.h"
#include "CPanorama.h"
#include "DETException.h"
#include "GridLimits.h"
#include "TextLines.h"
#include "Unwinding.h"
#include "VLDocument.h"
#include "VLScrollPane.h"
#include "VLUser3DObject.h"
#include "VLWindow.h"

DocumentViewsMaker gDocumentViewsMaker = MakeStandInDocumentViews;

namespace {

constexpr SInt16 kWallThicknessDefault = 7;

// A plane of the object list: an editable object without geometry that keeps its reference
// point, so that the section point is written and read back. The planes answer whether they are
// shown themselves, whatever their phase; until they can be hidden they are.
class StandInPlane : public VLUser3DObject {
 public:
  Boolean IsVisible() override { return true; }
  Boolean IsSelectable() override { return true; }
  void GetReferencePoint(Vector3d* out) override {
    if (out) *out = reference;
  }
  void Move(const Vector3d* offset) override {
    if (!offset) return;
    reference.x += offset->x;
    reference.y += offset->y;
    reference.z += offset->z;
  }

 private:
  Vector3d reference;
};

// A saved view: its record, index and active flag.
class StandInView : public CCollaborator {
 public:
  CCollaborator* Clone() const override {
    auto* copy = new (std::nothrow) StandInView;
    if (copy) {
      copy->record = record;
      copy->index = index;
      copy->active = active;
    }
    return copy;
  }
  SavedViewRecord record;
  SInt16 index = 0;
  UInt8 active = 0;
};

// A plane with storage of all capacities 0.
VLUser3DObject* MakePlane() {
  Owned<StandInPlane> plane(new (std::nothrow) StandInPlane);
  ThrowIfNil(plane.get());
  plane->AllocateStorage(0, 0, 0, 0);
  return plane.release();
}

}  // namespace

VLDocumentViews* MakeStandInDocumentViews(VLDocument* document) {
  return new (std::nothrow) VLStandInDocumentViews(document);
}

void VLStandInDocumentViews::MakeBackgroundGrid(double* box) {
  double size = 0.0;
  DefaultGridSizeAndSpacing(&size, &spacing);
  halfSize = size / 2.0;
  ExtendBoxByGrid(box);
}

void VLStandInDocumentViews::MakeNorthArrow(double, double) {}

VLUser3DObject* VLStandInDocumentViews::MakeWorkingPlane() { return MakePlane(); }

VLUser3DObject* VLStandInDocumentViews::MakeSectionPlane() { return MakePlane(); }

CWorkingPlaneTool* VLStandInDocumentViews::GetWorkingPlaneTool() { return nullptr; }

void VLStandInDocumentViews::MakeSpiderGrid() {}

void VLStandInDocumentViews::MakeDuplicator() { wallThickness = vltext::DefaultLength(kWallThicknessDefault, 0.5); }

CWindow* VLStandInDocumentViews::MakeWindow() { return VLWindow::Make(VLDocument::kDocumentWindow, document); }

CPane* VLStandInDocumentViews::BuildPanes(CWindow* window) {
  auto* scrollPane = new (std::nothrow) VLScrollPane;
  ThrowIfNil(scrollPane);
  scrollPane->IScrollPane(window, document, window->GetWidth(), window->GetHeight(), 0, 0, sizELASTIC, sizELASTIC,
                          true, true, true);
  SInt16 width = 0;
  SInt16 height = 0;
  scrollPane->GetInteriorLengths(&width, &height);
  auto* pane = new (std::nothrow) CPanorama;
  ThrowIfNil(pane);
  pane->IPanorama(scrollPane, document, SInt16(width - 2), SInt16(height - 2), 1, 1, sizELASTIC, sizELASTIC);
  scrollPane->InstallPanorama(pane);
  auto* border = new (std::nothrow) CPaneBorder(kBorderFrame);
  ThrowIfNil(border);
  pane->SetBorder(border);
  return pane;
}

VLViewPane* VLStandInDocumentViews::GetViewPane() { return nullptr; }

CCollaborator* VLStandInDocumentViews::MakeWorkingView(SInt16 number) {
  auto* view = new (std::nothrow) StandInView;
  ThrowIfNil(view);
  view->record.number = number;
  view->index = 1;
  return view;
}

void VLStandInDocumentViews::NameWorkingView(CCollaborator* view, ConstStringPtr name) {
  if (auto* standIn = dynamic_cast<StandInView*>(view)) {
    standIn->record.name = Str255(name);
    standIn->active = 1;
  }
}

CCollaborator* VLStandInDocumentViews::CopyView(CCollaborator* view) { return view ? view->Clone() : nullptr; }

void VLStandInDocumentViews::GetViewName(CCollaborator* view, StringPtr name) {
  auto* standIn = dynamic_cast<StandInView*>(view);
  name[0] = 0;
  if (standIn) PStrCopy(name, standIn->record.name, 255);
}

SInt16 VLStandInDocumentViews::GetViewIndex(CCollaborator* view) {
  auto* standIn = dynamic_cast<StandInView*>(view);
  return standIn ? standIn->index : 0;
}

void VLStandInDocumentViews::TakeModelBox(const double*) {}

void VLStandInDocumentViews::RefreshView() {}

void VLStandInDocumentViews::RestoreTool(SInt16, const SInt16*) {}

void VLStandInDocumentViews::RecomputeAndRedraw() {}

void VLStandInDocumentViews::DrawNow() {}

void VLStandInDocumentViews::SetViewFactors(double, double) {}

void VLStandInDocumentViews::AttachToolWindows() {}

void VLStandInDocumentViews::DetachToolWindows() {}

void VLStandInDocumentViews::GetBackgroundGrid(double* half, double* space) {
  *half = halfSize;
  *space = spacing;
}

void VLStandInDocumentViews::SetBackgroundGrid(double half, double space) {
  halfSize = half;
  spacing = space;
}

void VLStandInDocumentViews::ExtendBoxByGrid(double* box) {
  const double corner[2][3] = {{-halfSize, -halfSize, 0.0}, {halfSize, halfSize, 0.0}};
  for (const auto& point : corner)
    for (int axis = 0; axis < 3; ++axis) {
      if (point[axis] < box[axis]) box[axis] = point[axis];
      if (point[axis] > box[axis + 3]) box[axis + 3] = point[axis];
    }
}

double VLStandInDocumentViews::GetSnapGridSpacing() { return snapSpacing; }

void VLStandInDocumentViews::SetSnapGridSpacing(double value) { snapSpacing = value; }

void VLStandInDocumentViews::SetDuplicateOffset(double distance) {
  duplicateOffset.x = distance;
  duplicateOffset.y = distance;
}

double VLStandInDocumentViews::GetWallThickness() { return wallThickness; }

void VLStandInDocumentViews::SetWallThickness(double value) { wallThickness = value; }

void VLStandInDocumentViews::GetViewRecord(CCollaborator* view, SavedViewRecord* record) {
  if (auto* standIn = dynamic_cast<StandInView*>(view)) *record = standIn->record;
}

CCollaborator* VLStandInDocumentViews::MakeView(const SavedViewRecord& record, SInt16 index) {
  auto* view = new (std::nothrow) StandInView;
  if (!view) return nullptr;
  view->record = record;
  view->index = index;
  return view;
}

void VLStandInDocumentViews::GetGroundAndSky(RGBColor* ground, RGBColor* sky) {
  *ground = groundColor;
  *sky = skyColor;
}

void VLStandInDocumentViews::SetGroundColor(const RGBColor& colour) { groundColor = colour; }

void VLStandInDocumentViews::SetSkyColor(const RGBColor& colour) { skyColor = colour; }
