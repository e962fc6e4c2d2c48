// A window of the class library: a window of the screen (Windows.h) holding panes, with a
// director as its supervisor. The window's own coordinates are its content's: (0, 0) at the
// content's top-left corner. Its director owns it; disposing of the window takes it off the
// screen and tells the director and the decorator.
//
// A floating window (a palette) lives in the floating layer, above the document windows.
// Mouse-downs in the title bar drag the window, in the grow box resize it (its panes follow
// their sizing options), in the close box close it through its director, in the zoom box
// zoom it; in the content they go to the innermost pane that wants clicks. A click in an
// inactive window only activates it, unless the window's action-click option is on.
#pragma once

#include "CView.h"
#include "Windows.h"

class CDesktop;
class CDirector;

class CWindow : public CView {
  VL_REGISTERED_CLASS(CWindow, CView)

 public:
  CWindow() = default;
  ~CWindow() override;

  // Makes the window from 'WIND' resource windowID, hidden, in the desktop, with the supervisor
  // (usually a director, which keeps it as its window). Fails with resNotFound when the
  // resource is missing and memFullErr when no window can be made (no screen).
  void Init(SInt16 windowID, Boolean floating, CDesktop* enclosure, CBureaucrat* supervisor);
  void IWindow(SInt16 windowID, Boolean floating, CDesktop* enclosure, CBureaucrat* supervisor) {
    Init(windowID, floating, enclosure, supervisor);
  }
  // The same from a content rectangle (global), window kind procID, title and close box.
  void InitFromParameters(const Rect* bounds, SInt16 procID, Boolean goAway, ConstStringPtr title,
                          Boolean floating, CDesktop* enclosure, CBureaucrat* supervisor);

  WindowPtr GetMacWindow() const { return macWindow; }
  CWindow* GetWindow() const override;
  // The supervisor when it is a director, else null.
  CDirector* GetDirector() const;
  Boolean IsFloating() const { return floating; }

  void SetTitle(ConstStringPtr title);
  void GetTitle(StringPtr title) const;
  // A one-byte flag of the program's own.
  void SetWindowFlag(Boolean flag) { windowFlag = flag; }
  Boolean GetWindowFlag() const { return windowFlag; }
  // A click in the window while it is inactive is carried out as well as activating it.
  void SetActionClick(Boolean on) { actionClick = on; }
  Boolean GetActionClick() const { return actionClick; }

  // Moves the content's top-left corner to (h, v), global.
  virtual void MoveTo(SInt16 h, SInt16 v);
  // Remembers where to move at the next ApplyPendingLocation, which moves and shows the window.
  void SetPendingLocation(SInt16 h, SInt16 v);
  void ApplyPendingLocation();
  Boolean HasPendingLocation() const { return pendingLocation; }
  // Sets the content size; the panes follow.
  virtual void SetSize(SInt16 width, SInt16 height);
  // The window's frame (title bar and border included) and its content, global.
  void GetFrameRect(Rect* r) const;
  void GetContentRect(Rect* r) const;
  SInt16 GetWidth() const;
  SInt16 GetHeight() const;
  // Growth limits: smallest width and height in (left, top), largest in (right, bottom).
  void SetSizeRect(const Rect* r) { sizeRect = *r; }
  void GetSizeRect(Rect* r) const { *r = sizeRect; }

  // Shows the window (in front of its layer when it was hidden).
  void Show() override;
  void Hide() override;
  // Shows the window and brings it to the front.
  virtual void Reveal();
  // Brings the window to the front and makes it the active window.
  virtual void Select();
  Boolean IsFrontWindow() const;

  // The window became active or inactive: its views follow, then its director is told.
  void Activate() override;
  void Deactivate() override;

  // A mouse-down on the window (global point); part is PortFindWindow's.
  virtual void DispatchMouseDown(SInt16 part, const EventRecord* event);
  virtual void Drag(const EventRecord* event);
  virtual void Grow(const EventRecord* event);
  virtual void Zoom(SInt16 part);
  // The close box or the close command: the director closes (which disposes of the window);
  // false when it refused.
  virtual Boolean Close(Boolean quitting);

  // An update event: draws what needs drawing.
  virtual void Update();
  void Prepare() override;
  void DrawAll(const Rect* area) override;
  // Erases the area to the window's background.
  void Draw(const Rect* area) override;
  // Adds an area (window coordinates) to what the next update draws.
  void InvalidateArea(const Rect* area);
  void Refresh() override;

  // The mouse is at the point (window coordinates): the view under it adjusts the cursor.
  void AdjustCursor(Point where, RgnHandle mouseRgn) override;

  // Window coordinates of a global point and back.
  void GlobalToWindow(Point* p) const;
  void WindowToGlobal(Point* p) const;

  // After each event step (the desktop calls it): a window whose screen record mirrors its
  // panes brings the record up to date. The base does nothing.
  virtual void EventHandled() {}

  // The decorator placed the window (it is told when the window closes).
  void SetDecorated(Boolean on) { decorated = on; }

 protected:
  // Takes a window made by the screen's calls as this window's.
  void AdoptMacWindow(WindowPtr window, Boolean floating, CDesktop* enclosure, CBureaucrat* supervisor);
  // The content size changed from (oldWidth, oldHeight): the panes follow.
  void ContentResized(SInt16 oldWidth, SInt16 oldHeight);
  // Takes the window off the screen (its panes first).
  void CloseMacWindow();

  WindowPtr macWindow = nullptr;
  Boolean floating = false;
  Boolean windowFlag = false;
  Boolean actionClick = false;
  Boolean decorated = false;
  Boolean pendingLocation = false;
  Point pendingPlace;
  Rect sizeRect{kMinWindowHeight, kMinWindowWidth, 32767, 32767};
};
