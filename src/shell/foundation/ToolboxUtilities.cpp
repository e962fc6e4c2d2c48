#include "ToolboxUtilities.h"

#include <cmath>
#include <cstring>

#include "Events.h"
#include "HighLevelEvents.h"

void CenterRectOn(Rect* rect, const Rect* outer) {
  int dh = (outer->left + outer->right - rect->left - rect->right) / 2;
  int dv = (outer->top + outer->bottom - rect->top - rect->bottom) / 2;
  PortOffsetRect(rect, dh, dv);
}

void PositionRectOnScreen(Rect* rect, const Rect* screen, int menuBarHeight) {
  int w = rect->right - rect->left;
  int h = rect->bottom - rect->top;
  int top = (screen->bottom - h - screen->top - menuBarHeight) / 3 + menuBarHeight;
  int left = (screen->right - screen->left - w) / 2;
  PortSetRect(rect, left, top, left + w, top + h);
}

double RoundToHalf(double x) {
  double r = std::fmod(x, 1.0);
  if (r >= 0) {
    if (r < 0.25) return x - r;
    if (r < 0.75) return x - r + 0.5;
    return x - r + 1;
  }
  if (r > -0.25) return x - r;
  if (r > -0.75) return x - r - 0.5;
  return x - r - 1;
}

double RoundToStep(double x, double step) {
  if (step == 0 || !std::isfinite(step)) return x;  // no grid to round to
  double r = std::fmod(x, step);
  if (r >= 0) return (r + step / 2 >= step) ? x - r + step : x - r;
  return (r - step / 2 <= -step) ? x - r - step : x - r;
}

double ConvertFloatInPlace(double* value) { return *value; }

bool PStrSplitAt(StringPtr string, StringPtr tail, unsigned char c) {
  int n = string[0];
  for (int i = 1; i <= n; ++i) {
    if (string[i] != c) continue;
    int rest = n - i;
    std::memmove(tail + 1, string + i + 1, std::size_t(rest));
    tail[0] = static_cast<unsigned char>(rest);
    string[0] = static_cast<unsigned char>(i - 1);
    return true;
  }
  tail[0] = 0;
  return false;
}

void PStrTrimSpaces(StringPtr string) {
  int n = string[0];
  int first = 1;
  while (first <= n && (string[first] == ' ' || string[first] == '\t')) ++first;
  int last = n;
  while (last >= first && (string[last] == ' ' || string[last] == '\t')) --last;
  int len = last - first + 1;
  if (len > 0) std::memmove(string + 1, string + first, std::size_t(len));
  string[0] = static_cast<unsigned char>(len > 0 ? len : 0);
}

int PStrCompare(ConstStringPtr a, ConstStringPtr b) {
  int n = a[0] < b[0] ? a[0] : b[0];
  for (int i = 1; i <= n; ++i) {
    auto ca = static_cast<signed char>(a[i]);
    auto cb = static_cast<signed char>(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a[0] == b[0]) return 0;
  return a[0] < b[0] ? -1 : 1;
}

UInt16 GetModifierKeys() {
  EventRecord event;
  PortEventAvail(everyEvent, &event);
  return UInt16(event.modifiers & 0xFF00);
}

Boolean CommandPeriodPending() {
  constexpr SInt16 kKeyEvents = keyDownMask | keyUpMask | autoKeyMask;
  bool found = false;
  EventRecord event;
  // Only events already seen are taken, so the backend is never asked for more input here.
  while (PortEventAvail(kKeyEvents, &event)) {
    PortGetNextEvent(kKeyEvents, &event);
    if (event.what == keyDown && PortIsCommandPeriod(UInt8(event.message & charCodeMask), event.modifiers))
      found = true;
  }
  return found;
}

bool IsCommandKeyDown() { return (GetModifierKeys() & (1 << 8)) != 0; }
bool IsShiftKeyDown() { return (GetModifierKeys() & (1 << 9)) != 0; }
bool IsOptionKeyDown() { return (GetModifierKeys() & (1 << 11)) != 0; }

OSErr GetEventSectionParam(const AppleEvent* event, void* result) {
  Size actual = 0;
  OSErr err = PortGetEventParam(event, keyDirectObject, FourCC("sect"), result, 4, &actual);
  if (err == noErr && actual != 4) return errAEWrongDataType;  // a short value would leave the result half set
  return err;
}
