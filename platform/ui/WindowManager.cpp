// The window manager: the window list in three layers, regions, frames, hit testing, dragging
// and growing, update regions and update events, activation and activate events.
#include <algorithm>
#include <deque>
#include <map>
#include <new>

#include "MenuHighlight.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "UiInternal.h"
#include "Windows.h"

namespace vlui {
namespace {

using namespace internal;

struct Extra {
  RgnHandle visStruct = nullptr;  // global
  RgnHandle visCont = nullptr;    // global
};

std::vector<WindowPtr> gWindows;  // front to back
std::map<WindowPtr, Extra> gExtra;
RgnHandle gDesktop = nullptr;     // the visible desktop, global
WindowPtr gActive = nullptr;
UInt32 gNextId = 1;

struct Activation {
  UInt32 id;
  bool activate;
};
std::deque<Activation> gActivations;

// The update event handed out last: when the program took it but drew nothing (no
// PortBeginUpdate and the region still there), the region is let go at the next request, so an
// ignored update cannot come back for ever.
UInt32 gUpdateHandedOut = 0;
bool gUpdateBegun = false;

int LayerRank(WindowLayer layer) {
  switch (layer) {
    case WindowLayer::kModal: return 0;
    case WindowLayer::kFloating: return 1;
    case WindowLayer::kDocument: return 2;
  }
  return 2;
}

SInt16 TitleHeight(WindowPtr w) {
  if (!w->hasTitleBar) return 0;
  return w->layer == WindowLayer::kFloating ? kFloatTitleBarHeight : kTitleBarHeight;
}

bool Known(WindowPtr w) {
  return w && std::find(gWindows.begin(), gWindows.end(), w) != gWindows.end();
}

void Relink() {
  for (std::size_t i = 0; i < gWindows.size(); ++i)
    gWindows[i]->nextWindow = i + 1 < gWindows.size() ? gWindows[i + 1] : nullptr;
}

// Where a window goes in the list for its layer and a behind argument.
void Insert(WindowPtr w, WindowPtr behind) {
  int rank = LayerRank(w->layer);
  auto firstOfLayer = std::find_if(gWindows.begin(), gWindows.end(),
                                   [&](WindowPtr o) { return LayerRank(o->layer) >= rank; });
  auto endOfLayer = std::find_if(firstOfLayer, gWindows.end(),
                                 [&](WindowPtr o) { return LayerRank(o->layer) > rank; });
  auto at = firstOfLayer;
  if (behind == nullptr) {
    at = endOfLayer;
  } else if (behind != kFirstWindowOfClass && Known(behind) && behind->layer == w->layer) {
    at = std::find(gWindows.begin(), gWindows.end(), behind) + 1;
  }
  gWindows.insert(at, w);
  Relink();
}

void Remove(WindowPtr w) {
  gWindows.erase(std::remove(gWindows.begin(), gWindows.end(), w), gWindows.end());
  Relink();
}

void ApplyProc(WindowPtr w, SInt16 procID) {
  w->procID = procID;
  w->hasTitleBar = true;
  w->hasGrow = false;
  w->hasZoom = false;
  w->layer = WindowLayer::kDocument;
  int def = procID >> 4, variation = procID & 15;
  if (def == 124) {  // floating palettes
    w->layer = WindowLayer::kFloating;
    w->hasGrow = (variation & 2) != 0;
    w->hasZoom = (variation & 4) != 0;
    return;
  }
  if (def == 1) return;  // rounded document: no grow box
  switch (variation) {
    case documentProc: w->hasGrow = true; break;
    case dBoxProc:
    case plainDBox:
    case altDBoxProc:
      w->layer = WindowLayer::kModal;
      w->hasTitleBar = false;
      break;
    case movableDBoxProc: w->layer = WindowLayer::kModal; break;
    case noGrowDocProc: break;
    case zoomDocProc: w->hasGrow = w->hasZoom = true; break;
    case zoomNoGrow: w->hasZoom = true; break;
    default: w->hasGrow = true; break;
  }
}

Rect DefaultStdState(WindowPtr w) {
  Rect r = ClientRect();
  r.top = SInt16(r.top + TitleHeight(w) + 4);
  PortInsetRect(&r, 4, 0);
  r.bottom = SInt16(r.bottom - 4);
  return r;
}

void SetRectRgn(RgnHandle rgn, const Rect& r) { PortRectRegion(rgn, &r); }

void ComputeStructure(WindowPtr w) {
  Rect s = StructureFor(w, w->content);
  SetRectRgn(w->strucRgn, s);
  if (!w->hasTitleBar && (w->procID & 15) == altDBoxProc && (w->procID >> 4) == 0) {
    // The shadow right of and below the frame.
    RgnHandle shadow = PortNewRegion();
    Rect sh = s;
    PortOffsetRect(&sh, 2, 2);
    SetRectRgn(shadow, sh);
    PortUnionRegion(w->strucRgn, shadow, w->strucRgn);
    PortFreeRegion(shadow);
  }
  SetRectRgn(w->contRgn, w->content);
}

Extra& ExtraOf(WindowPtr w) {
  Extra& e = gExtra[w];
  if (!e.visStruct) e.visStruct = PortNewRegion();
  if (!e.visCont) e.visCont = PortNewRegion();
  return e;
}

void EraseGlobal(RgnHandle rgn, UInt32 rgb) {
  if (PortEmptyRegion(rgn)) return;
  PortKeeper keep;
  UseScreenPort(rgn);
  FillRect(ScreenBounds(), rgb);
}

// ---- Frames -----------------------------------------------------------------------------------

Rect InteriorTitle(WindowPtr w) {
  Rect s = StructureFor(w, w->content);
  return Rect{SInt16(s.top + 1), SInt16(s.left + 1), SInt16(w->content.top - 1), SInt16(s.right - 1)};
}

Rect BoxAt(WindowPtr w, bool right) {
  Rect t = InteriorTitle(w);
  SInt16 size = w->layer == WindowLayer::kFloating ? 7 : 11;
  SInt16 top = SInt16(t.top + (t.bottom - t.top - size) / 2);
  SInt16 left = right ? SInt16(t.right - 7 - size) : SInt16(t.left + 7);
  return Rect{top, left, SInt16(top + size), SInt16(left + size)};
}

void PaintTitleBar(WindowPtr w) {
  Rect t = InteriorTitle(w);
  if (t.bottom <= t.top) return;
  FillRect(t, kFaceColor);
  bool floating = w->layer == WindowLayer::kFloating;
  UseFont(floating ? kSmallSize : kSystemSize);
  Rect closeBox = BoxAt(w, false), zoomBox = BoxAt(w, true);
  SInt16 textLeft = SInt16(closeBox.right + 8), textRight = SInt16(zoomBox.left - 8);
  std::string title = FitText(w->title, SInt16(std::max(0, textRight - textLeft)));
  SInt16 width = TextWidth(title);
  SInt16 h = SInt16(t.left + (t.right - t.left - width) / 2);
  if (w->hilited) {
    // Stripes across the bar, broken by the title and the boxes.
    for (SInt16 y = SInt16(t.top + 2); y < t.bottom - 2; y = SInt16(y + 2)) {
      Rect stripe{y, SInt16(t.left + 2), SInt16(y + 1), SInt16(t.right - 2)};
      FillRect(stripe, kStripeColor);
    }
    if (width > 0) FillRect(Rect{t.top, SInt16(h - 6), t.bottom, SInt16(h + width + 6)}, kFaceColor);
    if (w->goAwayFlag) {
      Rect clear = closeBox;
      PortInsetRect(&clear, -2, 0);
      FillRect(clear, kFaceColor);
      FrameRect(closeBox, kBlack);
    }
    if (w->hasZoom) {
      Rect clear = zoomBox;
      PortInsetRect(&clear, -2, 0);
      FillRect(clear, kFaceColor);
      FrameRect(zoomBox, kBlack);
      Rect inner{zoomBox.top, zoomBox.left, SInt16(zoomBox.top + (zoomBox.bottom - zoomBox.top) / 2 + 1),
                 SInt16(zoomBox.left + (zoomBox.right - zoomBox.left) / 2 + 1)};
      FrameRect(inner, kBlack);
    }
  }
  FontInfo fi;
  PortGetFontInfo(&fi);
  SInt16 base = SInt16(t.top + (t.bottom - t.top + fi.ascent - fi.descent) / 2);
  DrawText(title, h, base, w->hilited ? kBlack : kDimTextColor);
}

void PaintFrame(WindowPtr w) {
  Rect s = StructureFor(w, w->content);
  FillRect(s, kFaceColor);
  if ((w->procID >> 4) == 0 && (w->procID & 15) == altDBoxProc) {
    FillRect(Rect{SInt16(s.top + 2), s.right, SInt16(s.bottom + 2), SInt16(s.right + 2)}, kBlack);
    FillRect(Rect{s.bottom, SInt16(s.left + 2), SInt16(s.bottom + 2), SInt16(s.right + 2)}, kBlack);
  }
  FrameRect(s, kBlack);
  if (w->hasTitleBar) {
    FillRect(Rect{SInt16(w->content.top - 1), s.left, w->content.top, s.right}, kBlack);
    PaintTitleBar(w);
  } else if ((w->procID >> 4) == 0 && (w->procID & 15) == dBoxProc) {
    Rect inner = w->content;
    PortInsetRect(&inner, -1, -1);
    FrameRect(inner, kBlack);
  }
}

// ---- Ports ------------------------------------------------------------------------------------

void SetVisible(WindowPtr w, RgnHandle globalVis) {
  SInt16 dh = SInt16(w->portRect.left - w->content.left), dv = SInt16(w->portRect.top - w->content.top);
  PortCopyRegion(globalVis, w->visRgn);
  PortOffsetRegion(w->visRgn, dh, dv);
}

void TrackOutline(const Rect& start, Point from, const Rect& limit, bool grow, const Rect& sizeLimits, Point* delta);

}  // namespace

namespace internal {

const std::vector<WindowPtr>& Windows() { return gWindows; }

Rect StructureFor(WindowPtr w, const Rect& content) {
  Rect s = content;
  if (w->hasTitleBar) {
    PortInsetRect(&s, -1, -1);
    s.top = SInt16(content.top - TitleHeight(w) - 1);
    return s;
  }
  if ((w->procID >> 4) == 0 && (w->procID & 15) == dBoxProc) {
    PortInsetRect(&s, -4, -4);
    return s;
  }
  PortInsetRect(&s, -1, -1);
  return s;
}

void AttachPort(WindowPtr w) {
  const PixMap* fb = ScreenPixMap();
  if (!fb) return;
  SInt16 width = SInt16(w->content.right - w->content.left), height = SInt16(w->content.bottom - w->content.top);
  w->portRect.right = SInt16(w->portRect.left + width);
  w->portRect.bottom = SInt16(w->portRect.top + height);
  SInt16 dh = SInt16(w->portRect.left - w->content.left), dv = SInt16(w->portRect.top - w->content.top);
  PixMap pm = *fb;
  pm.bounds = Rect{SInt16(fb->bounds.top + dv), SInt16(fb->bounds.left + dh), SInt16(fb->bounds.bottom + dv),
                   SInt16(fb->bounds.right + dh)};
  w->portPixMap = pm;
  w->pixMapMaster = &w->portPixMap;
  Extra& e = ExtraOf(w);
  SetVisible(w, e.visCont);
}

RgnHandle VisibleContent(WindowPtr w) {
  if (!Known(w)) return nullptr;
  return ExtraOf(w).visCont;
}

void DrawFrame(WindowPtr w) {
  if (!Known(w) || !w->visible || !ScreenReady()) return;
  Extra& e = ExtraOf(w);
  RgnHandle clip = PortNewRegion();
  PortDiffRegion(e.visStruct, w->contRgn, clip);
  if (!PortEmptyRegion(clip)) {
    PortKeeper keep;
    UseScreenPort(clip);
    PaintFrame(w);
    NoteScreenChanged();
  }
  PortFreeRegion(clip);
}

void Relayout(const std::vector<WindowPtr>& contentLost) {
  if (!ScreenReady()) return;
  // What each window showed before.
  std::map<WindowPtr, RgnHandle> old;
  for (WindowPtr w : gWindows) {
    RgnHandle r = PortNewRegion();
    auto it = gExtra.find(w);
    if (it != gExtra.end() && it->second.visCont) PortCopyRegion(it->second.visCont, r);
    old[w] = r;
  }
  RgnHandle oldDesktop = PortNewRegion();
  if (gDesktop) PortCopyRegion(gDesktop, oldDesktop);
  else gDesktop = PortNewRegion();

  RgnHandle screen = PortNewRegion();
  Rect all = ScreenBounds();
  SetRectRgn(screen, all);
  RgnHandle covered = PortNewRegion();
  Rect bar{0, 0, std::min<SInt16>(kMenuBarHeight, all.bottom), all.right};
  SetRectRgn(covered, bar);
  for (WindowPtr w : gWindows) {
    ComputeStructure(w);
    Extra& e = ExtraOf(w);
    if (!w->visible) {
      PortSetEmptyRegion(e.visStruct);
      PortSetEmptyRegion(e.visCont);
      continue;
    }
    PortSectRegion(w->strucRgn, screen, e.visStruct);
    PortDiffRegion(e.visStruct, covered, e.visStruct);
    PortSectRegion(w->contRgn, e.visStruct, e.visCont);
    PortUnionRegion(covered, w->strucRgn, covered);
  }
  PortDiffRegion(screen, covered, gDesktop);
  // What became visible gets drawn: desktop, frames, and content as update.
  RgnHandle exposed = PortNewRegion();
  PortDiffRegion(gDesktop, oldDesktop, exposed);
  EraseGlobal(exposed, kDesktopColor);
  for (WindowPtr w : gWindows) {
    Extra& e = ExtraOf(w);
    bool lost = std::find(contentLost.begin(), contentLost.end(), w) != contentLost.end();
    if (lost) {
      PortCopyRegion(e.visCont, exposed);
      PortCopyRegion(e.visCont, w->updateRgn);
    } else {
      PortDiffRegion(e.visCont, old[w], exposed);
      PortUnionRegion(w->updateRgn, exposed, w->updateRgn);
    }
    EraseGlobal(exposed, kWhite);
    AttachPort(w);
    if (w->visible) DrawFrame(w);
  }
  PortFreeRegion(exposed);
  PortFreeRegion(covered);
  PortFreeRegion(screen);
  PortFreeRegion(oldDesktop);
  for (auto& [w, r] : old) PortFreeRegion(r);
  NoteScreenChanged();
}

bool ModalLayerShowing() {
  return std::any_of(gWindows.begin(), gWindows.end(),
                     [](WindowPtr w) { return w->visible && w->layer == WindowLayer::kModal; });
}

bool ProgramActive() { return true; }

void UpdateActivation() {
  WindowPtr want = nullptr;
  for (WindowPtr w : gWindows) {
    if (!w->visible || w->layer == WindowLayer::kFloating) continue;
    want = w;
    break;
  }
  // Floating palettes look active while nothing modal is up.
  bool modal = ModalLayerShowing();
  for (WindowPtr w : gWindows) {
    if (w->layer != WindowLayer::kFloating) continue;
    bool hl = w->visible && ProgramActive() && !modal;
    if (w->hilited != hl) {
      w->hilited = hl;
      DrawFrame(w);
    }
  }
  if (want == gActive) return;
  if (gActive && Known(gActive)) {
    gActive->hilited = false;
    DrawFrame(gActive);
    gActivations.push_back({gActive->id, false});
  }
  gActive = want;
  if (gActive) {
    gActive->hilited = true;
    DrawFrame(gActive);
    gActivations.push_back({gActive->id, true});
  }
}

namespace {
bool gModalUpdatesOnly = false;
}

void RestrictUpdatesToModal(bool on) { gModalUpdatesOnly = on; }

Boolean GenerateEvent(SInt16 mask, EventRecord* event, Boolean remove) {
  if (UInt16(mask) & activMask) {
    while (!gActivations.empty() && !WindowFromId(gActivations.front().id)) gActivations.pop_front();
    if (!gActivations.empty()) {
      Activation a = gActivations.front();
      if (remove) gActivations.pop_front();
      *event = EventRecord{};
      event->what = activateEvt;
      event->message = a.id;
      event->modifiers = a.activate ? activeFlag : 0;
      return true;
    }
  }
  if (!(UInt16(mask) & updateMask)) return false;
  if (remove && gUpdateHandedOut) {
    WindowPtr last = WindowFromId(gUpdateHandedOut);
    if (last && !gUpdateBegun) PortSetEmptyRegion(last->updateRgn);
    gUpdateHandedOut = 0;
  }
  for (WindowPtr w : gWindows) {
    if (!w->visible) continue;
    if (gModalUpdatesOnly && w->layer != WindowLayer::kModal) continue;
    Extra& e = ExtraOf(w);
    PortSectRegion(w->updateRgn, e.visCont, w->updateRgn);
    if (PortEmptyRegion(w->updateRgn)) continue;
    *event = EventRecord{};
    event->what = updateEvt;
    event->message = w->id;
    if (remove) {
      gUpdateHandedOut = w->id;
      gUpdateBegun = false;
    }
    return true;
  }
  return false;
}

}  // namespace internal

WindowPtr WindowFromId(UInt32 id) {
  for (WindowPtr w : gWindows)
    if (w->id == id) return w;
  return nullptr;
}

std::string WindowTitleUtf8(WindowPtr window) { return Known(window) ? MacRomanToUtf8(window->title) : ""; }

WindowPtr FindWindowByTitle(const std::string& utf8Title) {
  for (WindowPtr w : gWindows)
    if (w->visible && MacRomanToUtf8(w->title) == utf8Title) return w;
  return nullptr;
}

Rect CloseBoxRect(WindowPtr w) { return Known(w) && w->hasTitleBar && w->goAwayFlag ? BoxAt(w, false) : Rect{}; }
Rect ZoomBoxRect(WindowPtr w) { return Known(w) && w->hasTitleBar && w->hasZoom ? BoxAt(w, true) : Rect{}; }
Rect GrowBoxRect(WindowPtr w) {
  if (!Known(w) || !w->hasGrow) return Rect{};
  return Rect{SInt16(w->content.bottom - kGrowBoxSize), SInt16(w->content.right - kGrowBoxSize), w->content.bottom,
              w->content.right};
}
Rect TitleBarRect(WindowPtr w) { return Known(w) && w->hasTitleBar ? InteriorTitle(w) : Rect{}; }

void ForgetActivations() { gActivations.clear(); }

namespace {

void TrackOutline(const Rect& start, Point from, const Rect& limit, bool grow, const Rect& sizeLimits, Point* delta) {
  PortKeeper keep;
  Rect clipRect = ClientRect();
  auto draw = [&](const Rect& r) {
    UseScreenPortRect(clipRect);
    PortPenMode(patXor);
    PortPenPattern(&qd.gray);
    PortFrameRect(&r);
    NoteScreenChanged();
  };
  auto outlineFor = [&](Point d) {
    Rect r = start;
    if (grow) {
      r.right = SInt16(r.right + d.h);
      r.bottom = SInt16(r.bottom + d.v);
    } else {
      PortOffsetRect(&r, d.h, d.v);
    }
    return r;
  };
  auto pin = [&](Point p) {
    p.h = std::clamp<SInt16>(p.h, limit.left, SInt16(std::max<int>(limit.left, limit.right - 1)));
    p.v = std::clamp<SInt16>(p.v, limit.top, SInt16(std::max<int>(limit.top, limit.bottom - 1)));
    return p;
  };
  auto clampSize = [&](Point d) {
    if (!grow) return d;
    int w = start.right - start.left + d.h, h = start.bottom - start.top + d.v;
    w = std::clamp<int>(w, sizeLimits.left, std::max<int>(sizeLimits.left, sizeLimits.right));
    h = std::clamp<int>(h, sizeLimits.top, std::max<int>(sizeLimits.top, sizeLimits.bottom));
    return Point{SInt16(h - (start.bottom - start.top)), SInt16(w - (start.right - start.left))};
  };
  Point d{};
  Rect shown = outlineFor(d);
  draw(shown);
  while (PortButton()) {
    PortSetPort(ScreenPort());
    Point now;
    PortGetMouse(&now);
    now = pin(now);
    Point nd = clampSize(Point{SInt16(now.v - from.v), SInt16(now.h - from.h)});
    if (nd == d) continue;
    draw(shown);
    d = nd;
    shown = outlineFor(d);
    draw(shown);
  }
  draw(shown);
  *delta = d;
}

}  // namespace
}  // namespace vlui

using namespace vlui;
using namespace vlui::internal;

// ---- Making and releasing -----------------------------------------------------------------------

namespace vlui::internal {

WindowPtr SetUpWindow(WindowPtr w, const Rect* bounds, const std::string& title, Boolean visible, SInt16 procID,
                      WindowPtr behind, Boolean goAwayFlag, SInt32 refCon) {
  ApplyProc(w, procID);
  w->content = *bounds;
  if (w->content.right < w->content.left) w->content.right = w->content.left;
  if (w->content.bottom < w->content.top) w->content.bottom = w->content.top;
  w->title = title;
  w->goAwayFlag = goAwayFlag && w->hasTitleBar;
  w->refCon = refCon;
  w->id = gNextId++;
  if (gNextId == 0) gNextId = 1;
  PortOpenPort(w);
  w->portRect = Rect{0, 0, SInt16(w->content.bottom - w->content.top), SInt16(w->content.right - w->content.left)};
  w->strucRgn = PortNewRegion();
  w->contRgn = PortNewRegion();
  w->updateRgn = PortNewRegion();
  w->userState = w->content;
  w->stdState = DefaultStdState(w);
  Insert(w, behind);
  w->visible = visible;
  ComputeStructure(w);
  AttachPort(w);
  if (visible) {
    Relayout({w});
    UpdateActivation();
  }
  PortSetPort(w);
  return w;
}

}  // namespace vlui::internal

static WindowPtr MakeWindow(void* storage, const Rect* bounds, const std::string& title, Boolean visible, SInt16 procID,
                            WindowPtr behind, Boolean goAwayFlag, SInt32 refCon) {
  if (!ScreenReady() || !bounds) return nullptr;
  WindowPtr w = storage ? new (storage) WindowRecord() : new (std::nothrow) WindowRecord();
  if (!w) return nullptr;
  w->ownedStorage = storage ? nullptr : w;
  return SetUpWindow(w, bounds, title, visible, procID, behind, goAwayFlag, refCon);
}

WindowPtr PortNewWindow(void* storage, const Rect* bounds, ConstStringPtr title, Boolean visible, SInt16 procID,
                        WindowPtr behind, Boolean goAwayFlag, SInt32 refCon) {
  return MakeWindow(storage, bounds, title ? PStrToStd(title) : std::string(), visible, procID, behind, goAwayFlag,
                    refCon);
}

WindowPtr PortNewCWindow(void* storage, const Rect* bounds, ConstStringPtr title, Boolean visible, SInt16 procID,
                         WindowPtr behind, Boolean goAwayFlag, SInt32 refCon) {
  return PortNewWindow(storage, bounds, title, visible, procID, behind, goAwayFlag, refCon);
}

WindowPtr PortGetNewWindow(SInt16 windowID, void* storage, WindowPtr behind) {
  Handle h = PortLoadResource(FourCC("WIND"), windowID);
  vlres::WindowTemplate t;
  if (!h || !vlres::ParseWindow(h, &t)) return nullptr;
  return MakeWindow(storage, &t.bounds, t.title, t.visible, t.procId, behind, t.goAway, t.refCon);
}

WindowPtr PortGetNewCWindow(SInt16 windowID, void* storage, WindowPtr behind) {
  return PortGetNewWindow(windowID, storage, behind);
}

void PortCloseWindow(WindowPtr window) {
  if (!Known(window)) return;
  KillControlsOf(window);
  bool wasVisible = window->visible;
  Remove(window);
  if (gActive == window) gActive = nullptr;
  auto it = gExtra.find(window);
  if (it != gExtra.end()) {
    PortFreeRegion(it->second.visStruct);
    PortFreeRegion(it->second.visCont);
    gExtra.erase(it);
  }
  if (wasVisible) {
    Relayout();
    UpdateActivation();
  }
  if (PortCurrentPort() == window) PortSetPort(nullptr);
  PortFreeRegion(window->strucRgn);
  PortFreeRegion(window->contRgn);
  PortFreeRegion(window->updateRgn);
  window->strucRgn = window->contRgn = window->updateRgn = nullptr;
  PortClosePort(window);
  window->id = 0;
}

void PortDisposeWindow(WindowPtr window) {
  if (!Known(window) || DisposeIfDialog(window)) return;
  void* owned = window->ownedStorage;
  PortCloseWindow(window);
  if (owned) {
    delete window;
  } else {
    window->~WindowRecord();
  }
}

void PortSetWindowLayer(WindowPtr window, WindowLayer layer) {
  if (!Known(window) || window->layer == layer) return;
  Remove(window);
  window->layer = layer;
  Insert(window, kFirstWindowOfClass);
  Relayout({window});
  UpdateActivation();
}

// ---- Attributes -----------------------------------------------------------------------------

void PortSetWTitle(WindowPtr window, ConstStringPtr title) {
  if (!Known(window)) return;
  window->title = title ? PStrToStd(title) : std::string();
  DrawFrame(window);
}

void PortGetWTitle(WindowPtr window, StringPtr title) {
  if (!title) return;
  if (!Known(window)) {
    title[0] = 0;
    return;
  }
  PStrFromStd(window->title, title);
}

void PortSetWRefCon(WindowPtr window, SInt32 refCon) {
  if (Known(window)) window->refCon = refCon;
}
SInt32 PortGetWRefCon(WindowPtr window) { return Known(window) ? window->refCon : 0; }
void PortSetWindowObject(WindowPtr window, void* object) {
  if (Known(window)) window->object = object;
}
void* PortFindWindowObject(WindowPtr window) { return Known(window) ? window->object : nullptr; }
void* PortNativeWindow(WindowPtr window) { return Known(window) ? window : nullptr; }

// ---- Showing, ordering, activation ------------------------------------------------------------

void PortShowWindow(WindowPtr window) { PortShowHide(window, true); }
void PortHideWindow(WindowPtr window) { PortShowHide(window, false); }

void PortShowHide(WindowPtr window, Boolean show) {
  if (!Known(window) || window->visible == show) return;
  window->visible = show;
  if (show) PortSetEmptyRegion(window->updateRgn);
  Relayout(show ? std::vector<WindowPtr>{window} : std::vector<WindowPtr>{});
  UpdateActivation();
  if (show) vlui::internal::NoteWindowShown(window);
}

void PortBringToFront(WindowPtr window) {
  if (!Known(window)) return;
  Remove(window);
  Insert(window, kFirstWindowOfClass);
  Relayout();
  UpdateActivation();
}

void PortSelectWindow(WindowPtr window) { PortBringToFront(window); }

void PortSendBehind(WindowPtr window, WindowPtr behindWindow) {
  if (!Known(window)) return;
  Remove(window);
  Insert(window, behindWindow == window ? nullptr : behindWindow);
  Relayout();
  UpdateActivation();
}

WindowPtr PortFrontWindow() {
  for (WindowPtr w : gWindows)
    if (w->visible) return w;
  return nullptr;
}

WindowPtr PortFrontNonFloatingWindow() {
  for (WindowPtr w : gWindows)
    if (w->visible && w->layer != WindowLayer::kFloating) return w;
  return nullptr;
}

WindowPtr PortActiveWindow() { return Known(gActive) ? gActive : nullptr; }
WindowPtr PortGetWindowList() { return gWindows.empty() ? nullptr : gWindows.front(); }
WindowPtr PortGetNextWindow(WindowPtr window) { return Known(window) ? window->nextWindow : nullptr; }

void PortHiliteWindow(WindowPtr window, Boolean hilite) {
  if (!Known(window) || window->hilited == hilite) return;
  window->hilited = hilite;
  DrawFrame(window);
}

Boolean PortIsWindowVisible(WindowPtr window) { return Known(window) && window->visible; }
Boolean PortIsWindowHilited(WindowPtr window) { return Known(window) && window->hilited; }
Boolean PortIsWindow(WindowPtr window) { return Known(window); }

// ---- Hit testing ------------------------------------------------------------------------------

SInt16 PortFindWindow(Point where, WindowPtr* window) {
  if (window) *window = nullptr;
  if (!ScreenReady()) return inDesk;
  Rect all = ScreenBounds();
  if (where.v >= 0 && where.v < kMenuBarHeight && where.h >= all.left && where.h < all.right) return inMenuBar;
  for (WindowPtr w : gWindows) {
    if (!w->visible || !PortPtInRegion(where, w->strucRgn)) continue;
    if (window) *window = w;
    bool live = w->hilited;
    if (PortPtInRect(where, &w->content)) {
      Rect grow = GrowBoxRect(w);
      if (live && PortPtInRect(where, &grow)) return inGrow;
      return inContent;
    }
    if (w->hasTitleBar) {
      Rect close = CloseBoxRect(w), zoom = ZoomBoxRect(w);
      if (live && PortPtInRect(where, &close)) return inGoAway;
      if (live && PortPtInRect(where, &zoom)) return w->zoomed ? inZoomIn : inZoomOut;
      return inDrag;
    }
    return inContent;
  }
  return inDesk;
}

// ---- Moving and sizing --------------------------------------------------------------------------

void PortMoveWindow(WindowPtr window, SInt16 h, SInt16 v, Boolean front) {
  if (!Known(window)) return;
  if (h != window->content.left || v != window->content.top) {
    PortOffsetRect(&window->content, h - window->content.left, v - window->content.top);
    if (!window->zoomed) window->userState = window->content;
    Relayout({window});
  }
  if (front) PortSelectWindow(window);
}

void PortSizeWindow(WindowPtr window, SInt16 width, SInt16 height, Boolean) {
  if (!Known(window)) return;
  width = std::max<SInt16>(width, 1);
  height = std::max<SInt16>(height, 1);
  if (width == window->content.right - window->content.left && height == window->content.bottom - window->content.top)
    return;
  window->content.right = SInt16(window->content.left + width);
  window->content.bottom = SInt16(window->content.top + height);
  if (!window->zoomed) window->userState = window->content;
  Relayout({window});
}

void PortCall6317(Point* where) {
  if (!where || !ScreenReady()) return;
  Rect client = ClientRect();
  SInt16 minTop = SInt16(client.top + kFloatTitleBarHeight + 1);
  SInt16 maxTop = SInt16(std::max<int>(minTop, client.bottom - 8));
  where->v = std::clamp(where->v, minTop, maxTop);
  SInt16 maxLeft = SInt16(std::max<int>(client.left, client.right - 48));
  where->h = std::clamp(where->h, SInt16(client.left - 200), maxLeft);
}

void PortDragWindow(WindowPtr window, Point startPt, const Rect* limit) {
  if (!Known(window)) return;
  bool command = (CurrentModifiers() & cmdKey) != 0;
  if (!command) PortSelectWindow(window);
  Rect bounds = limit && !PortEmptyRect(limit) ? *limit : ClientRect();
  Point d{};
  TrackOutline(StructureFor(window, window->content), startPt, bounds, false, Rect{}, &d);
  if (d.h == 0 && d.v == 0) return;
  Point to{SInt16(window->content.top + d.v), SInt16(window->content.left + d.h)};
  PortCall6317(&to);
  // The whole title bar stays below the menu bar.
  to.v = std::max<SInt16>(to.v, SInt16(ClientRect().top + TitleHeight(window) + 1));
  PortMoveWindow(window, to.h, to.v, false);
}

SInt32 PortGrowWindow(WindowPtr window, Point startPt, const Rect* sizeRect) {
  if (!Known(window)) return 0;
  Rect client = ClientRect();
  Rect limits = sizeRect ? *sizeRect
                         : Rect{kMinWindowHeight, kMinWindowWidth, SInt16(client.bottom - client.top),
                                SInt16(client.right - client.left)};
  limits.left = std::max<SInt16>(limits.left, 1);
  limits.top = std::max<SInt16>(limits.top, 1);
  Point d{};
  TrackOutline(window->content, startPt, ScreenBounds(), true, limits, &d);
  if (d.h == 0 && d.v == 0) return 0;
  SInt32 width = window->content.right - window->content.left + d.h;
  SInt32 height = window->content.bottom - window->content.top + d.v;
  return (height << 16) | (width & 0xFFFF);
}

static Boolean TrackBoxRect(WindowPtr window, const Rect& box) {
  if (PortEmptyRect(&box)) return false;
  bool inside = false, shown = false;
  auto show = [&](bool on) {
    if (on == shown) return;
    shown = on;
    PortKeeper keep;
    UseScreenPortRect(box);
    PortInvertRect(&box);
    NoteScreenChanged();
  };
  PortKeeper keep;
  do {
    PortSetPort(ScreenPort());
    Point now;
    PortGetMouse(&now);
    inside = PortPtInRect(now, &box);
    show(inside);
  } while (PortButton());
  show(false);
  (void)window;
  return inside;
}

Boolean PortTrackGoAway(WindowPtr window, Point) { return Known(window) && TrackBoxRect(window, CloseBoxRect(window)); }

Boolean PortTrackBox(WindowPtr window, Point, SInt16 part) {
  if (!Known(window)) return false;
  Rect box = part == inGoAway ? CloseBoxRect(window) : ZoomBoxRect(window);
  return TrackBoxRect(window, box);
}

void PortZoomWindow(WindowPtr window, SInt16 part, Boolean front) {
  if (!Known(window)) return;
  if (part == inZoomOut && !window->zoomed) {
    window->userState = window->content;
    window->content = window->stdState;
    window->zoomed = true;
  } else if (part == inZoomIn && window->zoomed) {
    window->content = window->userState;
    window->zoomed = false;
  } else {
    return;
  }
  Relayout({window});
  if (front) PortSelectWindow(window);
}

void PortSetWindowStandardState(WindowPtr window, const Rect* state) {
  if (Known(window) && state) window->stdState = *state;
}
void PortSetWindowUserState(WindowPtr window, const Rect* state) {
  if (Known(window) && state) window->userState = *state;
}
Boolean PortIsWindowZoomed(WindowPtr window) { return Known(window) && window->zoomed; }

// ---- Updates --------------------------------------------------------------------------------

static void LocalToGlobalRgn(WindowPtr w, RgnHandle rgn) {
  PortOffsetRegion(rgn, SInt16(w->content.left - w->portRect.left), SInt16(w->content.top - w->portRect.top));
}

// Adds a local region to the update region (add) or takes it out.
static void ChangeUpdate(WindowPtr window, RgnHandle rgn, bool add) {
  if (!Known(window) || !rgn) return;
  RgnHandle g = PortNewRegion();
  PortCopyRegion(rgn, g);
  LocalToGlobalRgn(window, g);
  if (add) {
    PortSectRegion(g, window->contRgn, g);
    PortUnionRegion(window->updateRgn, g, window->updateRgn);
  } else {
    PortDiffRegion(window->updateRgn, g, window->updateRgn);
  }
  PortFreeRegion(g);
}

static void ChangeUpdate(WindowPtr window, const Rect* r, bool add) {
  if (!Known(window) || !r) return;
  RgnHandle rgn = PortNewRegion();
  PortRectRegion(rgn, r);
  ChangeUpdate(window, rgn, add);
  PortFreeRegion(rgn);
}

void PortInvalRect(WindowPtr window, const Rect* r) { ChangeUpdate(window, r, true); }
void PortInvalRgn(WindowPtr window, RgnHandle rgn) { ChangeUpdate(window, rgn, true); }
void PortValidRect(WindowPtr window, const Rect* r) { ChangeUpdate(window, r, false); }
void PortValidRgn(WindowPtr window, RgnHandle rgn) { ChangeUpdate(window, rgn, false); }

void PortInvalWindowRect(const Rect* r) { PortInvalRect(static_cast<WindowPtr>(PortCurrentPort()), r); }
void PortValidWindowRect(const Rect* r) { PortValidRect(static_cast<WindowPtr>(PortCurrentPort()), r); }

void PortBeginUpdate(WindowPtr window) {
  if (!Known(window)) return;
  RgnHandle vis = PortNewRegion();
  PortSectRegion(ExtraOf(window).visCont, window->updateRgn, vis);
  SetVisible(window, vis);
  PortFreeRegion(vis);
  PortSetEmptyRegion(window->updateRgn);
  if (window->id == gUpdateHandedOut) gUpdateBegun = true;
}

void PortEndUpdate(WindowPtr window) {
  if (!Known(window)) return;
  SetVisible(window, ExtraOf(window).visCont);
  NoteScreenChanged();
}

void PortDrawWindowFrame(WindowPtr window) { DrawFrame(window); }

void PortDrawGrowIcon(WindowPtr window) {
  if (!Known(window) || !window->hasGrow || !window->visible) return;
  Rect box = GrowBoxRect(window);
  RgnHandle clip = PortNewRegion();
  PortRectRegion(clip, &box);
  PortSectRegion(clip, ExtraOf(window).visCont, clip);
  {
    PortKeeper keep;
    UseScreenPort(clip);
    FillRect(box, kWhite);
    FillRect(Rect{box.top, box.left, box.bottom, SInt16(box.left + 1)}, kBlack);
    FillRect(Rect{box.top, box.left, SInt16(box.top + 1), box.right}, kBlack);
    if (window->hilited) {
      Rect big{SInt16(box.top + 5), SInt16(box.left + 5), SInt16(box.bottom - 2), SInt16(box.right - 2)};
      Rect small{SInt16(box.top + 3), SInt16(box.left + 3), SInt16(box.top + 9), SInt16(box.left + 9)};
      FillRect(big, kWhite);
      FrameRect(big, kBlack);
      FillRect(small, kWhite);
      FrameRect(small, kBlack);
    }
  }
  PortFreeRegion(clip);
  NoteScreenChanged();
}

void PortGetWindowContentRect(WindowPtr window, Rect* r) {
  if (r) *r = Known(window) ? window->content : Rect{};
}

void PortGetWindowStructureRect(WindowPtr window, Rect* r) {
  if (r) *r = Known(window) ? StructureFor(window, window->content) : Rect{};
}

void PortGetWindowPortBounds(WindowPtr window, Rect* r) {
  if (r) *r = Known(window) ? window->portRect : Rect{};
}
