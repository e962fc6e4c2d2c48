#include "CView.h"

#include <algorithm>

#include "CMouseTask.h"
#include "CWindow.h"
#include "Cursors.h"
#include "Events.h"

CView* gLastViewHit = nullptr;
CView* gLastMouseView = nullptr;
int CView::activationDepth = 0;

PortStateKeeper::PortStateKeeper(GrafPtr port) : saved(PortCurrentPort()), kept(port) {
  if (!kept) return;
  origin = Point{kept->portRect.top, kept->portRect.left};
  clip = PortNewRegion();
  PortSetPort(kept);
  PortGetClip(clip);
  PortSetPort(saved);
}

PortStateKeeper::~PortStateKeeper() {
  if (kept) {
    PortSetPort(kept);
    PortSetOrigin(origin.h, origin.v);
    PortSetClip(clip);
    PortFreeRegion(clip);
  }
  PortSetPort(saved);
}

CView::~CView() {
  while (!itsSubviews.empty()) {
    CView* sub = itsSubviews.back();
    sub->Dispose();
    // A subview whose Dispose did not take it out of the list is forgotten all the same.
    if (!itsSubviews.empty() && itsSubviews.back() == sub) itsSubviews.pop_back();
  }
  if (itsEnclosure) itsEnclosure->RemoveSubview(this);
  itsEnclosure = nullptr;
  if (gLastViewHit == this) gLastViewHit = nullptr;
  if (gLastMouseView == this) gLastMouseView = nullptr;
  if (gCommandTarget == this) gCommandTarget = itsSupervisor;
}

void CView::IView(CView* enclosure, CBureaucrat* supervisor) {
  IBureaucrat(supervisor);
  if (itsEnclosure && itsEnclosure != enclosure) itsEnclosure->RemoveSubview(this);
  itsEnclosure = enclosure;
  if (enclosure) {
    enclosure->AddSubview(this);
    macPort = enclosure->GetMacPort();
    active = enclosure->IsActive();
  }
}

CWindow* CView::GetWindow() const { return itsEnclosure ? itsEnclosure->GetWindow() : nullptr; }

void CView::SetMacPort(GrafPtr port) {
  macPort = port;
  for (CView* sub : itsSubviews) sub->SetMacPort(port);
}

void CView::AddSubview(CView* view) {
  if (view && std::find(itsSubviews.begin(), itsSubviews.end(), view) == itsSubviews.end())
    itsSubviews.push_back(view);
}

void CView::RemoveSubview(CView* view) {
  auto it = std::find(itsSubviews.begin(), itsSubviews.end(), view);
  if (it != itsSubviews.end()) itsSubviews.erase(it);
}

CView* CView::FindViewByID(long id) {
  if (viewID == id) return this;
  for (CView* sub : itsSubviews)
    if (CView* found = sub->FindViewByID(id)) return found;
  return nullptr;
}

CView* CView::FindSubview(Point windowPt) {
  // The last added subview lies on top.
  for (auto it = itsSubviews.rbegin(); it != itsSubviews.rend(); ++it) {
    CView* sub = *it;
    if (!sub->IsVisible() || !sub->ContainsPoint(windowPt)) continue;
    CView* inner = sub->FindSubview(windowPt);
    return inner ? inner : sub;
  }
  return nullptr;
}

CView* CView::FindSubview(const std::function<Boolean(const CView*)>& test) {
  for (CView* sub : itsSubviews) {
    if (test(sub)) return sub;
    if (CView* found = sub->FindSubview(test)) return found;
  }
  return nullptr;
}

Boolean CView::ReallyVisible() const {
  for (const CView* v = this; v; v = v->itsEnclosure)
    if (!v->visible) return false;
  return true;
}

void CView::Show() {
  if (visible) return;
  visible = true;
  Refresh();
}

void CView::Hide() {
  if (!visible) return;
  Refresh();
  visible = false;
}

void CView::Activate() {
  active = true;
  ++activationDepth;
  for (CView* sub : std::vector<CView*>(itsSubviews)) sub->Activate();
  --activationDepth;
}

void CView::Deactivate() {
  active = false;
  ++activationDepth;
  for (CView* sub : std::vector<CView*>(itsSubviews)) sub->Deactivate();
  --activationDepth;
}

Boolean CView::ContainsPoint(Point windowPt) const {
  LongRect r = aperture;
  FrameToWindR(&r);
  LongPt p;
  QDToLongPt(windowPt, &p);
  return PtInLongRect(&p, &r);
}

Boolean CView::DispatchClick(const EventRecord* event) {
  // The innermost view under the point that wants clicks; its enclosures are asked outward.
  CView* hit = FindSubview(event->where);
  while (hit && hit != this && !hit->WantsClicks()) hit = hit->GetEnclosure();
  if (!hit || !hit->WantsClicks()) return false;
  gLastMouseView = hit;
  hit->Prepare();
  LongPt p;
  QDToLongPt(event->where, &p);
  hit->WindToFrame(&p);
  Point local;
  LongToQDPt(&p, &local);
  hit->DoClick(local, SInt16(event->modifiers), long(event->when));
  return true;
}

void CView::DoClick(Point, SInt16, long) {}

void CView::AdjustCursor(Point, RgnHandle) { PortSetArrowCursor(); }

void CView::MouseExited(Point) {}

void CView::Prepare() {
  if (printingPort) {
    PortSetPort(printingPort);
    PortSetOrigin(0, 0);
    const Rect page = printingPort->portRect;
    PortClipRect(&page);
    return;
  }
  if (!macPort) return;
  PortSetPort(macPort);
  PortSetOrigin(ClampToShort(hOrigin), ClampToShort(vOrigin));
  Rect clip;
  LongToQDRect(&aperture, &clip);
  PortClipRect(&clip);
}

void CView::Refresh() {
  if (!ReallyVisible()) return;
  CWindow* window = GetWindow();
  if (!window) return;
  LongRect r = aperture;
  FrameToWindR(&r);
  Rect area;
  LongToQDRect(&r, &area);
  window->InvalidateArea(&area);
}

void CView::DrawAll(const Rect* area) {
  if (!visible || !macPort) return;
  LongRect mine = aperture, wanted;
  FrameToWindR(&mine);
  QDToLongRect(area, &wanted);
  LongRect common;
  if (SectLongRect(&mine, &wanted, &common)) {
    Prepare();
    WindToFrameR(&common);
    Rect local;
    LongToQDRect(&common, &local);
    Draw(&local);
  }
  for (CView* sub : std::vector<CView*>(itsSubviews)) sub->DrawAll(area);
}

void CView::Draw(const Rect*) {}

void CView::DrawNow() {
  if (!ReallyVisible()) return;
  LongRect r = aperture;
  FrameToWindR(&r);
  Rect area;
  LongToQDRect(&r, &area);
  DrawAll(&area);
}

void CView::GetOrigin(long* h, long* v) const {
  if (h) *h = hOrigin;
  if (v) *v = vOrigin;
}

void CView::FrameToWind(LongPt* p) const {
  p->h -= hOrigin;
  p->v -= vOrigin;
}

void CView::WindToFrame(LongPt* p) const {
  p->h += hOrigin;
  p->v += vOrigin;
}

void CView::FrameToWindR(LongRect* r) const { OffsetLongRect(r, -hOrigin, -vOrigin); }

void CView::WindToFrameR(LongRect* r) const { OffsetLongRect(r, hOrigin, vOrigin); }

void CView::CalcAperture() {
  for (CView* sub : itsSubviews) sub->CalcAperture();
}

Boolean CView::AutoScroll(LongPt*) { return false; }

namespace {
// The mouse in the view's coordinates (the view prepared).
LongPt MouseInView(CView* view) {
  view->Prepare();
  Point m;
  PortGetMouse(&m);  // local to the current port: the view's coordinates
  LongPt p;
  QDToLongPt(m, &p);
  return p;
}
}  // namespace

void CView::TrackMouse(CMouseTask* task, LongPt* startPt, LongRect* pinRect) {
  if (!task || !startPt) return;
  LongPt start = *startPt;
  LongPt prev = start;
  LongPt curr = start;
  Prepare();
  task->BeginTracking(&start);
  while (PortStillDown()) {
    curr = MouseInView(this);
    if (AutoScroll(&curr)) curr = MouseInView(this);
    if (pinRect) PinInLongRect(pinRect, &curr);
    Prepare();
    task->KeepTracking(&curr, &prev, &start);
    prev = curr;
  }
  // The release: the point of the press's own mouse-up event when it is there, else the last
  // point. A mouse-up behind another press belongs to that later click.
  EventRecord up;
  if (PortEventAvail(mDownMask | mUpMask, &up) && up.what == mouseUp) {
    PortGetNextEvent(mUpMask, &up);
    Prepare();
    Point where = up.where;
    PortGlobalToLocal(&where);
    QDToLongPt(where, &curr);
  }
  if (pinRect) PinInLongRect(pinRect, &curr);
  Prepare();
  task->EndTracking(&curr, &prev, &start);
}
