// Controls drawn in windows: push buttons, check boxes, radio buttons, scroll bars and popup
// menus. A control belongs to one window, has a rectangle in the window's local coordinates, a
// value within [minimum, maximum], a highlight state (0 active, 1-253 the part shown pressed,
// 255 inactive) and a reference value of the program's own.
//
// Popup menu controls (popupMenuProc): the minimum is the id of the menu (inserted in the
// submenu list, or loaded from its 'MENU' resource when it is not), the value is the chosen
// item, the title is a label drawn left of the popup box in titleWidth pixels (the maximum).
#pragma once

#include "MacTypes.h"
#include "Menus.h"
#include "QuickDraw.h"
#include "Windows.h"

// Control procIDs.
enum : SInt16 {
  pushButProc = 0,
  checkBoxProc = 1,
  radioButProc = 2,
  useWFont = 8,
  scrollBarProc = 16,
  popupMenuProc = 1008,
};

// Part codes.
enum : SInt16 {
  kControlNoPart = 0,
  kControlButtonPart = 10,
  kControlCheckBoxPart = 11,
  kControlUpButtonPart = 20,    // scroll bar arrow up / left
  kControlDownButtonPart = 21,  // arrow down / right
  kControlPageUpPart = 22,      // page area above / left of the thumb
  kControlPageDownPart = 23,    // below / right of the thumb
  kControlIndicatorPart = 129,  // the thumb
  inButton = kControlButtonPart,
  inCheckBox = kControlCheckBoxPart,
  inUpButton = kControlUpButtonPart,
  inDownButton = kControlDownButtonPart,
  inPageUp = kControlPageUpPart,
  inPageDown = kControlPageDownPart,
  inThumb = kControlIndicatorPart,
};

constexpr SInt16 kControlInactive = 255;
constexpr SInt16 kScrollBarWidth = 16;

struct ControlRecord;
using ControlHandle = ControlRecord**;
using ControlRef = ControlRecord**;
// Called while a part other than the thumb is held (repeatedly), and with part 0 while the mouse
// is outside it.
using ControlActionProcPtr = void (*)(ControlHandle control, SInt16 part);

struct ControlRecord {
  ControlRecord* master = nullptr;  // *handle
  WindowPtr owner = nullptr;
  Rect bounds;                      // local to the owner
  Boolean visible = true;
  UInt8 hilite = 0;
  SInt16 value = 0;
  SInt16 minimum = 0;
  SInt16 maximum = 0;
  SInt16 procID = pushButProc;
  SInt32 refCon = 0;
  std::string title;                // Mac Roman
  ControlActionProcPtr action = nullptr;
  MenuHandle popupMenu = nullptr;   // popup controls
  Boolean ownsPopupMenu = false;
  ControlRecord* nextControl = nullptr;
};

// Makes a control in a window (drawn at once when it and the window are visible); null when the
// window is not a window.
ControlHandle PortNewControl(WindowPtr window, const Rect* bounds, ConstStringPtr title, Boolean visible,
                             SInt16 value, SInt16 minimum, SInt16 maximum, SInt16 procID, SInt32 refCon);
// From 'CNTL' resource resourceID; null when missing or damaged.
ControlHandle PortGetNewControl(SInt16 resourceID, WindowPtr window);
void PortDisposeControl(ControlHandle control);
void PortKillControls(WindowPtr window);
// The window's controls, first made first.
ControlHandle PortGetFirstControl(WindowPtr window);
ControlHandle PortGetNextControl(ControlHandle control);
Boolean PortIsControl(ControlHandle control);

void PortDrawControls(WindowPtr window);
void PortDraw1Control(ControlHandle control);
void PortShowControl(ControlHandle control);
void PortHideControl(ControlHandle control);
void PortHiliteControl(ControlHandle control, SInt16 state);
void PortMoveControl(ControlHandle control, SInt16 h, SInt16 v);
void PortSizeControl(ControlHandle control, SInt16 width, SInt16 height);
void PortGetControlBounds(ControlHandle control, Rect* bounds);

// Values are kept within [minimum, maximum]; setting the range clamps the value.
void PortSetControlValue(ControlHandle control, SInt16 value);
SInt16 PortGetControlValue(ControlHandle control);
void PortSetControlMinimum(ControlHandle control, SInt16 minimum);
SInt16 PortGetControlMinimum(ControlHandle control);
void PortSetControlMaximum(ControlHandle control, SInt16 maximum);
SInt16 PortGetControlMaximum(ControlHandle control);
void PortSetControlTitle(ControlHandle control, ConstStringPtr title);
void PortGetControlTitle(ControlHandle control, StringPtr title);
void PortSetControlReference(ControlHandle control, SInt32 refCon);
SInt32 PortGetControlReference(ControlHandle control);
void PortSetControlAction(ControlHandle control, ControlActionProcPtr action);
ControlActionProcPtr PortGetControlAction(ControlHandle control);
MenuHandle PortGetControlPopupMenu(ControlHandle control);

// Hit testing (point local to the window). PortFindControl finds the visible, active control
// under the point.
SInt16 PortFindControl(Point where, WindowPtr window, ControlHandle* control);
SInt16 PortTestControl(ControlHandle control, Point where);
// Tracks a press until release (button polling): the part shows pressed while the mouse is in
// it; the action procedure (the argument, else the control's own) runs meanwhile for scroll bar
// arrows and page areas. Check boxes and radio buttons do not change their own value. The thumb
// is dragged and the value set from where it is let go. Popup controls show their menu and take
// the chosen item as value. Answers the part released in, 0 when released outside.
SInt16 PortTrackControl(ControlHandle control, Point where, ControlActionProcPtr action);
