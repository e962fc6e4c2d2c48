// Ports, offscreen worlds, coordinates, colours, pen and single pixels.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "QDInternal.h"

const QDGlobals qd{};

namespace qdimpl {

namespace {
OSErr gQDError = noErr;
GDevice gMainDevice;
GDevice* gMainDeviceMaster = &gMainDevice;
GrafPtr gCurrent = nullptr;

GrafPort& EmptyPort() {
  static GrafPort* port = [] {
    auto* p = new GrafPort();
    PortOpenPort(p);
    return p;
  }();
  return *port;
}

constexpr Size kMaxWorldBytes = Size(1) << 30;

}  // namespace

void SetError(OSErr e) { gQDError = e; }

PortPrivate* Priv(GrafPort* port) {
  if (!port->priv) port->priv = new PortPrivate();
  return port->priv;
}

GrafPort* Current() {
  if (!gCurrent) gCurrent = &EmptyPort();
  return gCurrent;
}

}  // namespace qdimpl

using namespace qdimpl;

OSErr PortQDError() { return gQDError; }

// ---------------------------------------------------------------------------------------------
// Ports

static void ResetPortState(GrafPtr port) {
  port->bkPat = qd.white;
  port->fillPat = qd.black;
  port->pnLoc = Point{};
  port->pnSize = Point{1, 1};
  port->pnMode = patCopy;
  port->pnPat = qd.black;
  port->pnVis = 0;
  port->txFont = 0;
  port->txFace = kStylePlain;
  port->txMode = srcOr;
  port->txSize = 0;
  port->rgbFgColor = RGBColor{0, 0, 0};
  port->rgbBkColor = RGBColor{65535, 65535, 65535};
  port->pnColorPat = false;
  port->bkColorPat = false;
  port->grafProcs = nullptr;
}

void PortOpenPort(GrafPtr port) {
  if (!port) return;
  port->portPixMap = PixMap{};
  port->pixMapMaster = &port->portPixMap;
  port->portRect = Rect{};
  if (!port->visRgn) port->visRgn = PortNewRegion();
  if (!port->clipRgn) port->clipRgn = PortNewRegion();
  RegionSetRect(**port->visRgn, kMinCoord, kMinCoord, kMaxCoord, kMaxCoord);
  RegionSetRect(**port->clipRgn, kMinCoord, kMinCoord, kMaxCoord, kMaxCoord);
  ResetPortState(port);
  if (!port->priv) port->priv = new PortPrivate();
  gCurrent = port;
}

void PortClosePort(GrafPtr port) {
  if (!port) return;
  if (port->priv) {
    PicEndRecording(port);
    std::free(port->priv->ownedPixels);
    delete port->priv;
    port->priv = nullptr;
  }
  PortFreeRegion(port->visRgn);
  PortFreeRegion(port->clipRgn);
  port->visRgn = nullptr;
  port->clipRgn = nullptr;
  port->portPixMap = PixMap{};
  if (gCurrent == port) gCurrent = nullptr;
}

void PortSetPortPixMap(GrafPtr port, const PixMap* pixels) {
  if (!port || !pixels) return;
  port->portPixMap = *pixels;
  port->pixMapMaster = &port->portPixMap;
  port->portRect = pixels->bounds;
  if (!port->visRgn) port->visRgn = PortNewRegion();
  PortRectRegion(port->visRgn, &pixels->bounds);
}

void PortSetPort(GrafPtr port) { gCurrent = port; }
void PortGetPort(GrafPtr* port) {
  if (port) *port = Current();
}
void PortSavePort(GrafPtr* port) { PortGetPort(port); }
GrafPtr PortCurrentPort() { return Current(); }

void PortGetWorld(CGrafPtr* port, GDHandle* device) {
  if (port) *port = Current();
  if (device) *device = &gMainDeviceMaster;
}

void PortSetWorld(CGrafPtr port, GDHandle) { gCurrent = port; }

GDHandle PortGetMainDevice() { return &gMainDeviceMaster; }

const PixMap* PortPortBits(GrafPtr port) { return port ? &port->portPixMap : nullptr; }

bool PortIsColorPort(GrafPtr port) { return port && port->portPixMap.pixelSize > 1; }

void PortSetOrigin(SInt16 h, SInt16 v) {
  GrafPort* port = Current();
  SInt32 dh = h - port->portRect.left, dv = v - port->portRect.top;
  if (dh == 0 && dv == 0) return;
  PortOffsetRect(&port->portRect, dh, dv);
  PortOffsetRect(&port->portPixMap.bounds, dh, dv);
  if (port->visRgn) RegionOffset(**port->visRgn, dh, dv);
}

void PortPortSize(SInt16 width, SInt16 height) {
  GrafPort* port = Current();
  port->portRect.right = Clamp16(port->portRect.left + width);
  port->portRect.bottom = Clamp16(port->portRect.top + height);
}

void PortClipRect(const Rect* r) {
  if (r) PortRectRegion(Current()->clipRgn, r);
}

void PortSetClip(RgnHandle rgn) { PortCopyRegion(rgn, Current()->clipRgn); }

void PortGetClip(RgnHandle rgn) { PortCopyRegion(Current()->clipRgn, rgn); }

void PortGlobalToLocal(Point* pt) {
  if (!pt) return;
  const Rect& b = Current()->portPixMap.bounds;
  pt->h = Clamp16(pt->h + b.left);
  pt->v = Clamp16(pt->v + b.top);
}

void PortLocalToGlobal(Point* pt) {
  if (!pt) return;
  const Rect& b = Current()->portPixMap.bounds;
  pt->h = Clamp16(pt->h - b.left);
  pt->v = Clamp16(pt->v - b.top);
}

// ---------------------------------------------------------------------------------------------
// Offscreen worlds

static int WorldDepth(SInt16 depth) {
  if (depth == 0) return gMainDevice.gdPixelSize;
  if (depth == 1) return 1;
  return depth <= 16 ? 16 : 32;
}

// Allocates white pixels for bounds at depth; false when too large.
static bool MakePixels(const Rect& bounds, int depth, PixMap* pm, char** storage) {
  long width = long(bounds.right) - bounds.left, height = long(bounds.bottom) - bounds.top;
  pm->bounds = bounds;
  pm->pixelSize = SInt16(depth);
  pm->rowBytes = SInt32(((width * depth + 31) / 32) * 4);
  *storage = nullptr;
  pm->baseAddr = nullptr;
  if (width == 0 || height == 0) return true;
  Size bytes = Size(pm->rowBytes) * height;
  if (bytes > kMaxWorldBytes) return false;
  *storage = static_cast<char*>(std::malloc(std::size_t(bytes)));
  if (!*storage) return false;
  pm->baseAddr = *storage;
  for (long y = 0; y < height; ++y) {
    char* row = *storage + y * pm->rowBytes;
    if (depth == 32) std::fill_n(reinterpret_cast<UInt32*>(row), width, 0x00FFFFFFu);
    else if (depth == 16) std::fill_n(reinterpret_cast<UInt16*>(row), width, UInt16(0x7FFF));
    else std::memset(row, 0, std::size_t(pm->rowBytes));
  }
  return true;
}

OSErr PortNewOffscreen(GWorldPtr* world, SInt16 depth, const Rect* bounds, CTabHandle, GDHandle, GWorldFlags) {
  if (!world) return paramErr;
  *world = nullptr;
  if (!bounds || bounds->right < bounds->left || bounds->bottom < bounds->top) {
    SetError(paramErr);
    return paramErr;
  }
  PixMap pm;
  char* storage = nullptr;
  if (!MakePixels(*bounds, WorldDepth(depth), &pm, &storage)) {
    SetError(memFullErr);
    return memFullErr;
  }
  GrafPtr saved = gCurrent;
  auto* port = new GrafPort();
  PortOpenPort(port);
  gCurrent = saved;
  port->portPixMap = pm;
  port->portRect = *bounds;
  PortRectRegion(port->visRgn, bounds);
  port->priv->ownedPixels = storage;
  port->priv->isWorld = true;
  *world = port;
  SetError(noErr);
  return noErr;
}

GWorldFlags PortUpdateOffscreen(GWorldPtr* world, SInt16 depth, const Rect* bounds, CTabHandle ctab, GDHandle device,
                                GWorldFlags flags) {
  if (!world || !*world) {
    OSErr e = PortNewOffscreen(world, depth, bounds, ctab, device, flags);
    return e == noErr ? 0 : GWorldFlags(1);
  }
  GrafPtr port = *world;
  if (!bounds || bounds->right < bounds->left || bounds->bottom < bounds->top) {
    SetError(paramErr);
    return GWorldFlags(1);
  }
  PixMap pm;
  char* storage = nullptr;
  if (!MakePixels(*bounds, WorldDepth(depth), &pm, &storage)) {
    SetError(memFullErr);
    return GWorldFlags(1);
  }
  // Keep the picture where old and new bounds overlap.
  Rect common;
  if (port->portPixMap.baseAddr && pm.baseAddr && PortSectRect(&port->portPixMap.bounds, bounds, &common)) {
    PortCopyBits(&port->portPixMap, &pm, &common, &common, srcCopy, nullptr);
  }
  std::free(Priv(port)->ownedPixels);
  port->priv->ownedPixels = storage;
  port->portPixMap = pm;
  port->portRect = *bounds;
  PortRectRegion(port->visRgn, bounds);
  SetError(noErr);
  return 0;
}

void PortFreeOffscreen(GWorldPtr world) {
  if (!world) return;
  PortClosePort(world);
  delete world;
}

PixMapHandle PortOffscreenPixMap(GWorldPtr world) {
  if (!world) return nullptr;
  world->pixMapMaster = &world->portPixMap;
  return &world->pixMapMaster;
}

bool PortLockPixels(PixMapHandle pm) { return pm && *pm; }
void PortUnlockPixels(PixMapHandle) {}
Ptr PortPixBaseAddress(PixMapHandle pm) { return pm && *pm ? (*pm)->baseAddr : nullptr; }

// ---------------------------------------------------------------------------------------------
// Colours

void PortRGBForeColor(const RGBColor* c) {
  if (c) Current()->rgbFgColor = *c;
}
void PortRGBBackColor(const RGBColor* c) {
  if (c) Current()->rgbBkColor = *c;
}
void PortGetForeColor(RGBColor* c) {
  if (c) *c = Current()->rgbFgColor;
}
void PortGetBackColor(RGBColor* c) {
  if (c) *c = Current()->rgbBkColor;
}

static bool ColorOfCode(SInt32 code, RGBColor* c) {
  switch (code) {
    case blackColor: *c = {0, 0, 0}; return true;
    case whiteColor: *c = {65535, 65535, 65535}; return true;
    case redColor: *c = {65535, 0, 0}; return true;
    case greenColor: *c = {0, 65535, 0}; return true;
    case blueColor: *c = {0, 0, 65535}; return true;
    case cyanColor: *c = {0, 65535, 65535}; return true;
    case magentaColor: *c = {65535, 0, 65535}; return true;
    case yellowColor: *c = {65535, 65535, 0}; return true;
    default: return false;
  }
}

void PortForeColor(SInt32 colorCode) {
  RGBColor c{0, 0, 0};
  ColorOfCode(colorCode, &c);
  Current()->rgbFgColor = c;
}

void PortBackColor(SInt32 colorCode) {
  RGBColor c{65535, 65535, 65535};
  ColorOfCode(colorCode, &c);
  Current()->rgbBkColor = c;
}

bool PortIndexToColor(SInt32 index, RGBColor* c) {
  if (!c) return false;
  if (index < 0 || index > 255) {
    *c = RGBColor{0, 0, 0};
    return false;
  }
  if (index < 215) {
    // The 6x6x6 cube, from white down.
    auto level = [](SInt32 v) { return UInt16((5 - v) * 0x3333); };
    *c = RGBColor{level(index / 36), level((index / 6) % 6), level(index % 6)};
  } else if (index < 255) {
    // Ramps of red, green, blue and grey in the levels the cube leaves out.
    static const UInt8 kRamp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    SInt32 k = index - 215;
    UInt16 v = UInt16(kRamp[k % 10] * 257);
    switch (k / 10) {
      case 0: *c = {v, 0, 0}; break;
      case 1: *c = {0, v, 0}; break;
      case 2: *c = {0, 0, v}; break;
      default: *c = {v, v, v}; break;
    }
  } else {
    *c = RGBColor{0, 0, 0};
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Pen and patterns

void PortPenNormal() {
  GrafPort* port = Current();
  port->pnSize = Point{1, 1};
  port->pnMode = patCopy;
  port->pnPat = qd.black;
  port->pnColorPat = false;
}

void PortPenSize(SInt16 width, SInt16 height) { Current()->pnSize = Point{height, width}; }
void PortPenMode(SInt16 mode) { Current()->pnMode = mode; }

void PortPenPattern(const Pattern* pat) {
  if (!pat) return;
  Current()->pnPat = *pat;
  Current()->pnColorPat = false;
}

// Takes a colour pattern into a port's pen or background: its colour, or its pattern.
static void TakePixPat(PixPatHandle pp, bool* isColor, RGBColor* color, Pattern* pat) {
  if (!pp || !*pp) return;
  *isColor = (*pp)->patType != 0;
  if (*isColor) *color = (*pp)->rgb;
  else *pat = (*pp)->pat1Data;
}

void PortPenPixPat(PixPatHandle pp) {
  GrafPort* port = Current();
  TakePixPat(pp, &port->pnColorPat, &port->pnColor, &port->pnPat);
}

void PortBackPattern(const Pattern* pat) {
  if (!pat) return;
  Current()->bkPat = *pat;
  Current()->bkColorPat = false;
}

void PortBackPixPat(PixPatHandle pp) {
  GrafPort* port = Current();
  TakePixPat(pp, &port->bkColorPat, &port->bkColor, &port->bkPat);
}

void PortHidePen() { --Current()->pnVis; }
void PortShowPen() { ++Current()->pnVis; }

void PortGetPen(Point* pt) {
  if (pt) *pt = Current()->pnLoc;
}

void PortGetPenState(PenState* state) {
  if (!state) return;
  GrafPort* port = Current();
  state->pnLoc = port->pnLoc;
  state->pnSize = port->pnSize;
  state->pnMode = port->pnMode;
  state->pnPat = port->pnPat;
}

void PortSetPenState(const PenState* state) {
  if (!state) return;
  GrafPort* port = Current();
  port->pnLoc = state->pnLoc;
  port->pnSize = state->pnSize;
  port->pnMode = state->pnMode;
  port->pnPat = state->pnPat;
  port->pnColorPat = false;
}

PixPatHandle PortNewPixPat() {
  auto* pp = new PixPat();
  pp->patType = 2;
  pp->pat1Data = qd.black;
  pp->rgb = RGBColor{0, 0, 0};
  return new PixPat*(pp);
}

void PortMakeRGBPat(PixPatHandle pp, const RGBColor* c) {
  if (!pp || !*pp || !c) return;
  (*pp)->patType = 2;
  (*pp)->pat1Data = qd.black;
  (*pp)->rgb = *c;
}

void PortDisposePixPat(PixPatHandle pp) {
  if (!pp) return;
  delete *pp;
  delete pp;
}

// ---------------------------------------------------------------------------------------------
// Single pixels

void PortSetCPixel(SInt16 h, SInt16 v, const RGBColor* c) {
  GrafPort* port = Current();
  const Region* clip = EffectiveClip(port);
  if (!c || !clip || !RegionContains(*clip, h, v)) return;
  WritePixel(port->portPixMap, h, v, ColorToPixel(*c, port->portPixMap.pixelSize));
}

void PortGetCPixel(SInt16 h, SInt16 v, RGBColor* c) {
  if (!c) return;
  GrafPort* port = Current();
  const PixMap& pm = port->portPixMap;
  Point pt{v, h};
  if (!pm.baseAddr || !PortPtInRect(pt, &pm.bounds)) {
    *c = RGBColor{65535, 65535, 65535};
    return;
  }
  *c = PixelToColor(ReadPixel(pm, h, v), pm.pixelSize);
}

bool PortGetPixel(SInt16 h, SInt16 v) {
  RGBColor c;
  PortGetCPixel(h, v, &c);
  return ColorToPixel(c, 1) != 0;
}
