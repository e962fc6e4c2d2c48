// A scroll bar of a scroll pane. Its arrows and page areas scroll the pane's panorama while
// they are held, and dragging its thumb scrolls it by the change of value.
#pragma once

#include "CControl.h"

class CScrollPane;

class CScrollBar : public CControl {
  VL_REGISTERED_CLASS(CScrollBar, CControl)

 public:
  CScrollBar() = default;

  // A bar of the standard width and the given length at (hEncl, vEncl); horizontal ones follow
  // the enclosure's bottom edge and width, vertical ones its right edge and height.
  void IScrollBar(CView* enclosure, CBureaucrat* supervisor, Boolean horizontal, SInt16 length, SInt16 hEncl,
                  SInt16 vEncl);
  Boolean IsHorizontal() const { return horizontal; }
  // The scroll pane the bar acts on (null: none).
  void SetScrollPane(CScrollPane* pane) { itsScrollPane = pane; }

  void DoGoodClick(SInt16 part) override;

 protected:
  void DoTrackAction(SInt16 part) override;

 private:
  Boolean horizontal = true;
  CScrollPane* itsScrollPane = nullptr;
};
