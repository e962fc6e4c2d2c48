// The view pane's life: initialisation with its own objects, disposal, activation and
// deactivation, the display mode it publishes, and the end of constructions and shadow mode.
#include "VLViewPane.h"

#include <memory>
#include <new>
#include <utility>

#include "CRayTracer.h"
#include "CPreferences.h"
#include "CShadowCaster.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "LocationBar.h"
#include "ObjectList.h"
#include "Selection.h"
#include "VLCrosshairCursor.h"
#include "VLDepthBuffer.h"
#include "VLDocument.h"
#include "VLGWorld.h"
#include "VLGrid.h"
#include "VLHorizonLine.h"
#include "VLPaneDocumentViews.h"
#include "VLOutlineTask.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"
#include "Unwinding.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

UInt8 gWindowResized = 0;

namespace {

constexpr double kDefaultNavigationFactor = 20.0;
constexpr double kNavigationStepScale = 0.02;
constexpr long kConstructionEndedNotice = 10;
constexpr long kZoomChanged = 5000;

// The model objects' polylines close within a share of the pane's snapping distance.
double PaneSnappingDistance(VLViewPane* pane) { return pane ? pane->SnapDistance() : 0.0; }

// A new object for the pane, owned until the pane keeps it; kDEErrorNotEnoughMemory without one.
template <typename T>
Owned<T> Make() {
  Owned<T> made(new (std::nothrow) T);
  if (!made) ThrowError(kDEErrorNotEnoughMemory, Str255("VLViewPane::IVLViewPane"));
  return made;
}

}  // namespace

VLViewPane::~VLViewPane() {
  if (gCurrentViewPane == this) gCurrentViewPane = nullptr;
  if (gCurrentViewTransform && gCurrentViewTransform == viewTransform) gCurrentViewTransform = nullptr;
}

void VLViewPane::IVLViewPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                             SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, VLDocument* doc,
                             LocationBar* bar) {
  gTrackingDrawing = 0;
  partialCopy = 0;
  windowShowsOffscreen = 1;
  IPanorama(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing);
  gPaneSnapDistance = PaneSnappingDistance;
  SetWantsClicks(true);
  perspectiveActive = 1;
  document = doc;
  viewFlag = 0;

  // Every object the pane owns is made before any is kept, so that a failure leaves none.
  Owned<VLViewTransform> view = Make<VLViewTransform>();
  view->IVLViewTransform(width, height);
  Owned<VLGWorldOS> world = Make<VLGWorldOS>();
  paneRect = Rect{0, 0, height, width};
  if (world->IVLGWorld(&paneRect) != noErr || world->UseScreenDepth() != noErr)
    ThrowError(kDEErrorNotEnoughMemory, Str255("VLViewPane::IVLViewPane: no offscreen world"));
  world->BeginDrawing();
  world->EndDrawing();
  GetFrame(&savedFrame);
  Owned<VLCrosshairCursor> cross = Make<VLCrosshairCursor>();
  cross->IVLCrosshairCursor(view.get(), world.get(), &paneRect, GetMacPort(), this);
  currentPoint = {};
  Owned<CRayTracer> tracer = Make<CRayTracer>();
  tracer->IRayTracer(&paneRect, doc);
  Owned<VLHorizonLine> horizon = Make<VLHorizonLine>();
  horizon->IVLHorizonLine();
  horizon->SetOptions(doc ? doc->GetGroundPlaneVisible() : 0, tracer->groundColor, tracer->showGround,
                      tracer->showSky, tracer->skyColor, 1);
  viewTransform = view.release();
  offscreen = world.release();
  crosshair = cross.release();
  rayTracer = tracer.release();
  horizonLine = horizon.release();

  wireframe = 1;
  hiddenLine = shaded = shadowMode = 0;
  viewToolCommand = kPerspectiveCommand;
  showingSavedView = backgroundShown = drawingIntoPicture = selectedOnly = zoomed = sketchShown = 0;
  redrawNeeded = 1;
  SetNavigationFactors(kDefaultNavigationFactor, kDefaultNavigationFactor);
  // The bar shows where the crosshair is, from now on.
  textBar = bar;
  if (textBar) {
    textBar->AsCollaborator()->AttachToProvider(crosshair);
    textBar->SetViewTransform(viewTransform);
  }
  SetLocationBarMode(LocationBar::kModePoint);
  polylineUnderConstruction = lastChainBlock = polylineTask = openingOwner = nullptr;
  openingTask = nullptr;
  shadowCaster = nullptr;
  gWorkingPlaneOn = 0;
  gWorkingPlane = nullptr;
  lastPickDepth = -1.0;
  quickCopyAllowed = 1;
  if (VLGrid* grid = DocumentGrid()) crosshair->SetCrosshairExtent(grid->GetHalfSize());
  if (document) crosshair->SetSnapSpacing(document->GetSnapGridSpacing());
}

void VLViewPane::Dispose() {
  // An opening outline still being clicked was never handed up: it is the pane's.
  if (openingTask) openingTask->Dispose();
  openingTask = nullptr;
  if (offscreen) offscreen->Dispose();
  offscreen = nullptr;
  if (crosshair) crosshair->Dispose();
  crosshair = nullptr;
  if (rayTracer) rayTracer->Dispose();
  rayTracer = nullptr;
  if (gCurrentViewTransform && gCurrentViewTransform == viewTransform) gCurrentViewTransform = nullptr;
  if (viewTransform) viewTransform->Dispose();
  viewTransform = nullptr;
  if (horizonLine) horizonLine->Dispose();
  horizonLine = nullptr;
  if (shadowCaster) shadowCaster->Dispose();
  shadowCaster = nullptr;
  CPanorama::Dispose();
}

// ---- Activation ----

void VLViewPane::PublishDisplayMode() const {
  gWireframeMode = wireframe;
  gShadedMode = shaded;
  gHiddenLineMode = hiddenLine;
  gShadowMode = shadowMode;
}

void VLViewPane::Activate() {
  if (offscreen) offscreen->RecreateSaved();
  double zoom = double(bounds.right - bounds.left) / double(paneRect.right > 0 ? paneRect.right : 1);
  NotifyDependents(kZoomChanged, &zoom);
  gCurrentViewPane = this;
  gCurrentViewTransform = viewTransform;
  PrepareDrawingPort();
  Point mouse;
  PortGetMouse(&mouse);
  if (crosshair) crosshair->RecordMouse(mouse);
  lastUpdate = paneRect;
  if (document) {
    gCurrentObjectList = document->GetObjectList();
    gCurrentSelection = document->GetSelectionList();
  }
  PublishDisplayMode();
  CPanorama::Activate();
  CopyOffscreenToWindow();
  windowShowsOffscreen = 1;
}

void VLViewPane::Deactivate() {
  gWorkingPlaneOn = 0;
  gWorkingPlane = nullptr;
  if (gCurrentViewPane == this) gCurrentViewPane = nullptr;
  // The drawing plane chosen in the perspective and axonometric views comes back with them.
  if (document && (viewToolCommand == kPerspectiveCommand || viewToolCommand == kAxonometricCommand))
    document->SetGroupTool(4, document->GetGroupTool(3));
  if (gCurrentSelection) EraseFeedback();
  CPanorama::Deactivate();
}

void VLViewPane::MouseExited(Point) { CopyOffscreenToWindow(); }

// ---- Construction, shadow mode, navigation factors ----

void VLViewPane::EndConstruction() {
  gTrackingDrawing = 0;
  partialCopy = 0;
  if (document) document->NotifyDependents(kConstructionEndedNotice, nullptr);
  polylineUnderConstruction = nullptr;
  polylineTask = nullptr;
  Refresh();
}

void VLViewPane::LeaveShadowMode() {
  if (shadowCaster) shadowCaster->Dispose();
  shadowCaster = nullptr;
  shadowMode = gShadowMode = 0;
  shaded = gShadedMode = 1;
  hiddenLine = gHiddenLineMode = 1;
  Refresh();
}

void VLViewPane::SetNavigationFactors(double rotate, double move) {
  rotateFactor = rotate;
  moveFactor = move;
  rotateStep = rotate * kNavigationStepScale;
  moveStep = move * kNavigationStepScale;
}

void VLViewPane::GetNavigationFactors(double* rotate, double* move) const {
  *rotate = rotateFactor;
  *move = moveFactor;
}

void VLViewPane::MarkObjectsChanged() {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  for (long i = 1; objects && i <= objects->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i))) object->MarkChanged();
}

// ---- Locating ----

double VLViewPane::SnapDistance() const {
  CPreferences* preferences = document ? document->GetPreferences() : nullptr;
  return preferences ? preferences->GetSnapToHandleDistance() : 0.0;
}

VLGrid* VLViewPane::DocumentGrid() const {
  auto* views = document ? dynamic_cast<VLPaneDocumentViews*>(document->GetViews()) : nullptr;
  return views ? views->grid : nullptr;
}

VLNorthArrow* VLViewPane::DocumentNorthArrow() const {
  auto* views = document ? dynamic_cast<VLPaneDocumentViews*>(document->GetViews()) : nullptr;
  return views ? views->northArrow : nullptr;
}
