// Handles of ui windows and the "ComboBox" child windows in them.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "Controls.h"
#include "Windows.h"
#include "WinDialogs.h"
#include "internal/WinControls.h"

using namespace vlwinshell::internal;

namespace {

std::vector<std::unique_ptr<HWND__>> gWindows;   // one per ui window asked for
std::vector<std::unique_ptr<HWND__>> gChildren;  // the child windows alive
CommandRouter gRouter = nullptr;
HWND gFocus = nullptr;

// The height of a list's closed box: one line of the popup.
constexpr int kClosedHeight = 20;

bool IsKnown(HWND window) {
  auto same = [window](const std::unique_ptr<HWND__>& w) { return w.get() == window; };
  return std::any_of(gWindows.begin(), gWindows.end(), same) || std::any_of(gChildren.begin(), gChildren.end(), same);
}

void Notify(HWND__* child, WORD code) {
  if (gRouter) gRouter(child->parent, child->id, child, code);
}

Rect ChildBox(int x, int y, int width, int height) {
  auto clamp = [](int v) { return SInt16(std::clamp(v, -32000, 32000)); };
  return Rect{clamp(y), clamp(x), clamp(y + std::min(std::max(height, 0), kClosedHeight)), clamp(x + std::max(width, 0))};
}

// The built-in procedure of the "ComboBox" class.
LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* child = ChildWindow(window);
  if (!child) return 0;
  switch (message) {
    case WM_LBUTTONDOWN: {
      Point local{SInt16(std::int16_t((lParam >> 16) & 0xFFFF)), SInt16(std::int16_t(lParam & 0xFFFF))};
      ListClick(child, local, [child](WORD code) { Notify(child, code); });
      return 0;
    }
    case WM_PAINT:
      DrawList(child);
      return 0;
    case WM_SETFONT:
      return 0;
    default:
      return ListMessage(child, message, wParam, lParam);
  }
}

}  // namespace

namespace vlwinshell::internal {

HWND__* ChildWindow(HWND window) {
  for (const auto& c : gChildren)
    if (c.get() == window) return c.get();
  return nullptr;
}

}  // namespace vlwinshell::internal

HWND WindowHandle(void* nativeWindow) {
  if (!nativeWindow) return nullptr;
  auto* owner = static_cast<WindowPtr>(nativeWindow);
  for (const auto& w : gWindows)
    if (w->owner == owner) return w.get();
  auto w = std::make_unique<HWND__>();
  w->role = HWND__::Role::kWindow;
  w->owner = owner;
  gWindows.push_back(std::move(w));
  return gWindows.back().get();
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD style, int x, int y, int width, int height, HWND parent,
                     HMENU menu, HINSTANCE, void*) {
  if (!className || std::string_view(className) != "ComboBox" || (style & 0x3) != CBS_DROPDOWNLIST) return nullptr;
  if (!parent || !IsKnown(parent) || parent->role != HWND__::Role::kWindow) return nullptr;
  if (!PortNativeWindow(parent->owner)) return nullptr;  // the window has gone
  auto child = std::make_unique<HWND__>();
  child->role = HWND__::Role::kChild;
  child->owner = parent->owner;
  child->parent = parent;
  child->id = int(reinterpret_cast<std::intptr_t>(menu));
  child->proc = ComboBoxProc;
  child->popup = NewListControl(parent->owner, ChildBox(x, y, width, height));
  if (!child->popup) return nullptr;
  if (!(style & WS_VISIBLE)) PortHideControl(child->popup);
  gChildren.push_back(std::move(child));
  return gChildren.back().get();
}

BOOL DestroyWindow(HWND window) {
  HWND__* child = ChildWindow(window);
  if (!child) return FALSE;
  if (gFocus == child) gFocus = nullptr;
  if (child->popup && PortIsControl(child->popup)) PortDisposeControl(child->popup);
  gChildren.erase(std::remove_if(gChildren.begin(), gChildren.end(),
                                 [child](const std::unique_ptr<HWND__>& c) { return c.get() == child; }),
                  gChildren.end());
  return TRUE;
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  HWND__* child = ChildWindow(window);
  if (!child) return 0;
  LONG_PTR before = GetWindowLongPtrA(window, index);
  if (index == GWL_WNDPROC && value) child->proc = reinterpret_cast<WNDPROC>(value);
  else if (index == GWL_USERDATA) child->userData = value;
  else if (index == GWL_ID) child->id = int(value);
  return before;
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
  HWND__* child = ChildWindow(window);
  if (!child) return 0;
  switch (index) {
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(child->proc);
    case GWL_USERDATA:
      return child->userData;
    case GWL_ID:
      return child->id;
    default:
      return 0;
  }
}

LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(window, message, wParam, lParam) : 0;
}

int GetClassNameA(HWND window, LPSTR name, int size) {
  if (!name || size <= 0) return 0;
  std::string_view text = ChildWindow(window) ? "ComboBox" : "";
  std::size_t n = std::min(text.size(), std::size_t(size - 1));
  std::memcpy(name, text.data(), n);
  name[n] = '\0';
  return int(n);
}

HWND GetParent(HWND window) {
  HWND__* child = ChildWindow(window);
  return child ? child->parent : nullptr;
}

BOOL ShowWindow(HWND window, int command) {
  HWND__* child = ChildWindow(window);
  if (!child || !child->popup) return FALSE;
  const BOOL wasVisible = (*child->popup)->visible;
  OwnerPort port(child->owner);
  if (command == SW_HIDE) PortHideControl(child->popup);
  else PortShowControl(child->popup);
  return wasVisible;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  HWND__* child = ChildWindow(window);
  if (!child || !child->popup) return FALSE;
  Rect box = ChildBox(x, y, width, height);
  OwnerPort port(child->owner);
  PortMoveControl(child->popup, box.left, box.top);
  PortSizeControl(child->popup, SInt16(box.right - box.left), SInt16(box.bottom - box.top));
  if (repaint) DrawList(child);
  return TRUE;
}

BOOL GetChildRect(HWND window, RECT* inParent) {
  HWND__* child = ChildWindow(window);
  if (!child || !child->popup || !inParent) return FALSE;
  Rect box;
  PortGetControlBounds(child->popup, &box);
  *inParent = RECT{box.left, box.top, box.right, box.bottom};
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) { return ChildWindow(window) ? TRUE : FALSE; }

BOOL UpdateWindow(HWND window) {
  HWND__* child = ChildWindow(window);
  if (!child) return FALSE;
  CallWindowProcA(child->proc, child, WM_PAINT, 0, 0);
  return TRUE;
}

HWND SetFocus(HWND window) {
  HWND before = gFocus;
  gFocus = window && IsKnown(window) ? window : nullptr;
  return before;
}

HWND GetFocus() { return gFocus; }

void SetChildCommandRouter(CommandRouter router) { gRouter = router; }
