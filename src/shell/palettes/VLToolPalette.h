// The floating "Tools" window: the selection, drawing, opening and view tools, the working-plane
// orientations, two snapping switches and the zoom percentage. The palette keeps no tool state:
// a click asks the current view pane to switch tools (VLIconPaneFClicks.cpp) and the pane calls
// back to select and deselect icons; every selection made here is posted on the application's
// event broker as a palette event (channel 2).
#pragma once

#include "ToolIconDisplay.h"
#include "VLApplication.h"

class CToolBackgroundPane;
class VLIconPaneF;
class VLModeIconPane;
class VLZoomPane;

class VLToolPalette : public VLPaletteDirector, public ToolIconDisplay {
  VL_REGISTERED_CLASS(VLToolPalette, VLPaletteDirector)

 public:
  static constexpr SInt16 kToolIconCount = 24;
  static constexpr SInt16 kPlaneIconCount = 4;
  static constexpr SInt16 kWindowID = 131;
  // Notices the palette follows: the view's zoom factor (a double), a scene document became
  // active, a scene mode chosen and left (a 32-bit mode).
  static constexpr long kZoomChanged = 5000;
  static constexpr long kSceneActivated = FourCharReason("Doc5");
  static constexpr long kSceneModeChosen = FourCharReason("Doc6");
  static constexpr long kSceneModeLeft = FourCharReason("Doc7");

  VLToolPalette() = default;

  // The director under its supervisor, then the window: floating, from window resource 131, with
  // the grey background, the icons and the zoom field (100), shown. The palette becomes
  // gToolPalette and the view panes' gToolIconDisplay.
  void IVLToolPalette(CDirectorOwner* supervisor);
  // Forgets gToolPalette and gToolIconDisplay when they are this palette.
  void Dispose() override;

  // Redraws the icon with that code at once (nothing for a code below 0 or without an icon).
  virtual void RedrawIcon(SInt16 code);
  // Selects the tool icon of the index (none below 0), then posts a palette event with the index.
  void SelectToolIcon(SInt16 index) override;
  void DeselectToolIcons() override;
  // The same for the plane icons.
  void SelectPlaneIcon(SInt16 index) override;
  void DeselectPlaneIcons() override;
  // Enables and disables the icons by what the current view pane and its document allow.
  void UpdateIcons() override;

  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;
  // After each event the icons follow the current view pane, its document and the selection.
  // When a view pane comes where there was none, every icon is enabled first, as the palette
  // made them, for the pane's answers to take away; the palette becomes the pane's dependent,
  // showing its zoom. While a window without a view pane is in front (a dialog, the start-up
  // screen) the icons stay as they are.
  void EventStep() override;

  VLIconPaneF* FindIcon(SInt16 code) const;
  VLZoomPane* GetZoomField() const { return zoomField; }
  VLIconPaneF* GetToolIcon(SInt16 i) const { return i >= 0 && i < kToolIconCount ? toolIcons[i] : nullptr; }
  VLIconPaneF* GetPlaneIcon(SInt16 i) const { return i >= 0 && i < kPlaneIconCount ? planeIcons[i] : nullptr; }

 protected:
  void BuildWindow();
  // Posts a palette event carrying the number.
  void PostPaletteEvent(SInt32 number);
  // The scene mode's icon (modes 1, 2, 5, 8); 0 for any other mode.
  static SInt16 SceneModeIcon(SInt32 mode);

  VLZoomPane* zoomField = nullptr;
  VLIconPaneF* toolIcons[kToolIconCount] = {};
  VLIconPaneF* planeIcons[kPlaneIconCount] = {};
  VLModeIconPane* modeIcons[2] = {};
  CToolBackgroundPane* background = nullptr;
  // The view pane at the last event step; compared, never used.
  const void* lastViewPane = nullptr;
  SInt16 toolIconCount = kToolIconCount;
  SInt16 planeIconCount = kPlaneIconCount;
};

// The one tool palette, from the application's initialiser to its tear-down; null when none.
extern VLToolPalette* gToolPalette;
// The director of the active scene window; null while none is active (there are no scene
// windows yet).
extern CDirector* gActiveSceneDirector;

// Makes the application's initialiser build the tool palette.
void InstallToolPalette();
