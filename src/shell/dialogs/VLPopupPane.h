// The labelled popup pane of dialogs and palettes: the menu's title drawn as a label left of a
// standard popup box that shows the current item, marked in the menu with a bullet. Its owner
// may append and clear items at run time, and a choice is passed on to the pane's dependents
// ('BUR2' with a pointer to the chosen item, a short) before the pane shows it.
#pragma once

#include "CPopupMenu.h"
#include "CStdPopupPane.h"

// The popup menu of a labelled popup pane: its current item carries a bullet.
class VLPopupMenu : public CPopupMenu {
  VL_REGISTERED_CLASS(VLPopupMenu, CPopupMenu)

 public:
  VLPopupMenu() = default;
};

class VLPopupPane : public CStdPopupPane {
  VL_REGISTERED_CLASS(VLPopupPane, CStdPopupPane)

 public:
  VLPopupPane() = default;

  // Margins kept for the owner's layout.
  virtual void SetLabelMargin(SInt16 margin) { labelMargin = margin; }
  virtual void SetItemMargin(SInt16 margin) { itemMargin = margin; }
  SInt16 GetLabelMargin() const { return labelMargin; }
  SInt16 GetItemMargin() const { return itemMargin; }
  // Appends an item with the text as it stands (no menu metacharacters).
  virtual void AppendItem(ConstStringPtr text);
  // Deletes every item, the last first.
  virtual void DeleteAllItems();

  // The pane for 'MENU' menuID. A width or height of 0 takes the size from the label and the
  // menu (Layout).
  virtual void IVLPopupPane(SInt16 menuID, CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                            SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing);
  // The same, fixed to the enclosure's top left (sizFIXEDSTICKY both ways).
  virtual void IVLPopupPaneFromMenu(SInt16 menuID, CView* enclosure, CBureaucrat* supervisor, SInt16 width,
                                    SInt16 height, SInt16 hEncl, SInt16 vEncl);

  // A VLPopupMenu for 'MENU' menuID, its mark the bullet.
  void SetUpMenu(SInt16 menuID) override;
  // The label takes the title's width; a pane without a width becomes the menu's width plus
  // the label's plus 6, one without a height the font's line height, at least 21. The popup
  // box runs from 6 right of the label to the right edge.
  void Layout() override;
  SInt16 GetLabelWidth() const { return labelWidth; }
  SInt16 GetBaseline() const { return baseline; }
  void GetPopupRect(Rect* r) const { *r = popupRect; }

  void Draw(const Rect* area) override;
  // Redraws the enclosure's area, label included.
  void Refresh() override;
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;

 protected:
  SInt16 labelMargin = 0;
  SInt16 itemMargin = 0;
  SInt16 labelWidth = 0;
  SInt16 baseline = 0;
};

// A labelled popup pane's notice of a choice to its dependents.
constexpr long kPopupPaneChoice = FourCharReason("BUR2");
