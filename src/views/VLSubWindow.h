// A second window on a native document: a further 3D view of the same model with a view pane
// and a view transform of its own. The document keeps up to five in numbered slots
// (VLDocument::AddSubWindow); the document is its supervisor, so it closes with the document.
// While it is active its pane is gCurrentViewPane, so the tools and the document's view
// commands act on it.
//
// It holds a view pane, which the shell's libraries beneath the views cannot make: it lives
// with the views. The coordinate text bar below the pane comes with the document window's.
#pragma once

#include "CDirector.h"
#include "MacTypes.h"

class VLDocument;
class VLViewPane;

class VLSubWindow : public CDirector {
  VL_REGISTERED_CLASS(VLSubWindow, CDirector)

 public:
  static constexpr SInt16 kWindowResource = 500;

  VLSubWindow() = default;

  // Under the document, in the slot (0: none) with the number: a window of source's size
  // (at least the scroll pane's 402 by 280 when a size is 0) whose pane takes a copy of the
  // source pane's view transform, display flags, view command, drawing plane and current
  // point. The title is the document's title, " - ", the active saved view's name, " - " and
  // the number. Placed and shown. A failure disposes of the sub-window and passes on.
  void Init(VLDocument* document, VLViewPane* source, SInt16 width, SInt16 height, SInt16 slot, SInt16 number);
  // The window from resource 500 with a scroll pane filling it and the view pane inside.
  virtual void MakeWindow(SInt16 width, SInt16 height);
  // The document's other views redraw when next activated; the slot is given up.
  void Dispose() override;
  // The pane becomes current with the document's lists, phases, views menu and tool; a model
  // changed meanwhile projects afresh.
  void ActivateWindow() override;
  // The working-plane and vertex-edit modes end; the views menu and the document's current
  // sub-window are cleared.
  void DeactivateWindow() override;

  void SetNeedsRefresh(UInt8 refresh) { needsRefresh = refresh ? 1 : 0; }
  UInt8 NeedsRefresh() const { return needsRefresh; }
  VLViewPane* GetPane() const { return pane; }
  SInt16 GetNumber() const { return number; }
  SInt16 GetSlot() const { return slot; }

 private:
  // The pane takes the source's view and state.
  void CopyView(VLViewPane* source);
  void SetTitle();

  VLViewPane* pane = nullptr;
  VLDocument* document = nullptr;
  UInt8 needsRefresh = 0;
  SInt16 number = 0;
  SInt16 slot = 0;
};
