// Shared internals of the drawing layer: spans, region algebra, inks and rasterising, the
// per-port private state and the picture recorder's hooks.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "QuickDraw.h"

namespace qdimpl {

// One run of pixels [x0, x1) on row y, in local coordinates.
struct Span {
  SInt32 y;
  SInt32 x0;
  SInt32 x1;
};

// Spans sorted by row and, within a row, by x; spans of one row neither overlap nor touch.
using SpanList = std::vector<Span>;

// A segment of an outline, for even-odd scan conversion.
struct Segment {
  SInt32 x0, y0, x1, y1;
};

constexpr SInt32 kMinCoord = -32768;
constexpr SInt32 kMaxCoord = 32767;

// ---- Regions -------------------------------------------------------------------------------
enum class RegionOp { Union, Sect, Diff, Xor };

void RegionSetEmpty(Region& r);
void RegionSetRect(Region& r, SInt32 left, SInt32 top, SInt32 right, SInt32 bottom);
void RegionFromSpans(Region& r, const Span* spans, std::size_t count);
void RegionCombine(const Region& a, const Region& b, Region& dst, RegionOp op);  // dst may be a or b
void RegionOffset(Region& r, SInt32 dx, SInt32 dy);
void RegionInset(Region& r, SInt32 dx, SInt32 dy);
bool RegionContains(const Region& r, SInt32 x, SInt32 y);
bool RegionIsEmpty(const Region& r);
bool RegionIsRect(const Region& r);
void RegionCopy(const Region& src, Region& dst);
void RegionToSpans(const Region& r, SpanList& out, SInt32 yMin = kMinCoord * 2, SInt32 yMax = kMaxCoord * 2);
// Bounding box as 32-bit values (left, top, right, bottom); false for an empty region.
bool RegionBounds(const Region& r, SInt32* left, SInt32* top, SInt32* right, SInt32* bottom);
// Maps a region from one rectangle onto another (picture playback).
void RegionMap(Region& r, const Rect& from, const Rect& to);
// The classic byte layout of a region (size, box, inversion points), big-endian, for pictures.
std::vector<UInt8> RegionToPictData(const Region& r);
bool RegionFromPictData(Region& r, const UInt8* data, std::size_t size);

// Walks a region's spans on one row at a time; rows must be asked for in ascending order.
class RegionRowCursor {
 public:
  explicit RegionRowCursor(const Region& r) : r_(r) {}
  // The spans of row y as pairs of x values; count set to the number of spans.
  const SInt32* Row(SInt32 y, SInt32* count);

 private:
  const Region& r_;
  std::size_t pos_ = 0;
  SInt32 lastY_ = -2147483647 - 1;
};

// ---- Scan conversion ------------------------------------------------------------------------
// Appends to out the spans of rows [yMin, yMax) inside the outline (even-odd rule; the pixel
// centres decide).
void ScanSegments(const Segment* segs, std::size_t count, SInt32 yMin, SInt32 yMax, SpanList& out);
void RectSpans(const Rect& r, SInt32 yMin, SInt32 yMax, SpanList& out);
void OvalSpans(const Rect& r, SInt32 yMin, SInt32 yMax, SpanList& out);
void RoundRectSpans(const Rect& r, SInt32 ovalWidth, SInt32 ovalHeight, SInt32 yMin, SInt32 yMax, SpanList& out);
// Pixels covered by a pen of the given size moved along the line, pixel by pixel.
void LineSpans(SInt32 x0, SInt32 y0, SInt32 x1, SInt32 y1, SInt32 penW, SInt32 penH, SInt32 yMin, SInt32 yMax,
               SpanList& out);
// Keeps only the parts of the spans inside the arc's wedge.
void ClipSpansToWedge(SpanList& spans, const Rect& r, SInt32 startAngle, SInt32 arcAngle);
// a minus b, row by row; both lists sorted.
void SubtractSpans(const SpanList& a, const SpanList& b, SpanList& out);

// ---- Inks and pixels ------------------------------------------------------------------------
enum class PixOp : UInt8 { None, Set, Xor };

// What happens to a pixel whose source bit (pattern, glyph or one-bit image) is 1 or 0.
struct Ink {
  PixOp op1 = PixOp::Set;
  PixOp op0 = PixOp::None;
  UInt32 v1 = 0;
  UInt32 v0 = 0;
  UInt8 rows[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
};

UInt32 ColorToPixel(const RGBColor& c, int depth);
RGBColor PixelToColor(UInt32 p, int depth);
UInt32 InvertMask(int depth);                   // all colour bits of a pixel
UInt32 XorMask(const RGBColor& c, int depth);   // what XOR with colour c flips
UInt32 ReadPixel(const PixMap& pm, SInt32 x, SInt32 y);   // local coordinates, inside bounds
void WritePixel(const PixMap& pm, SInt32 x, SInt32 y, UInt32 value);

// Ink for a pattern and a transfer mode (pen modes and source modes alike).
Ink MakeInk(const Pattern& pat, SInt16 mode, const RGBColor& fore, const RGBColor& back, int depth);
// The ink of the port's pen, background and so on.
Ink PenInk(const GrafPort* port);
Ink EraseInk(const GrafPort* port);
Ink InvertInk(const GrafPort* port);
Ink FillInk(const GrafPort* port, const Pattern& pat);
Ink ColorFillInk(const GrafPort* port, const RGBColor& c);

// Draws spans into the port's pixels with the ink, clipped to the port (and to extraClip).
// Patterns are aligned to the port's local origin.
void DrawSpans(GrafPort* port, const SpanList& spans, const Ink& ink, const Region* extraClip = nullptr);
// Draws a one-byte-per-pixel mask (non-zero = 1) placed with its top-left at (left, top).
void DrawMask(GrafPort* port, const UInt8* mask, SInt32 width, SInt32 height, SInt32 left, SInt32 top,
              const Ink& ink);
// The region a port draws into: visible ∩ clip ∩ its pixels; null when it has no pixels.
const Region* EffectiveClip(GrafPort* port);
// Row range worth generating spans for.
void ClipRows(GrafPort* port, SInt32* yMin, SInt32* yMax);

// ---- Port private state ---------------------------------------------------------------------
class PictWriter;

struct PortPrivate {
  // Owned pixels of an offscreen world.
  char* ownedPixels = nullptr;
  int lockCount = 0;
  bool isWorld = false;

  // Cached effective clip.
  Region effClip;
  bool clipValid = false;
  const Region* clipVisSrc = nullptr;
  UInt32 clipVisGen = 0;
  const Region* clipClipSrc = nullptr;
  UInt32 clipClipGen = 0;
  PixMap clipPixels;
  Rect clipPortRect;

  // Polygon recording.
  PolyHandle openPoly = nullptr;
  std::vector<Point> polyPoints;

  // Region recording.
  bool regionOpen = false;
  std::vector<Segment> rgnSegments;
  bool rgnHaveStart = false;
  Point rgnSubpathStart;
  Point rgnLast;
  Region rgnShapes;

  // A colour for the next fill (PortFillC... calls), instead of the fill pattern.
  bool fillColorActive = false;
  RGBColor fillColor;

  // Picture recording.
  std::unique_ptr<PictWriter> picture;

  PortPrivate();
  ~PortPrivate();
};

PortPrivate* Priv(GrafPort* port);
GrafPort* Current();  // never null: the layer's own empty port stands in

// Reusable scratch lists (the layer is single-threaded).
SpanList& ScratchSpans(int which);

// ---- Recording hooks --------------------------------------------------------------------------
// Region recording gets the outlines of lines and framed shapes.
void RegionRecordLine(GrafPort* port, Point from, Point to);
void RegionRecordShape(GrafPort* port, const SpanList& shapeInterior);
void RegionRecordSegments(GrafPort* port, const std::vector<Segment>& segs);

// Picture recording (PictRecorder.cpp); each call does nothing without an open picture.
void PicRecordLine(GrafPort* port, Point from, Point to);
void PicRecordRect(GrafPort* port, GrafVerb verb, const Rect& r);
void PicRecordRRect(GrafPort* port, GrafVerb verb, const Rect& r, SInt16 ow, SInt16 oh);
void PicRecordOval(GrafPort* port, GrafVerb verb, const Rect& r);
void PicRecordArc(GrafPort* port, GrafVerb verb, const Rect& r, SInt16 start, SInt16 arc);
void PicRecordPoly(GrafPort* port, GrafVerb verb, PolyHandle poly);
void PicRecordRgn(GrafPort* port, GrafVerb verb, RgnHandle rgn);
void PicRecordText(GrafPort* port, const void* text, SInt16 count, Point numer, Point denom);
void PicRecordBits(GrafPort* port, const PixMap* src, const Rect& srcRect, const Rect& dstRect, SInt16 mode,
                   RgnHandle mask);
void PicRecordComment(GrafPort* port, SInt16 kind, SInt16 size, Handle data);
// Ends recording on a port that goes away, leaving its picture complete.
void PicEndRecording(GrafPort* port);

// ---- Text -------------------------------------------------------------------------------------
// Width of text in the port's font at the scale numer/denom; info filled when not null.
SInt32 MeasureTextScaled(GrafPort* port, const UInt8* text, SInt32 count, Point numer, Point denom, FontInfo* info,
                         SInt16* locs);
// Draws the text at the pen and moves the pen by its width.
void DrawTextScaled(GrafPort* port, const UInt8* text, SInt32 count, Point numer, Point denom);
// The built-in font: 9 rows of up to 5 bits for a character (rows 0-6 above the baseline).
const UInt8* FallbackGlyph(UInt8 macRomanChar);

// ---- Procedure dispatch -----------------------------------------------------------------------

void SetError(OSErr e);

inline SInt16 Clamp16(long long v) { return SInt16(v < kMinCoord ? kMinCoord : v > kMaxCoord ? kMaxCoord : v); }

}  // namespace qdimpl
