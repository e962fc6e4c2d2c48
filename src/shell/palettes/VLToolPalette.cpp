#include "VLToolPalette.h"

#include <new>

#include "BrokerRecords.h"
#include "CDesktop.h"
#include "CPaneBorder.h"
#include "CToolBackgroundPane.h"
#include "CWindow.h"
#include "DETException.h"
#include "EventBroker.h"
#include "PaletteViewActions.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLApplication.h"
#include "VLDocument.h"
#include "VLIconPaneF.h"
#include "VLModeIconPane.h"
#include "VLViewPane.h"
#include "VLZoomPane.h"
#include "Windows.h"

VLToolPalette* gToolPalette = nullptr;
CDirector* gActiveSceneDirector = nullptr;

namespace {

constexpr SInt16 kIconWidth = 27;
constexpr SInt16 kIconHeight = 19;

struct IconPlace {
  SInt16 code;
  SInt16 h, v;
};

// The tool icons in the palette's order, where they sit in the window.
constexpr IconPlace kToolIcons[VLToolPalette::kToolIconCount] = {
    {500, 1, 2},   {503, 27, 20},  {600, 1, 39},   {601, 27, 39},   {602, 1, 57},   {603, 27, 57},
    {604, 1, 75},  {605, 27, 75},  {606, 1, 93},   {607, 27, 93},   {700, 1, 112},  {701, 27, 112},
    {800, 1, 131}, {801, 27, 131}, {802, 1, 149},  {803, 27, 149},  {900, 1, 171},  {901, 1, 189},
    {902, 1, 207}, {903, 1, 225},  {1000, 1, 247}, {1001, 27, 247}, {1100, 1, 278}, {1101, 27, 278}};
constexpr IconPlace kPlaneIcons[VLToolPalette::kPlaneIconCount] = {
    {1200, 27, 171}, {1201, 27, 189}, {1202, 27, 207}, {1203, 27, 225}};
constexpr IconPlace kModeIcons[2] = {{VLModeIconPane::kSnapToHandles, 27, 2}, {VLModeIconPane::kSnapToGrid, 1, 20}};
constexpr SInt16 kModeOffCodes[2] = {504, 505};

// The view icons keep their distance from the window's bottom; the rest sit at its top.
bool FixedToBottom(SInt16 code) { return code == 1000 || code == 1001 || code == 1100 || code == 1101; }

constexpr SInt16 kZoomWidth = 51, kZoomHeight = 16, kZoomH = 2, kZoomV = 266;
constexpr double kInitialZoom = 100.0;

// The icons a scene window leaves enabled.
constexpr SInt16 kSceneIcons[] = {500, 1000, 1001, 1101, 1100};
// The icons that a valid tool of the current group enables.
constexpr SInt16 kToolGroupIcons[] = {500, 600, 601, 602, 603,  604,  605,  606,
                                      607, 700, 701, 803, 1000, 1001, 1100, 1101};

template <class Pane>
Pane* Made() {
  auto* pane = new (std::nothrow) Pane;
  FailNIL(pane);
  return pane;
}

}  // namespace

void VLToolPalette::IVLToolPalette(CDirectorOwner* supervisor) {
  Init(supervisor);
  BuildWindow();
  gToolPalette = this;
  gToolIconDisplay = this;
  // The undoable colour change shows the current colour again on its swatch.
  gPaletteItemRedraw = [](SInt16 item) {
    if (gToolPalette) gToolPalette->RedrawIcon(item);
  };
}

void VLToolPalette::BuildWindow() {
  auto* window = Made<CWindow>();
  window->Init(kWindowID, true, gDesktop, this);
  SetWindow(window);
  const SInt16 width = window->GetWidth(), height = window->GetHeight();

  background = Made<CToolBackgroundPane>();
  background->IToolBackgroundPane(window, this, width, height, 0, 0, sizELASTIC, sizELASTIC);

  auto place = [&](VLIconPaneF** slot, const IconPlace& at) {
    auto* icon = Made<VLIconPaneF>();
    icon->IVLIconPaneF(window, this, kIconWidth, kIconHeight, at.h, at.v, sizFIXEDLEFT,
                       FixedToBottom(at.code) ? sizFIXEDBOTTOM : sizFIXEDTOP, at.code);
    *slot = icon;
  };
  for (SInt16 i = 0; i < kToolIconCount; ++i) place(&toolIcons[i], kToolIcons[i]);
  for (SInt16 i = 0; i < kPlaneIconCount; ++i) place(&planeIcons[i], kPlaneIcons[i]);
  for (int i = 0; i < 2; ++i) {
    modeIcons[i] = Made<VLModeIconPane>();
    modeIcons[i]->IVLModeIconPane(window, this, kIconWidth, kIconHeight, kModeIcons[i].h, kModeIcons[i].v, sizFIXEDLEFT,
                                  sizFIXEDTOP, kModeIcons[i].code, kModeOffCodes[i]);
  }

  zoomField = Made<VLZoomPane>();
  zoomField->IVLLocationPaneWithBorder(window, this, kZoomWidth, kZoomHeight, kZoomH, kZoomV, sizFIXEDLEFT,
                                       sizFIXEDBOTTOM, kZoomWidth, kInitialZoom, -1);
  zoomField->SetJustification(1);
  zoomField->SetWantsClicks(true);
  zoomField->SetPrecision(0);
  window->Show();
}

void VLToolPalette::Dispose() {
  if (gToolPalette == this) {
    gToolPalette = nullptr;
    gPaletteItemRedraw = nullptr;
  }
  if (gToolIconDisplay == this) gToolIconDisplay = nullptr;
  VLPaletteDirector::Dispose();
}

VLIconPaneF* VLToolPalette::FindIcon(SInt16 code) const {
  if (code <= 0 || !itsWindow) return nullptr;
  return dynamic_cast<VLIconPaneF*>(itsWindow->FindViewByID(code));
}

void VLToolPalette::RedrawIcon(SInt16 code) {
  if (code < 0 || !itsWindow) return;
  CView* view = itsWindow->FindViewByID(code);
  if (auto* icon = dynamic_cast<VLIconPaneF*>(view))
    icon->RedrawNow();
  else if (auto* mode = dynamic_cast<VLModeIconPane*>(view))
    mode->RedrawNow();
}

void VLToolPalette::PostPaletteEvent(SInt32 number) {
  EventBroker* broker = EventBroker::Current();
  if (!broker) return;
  PaletteEvent event;
  event.sender = this;
  event.word2 = number;
  broker->Post(event);
}

namespace {

// Selects the icon of the tool index among the icons (none for an index below 0).
template <std::size_t N>
void SelectIconOfIndex(VLIconPaneF* (&icons)[N], SInt16 index) {
  if (index < 0) return;
  const SInt16 code = VLIconPaneF::ToolCodeOfIndex(index);
  for (VLIconPaneF* icon : icons)
    if (icon && icon->GetCode() == code) icon->SelectIcon();
}

template <std::size_t N>
void DeselectIcons(VLIconPaneF* (&icons)[N]) {
  for (VLIconPaneF* icon : icons)
    if (icon) icon->DeselectIcon();
}

}  // namespace

void VLToolPalette::SelectToolIcon(SInt16 index) {
  SelectIconOfIndex(toolIcons, index);
  PostPaletteEvent(index);
}

void VLToolPalette::DeselectToolIcons() { DeselectIcons(toolIcons); }

void VLToolPalette::SelectPlaneIcon(SInt16 index) {
  if (planeIconCount > 0) SelectIconOfIndex(planeIcons, index);
  PostPaletteEvent(index);
}

void VLToolPalette::DeselectPlaneIcons() { DeselectIcons(planeIcons); }

namespace {

// Whether the tool is one of the group's (groups 3, 4 and others have none the palette shows).
bool IsPaletteTool(SInt16 group, SInt16 tool) {
  switch (group) {
    case vlpalettes::kSelectionGroup:
    case vlpalettes::kViewGroup:
      return tool == 0 || tool == 1;
    case vlpalettes::kDrawingGroup:
      return tool >= 0 && tool <= 9;
    case vlpalettes::kOpeningGroup:
      return tool >= 0 && tool <= 5;
    default:
      return false;
  }
}

// Which plane icons (1200 to 1203) a view's plane code enables; codes without an entry leave them.
struct PlaneIconsOfView {
  SInt16 planeCode;
  bool enabled[VLToolPalette::kPlaneIconCount];
};
constexpr PlaneIconsOfView kPlaneIconsOfView[] = {
    {6000, {true, false, false, true}},  {6003, {false, true, false, false}}, {6004, {false, true, false, false}},
    {6100, {false, false, true, false}}, {6101, {false, false, true, false}}, {6102, {true, true, true, true}},
    {6103, {true, true, true, true}}};

void Enable(VLIconPaneF* icon, bool enabled) {
  if (!icon) return;
  if (enabled)
    icon->EnableIcon();
  else
    icon->DisableIcon();
}

}  // namespace

void VLToolPalette::UpdateIcons() {
  if (gActiveSceneDirector) return;
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) {
    for (VLIconPaneF* icon : toolIcons) Enable(icon, false);
    for (VLIconPaneF* icon : planeIcons) Enable(icon, false);
    if (zoomField) zoomField->SetWantsClicks(false);
    return;
  }
  if (zoomField) zoomField->SetWantsClicks(true);
  Enable(FindIcon(901), vlpalettes::HasSelectedFreeFace(pane));
  const bool host = vlpalettes::HasOpeningHost(pane);
  Enable(FindIcon(800), host);
  Enable(FindIcon(801), host);
  const bool any = vlpalettes::HasModelObject(pane);
  for (SInt16 code : {802, 900, 902, 903}) Enable(FindIcon(code), any);

  SInt16 group = -1, tool = -1;
  vlpalettes::GetCurrentTool(pane, &group, &tool);
  if (IsPaletteTool(group, tool))
    for (SInt16 code : kToolGroupIcons) Enable(FindIcon(code), true);

  for (const PlaneIconsOfView& view : kPlaneIconsOfView) {
    if (view.planeCode != pane->viewToolCommand) continue;
    for (SInt16 i = 0; i < kPlaneIconCount; ++i) Enable(planeIcons[i], view.enabled[i]);
  }
}

void VLToolPalette::EventStep() {
  const void* pane = gCurrentViewPane;
  // A document window that is inactive only for a while (a dialog in front of it) leaves the
  // icons as they are; they go grey when no window is left.
  if (!pane && PortFrontNonFloatingWindow()) return;
  if (pane && !lastViewPane && !gActiveSceneDirector) {
    for (VLIconPaneF* icon : toolIcons) Enable(icon, true);
    for (VLIconPaneF* icon : planeIcons) Enable(icon, true);
  }
  // The palette follows the zoom the pane broadcasts, from the zoom it has now.
  if (pane && pane != lastViewPane) {
    AttachToProvider(gCurrentViewPane);
    if (zoomField) zoomField->SetValue(100.0 * gCurrentViewPane->ZoomRatio());
  }
  lastViewPane = pane;
  UpdateIcons();
}

SInt16 VLToolPalette::SceneModeIcon(SInt32 mode) {
  switch (mode) {
    case 1:
      return 500;
    case 2:
      return 1000;
    case 5:
      return 1001;
    case 8:
      return 1101;
    default:
      return 0;
  }
}

void VLToolPalette::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  if (reason == kZoomChanged && info) {
    if (zoomField) zoomField->SetValue(100.0 * *static_cast<const double*>(info));
  } else if (reason == kSceneActivated) {
    for (VLIconPaneF* icon : toolIcons)
      if (icon) icon->DisableIcon();
    for (SInt16 code : kSceneIcons)
      if (VLIconPaneF* icon = FindIcon(code)) icon->EnableIcon();
    RedrawIcon(kLookIcon);
    if (zoomField) zoomField->SetWantsClicks(true);
  } else if ((reason == kSceneModeChosen || reason == kSceneModeLeft) && info) {
    const SInt16 code = SceneModeIcon(*static_cast<const SInt32*>(info));
    if (VLIconPaneF* icon = FindIcon(code)) {
      if (reason == kSceneModeChosen)
        icon->SelectIcon();
      else
        icon->DeselectIcon();
    }
    if (reason == kSceneModeChosen) PostPaletteEvent(code ? code : -1);
  } else {
    VLPaletteDirector::ProviderChanged(provider, reason, info);
  }
}

// ---- Installing ----

namespace {

VLPaletteDirector* MakeToolPalette(CDirectorOwner* supervisor) {
  Owned<VLToolPalette> palette(Made<VLToolPalette>());
  palette->IVLToolPalette(supervisor);
  return palette.release();
}

}  // namespace

void InstallToolPalette() {
  VLToolPalette::ClassInfo();
  VLIconPaneF::ClassInfo();
  VLModeIconPane::ClassInfo();
  VLZoomPane::ClassInfo();
  gToolPaletteMaker = MakeToolPalette;
}
