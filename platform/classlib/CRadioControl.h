// A radio button: a good click turns it on and turns off the other radio buttons of its group
// (the radio buttons of the same enclosure with the same group number), then sends the click
// command.
#pragma once

#include "CControl.h"

class CRadioControl : public CControl {
  VL_REGISTERED_CLASS(CRadioControl, CControl)

 public:
  CRadioControl() = default;

  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing, ConstStringPtr title);
  void SetGroup(long group) { radioGroup = group; }
  long GetGroup() const { return radioGroup; }
  // A number of the program's own kept with the button.
  void SetTag(long newTag) { tag = newTag; }
  long GetTag() const { return tag; }
  // Turns the button on and the others of its group off.
  void Select();

  void DoGoodClick(SInt16 part) override;

 private:
  long radioGroup = 0;
  long tag = 0;
};
