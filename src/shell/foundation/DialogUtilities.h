// Utility routines over dialogs, alerts, controls and clicks.
#pragma once

#include "Controls.h"
#include "Dialogs.h"
#include "MacTypes.h"

// Runs the alert with its box placed by PositionRectOnScreen on the main screen; the item hit.
SInt16 ShowPositionedAlert(SInt16 alertId);
// The outline of a default button: a 3-pixel rounded frame 4 pixels outside the control.
void DrawDefaultButtonOutline(ControlHandle control);
// A user item's drawing procedure that outlines item 1 of the dialog.
void DrawDefaultItemOutline(DialogPtr dialog, SInt16 item);
// True when a second click comes within the double-click time and near the first; the two
// pending click events are then taken from the queue.
bool WaitForDoubleClick(UInt32 mouseDownTime, Point mouseDownPoint, const Rect* slopRect);
