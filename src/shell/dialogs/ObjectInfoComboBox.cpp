#include "ObjectInfoComboBox.h"

#include <algorithm>
#include <cstring>

#include "CWindow.h"
#include "Windows.h"

Boolean gComboBoxOpen = false;

namespace {

// Every message goes on to the list's own procedure; painting answers 0.
WNDPROC gListProc = nullptr;

LRESULT ForwardingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(gListProc, window, message, wParam, lParam);
  return message == WM_PAINT ? 0 : result;
}

}  // namespace

BOOL RouteComboBoxCommand(HWND window, int controlId, HWND control, WORD code) {
  char name[16];
  if (GetClassNameA(control, name, sizeof name) == 0 || std::strcmp(name, "ComboBox") != 0) return FALSE;
  auto* view = reinterpret_cast<CView*>(GetWindowLongPtrA(control, GWL_USERDATA));
  auto* box = dynamic_cast<ObjectInfoComboBox*>(view);
  return box ? box->Notification(window, controlId, control, code) : FALSE;
}

ObjectInfoComboBox::ObjectInfoComboBox(CView* enclosure, int left, int top, int width, int height, int controlId) {
  IView(enclosure, enclosure);
  SetWantsClicks(true);
  HWND parent = EnclosureWindow();
  comboBox = CreateWindowExA(0, "ComboBox", "", kStyle, left, top, width, height, parent,
                             reinterpret_cast<HMENU>(std::intptr_t(controlId)), nullptr, nullptr);
  if (!comboBox) return;
  SetChildCommandRouter(RouteComboBoxCommand);
  gListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(comboBox, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardingProc)));
  SetWindowLongPtrA(comboBox, GWL_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<CView*>(this)));
  SendMessageA(comboBox, CB_SETDROPPEDWIDTH, WPARAM(std::max(width, 0)), 0);
  ShowWindow(comboBox, SW_SHOW);
  FitAperture();
}

void ObjectInfoComboBox::FitAperture() {
  // The view shows what its list's closed box covers, in the window's coordinates.
  RECT box;
  if (!GetChildRect(comboBox, &box)) return;
  aperture = LongRect{box.top - vOrigin, box.left - hOrigin, box.bottom - vOrigin, box.right - hOrigin};
}

ObjectInfoComboBox::~ObjectInfoComboBox() {
  if (comboBox) DestroyWindow(comboBox);
}

HWND ObjectInfoComboBox::EnclosureWindow() const {
  CWindow* window = GetWindow();
  return window ? WindowHandle(PortNativeWindow(window->GetMacWindow())) : nullptr;
}

void ObjectInfoComboBox::Clear() {
  SendMessageA(comboBox, CB_RESETCONTENT, 0, 0);
  widestItem = 0;
}

void ObjectInfoComboBox::AddItem(const char* text) {
  if (!comboBox || !text) return;
  HDC dc = GetDC(comboBox);
  SIZE extent{0, 0};
  if (GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &extent)) widestItem = std::max(widestItem, int(extent.cx));
  ReleaseDC(comboBox, dc);
  SendMessageA(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void ObjectInfoComboBox::Select(int index) {
  selectedIndex = index;
  EnableWindow(comboBox, TRUE);
  SendMessageA(comboBox, CB_SETCURSEL, WPARAM(index), 0);
}

void ObjectInfoComboBox::SetFont(WPARAM font) { SendMessageA(comboBox, WM_SETFONT, font, 1); }

void ObjectInfoComboBox::Redraw() {
  InvalidateRect(comboBox, nullptr, TRUE);
  UpdateWindow(comboBox);
}

void ObjectInfoComboBox::Refresh() { Redraw(); }

void ObjectInfoComboBox::Draw(const Rect*) { UpdateWindow(comboBox); }

Boolean ObjectInfoComboBox::ContainsPoint(Point windowPt) const {
  RECT box;
  if (!ReallyVisible() || !GetChildRect(comboBox, &box)) return false;
  return windowPt.h >= box.left && windowPt.h < box.right && windowPt.v >= box.top && windowPt.v < box.bottom;
}

void ObjectInfoComboBox::DoClick(Point hitPt, SInt16, long) {
  LongPt p{hitPt.v, hitPt.h};
  FrameToWind(&p);
  SendMessageA(comboBox, WM_LBUTTONDOWN, 0, MAKELPARAM(WORD(SInt16(p.h)), WORD(SInt16(p.v))));
}

Boolean ObjectInfoComboBox::Notification(HWND, int, HWND control, int code) {
  switch (code) {
    case CBN_DROPDOWN: {
      gComboBoxOpen = true;
      RECT dropped{0, 0, 0, 0};
      SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      SendMessageA(control, CB_SETHORIZONTALEXTENT, WPARAM(widestItem + 3), 0);
      MoveWindow(control, dropped.left, dropped.top, dropped.right - dropped.left,
                 std::min<LONG>(maxDropHeight, dropped.bottom), TRUE);
      FitAperture();
      break;
    }
    case CBN_CLOSEUP:
      gComboBoxOpen = false;
      SetFocus(EnclosureWindow());
      break;
    case CBN_SELENDOK: {
      LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
      selectedIndex = int(selected);
      SInt32 entry = SInt32(selected + 1);
      NotifyDependents(kEntryChosen, &entry);
      break;
    }
    default:
      break;
  }
  return true;
}
