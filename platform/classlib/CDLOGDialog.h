// A dialog made from a 'DLOG' resource and its 'DITL' item list. Each item becomes a pane
// with the item's number as its identifier, made by the item factory (which subclasses may
// override item kind by item kind): push buttons, check boxes and radio buttons, static and
// editable texts, icons, pictures, and plain panes for user items.
//
// Commands: a button, check box or radio button whose text ends in "#" and a number sends that
// command (the suffix is not shown); otherwise item 1 sends cmdOK and item 2 cmdCancel when they
// are buttons, and other items send nothing. Item 1 is the default button when it is a button.
//
// The window is the screen's dialog of the same resource (Dialogs.h), so that it is logged
// and its items can be found on the screen like any dialog's; its own items stay hidden and
// the panes take their places.
#pragma once

#include "CDialog.h"
#include "Resources.h"

class CDialogText;

class CDLOGDialog : public CDialog {
  VL_REGISTERED_CLASS(CDLOGDialog, CDialog)

 public:
  CDLOGDialog() = default;
  ~CDLOGDialog() override;

  // Fails with resNotFound when the resources are missing or damaged.
  void IDLOGDialog(SInt16 dialogID, CDesktop* enclosure, CBureaucrat* supervisor);
  SInt16 GetDialogID() const { return dialogID; }

  // The font and size the text items take.
  void SetItemFont(SInt16 font, SInt16 size) {
    itemFont = font;
    itemSize = size;
  }
  SInt16 GetItemFont() const { return itemFont; }
  SInt16 GetItemSize() const { return itemSize; }

  // The screen's dialog keeps the texts of the text panes, as scripts and logs read them there.
  void EventHandled() override;

 protected:
  // The item factory.
  virtual CView* MakeItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakeButtonItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakeCheckBoxItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakeRadioItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakeStaticTextItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakeEditTextItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakeIconItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakePictureItem(SInt16 itemNumber, const vlres::DialogItem& item);
  virtual CView* MakeUserItem(SInt16 itemNumber, const vlres::DialogItem& item);
  // Gives a made edit text its item number, frame, font and size, and the template's text.
  void SetUpEditText(CDialogText* text, SInt16 itemNumber, const vlres::DialogItem& item);
  // The command an item's text names, with the suffix taken off the text.
  static long ItemCommand(SInt16 itemNumber, const vlres::DialogItem& item, std::string* title);

  SInt16 dialogID = 0;
  SInt16 itemFont = 0;
  SInt16 itemSize = 12;
};
