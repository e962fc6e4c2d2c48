// A view: anything drawn in a window that can take clicks, the window itself included. Views
// nest: each has an enclosure (null for a window) and subviews, and draws into its window's
// port. Every view has its own coordinates; its origin is the port origin that makes the port's
// local coordinates its own, so "window coordinates" are a view's coordinates with origin
// (0, 0), and view coordinates = window coordinates + origin. The aperture is the part of the
// view that shows, in its own coordinates.
//
// A view's subviews are disposed with it. The command target, the view under the mouse and
// the enclosure never keep a pointer to a view that is gone.
#pragma once

#include <functional>
#include <vector>

#include "CBureaucrat.h"
#include "LongCoordinates.h"
#include "QuickDraw.h"

class CWindow;
class CMouseTask;

class CView : public CBureaucrat {
  VL_REGISTERED_CLASS(CView, CBureaucrat)

 public:
  CView() = default;
  ~CView() override;

  // Initialises the view inside its enclosure (null: none) under its supervisor. The view takes
  // its enclosure's port and active state.
  void IView(CView* enclosure, CBureaucrat* supervisor);

  CView* GetEnclosure() const { return itsEnclosure; }
  // The window the view lies in (the view itself for a window); null when none.
  virtual CWindow* GetWindow() const;
  GrafPtr GetMacPort() const { return macPort; }
  // Gives the view and its subviews a port (a window gives them its own).
  void SetMacPort(GrafPtr port);
  const std::vector<CView*>& GetSubviews() const { return itsSubviews; }
  virtual void AddSubview(CView* view);
  virtual void RemoveSubview(CView* view);

  // The view's identifier (0 when none), by which a window finds it.
  long GetID() const { return viewID; }
  void SetID(long id) { viewID = id; }
  // This view or a view inside it with the identifier; null when none.
  CView* FindViewByID(long id);
  // The innermost visible view inside this one whose aperture holds the point (window
  // coordinates); null when none.
  virtual CView* FindSubview(Point windowPt);
  // The first view inside this one (at any depth, this one excluded) for which the test holds.
  CView* FindSubview(const std::function<Boolean(const CView*)>& test);

  // The view's own visibility flag; a view shows when it and all its enclosures are visible.
  Boolean IsVisible() const { return visible; }
  Boolean ReallyVisible() const;
  virtual void Show();
  virtual void Hide();
  // A window's views are active while the window is; the base passes the state down.
  virtual void Activate();
  virtual void Deactivate();
  Boolean IsActive() const { return active; }
  // Above 0 while an enclosure passes its activation state down.
  static int activationDepth;

  void SetWantsClicks(Boolean wants) { wantsClicks = wants; }
  Boolean WantsClicks() const { return wantsClicks; }
  // True when the point (window coordinates) lies in the part of the view that shows.
  virtual Boolean ContainsPoint(Point windowPt) const;
  // A mouse-down in the window (window coordinates): the innermost visible view under it that
  // wants clicks gets DoClick with the point in its own coordinates. True when one took it.
  virtual Boolean DispatchClick(const EventRecord* event);
  // A mouse-down on the view, in its coordinates. The base does nothing.
  virtual void DoClick(Point hitPt, SInt16 modifiers, long when);
  // The mouse is over the view (window coordinates); the base shows the arrow.
  virtual void AdjustCursor(Point where, RgnHandle mouseRgn);
  // The mouse left the view (it was under the mouse at the last cursor update).
  virtual void MouseExited(Point where);

  // Makes the view's port current with its origin and its aperture as the clip; while a page
  // prints, the page's port, from (0, 0) and clipped to the page.
  virtual void Prepare();
  // The port of the page being printed (set by the printer around each page), else null.
  static inline GrafPtr printingPort = nullptr;
  // Asks for the view to be redrawn with the window's next update.
  virtual void Refresh();
  // Draws the view and its subviews where they meet the area (window coordinates).
  virtual void DrawAll(const Rect* area);
  // Draws the view's own contents in the area (view coordinates, the view prepared).
  virtual void Draw(const Rect* area);
  // Draws the whole view at once, outside an update.
  void DrawNow();

  // The view's origin and aperture, and conversions between its coordinates and the window's.
  void GetOrigin(long* h, long* v) const;
  void GetAperture(LongRect* r) const { *r = aperture; }
  void FrameToWind(LongPt* p) const;
  void WindToFrame(LongPt* p) const;
  void FrameToWindR(LongRect* r) const;
  void WindToFrameR(LongRect* r) const;
  // The enclosure moved or resized: origin and aperture are computed again, here and below.
  virtual void CalcAperture();

  // Drives a mouse task while the button is held: BeginTracking once with the start point;
  // KeepTracking on every poll with the mouse pinned to the rectangle (the previous point being
  // the current point of the poll before, the start point at first); EndTracking with the point
  // of the press's mouse-up event (taken out; one queued behind a later press is that press's),
  // or the last point, pinned. Points are in the view's coordinates.
  virtual void TrackMouse(CMouseTask* task, LongPt* startPt, LongRect* pinRect);
  // Called while tracking with the mouse (view coordinates); a view that scrolls itself to
  // follow the mouse answers true. The base does nothing.
  virtual Boolean AutoScroll(LongPt* mouse);

 protected:
  CView* itsEnclosure = nullptr;
  std::vector<CView*> itsSubviews;
  GrafPtr macPort = nullptr;
  long viewID = 0;
  Boolean visible = true;
  Boolean active = false;
  Boolean wantsClicks = false;
  SInt32 hOrigin = 0;
  SInt32 vOrigin = 0;
  LongRect aperture;
};

// Keeps the current port and a port's origin and clip from construction to destruction, so that
// work outside an event's handling leaves the window layer the port as it was.
class PortStateKeeper {
 public:
  explicit PortStateKeeper(GrafPtr port);
  ~PortStateKeeper();
  PortStateKeeper(const PortStateKeeper&) = delete;
  PortStateKeeper& operator=(const PortStateKeeper&) = delete;

 private:
  GrafPtr saved;
  GrafPtr kept;
  Point origin;
  RgnHandle clip = nullptr;
};

// The view under the mouse at the last cursor update (null: none).
extern CView* gLastViewHit;
// The view that took the last click (null when it is gone).
extern CView* gLastMouseView;
