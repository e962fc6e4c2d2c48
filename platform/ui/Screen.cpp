// The framebuffer, the screen port, drawing helpers of the look, and PNG snapshots.
#include "Screen.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "PString.h"
#include "UiInternal.h"

namespace vlui {
namespace {

GWorldPtr gFrame = nullptr;
GrafPort* gScreenPort = nullptr;
UInt32 gGeneration = 1;
bool gInteractive = false;

}  // namespace

namespace internal {

RGBColor ToRGB(UInt32 rgb) {
  auto c = [](UInt32 v) { return UInt16(v * 257); };
  return RGBColor{c((rgb >> 16) & 0xFF), c((rgb >> 8) & 0xFF), c(rgb & 0xFF)};
}

void SetFore(UInt32 rgb) {
  RGBColor c = ToRGB(rgb);
  PortRGBForeColor(&c);
}

void SetBack(UInt32 rgb) {
  RGBColor c = ToRGB(rgb);
  PortRGBBackColor(&c);
}

void FillRect(const Rect& r, UInt32 rgb) {
  RGBColor old;
  PortGetForeColor(&old);
  SetFore(rgb);
  PortPaintRect(&r);
  PortRGBForeColor(&old);
}

void FrameRect(const Rect& r, UInt32 rgb) {
  RGBColor old;
  PortGetForeColor(&old);
  PenState pen;
  PortGetPenState(&pen);
  PortPenNormal();
  SetFore(rgb);
  PortFrameRect(&r);
  PortSetPenState(&pen);
  PortRGBForeColor(&old);
}

void DrawText(const std::string& macRoman, SInt16 h, SInt16 v, UInt32 rgb) {
  if (macRoman.empty()) return;
  RGBColor old;
  PortGetForeColor(&old);
  SetFore(rgb);
  SInt16 mode = PortCurrentPort()->txMode;
  PortTextMode(srcOr);
  PortPenMove(h, v);
  std::size_t n = std::min<std::size_t>(macRoman.size(), 32767);
  PortDrawText(macRoman.data(), 0, SInt16(n));
  PortTextMode(mode);
  PortRGBForeColor(&old);
}

SInt16 TextWidth(const std::string& macRoman) {
  std::size_t n = std::min<std::size_t>(macRoman.size(), 32767);
  return n ? PortTextWidth(macRoman.data(), 0, SInt16(n)) : 0;
}

std::string FitText(const std::string& macRoman, SInt16 width) {
  if (TextWidth(macRoman) <= width) return macRoman;
  const std::string ellipsis = "\xC9";  // Mac Roman ellipsis
  std::string cut = macRoman;
  while (!cut.empty() && TextWidth(cut + ellipsis) > width) cut.pop_back();
  return cut.empty() ? std::string() : cut + ellipsis;
}

void UseFont(SInt16 size, Style face) {
  PortTextFont(kSystemFont);
  PortTextSize(size);
  PortTextFace(face);
}

PortKeeper::PortKeeper() {
  PortGetPort(&saved);
  PortGetPenState(&pen);
  PortGetForeColor(&fore);
  PortGetBackColor(&back);
  font = saved->txFont;
  size = saved->txSize;
  mode = saved->txMode;
  face = saved->txFace;
}

PortKeeper::~PortKeeper() {
  // The port may have been the screen port or a window port that is still alive; a port that
  // was closed meanwhile is not touched (PortSetPort of a stale port would be worse).
  GrafPtr now = PortCurrentPort();
  if (now == saved || (gScreenPort && saved == gScreenPort) || PortIsWindow(static_cast<WindowPtr>(saved))) {
    PortSetPort(saved);
    PortSetPenState(&pen);
    PortRGBForeColor(&fore);
    PortRGBBackColor(&back);
    PortTextFont(font);
    PortTextSize(size);
    PortTextMode(mode);
    PortTextFace(face);
  } else {
    PortSetPort(nullptr);
  }
}

GrafPtr UseScreenPort(RgnHandle clip) {
  if (!gScreenPort) return nullptr;
  PortSetPort(gScreenPort);
  if (clip) {
    PortSetClip(clip);
  } else {
    Rect all = ScreenBounds();
    PortClipRect(&all);
  }
  PortPenNormal();
  return gScreenPort;
}

GrafPtr UseScreenPortRect(const Rect& clip) {
  if (!gScreenPort) return nullptr;
  PortSetPort(gScreenPort);
  PortClipRect(&clip);
  PortPenNormal();
  return gScreenPort;
}

void SaveBits(const Rect& r, SavedBits* out) {
  out->pixels.clear();
  out->r = Rect{};
  const PixMap* pm = ScreenPixMap();
  if (!pm) return;
  Rect b = ScreenBounds(), s;
  if (!PortSectRect(&r, &b, &s)) return;
  out->r = s;
  int w = s.right - s.left, h = s.bottom - s.top;
  out->pixels.resize(std::size_t(w) * std::size_t(h));
  for (int y = 0; y < h; ++y) {
    const UInt32* row = reinterpret_cast<const UInt32*>(pm->baseAddr + std::size_t(s.top + y) * pm->rowBytes);
    std::memcpy(&out->pixels[std::size_t(y) * std::size_t(w)], row + s.left, std::size_t(w) * 4);
  }
}

void RestoreBits(const SavedBits& bits) {
  const PixMap* pm = ScreenPixMap();
  if (!pm || bits.pixels.empty()) return;
  Rect b = ScreenBounds(), s;
  if (!PortSectRect(&bits.r, &b, &s) || s != bits.r) return;  // the screen shrank meanwhile
  int w = s.right - s.left, h = s.bottom - s.top;
  for (int y = 0; y < h; ++y) {
    UInt32* row = reinterpret_cast<UInt32*>(pm->baseAddr + std::size_t(s.top + y) * pm->rowBytes);
    std::memcpy(row + s.left, &bits.pixels[std::size_t(y) * std::size_t(w)], std::size_t(w) * 4);
  }
  NoteScreenChanged();
}

}  // namespace internal

using namespace internal;

void InitScreen(int width, int height) {
  ShutdownScreen();
  width = std::clamp(width, kMinScreenWidth, 8192);
  height = std::clamp(height, kMinScreenHeight, 8192);
  GrafPtr saved = PortCurrentPort();
  Rect bounds{0, 0, SInt16(height), SInt16(width)};
  if (PortNewOffscreen(&gFrame, 32, &bounds, nullptr, nullptr, 0) != noErr) {
    gFrame = nullptr;
    PortSetPort(saved);
    return;
  }
  gScreenPort = new GrafPort();
  PortOpenPort(gScreenPort);
  PortSetPortPixMap(gScreenPort, &gFrame->portPixMap);
  PortSetPort(saved == gFrame ? nullptr : saved);
  SetEventGenerator(&GenerateEvent);
  RedrawScreen();
}

void ShutdownScreen() {
  if (!gFrame) return;
  // Windows go first (they point into the framebuffer), then the menus' screen state.
  std::vector<WindowPtr> all = Windows();
  for (WindowPtr w : all) {
    if (DisposeIfDialog(w)) continue;
    if (w->ownedStorage) PortDisposeWindow(w);
    else PortCloseWindow(w);
  }
  ForgetMenusForScreen();
  if (gScreenPort) {
    if (PortCurrentPort() == gScreenPort) PortSetPort(nullptr);
    PortClosePort(gScreenPort);
    delete gScreenPort;
    gScreenPort = nullptr;
  }
  if (PortCurrentPort() == gFrame) PortSetPort(nullptr);
  PortFreeOffscreen(gFrame);
  gFrame = nullptr;
  SetEventGenerator(nullptr);
  ++gGeneration;
}

bool ScreenReady() { return gFrame != nullptr; }

void ResizeScreen(int width, int height) {
  if (!gFrame) {
    InitScreen(width, height);
    return;
  }
  width = std::clamp(width, kMinScreenWidth, 8192);
  height = std::clamp(height, kMinScreenHeight, 8192);
  if (width == ScreenWidth() && height == ScreenHeight()) return;
  Rect bounds{0, 0, SInt16(height), SInt16(width)};
  GrafPtr saved = PortCurrentPort();
  PortUpdateOffscreen(&gFrame, 32, &bounds, nullptr, nullptr, 0);
  PortSetPortPixMap(gScreenPort, &gFrame->portPixMap);
  PortSetPort(saved);
  // Windows whose title bar left the client area come back into it.
  Rect client = ClientRect();
  for (WindowPtr w : Windows()) {
    Point p{w->content.top, w->content.left};
    PortCall6317(&p);
    if (p.h != w->content.left || p.v != w->content.top) {
      SInt16 dh = SInt16(p.h - w->content.left), dv = SInt16(p.v - w->content.top);
      PortOffsetRect(&w->content, dh, dv);
    }
    (void)client;
  }
  RedrawScreen();
}

int ScreenWidth() { return gFrame ? gFrame->portPixMap.bounds.right - gFrame->portPixMap.bounds.left : 0; }
int ScreenHeight() { return gFrame ? gFrame->portPixMap.bounds.bottom - gFrame->portPixMap.bounds.top : 0; }

Rect ScreenBounds() { return Rect{0, 0, SInt16(ScreenHeight()), SInt16(ScreenWidth())}; }

Rect ClientRect() {
  Rect r = ScreenBounds();
  r.top = std::min<SInt16>(kMenuBarHeight, r.bottom);
  return r;
}

const PixMap* ScreenPixMap() { return gFrame ? &gFrame->portPixMap : nullptr; }

GrafPtr ScreenPort() { return gScreenPort; }

UInt32 ScreenGeneration() { return gGeneration; }
void NoteScreenChanged() { ++gGeneration; }

void RedrawScreen() {
  if (!gFrame) return;
  {
    PortKeeper keep;
    UseScreenPort();
    FillRect(ScreenBounds(), kDesktopColor);
  }
  std::vector<WindowPtr> all = Windows();
  Relayout(all);
  DrawMenuBarNow();
  NoteScreenChanged();
}

bool WritePixMapPng(const PixMap& pixels, const std::string& path, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = path + ": " + why;
    return false;
  };
  if (pixels.pixelSize != 32 || !pixels.baseAddr) return fail("not a 32-bit picture");
  int width = pixels.bounds.right - pixels.bounds.left, height = pixels.bounds.bottom - pixels.bounds.top;
  if (width <= 0 || height <= 0) return fail("empty picture");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return fail("cannot be written");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(std::size_t(width) * 3);
  volatile bool ok = false;
  if (png && info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      const UInt32* src = reinterpret_cast<const UInt32*>(pixels.baseAddr + std::size_t(y) * pixels.rowBytes);
      for (int x = 0; x < width; ++x) {
        row[std::size_t(x) * 3] = png_byte(src[x] >> 16);
        row[std::size_t(x) * 3 + 1] = png_byte(src[x] >> 8);
        row[std::size_t(x) * 3 + 2] = png_byte(src[x]);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, info);
    ok = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  bool closed = std::fclose(file) == 0;
  if (!ok || !closed) {
    std::remove(path.c_str());
    return fail("cannot be written");
  }
  return true;
}

bool WriteScreenPng(const std::string& path, std::string* error) {
  const PixMap* pm = ScreenPixMap();
  if (!pm) {
    if (error) *error = path + ": there is no screen";
    return false;
  }
  return WritePixMapPng(*pm, path, error);
}

void SetInteractive(bool on) { gInteractive = on; }
bool IsInteractive() { return gInteractive; }

}  // namespace vlui

void PortGetScreenBounds(Rect* bounds) {
  if (bounds) *bounds = vlui::ScreenBounds();
}
