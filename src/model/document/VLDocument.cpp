#include "VLDocument.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <new>
#include <string>

#include "Alerts.h"
#include "CDecorator.h"
#include "CMenuManager.h"
#include "CPane.h"
#include "CPreferences.h"
#include "CWindow.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "FilePaths.h"
#include "Resources.h"
#include "TextLines.h"
#include "Unwinding.h"
#include "VLANSIDataFile.h"
#include "VLApplication.h"
#include "VLDocumentViews.h"
#include "VLUser3DObject.h"
#include "ViewDrawingFlags.h"

SInt32 gObjectCount = 0;
SInt16 gPhaseCounter = 0;
VLViewPane* gCurrentViewPane = nullptr;

namespace {

constexpr SInt16 kToolGroupSetUp[VLDocument::kToolGroups] = {2, 0, -1, -1, 0, 0, -1};
constexpr SInt16 kObjectListBlock = 50;
constexpr double kDefaultSnapSpacing = 0.5;
const Str255 kEndOfPhases("End of Phases");

template <class T>
T* Made(T* object) {
  ThrowIfNil(object);
  return object;
}

VLApplication* ProgramApplication() { return dynamic_cast<VLApplication*>(gApplication); }

}  // namespace

// ---- objectHolderType ----

objectHolderType::~objectHolderType() {
  delete objectList;
  delete selectionList;
}

// ---- Construction and set-up ----

VLDocument::VLDocument() = default;

VLDocument::~VLDocument() = default;

void VLDocument::InitNewDocument(CDirectorOwner* supervisor, Boolean isPrintable, SInt16 number) {
  // The number first, so that a document disposed half made still gives it back.
  untitledNumber = number;

  // Known units for the set-up below.
  if (const VLApplication* application = ProgramApplication()) {
    gLengthFormat = application->GetFeetFormat();
    gAngleFormat = application->GetAngleFormats()[0];
  }

  VLAbstractDocument::InitNewDocument(supervisor, isPrintable, number);

  refreshOnActivation = 0;
  drawingInProgress = 0;
  itsSavedViews = Made(new (std::nothrow) VLArray(VLArray::kPointerSize));
  itsWalkthroughViews = Made(new (std::nothrow) VLArray(VLArray::kPointerSize));
  itsPhases = Made(new (std::nothrow) VLIndexedCluster(long(sizeof(PhaseRecord))));
  gCurrentPhases = itsPhases;

  sceneWindowCounters[0] = sceneWindowCounters[1] = 0;
  itsFile = nullptr;
  itsOutputStream = nullptr;
  dirty = false;
  for (CCollaborator*& window : itsSubWindows) window = nullptr;
  subWindowCount = 0;
  for (SInt16 group = 0; group < kToolGroups; ++group) toolGroupDefaults[group] = kToolGroupSetUp[group];
  gAxisX = 0;
  gAxisY = 1;
  gAxisZ = 2;

  itsObjectHolder = Made(new (std::nothrow) objectHolderType);
  itsObjectHolder->objectList = Made(new (std::nothrow) VLArray(VLArray::kPointerSize));
  itsObjectHolder->objectList->SetBlockSize(kObjectListBlock);
  itsObjectHolder->selectionList = Made(new (std::nothrow) VLArray(VLArray::kPointerSize));
  itsObjectHolder->selectionList->SetBlockSize(kObjectListBlock);
  gCurrentObjectList = itsObjectHolder->objectList;
  gCurrentSelection = itsObjectHolder->selectionList;
  gObjectCount = 0;
  itsObjectHolder->objectCount = 0;
  itsObjectHolder->reservedWord = -1;

  modelBox[0] = modelBox[1] = modelBox[2] = kEmptyBoxMinimum;
  modelBox[3] = modelBox[4] = modelBox[5] = kEmptyBoxMaximum;

  itsViews = Made(gDocumentViewsMaker ? gDocumentViewsMaker(this) : nullptr);
  itsViews->MakeBackgroundGrid(modelBox);
  itsViews->MakeNorthArrow(5.0, 25.0);

  gWorkingPlane = nullptr;
  stateFlag = 0;
  // Each plane goes into the list as soon as it is made, so that the list disposes of it.
  itsWorkingPlane = InsertPlane(itsViews->MakeWorkingPlane());
  itsSectionPlane = InsertPlane(itsViews->MakeSectionPlane());
  gObjectCount = SInt32(itsObjectHolder->objectList->GetNumItems());

  itsViews->MakeSpiderGrid();
  itsPreferences = Made(new (std::nothrow) CPreferences);
  itsPreferences->SetDefaults();
  itsViews->MakeDuplicator();

  itsObjectHolder->objectCount = gObjectCount;
  latitude = 40.0;
  groundPlaneVisible = 1;
  displayFlags[0] = displayFlags[1] = displayFlags[2] = 1;
}

VLUser3DObject* VLDocument::InsertPlane(VLUser3DObject* plane) {
  Owned<VLUser3DObject> owned(plane);
  itsObjectHolder->objectList->InsertAtIndex(&plane, 1);
  return owned.release();
}

void VLDocument::AppendPhase(ConstStringPtr phaseName, SInt32 key) {
  PhaseRecord record;
  record.visible = 1;
  record.selectable = 1;
  PStrCopy(record.name, phaseName, 255);
  itsPhases->Append(&record, key);
}

void VLDocument::MakeDefaultPhases() {
  SInt16 made = 0;
  for (SInt16 n = 1; n <= kMaxDefaultPhases; ++n) {
    Str255 phaseName;
    PortGetListString(phaseName, kPhaseStrings, n);
    if (PortResError() != noErr || PStrEqual(phaseName, kEndOfPhases)) break;
    AppendPhase(phaseName, n);
    ++made;
  }
  phaseCounter = made;
  currentPhase = 1;
}

void VLDocument::MakeWorkingView() {
  Owned<CCollaborator> view(itsViews->MakeWorkingView(viewNumberCounter));
  ++viewNumberCounter;
  Str255 viewName;
  PortGetListString(viewName, kViewStrings, kWorkingViewName);
  itsViews->NameWorkingView(view.get(), viewName);
  CCollaborator* saved = view.get();
  itsSavedViews->InsertAtIndex(&saved, 1);
  view.release();  // the saved views hold it now
  Owned<CCollaborator> copy(Made(itsViews->CopyView(saved)));
  itsWalkthroughViews->AppendPointer(copy.get());
  copy.release();
}

void VLDocument::NewFile() {
  ThrowIfNil(itsPhases);
  MakeDefaultPhases();
  BuildWindow();

  Str255 title;
  UntitledTitle(untitledNumber, title);
  SetName(title);
  FinishSetUp();
}

void VLDocument::FinishSetUp(bool workingViewMade) {
  UpdateWindowTitle();
  itsViews->TakeModelBox(modelBox);
  if (!workingViewMade) MakeWorkingView();
  currentToolGroup = 0;
  GetMaterialList()->ReadPrefs();

  const double fileSpacing = GetSnapGridSpacing();
  const double snapSpacing = workingViewMade && fileSpacing > 0.0
                                 ? fileSpacing
                                 : vltext::DefaultLength(kSnapGridDefault, kDefaultSnapSpacing);

  PublishUnits();
  itsViews->RefreshView();
  const bool shown = CatchFailures(
      [&] {
        if (itsWindow) itsWindow->Show();
        itsViews->SetSnapGridSpacing(snapSpacing);
        VLApplication* application = ProgramApplication();
        if (application && !application->DocumentSetUpFlag()) {
          DoCommand(cmdObjectInfo);
          application->DocumentSetUpFlag() = true;
        }
      },
      nullptr);
  if (!shown) Close(false);
}

// ---- Commands ----

void VLDocument::DoCommand(long command) {
  if (!itsPreferences) {
    VLAbstractDocument::DoCommand(command);
    return;
  }
  if (DoModelCommand(command) || DoViewCommand(command) || DoMaterialCommand(command)) return;
  Boolean changed = false;
  switch (command) {
    case cmdSnapToGrid:
      gSnapToGrid = gSnapToGrid ? 0 : 1;
      break;
    case cmdViewFactors:
      changed = itsPreferences->RunViewFactorsDialog();
      if (changed && itsViews)
        itsViews->SetViewFactors(itsPreferences->GetViewRotateFactor(), itsPreferences->GetViewMoveFactor());
      break;
    case cmdReservedSetting:
      changed = itsPreferences->AskReservedSetting();
      break;
    case cmdSnapToHandleDistance:
      changed = itsPreferences->AskSnapToHandleDistance();
      break;
    case cmdRotation:
      if (itsViews) itsViews->DrawNow();
      changed = itsPreferences->RunRotationDialog();
      break;
    case cmdCircleFaceting:
      changed = itsPreferences->AskCircleFaceting();
      break;
    case cmdPerspectiveLink:
      changed = itsPreferences->RunPerspectiveLinkDialog();
      break;
    default:
      VLAbstractDocument::DoCommand(command);
      return;
  }
  if (changed) SetChanged(true);
}

void VLDocument::Notify(CTask* task) {
  InvalidateOtherViews();
  VLAbstractDocument::Notify(task);
}

void VLDocument::InvalidateOtherViews() { RefreshSubWindows(); }

// ---- Window ----

void VLDocument::BuildWindow() {
  ThrowIfNil(itsViews);
  CWindow* window = itsViews->MakeWindow();
  itsWindow = window;
  itsMainPane = itsViews->BuildPanes(window);
  PublishViewPane();
  SetFirstTarget(itsMainPane);
  if (gDecorator) gDecorator->PlaceNewWindow(window, true);
}

void VLDocument::GetPhaseName(SInt16 phase, StringPtr phaseName) const {
  phaseName[0] = 0;
  if (!itsPhases || itsPhases->IndexOfKey(phase) == 0) return;
  PhaseRecord record;
  itsPhases->GetItemByKey(&record, phase);
  PStrCopy(phaseName, record.name, 255);
}

void VLDocument::UpdateWindowTitle() {
  if (!itsWindow) return;
  Str255 title(name);
  Str255 phaseName;
  GetPhaseName(currentPhase, phaseName);
  PStrConcat(title, Str255(" - "));
  PStrConcat(title, phaseName);
  itsWindow->SetTitle(title);
}

// ---- Publishing ----

void VLDocument::PublishObjectLists() {
  gCurrentObjectList = GetObjectList();
  gCurrentSelection = GetSelectionList();
  gObjectCount = gCurrentObjectList ? SInt32(gCurrentObjectList->GetNumItems()) : 0;
}

// ---- Tool groups ----


SInt16 VLDocument::GetGroupTool(SInt16 group) const {
  return group >= 0 && group < kToolGroups ? toolGroupDefaults[group] : SInt16(-1);
}

void VLDocument::SetGroupTool(SInt16 group, SInt16 tool) {
  if (group >= 0 && group < kToolGroups) toolGroupDefaults[group] = tool;
}

void VLDocument::PublishUnits() {
  if (!itsPreferences) return;
  const Format& length = itsPreferences->GetLengthFormat();
  const Format& angle = itsPreferences->GetAngleFormat();
  gLengthFormat = length;
  if (length.UsedUnits() > 0) gLengthEntryUnit = length.units[0];
  gAngleFormat = angle;
  if (angle.UsedUnits() > 0) gAngleEntryUnit = angle.units[0];
  if (itsViews) itsViews->ReformatLocation();
}

void VLDocument::RebuildPhaseList() {
  gCurrentPhases = itsPhases;
  gPhaseCounter = phaseCounter;
  gCurrentPhase = currentPhase;
}

void VLDocument::TakeCurrentPhase() { currentPhase = gCurrentPhase; }

void VLDocument::PublishViewPane() {
  gCurrentViewPane = itsViews->GetViewPane();
  gCurrentMaterials = GetMaterialList();
}

void VLDocument::CheckNewTextures() {
  D3TMaterialList* materials = GetMaterialList();
  if (!materials->TexturesFolderChanged()) return;
  PortSetAlertTexts(nullptr, nullptr, nullptr, nullptr);
  if (PortAlert(D3TMaterialList::kTexturesChangedAlert) == 1) materials->ScanTexturesFolder();
  materials->NoteTexturesFolderDate();
}

void VLDocument::ActivateWindow() {
  PublishObjectLists();
  RebuildPhaseList();
  if (itsViews) itsViews->AttachToolWindows();
  NotifyDependents(kSavedViewsChanged, itsSavedViews);
  NotifyDependents(kWalkthroughChanged, itsWalkthroughViews);
  if (itsViews) PublishViewPane();
  BuildViewsMenu();
  if (itsViews) itsViews->RestoreTool(currentToolGroup, toolGroupDefaults);
  if (refreshOnActivation) {
    refreshOnActivation = 0;
    MarkAllObjectsChanged();
    if (itsViews) itsViews->RecomputeAndRedraw();
  }
  PublishUnits();
  CheckNewTextures();
  VLAbstractDocument::ActivateWindow();
}

void VLDocument::DeactivateWindow() {
  // Only what is this document's: another document may have been activated first.
  if (gCurrentSelection && gCurrentSelection == GetSelectionList()) gCurrentSelection = nullptr;
  if (gCurrentObjectList && gCurrentObjectList == GetObjectList()) gCurrentObjectList = nullptr;
  gWorkingPlaneOn = 0;
  ClearViewsMenu();
  NotifyDependents(kDocumentDeactivated, nullptr);
  if (itsViews) itsViews->DetachToolWindows();
  VLAbstractDocument::DeactivateWindow();
}

// ---- Saved-view menu ----

void VLDocument::BuildViewsMenu() {
  if (!itsSavedViews || !gMenuManager || !itsViews) return;
  MenuRecord* menu = gMenuManager->GetMenuByID(kViewsMenu);
  if (!menu) return;
  // The saved-view commands of any document first, then whatever lies beyond the fixed items.
  const long views = itsSavedViews->GetNumItems() > kMaxViews ? itsSavedViews->GetNumItems() : kMaxViews;
  for (long n = 1; n <= views; ++n)
    if (gMenuManager->HasCommand(cmdSavedViewBase + n)) gMenuManager->RemoveCommandItem(cmdSavedViewBase + n);
  const SInt16 fixedItems = gViewsMenuItemCount > 0 ? gViewsMenuItemCount : 0;
  while (menu->CountItems() > fixedItems) {
    const long command = menu->items.back().command;
    if (command != 0)
      gMenuManager->RemoveCommandItem(command);
    else
      menu->items.pop_back();
  }

  Str255 itemText;
  PortGetListString(itemText, kViewStrings, kWorkingViewItem);
  gMenuManager->AddCommandItem(cmdWorkingView, itemText, kViewsMenu, menu->CountItems());
  for (long position = 2; position <= itsSavedViews->GetNumItems(); ++position) {
    auto* view = static_cast<CCollaborator*>(itsSavedViews->PointerAt(position));
    Str255 viewName;
    itsViews->GetViewName(view, viewName);
    gMenuManager->AddCommandItem(cmdSavedViewBase + position, viewName, kViewsMenu, menu->CountItems());
    const SInt16 index = itsViews->GetViewIndex(view);
    if (index >= 0 && index <= 9 && !menu->items.empty()) menu->items.back().keyEquivalent = UInt8('0' + index);
  }
}

void VLDocument::ClearViewsMenu() {
  if (!gMenuManager || !itsSavedViews) return;
  for (long n = itsSavedViews->GetNumItems(); n >= 1; --n) gMenuManager->RemoveCommandItem(cmdSavedViewBase + n);
}

// ---- Values held by the views ----

void VLDocument::GetBackgroundGrid(double* halfSize, double* spacing) const {
  *halfSize = 0.0;
  *spacing = 0.0;
  if (itsViews) itsViews->GetBackgroundGrid(halfSize, spacing);
}

void VLDocument::SetBackgroundGrid(double halfSize, double spacing) {
  if (itsViews) itsViews->SetBackgroundGrid(halfSize, spacing);
}

double VLDocument::GetSnapGridSpacing() const { return itsViews ? itsViews->GetSnapGridSpacing() : 0.0; }

void VLDocument::SetSnapGridSpacing(double spacing) {
  if (itsViews) itsViews->SetSnapGridSpacing(spacing);
}

double VLDocument::GetWallThickness() const { return itsViews ? itsViews->GetWallThickness() : 0.0; }

void VLDocument::SetWallThickness(double thickness) {
  if (itsViews) itsViews->SetWallThickness(thickness);
}

void VLDocument::RecomputeModelBounds() {
  modelBox[0] = modelBox[1] = modelBox[2] = kEmptyBoxMinimum;
  modelBox[3] = modelBox[4] = modelBox[5] = kEmptyBoxMaximum;
  if (itsViews) itsViews->ExtendBoxByGrid(modelBox);
  VLArray* objects = GetObjectList();
  if (!objects) return;
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i))) ExtendModelBounds(object);
}

Boolean VLDocument::ExtendModelBounds(VLUser3DObject* object) {
  if (!object) return false;
  double box[6] = {kEmptyBoxMinimum, kEmptyBoxMinimum, kEmptyBoxMinimum,
                   kEmptyBoxMaximum, kEmptyBoxMaximum, kEmptyBoxMaximum};
  object->GetBounds(&box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
  Boolean grew = false;
  for (int axis = 0; axis < 3; ++axis) {
    if (box[axis] > box[axis + 3]) continue;  // an object without extent
    if (box[axis] < modelBox[axis] || box[axis + 3] > modelBox[axis + 3]) grew = true;
    modelBox[axis] = std::min(modelBox[axis], box[axis]);
    modelBox[axis + 3] = std::max(modelBox[axis + 3], box[axis + 3]);
  }
  return grew;
}

// ---- Disposal ----

void VLDocument::DisposeList(VLArray*& list) {
  if (!list) return;
  for (long i = 1; i <= list->GetNumItems(); ++i)
    if (auto* item = static_cast<CCollaborator*>(list->PointerAt(i))) item->Dispose();
  delete list;
  list = nullptr;
}

Boolean VLDocument::Close(Boolean quitting) {
  // The sub-windows close first and must not publish the document they are leaving.
  closing = true;
  const Boolean closed = VLAbstractDocument::Close(quitting);
  if (!closed) closing = false;
  return closed;
}

void VLDocument::Dispose() {
  // The sub-windows first, while everything they show is still here; each gives up its slot.
  closing = true;
  for (SInt16 slot = 1; slot <= kSubWindowSlots; ++slot)
    if (CCollaborator* window = itsSubWindows[slot - 1]) window->Dispose();
  NotifyDependents(kDocumentDisposed, nullptr);

  if (itsFile) {
    itsFile->Dispose();
    itsFile = nullptr;
  } else if (untitledNumber != 0) {
    untitledNumber = 0;
    if (VLApplication* application = ProgramApplication()) application->EndNesting();
  }
  if (itsOutputStream) {
    std::fclose(itsOutputStream);
    itsOutputStream = nullptr;
  }

  DisposeList(itsSavedViews);
  DisposeList(itsWalkthroughViews);

  // The working plane and the pane go with the document: the drawing state and the published
  // pane must not outlive them.
  if (itsViews && gWorkingPlane && gWorkingPlane == itsViews->GetWorkingPlaneTool()) {
    gWorkingPlane = nullptr;
    gWorkingPlaneOn = 0;
  }
  if (itsViews && gCurrentViewPane && gCurrentViewPane == itsViews->GetViewPane()) gCurrentViewPane = nullptr;
  if (gCurrentMaterials == GetMaterialList()) gCurrentMaterials = nullptr;

  if (itsObjectHolder) {
    VLArray* objects = itsObjectHolder->objectList;
    if (objects && gCurrentObjectList == objects) {
      gCurrentObjectList = nullptr;
      gObjectCount = 0;
    }
    if (itsObjectHolder->selectionList && gCurrentSelection == itsObjectHolder->selectionList)
      gCurrentSelection = nullptr;
    DisposeList(itsObjectHolder->objectList);
    itsObjectHolder->Dispose();
    itsObjectHolder = nullptr;
  }
  itsSectionPlane = nullptr;
  itsWorkingPlane = nullptr;

  if (itsPhases) {
    if (gCurrentPhases == itsPhases) gCurrentPhases = nullptr;
    itsPhases->Dispose();
    itsPhases = nullptr;
  }

  if (itsViews) {
    itsViews->Dispose();
    itsViews = nullptr;
  }
  if (itsPreferences) {
    itsPreferences->Dispose();
    itsPreferences = nullptr;
  }
  if (IsActive()) gWorkingPlaneOn = 0;
  itsMainPane = nullptr;
  VLAbstractDocument::Dispose();
}

// ---- The application's native document ----

VLAbstractDocument* MakeNativeDocument() { return new (std::nothrow) VLDocument; }

void InstallNativeDocument() {
  VLDocument::ClassInfo();
  objectHolderType::ClassInfo();
  gNativeDocumentMaker = MakeNativeDocument;
}
