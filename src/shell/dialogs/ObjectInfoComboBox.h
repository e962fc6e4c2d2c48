// A drop-down list for the object-info palette: a "ComboBox" child window of the enclosure's
// window (WinWindows.h) wrapped as a class-library view. When the user picks an entry the view
// tells its dependents (its supervisor chain first) kEntryChosen with a pointer to the 1-based
// entry (SInt32).
#pragma once

#include "CView.h"
#include "WinDialogs.h"

class ObjectInfoComboBox : public CView {
  VL_REGISTERED_CLASS(ObjectInfoComboBox, CView)

 public:
  static constexpr long kEntryChosen = FourCC("BUR2");
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | CBS_DROPDOWNLIST;

  ObjectInfoComboBox() = default;
  // The list at left, top of the enclosure's window, width wide, height high with its dropped
  // list, under the control identifier; the enclosure's supervisor is the view's. Without a
  // window to live in the view has no list and its operations do nothing.
  ObjectInfoComboBox(CView* enclosure, int left, int top, int width, int height, int controlId);
  // Destroys the list's window, then the view.
  ~ObjectInfoComboBox() override;

  void Clear();
  // Appends an entry (zero-terminated) and keeps the widest entry's width in the list's font.
  void AddItem(const char* text);
  // Selects the entry (0-based; -1: none) and enables the list.
  void Select(int index);
  void SetFont(WPARAM font);
  void Redraw();
  void Refresh() override;
  void Draw(const Rect* area) override;

  // A notification of the list (from RouteComboBoxCommand); always true.
  Boolean Notification(HWND window, int controlId, HWND control, int code);

  Boolean ContainsPoint(Point windowPt) const override;
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;

  HWND GetComboBox() const { return comboBox; }
  int GetWidestItem() const { return widestItem; }
  int GetSelectedIndex() const { return selectedIndex; }

 private:
  HWND EnclosureWindow() const;
  void FitAperture();

  int maxDropHeight = 250;
  int widestItem = 0;
  int selectedIndex = -1;
  HWND comboBox = nullptr;
};

// Set while a list's entries are dropped (the switchboard's cursor step waits meanwhile; here the
// list is tracked within the click, so the step never sees it set).
extern Boolean gComboBoxOpen;

// The notification a child window sends its parent: a "ComboBox" whose user data is an
// ObjectInfoComboBox gets it (its answer is the result); any other is not taken (false).
BOOL RouteComboBoxCommand(HWND window, int controlId, HWND control, WORD code);
