// The standard popup pane: a box showing the current item of its popup menu, with a shadow and
// a down arrow; a press opens the menu over the box with the current item under the mouse,
// and a choice becomes the current item (the menu broadcasts it; the pane shows it).
#pragma once

#include "CPane.h"

class CPopupMenu;

class CStdPopupPane : public CPane {
  VL_REGISTERED_CLASS(CStdPopupPane, CPane)

 public:
  CStdPopupPane() = default;
  ~CStdPopupPane() override;

  void IStdPopupPane(SInt16 menuID, CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                     SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing);
  // Makes the pane's popup menu for 'MENU' menuID.
  virtual void SetUpMenu(SInt16 menuID);
  CPopupMenu* GetPopupMenu() const { return itsMenu; }
  // The popup box fills the frame; subclasses lay out a label beside it.
  virtual void Layout();

  SInt16 GetValue() const;
  // Makes the item current.
  void SetValue(SInt16 item);

  void Draw(const Rect* area) override;
  // The box's frame, shadow and arrow.
  virtual void DrawPopup();
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;

 protected:
  CPopupMenu* itsMenu = nullptr;
  Rect popupRect;           // the box, in the pane's coordinates
  SInt16 popupLeft = 0;     // where the item text starts, left of it the box's edge
  SInt16 textMargin = 6;    // from the box's left edge to the item text
  SInt16 popupHeight = 0;   // the box's height
};
