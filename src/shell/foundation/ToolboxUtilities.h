// Free-standing utility routines over the toolbox services.
#pragma once

#include "MacTypes.h"

void CenterRectOn(Rect* rect, const Rect* outer);
// Centred horizontally, a third of the way down the free space below the menu bar.
void PositionRectOnScreen(Rect* rect, const Rect* screen, int menuBarHeight);

double RoundToHalf(double x);
double RoundToStep(double x, double step);
double ConvertFloatInPlace(double* value);

// Splits at the first occurrence of c: the tail gets what follows, the string is cut before it.
bool PStrSplitAt(StringPtr string, StringPtr tail, unsigned char c);
void PStrTrimSpaces(StringPtr string);
// Compares as signed bytes up to the shorter length; then the shorter string is the smaller.
int PStrCompare(ConstStringPtr a, ConstStringPtr b);

// The modifier word of the next pending event (or of the current input), low byte cleared.
UInt16 GetModifierKeys();
bool IsCommandKeyDown();
bool IsShiftKeyDown();
bool IsOptionKeyDown();
// Whether command-period waits among the pending key events: a long operation's way to notice
// that the user asks it to stop. Every pending key event is taken out of the queue on the way.
Boolean CommandPeriodPending();

struct AppleEvent;
// Reads the event's direct parameter as a 4-byte value of type 'sect' into result; the error.
OSErr GetEventSectionParam(const AppleEvent* event, void* result);
