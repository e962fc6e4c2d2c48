// The 2D drawing layer: graphics ports and offscreen worlds, pen and patterns, transfer modes,
// shapes, regions, pixel copies, text and recorded pictures (PICT version 2).
//
// Coordinates are 16-bit local coordinates of the current port. A pixel (h, v) covers the
// unit square to the right of and below the grid point (h, v); shapes cover the pixels whose
// centres lie inside them, and the pen hangs below and to the right of the path it follows.
//
// Pixels: 1 bit (1 = black, most significant bit first), 16 bits (native x1r5g5b5 words) and
// 32 bits (native 0x00RRGGBB words). Drawing into 32 bits always writes 0 into the top byte.
#pragma once

#include <string>
#include <vector>

#include "MacTypes.h"

// ---------------------------------------------------------------------------------------------
// Basic types and constants

struct Pattern {
  UInt8 pat[8] = {};
  friend bool operator==(const Pattern&, const Pattern&) = default;
};

using Style = UInt8;
enum : Style {
  kStylePlain = 0,
  kStyleBold = 1,
  kStyleItalic = 2,
  kStyleUnderline = 4,
  kStyleOutline = 8,
  kStyleShadow = 16,
  kStyleCondense = 32,
  kStyleExtend = 64,
};

// Transfer modes (the classic numbers): 0-7 for pixel copies and text, 8-15 for the pen.
enum : SInt16 {
  srcCopy = 0,
  srcOr = 1,
  srcXor = 2,
  srcBic = 3,
  notSrcCopy = 4,
  notSrcOr = 5,
  notSrcXor = 6,
  notSrcBic = 7,
  patCopy = 8,
  patOr = 9,
  patXor = 10,
  patBic = 11,
  notPatCopy = 12,
  notPatOr = 13,
  notPatXor = 14,
  notPatBic = 15,
  transparent = 36,  // copies every source pixel that differs from the background colour
  ditherCopy = 64,   // treated as srcCopy
};

// The classic colour codes of PortForeColor and PortBackColor.
enum : SInt32 {
  blackColor = 33,
  whiteColor = 30,
  redColor = 205,
  greenColor = 341,
  blueColor = 409,
  cyanColor = 273,
  magentaColor = 137,
  yellowColor = 69,
};

// What a shape operation does with its shape.
enum GrafVerb : SInt16 { kFrameVerb = 0, kPaintVerb = 1, kEraseVerb = 2, kInvertVerb = 3, kFillVerb = 4 };

// The standard patterns.
struct QDGlobals {
  Pattern white{{0, 0, 0, 0, 0, 0, 0, 0}};
  Pattern black{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
  Pattern gray{{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
  Pattern ltGray{{0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}};
  Pattern dkGray{{0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}};
};
extern const QDGlobals qd;

// A block of pixels. bounds gives the local coordinates of its pixels: the pixel at row r and
// column c is (bounds.left + c, bounds.top + r). One structure serves bit maps and pixel maps.
struct PixMap {
  Ptr baseAddr = nullptr;
  SInt32 rowBytes = 0;    // bytes per row, a multiple of 4
  Rect bounds;
  SInt16 pixelSize = 1;   // 1, 16 or 32
};
using BitMap = PixMap;
using PixMapPtr = PixMap*;
using PixMapHandle = PixMap**;

// Regions are banded spans. Only rgnBBox is for callers to read; change regions through the
// region calls.
struct Region {
  Rect rgnBBox;                 // (0, 0, 0, 0) for an empty region
  std::vector<SInt32> bands;    // per band: top, bottom, span count, then left/right pairs
  UInt32 generation = 0;        // changes with every change of the region
};
using RgnPtr = Region*;
using RgnHandle = Region**;

// A polygon is a relocatable block of this layout: its size in bytes (10 + 4 per point), its
// bounding box and the points. A closed polygon repeats its first point at the end.
struct Polygon {
  SInt16 polySize;
  Rect polyBBox;
  Point polyPoints[1];
};
using PolyPtr = Polygon*;
using PolyHandle = Polygon**;

// A picture is a relocatable block holding the PICT data exactly as it stands in a file after
// the 512-byte header (big-endian). Read its frame with PortPictureFrame.
struct Picture {
  UInt8 data[10];
};
using PicPtr = Picture*;
using PicHandle = Picture**;

// A colour pattern. The layer makes solid-colour ones (patType 2); patType 0 uses pat1Data.
struct PixPat {
  SInt16 patType = 0;
  Pattern pat1Data;
  RGBColor rgb;
};
using PixPatHandle = PixPat**;

struct PenState {
  Point pnLoc;
  Point pnSize;
  SInt16 pnMode = patCopy;
  Pattern pnPat;
};

struct FontInfo {
  SInt16 ascent = 0;
  SInt16 descent = 0;
  SInt16 widMax = 0;
  SInt16 leading = 0;
};

// The screen device. There is one; its depth is the screen's (32 bits).
struct GDevice {
  SInt16 gdPixelSize = 32;
};
using GDPtr = GDevice*;
using GDHandle = GDevice**;
using CTabHandle = void*;  // colour tables are not used; pass null
using GWorldFlags = UInt32;
enum : GWorldFlags { kOffscreenUseTempMem = 4 };

// The replaceable drawing procedures of a port, in the classic order. Every drawing call of a
// port goes through them; PortSetStdProcs fills a record with the standard ones.
struct QDProcs {
  void (*textProc)(SInt16 byteCount, const void* text, Point numer, Point denom);
  void (*lineProc)(Point newPt);
  void (*rectProc)(GrafVerb verb, const Rect* r);
  void (*rRectProc)(GrafVerb verb, const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
  void (*ovalProc)(GrafVerb verb, const Rect* r);
  void (*arcProc)(GrafVerb verb, const Rect* r, SInt16 startAngle, SInt16 arcAngle);
  void (*polyProc)(GrafVerb verb, PolyHandle poly);
  void (*rgnProc)(GrafVerb verb, RgnHandle rgn);
  void (*bitsProc)(const PixMap* srcBits, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                   RgnHandle maskRgn);
  void (*commentProc)(SInt16 kind, SInt16 dataSize, Handle dataHandle);
  SInt16 (*txMeasProc)(SInt16 byteCount, const void* text, Point* numer, Point* denom, FontInfo* info);
  void (*getPicProc)(void* dataPtr, SInt16 byteCount);
  void (*putPicProc)(const void* dataPtr, SInt16 byteCount);
};
using QDProcsPtr = QDProcs*;

namespace qdimpl {
struct PortPrivate;
}

// A graphics port. A port whose pixel map has no base address draws nothing but still records
// pictures, polygons and regions. A window's port points its pixel map into the frame buffer
// (PortSetPortPixMap) and keeps its visible region up to date.
struct GrafPort {
  PixMap portPixMap;
  PixMap* pixMapMaster = nullptr;  // &pixMapMaster is the port's pixel map handle
  Rect portRect;
  RgnHandle visRgn = nullptr;
  RgnHandle clipRgn = nullptr;
  Pattern bkPat;                   // white
  Pattern fillPat;                 // black
  Point pnLoc;
  Point pnSize;                    // (1, 1)
  SInt16 pnMode = patCopy;
  Pattern pnPat;                   // black
  SInt16 pnVis = 0;                // drawing with the pen shows while this is 0 or more
  SInt16 txFont = 0;
  Style txFace = kStylePlain;
  SInt16 txMode = srcOr;
  SInt16 txSize = 0;               // 0: the default size (12)
  RGBColor rgbFgColor;             // black
  RGBColor rgbBkColor{65535, 65535, 65535};
  bool pnColorPat = false;         // the pen paints the solid colour pnColor instead of pnPat
  RGBColor pnColor;
  bool bkColorPat = false;         // erasing paints the solid colour bkColor instead of bkPat
  RGBColor bkColor;
  QDProcsPtr grafProcs = nullptr;  // null: the standard procedures
  qdimpl::PortPrivate* priv = nullptr;

  GrafPort() = default;
  GrafPort(const GrafPort&) = delete;
  GrafPort& operator=(const GrafPort&) = delete;
};
using GrafPtr = GrafPort*;
using CGrafPtr = GrafPort*;
using GWorldPtr = GrafPort*;

// ---------------------------------------------------------------------------------------------
// Errors

// The result of the last drawing call that can fail (noErr, memFullErr, paramErr or
// kPictureDataErr for damaged picture data).
enum : OSErr { kPictureDataErr = -8192 };
OSErr PortQDError();

// ---------------------------------------------------------------------------------------------
// Ports, worlds and coordinates

// Sets up a port in caller-owned storage: no pixels, a port rectangle of (0, 0, 0, 0), a wide-open
// clip, default pen, colours and text; it becomes the current port.
void PortOpenPort(GrafPtr port);
// Releases what PortOpenPort made; when the port was current, the layer's own empty port is.
void PortClosePort(GrafPtr port);
// Points the port at pixels it does not own (a window in the frame buffer); the port rectangle
// and visible region become the pixels' bounds.
void PortSetPortPixMap(GrafPtr port, const PixMap* pixels);

void PortSetPort(GrafPtr port);     // null makes the layer's own empty port current
void PortGetPort(GrafPtr* port);
void PortSavePort(GrafPtr* port);   // the same as PortGetPort, named for its use before PortSetPort
GrafPtr PortCurrentPort();
void PortGetWorld(CGrafPtr* port, GDHandle* device);
void PortSetWorld(CGrafPtr port, GDHandle device);
GDHandle PortGetMainDevice();

// The port's pixels; PortIsColorPort is true for more than one bit per pixel.
const PixMap* PortPortBits(GrafPtr port);
bool PortIsColorPort(GrafPtr port);

void PortSetOrigin(SInt16 h, SInt16 v);          // moves the port rectangle, the pixels' bounds and the visible region
void PortPortSize(SInt16 width, SInt16 height);  // resizes the port rectangle
void PortClipRect(const Rect* r);
void PortSetClip(RgnHandle rgn);                 // copies rgn
void PortGetClip(RgnHandle rgn);                 // copies the clip into rgn
void PortGlobalToLocal(Point* pt);
void PortLocalToGlobal(Point* pt);

// Offscreen worlds: depth 1, 16 or 32 (0: the screen's depth). The world becomes no port's
// current port by being made; its pixels start white.
OSErr PortNewOffscreen(GWorldPtr* world, SInt16 depth, const Rect* bounds, CTabHandle ctab, GDHandle device,
                       GWorldFlags flags);
// Remakes the world at a new depth and bounds, keeping the picture where the two overlap.
// Answers 0 on success and sets PortQDError; the old world is kept when the new cannot be made.
GWorldFlags PortUpdateOffscreen(GWorldPtr* world, SInt16 depth, const Rect* bounds, CTabHandle ctab,
                                GDHandle device, GWorldFlags flags);
void PortFreeOffscreen(GWorldPtr world);
PixMapHandle PortOffscreenPixMap(GWorldPtr world);
bool PortLockPixels(PixMapHandle pm);            // pixels never move; locking only counts
void PortUnlockPixels(PixMapHandle pm);
Ptr PortPixBaseAddress(PixMapHandle pm);

// ---------------------------------------------------------------------------------------------
// Colours, pen and patterns

void PortRGBForeColor(const RGBColor* c);
void PortRGBBackColor(const RGBColor* c);
void PortGetForeColor(RGBColor* c);
void PortGetBackColor(RGBColor* c);
void PortForeColor(SInt32 colorCode);
void PortBackColor(SInt32 colorCode);
// The colour at index 0-255 of the standard 256-colour table; false (black) outside it.
bool PortIndexToColor(SInt32 index, RGBColor* c);

void PortPenNormal();                    // size 1 by 1, patCopy, black pattern
void PortPenSize(SInt16 width, SInt16 height);
void PortPenMode(SInt16 mode);
void PortPenPattern(const Pattern* pat);
void PortPenPixPat(PixPatHandle pp);     // the pen paints the pattern's colour (copied now)
void PortBackPattern(const Pattern* pat);
void PortBackPixPat(PixPatHandle pp);
void PortHidePen();
void PortShowPen();
void PortGetPen(Point* pt);
void PortGetPenState(PenState* state);
void PortSetPenState(const PenState* state);

PixPatHandle PortNewPixPat();                            // black, solid
void PortMakeRGBPat(PixPatHandle pp, const RGBColor* c); // makes it the solid colour c
void PortDisposePixPat(PixPatHandle pp);

// ---------------------------------------------------------------------------------------------
// Lines and shapes

void PortPenMove(SInt16 h, SInt16 v);    // to (h, v)
void PortPenLine(SInt16 h, SInt16 v);    // line to (h, v)
void PortMove(SInt16 dh, SInt16 dv);
void PortLine(SInt16 dh, SInt16 dv);

void PortFrameRect(const Rect* r);
void PortPaintRect(const Rect* r);
void PortEraseRect(const Rect* r);
void PortInvertRect(const Rect* r);
void PortFillRect(const Rect* r, const Pattern* pat);
void PortFillCRect(const Rect* r, PixPatHandle pp);

void PortFrameRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void PortPaintRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void PortEraseRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void PortInvertRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void PortFillRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight, const Pattern* pat);

void PortFrameOval(const Rect* r);
void PortPaintOval(const Rect* r);
void PortEraseOval(const Rect* r);
void PortInvertOval(const Rect* r);
void PortFillOval(const Rect* r, const Pattern* pat);

// Angles in degrees, 0 at twelve o'clock, growing clockwise, measured against the rectangle
// (45 degrees points at its top-right corner).
void PortFrameArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void PortPaintArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void PortEraseArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void PortInvertArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void PortFillArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle, const Pattern* pat);

// Polygons: lines drawn between open and close make the polygon (the pen is hidden meanwhile).
// Painting fills by the even-odd rule.
PolyHandle PortOpenPolygon();
void PortClosePolygon();
void PortFreePolygon(PolyHandle poly);
void PortOffsetPolygon(PolyHandle poly, SInt16 dh, SInt16 dv);
void PortFramePolygon(PolyHandle poly);
void PortPaintPolygon(PolyHandle poly);
void PortErasePolygon(PolyHandle poly);
void PortInvertPolygon(PolyHandle poly);
void PortFillPolygon(PolyHandle poly, const Pattern* pat);
void PortFillCPolygon(PolyHandle poly, PixPatHandle pp);
int PortPolygonPointCount(PolyHandle poly);   // checked against the block's size

// Single pixels.
void PortSetCPixel(SInt16 h, SInt16 v, const RGBColor* c);
void PortGetCPixel(SInt16 h, SInt16 v, RGBColor* c);
bool PortGetPixel(SInt16 h, SInt16 v);        // true for a dark pixel

// ---------------------------------------------------------------------------------------------
// Regions

RgnHandle PortNewRegion();                    // empty
void PortFreeRegion(RgnHandle rgn);
void PortCopyRegion(RgnHandle src, RgnHandle dst);
void PortSetEmptyRegion(RgnHandle rgn);
void PortSetRectRegion(RgnHandle rgn, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
void PortRectRegion(RgnHandle rgn, const Rect* r);
// Region recording: lines and framed shapes drawn between begin and end make the region's
// outline (even-odd: overlapping outlines cancel). The pen is hidden meanwhile.
void PortBeginRegion();
void PortEndRegion(RgnHandle dst);
void PortUnionRegion(RgnHandle a, RgnHandle b, RgnHandle dst);
void PortSectRegion(RgnHandle a, RgnHandle b, RgnHandle dst);
void PortDiffRegion(RgnHandle a, RgnHandle b, RgnHandle dst);
void PortXorRegion(RgnHandle a, RgnHandle b, RgnHandle dst);
void PortOffsetRegion(RgnHandle rgn, SInt16 dh, SInt16 dv);
void PortInsetRegion(RgnHandle rgn, SInt16 dh, SInt16 dv);  // positive shrinks, negative grows
bool PortPtInRegion(Point pt, RgnHandle rgn);
bool PortPointInRegion(Point pt, RgnHandle rgn);
bool PortRectInRegion(const Rect* r, RgnHandle rgn);          // true when they share a pixel
bool PortEmptyRegion(RgnHandle rgn);
bool PortEqualRegion(RgnHandle a, RgnHandle b);
bool PortIsRectRegion(RgnHandle rgn);

void PortFrameRegion(RgnHandle rgn);
void PortPaintRegion(RgnHandle rgn);
void PortEraseRegion(RgnHandle rgn);
void PortInvertRegion(RgnHandle rgn);
void PortFillRegion(RgnHandle rgn, const Pattern* pat);
void PortFillCRegion(RgnHandle rgn, PixPatHandle pp);

// ---------------------------------------------------------------------------------------------
// Pixel copies

// Copies srcRect of src onto dstRect of dst (stretching when the sizes differ) with a transfer
// mode, through an optional mask region in dst's coordinates. When dst is the current port's
// pixels the copy is clipped to the port and recorded into an open picture. One-bit sources
// are coloured with the fore colour (black bits) and back colour (white bits).
void PortCopyPixels(const PixMap* src, const PixMap* dst, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                    RgnHandle maskRgn);
void PortCopyBits(const PixMap* src, const PixMap* dst, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                  RgnHandle maskRgn);

// ---------------------------------------------------------------------------------------------
// Text (Mac Roman bytes)

// Font numbers: 0 "Chicago" (system), 1 the application font (Geneva), 2 "New York",
// 3 "Geneva", 4 "Monaco", 20 "Times", 21 "Helvetica", 22 "Courier", 23 "Symbol", and the
// DejaVu families under their own names. Sans faces come from DejaVu Sans, fixed-width ones from
// DejaVu Sans Mono and serif ones from DejaVu Serif; without those files a built-in bitmap font
// draws every font.
void PortFontNumber(ConstStringPtr name, SInt16* fontNum);  // 0 for an unknown name
void PortGetFontName(SInt16 fontNum, StringPtr name);
void PortTextFont(SInt16 font);
void PortTextFace(Style face);
void PortTextMode(SInt16 mode);
void PortTextSize(SInt16 size);
void PortGetFontInfo(FontInfo* info);
void PortDrawString(ConstStringPtr s);
void PortDrawText(const void* text, SInt16 firstByte, SInt16 byteCount);
void PortDrawChar(char c);
SInt16 PortStringWidth(ConstStringPtr s);
SInt16 PortTextWidth(const void* text, SInt16 firstByte, SInt16 byteCount);
SInt16 PortCharWidth(char c);
// locs receives byteCount + 1 offsets: 0, then the width of the first 1, 2, ... characters.
void PortMeasureText(SInt16 byteCount, const void* text, SInt16* locs);

// Where the font files are looked for; an empty list uses only the built-in font. The default
// is $VELMORA_FONT_DIR, then /usr/share/fonts/truetype/dejavu.
void PortSetFontFolders(const std::vector<std::string>& folders);
bool PortUsingBuiltInFont();  // true when the current port's font comes from the built-in font

// ---------------------------------------------------------------------------------------------
// Pictures

// Starts recording every drawing of the current port into a new picture with the given frame.
PicHandle PortOpenPicture(const Rect* frame);
void PortClosePicture();
void PortKillPicture(PicHandle pic);
void PortPicComment(SInt16 kind, SInt16 dataSize, Handle dataHandle);
// Plays the picture into dst of the current port, scaling from the picture's frame, through
// the port's drawing procedures. Damaged data stops the playback with kPictureDataErr.
void PortDrawPicture(PicHandle pic, const Rect* dst);
Rect PortPictureFrame(PicHandle pic);
// Checks a whole picture without drawing it: noErr or kPictureDataErr.
OSErr PortCheckPicture(PicHandle pic);

// The 32-bit value of a picture comment that carries a fixed-point number: its bytes in memory
// are the big-endian 16.16 number as it stands in the file.
UInt32 PortDoubleToCommentFixed(double value);
double PortCommentFixedToDouble(UInt32 value);

// PICT files: 512 zero bytes, then the picture.
OSErr PortWritePictFile(PicHandle pic, const std::string& path);
OSErr PortReadPictFile(const std::string& path, PicHandle* pic);
// A picture from the bytes of a file's data after its header.
PicHandle PortPictureFromBytes(const void* data, Size size);

// The standard drawing procedures, for records that replace only some of them.
void PortSetStdProcs(QDProcs* procs);
void PortStdText(SInt16 byteCount, const void* text, Point numer, Point denom);
void PortStdLine(Point newPt);
void PortStdRect(GrafVerb verb, const Rect* r);
void PortStdRRect(GrafVerb verb, const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void PortStdOval(GrafVerb verb, const Rect* r);
void PortStdArc(GrafVerb verb, const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void PortStdPoly(GrafVerb verb, PolyHandle poly);
void PortStdRgn(GrafVerb verb, RgnHandle rgn);
void PortStdBits(const PixMap* srcBits, const Rect* srcRect, const Rect* dstRect, SInt16 mode, RgnHandle maskRgn);
void PortStdComment(SInt16 kind, SInt16 dataSize, Handle dataHandle);
SInt16 PortStdTxMeas(SInt16 byteCount, const void* text, Point* numer, Point* denom, FontInfo* info);
void PortStdGetPic(void* dataPtr, SInt16 byteCount);
void PortStdPutPic(const void* dataPtr, SInt16 byteCount);
