// Pictures: recording, playback (plain, scaled, through replaced procedures), PICT files, and
// damaged data.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "Memory.h"
#include "PString.h"
#include "QDInternal.h"
#include "QdTestUtil.h"
#include "TempFolder.h"

namespace {

// A scene that uses every kind of drawing the recorder knows.
void DrawScene(const PixMap* mono, const PixMap* deep) {
  RGBColor red{65535, 0, 0}, sky{20000, 40000, 65535};
  PortPenSize(2, 3);
  PortPenMove(1, 1);
  PortPenLine(60, 20);
  PortLine(-20, 30);
  PortPenNormal();
  PortRGBForeColor(&red);
  Rect r{10, 70, 40, 110};
  PortPaintRect(&r);
  PortForeColor(blackColor);
  PortPenPattern(&qd.gray);
  Rect rr{45, 5, 75, 60};
  PortPaintRoundRect(&rr, 12, 8);
  PortPenNormal();
  PortFrameRoundRect(&rr, 12, 8);
  Rect ov{45, 65, 75, 115};
  PortFillOval(&ov, &qd.dkGray);
  PortFrameArc(&ov, 30, 120);
  PortPaintArc(&ov, 200, -60);
  PortRGBBackColor(&sky);
  Rect er{50, 75, 60, 90};
  PortEraseRect(&er);
  PortBackColor(whiteColor);
  PortInvertRect(&r);
  PixPatHandle pp = PortNewPixPat();
  RGBColor tan{50000, 40000, 20000};
  PortMakeRGBPat(pp, &tan);
  Rect cr{80, 5, 95, 30};
  PortFillCRect(&cr, pp);
  PortPenPixPat(pp);
  PortPenMode(patXor);
  PortPenMove(0, 90);
  PortPenLine(119, 85);
  PortPenNormal();
  PolyHandle poly = PortOpenPolygon();
  PortPenMove(40, 80);
  PortPenLine(70, 82);
  PortPenLine(55, 99);
  PortPenLine(40, 80);
  PortClosePolygon();
  PortPaintPolygon(poly);
  PortFramePolygon(poly);
  PortFreePolygon(poly);
  RgnHandle rgn = PortNewRegion();
  PortBeginRegion();
  Rect a{82, 80, 98, 100}, b{88, 90, 99, 118};
  PortFrameOval(&a);
  PortFrameRect(&b);
  PortEndRegion(rgn);
  PortFillCRegion(rgn, pp);
  PortFrameRegion(rgn);
  PortFreeRegion(rgn);
  PortDisposePixPat(pp);
  PortTextFont(21);
  PortTextSize(10);
  PortTextFace(kStyleBold);
  PortPenMove(4, 110);
  PortDrawString(Str255("Plan 1:50"));
  PortTextFace(kStylePlain);
  PortTextFont(22);
  PortDrawString(Str255(" ok"));
  Rect from{0, 0, 8, 8}, to{100, 2, 116, 18}, to2{100, 20, 108, 28}, to3{100, 30, 108, 38};
  PortCopyBits(mono, PortPortBits(PortCurrentPort()), &from, &to, srcCopy, nullptr);
  PortCopyBits(mono, PortPortBits(PortCurrentPort()), &from, &to2, srcOr, nullptr);
  RgnHandle mask = PortNewRegion();
  PortSetRectRegion(mask, 100, 30, 104, 38);
  PortCopyBits(deep, PortPortBits(PortCurrentPort()), &from, &to3, srcCopy, mask);
  PortFreeRegion(mask);
}

struct Sources {
  World mono{1, Rect{0, 0, 8, 8}};
  World deep{16, Rect{0, 0, 8, 8}};
  Sources() {
    PortSetPort(mono.get());
    PortPenMove(0, 0);
    PortPenLine(7, 7);
    PortSetPort(deep.get());
    RGBColor c{0, 40000, 20000};
    PortRGBForeColor(&c);
    Rect r{0, 0, 4, 8};
    PortPaintRect(&r);
  }
};

PicHandle RecordScene(const Sources& s, const Rect& frame) {
  GrafPtr saved;
  PortGetPort(&saved);
  GrafPort port;
  PortOpenPort(&port);
  PortPortSize(120, 120);
  PicHandle pic = PortOpenPicture(&frame);
  DrawScene(&s.mono.pixels(), &s.deep.pixels());
  PortClosePicture();
  PortClosePort(&port);
  PortSetPort(saved);
  return pic;
}

TEST(Pictures, PlaybackReproducesTheDrawing) {
  PortSetFontFolders({});  // keep the test independent of installed fonts
  Sources s;
  Rect frame{0, 0, 120, 120};
  PicHandle pic = RecordScene(s, frame);
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(PortPictureFrame(pic), frame);
  EXPECT_EQ(PortCheckPicture(pic), noErr);
  std::string direct, played;
  {
    World w(32, frame);
    DrawScene(&s.mono.pixels(), &s.deep.pixels());
    direct = w.Snapshot();
  }
  {
    World w(32, frame);
    PortDrawPicture(pic, &frame);
    EXPECT_EQ(PortQDError(), noErr);
    played = w.Snapshot();
    // The port's own state is back after playback.
    EXPECT_EQ(w.get()->txFont, 0);
    EXPECT_EQ(w.get()->pnSize, (Point{1, 1}));
  }
  EXPECT_EQ(direct, played);
  PortKillPicture(pic);
  PortSetFontFolders({"/usr/share/fonts/truetype/dejavu"});
}

TEST(Pictures, ScaledPlaybackMapsTheFrameOntoTheDestination) {
  GrafPort port;
  GrafPtr saved;
  PortGetPort(&saved);
  PortOpenPort(&port);
  Rect frame{10, 10, 30, 50};
  PicHandle pic = PortOpenPicture(&frame);
  Rect r{12, 14, 20, 30};
  PortPaintRect(&r);
  PortClosePicture();
  PortClosePort(&port);
  PortSetPort(saved);

  World w(32, Rect{0, 0, 60, 100});
  Rect dst{0, 0, 40, 80};  // twice the frame, moved to the origin
  PortDrawPicture(pic, &dst);
  EXPECT_EQ(w.Dark(), RectPixels(8, 4, 40, 20));
  PortKillPicture(pic);
}

// Replacement procedures as a picture import would install them.
struct Calls {
  std::vector<std::string> log;
  Point penAtLine;
  Point penSize;
  double scale = 0;
};
Calls* gCalls = nullptr;

// Joins the values with spaces (streams avoid a false warning of GCC 12 about string concatenation).
template <class... T>
std::string Join(const T&... parts) {
  std::ostringstream out;
  int n = 0;
  ((out << (n++ ? " " : "") << parts), ...);
  return out.str();
}

std::string RectText(const Rect* r) { return Join(r->left, r->top, r->right, r->bottom); }

void LogLine(Point p) {
  GrafPtr port = PortCurrentPort();
  gCalls->penAtLine = port->pnLoc;
  gCalls->penSize = port->pnSize;
  gCalls->log.push_back(Join("line", p.h, p.v));
}
void LogRect(GrafVerb v, const Rect* r) { gCalls->log.push_back(Join("rect", int(v), RectText(r))); }
void LogRRect(GrafVerb v, const Rect* r, SInt16 w, SInt16 h) {
  gCalls->log.push_back(Join("rrect", int(v), RectText(r), w, h));
}
void LogOval(GrafVerb v, const Rect* r) { gCalls->log.push_back(Join("oval", int(v), RectText(r))); }
void LogArc(GrafVerb v, const Rect* r, SInt16 s, SInt16 a) {
  gCalls->log.push_back(Join("arc", int(v), RectText(r), s, a));
}
void LogPoly(GrafVerb v, PolyHandle poly) {
  // Read the block as the import does: size, box, then (v, h) points.
  SInt16 size;
  std::memcpy(&size, *poly, 2);
  std::ostringstream s;
  s << "poly " << int(v) << " " << (size - 10) / 4;
  for (int i = 0; i < (size - 10) / 4; ++i) {
    Point p;
    std::memcpy(&p, reinterpret_cast<char*>(*poly) + 10 + 4 * i, 4);
    s << " " << p.h << " " << p.v;
  }
  gCalls->log.push_back(s.str());
}
void LogComment(SInt16 kind, SInt16 size, Handle data) {
  gCalls->log.push_back(Join("comment", kind, size));
  if (kind == 499 && size >= 4) {
    UInt32 v;
    std::memcpy(&v, *data, 4);
    gCalls->scale = PortCommentFixedToDouble(v) * 864.0;
  }
}
void IgnoreText(SInt16, const void*, Point, Point) { gCalls->log.push_back("text"); }
void GetData(void* p, SInt16 n) { PortStdGetPic(p, n); }

TEST(Pictures, ReplacedProceduresReceiveEveryShape) {
  GrafPtr saved;
  PortGetPort(&saved);
  GrafPort rec;
  PortOpenPort(&rec);
  Rect frame{0, 0, 200, 300};
  PicHandle pic = PortOpenPicture(&frame);
  Handle h = PortAllocHandle(4);
  UInt32 fixed = PortDoubleToCommentFixed(0.25);
  std::memcpy(*h, &fixed, 4);
  PortPicComment(499, 4, h);
  PortFreeHandle(h);
  PortPenSize(0, 0);
  PortPenMove(5, 5);
  PortPenLine(5, 5);
  PortPenSize(1, 2);
  PortPenLine(40, 5);
  Rect r{10, 20, 30, 60};
  PortFrameRect(&r);
  PortPaintRect(&r);
  PortFrameRoundRect(&r, 5, 7);
  PortFrameOval(&r);
  PortFrameArc(&r, 0, 90);
  PolyHandle poly = PortOpenPolygon();
  PortPenMove(1, 2);
  PortPenLine(30, 2);
  PortPenLine(1, 40);
  PortPenLine(1, 2);
  PortClosePolygon();
  PortFramePolygon(poly);
  PortFreePolygon(poly);
  PortDrawString(Str255("label"));
  PortClosePicture();
  PortClosePort(&rec);

  Calls calls;
  gCalls = &calls;
  GrafPort imp;
  PortOpenPort(&imp);
  PortPenNormal();
  QDProcs procs;
  PortSetStdProcs(&procs);
  procs.lineProc = LogLine;
  procs.rectProc = LogRect;
  procs.rRectProc = LogRRect;
  procs.ovalProc = LogOval;
  procs.arcProc = LogArc;
  procs.polyProc = LogPoly;
  procs.commentProc = LogComment;
  procs.textProc = IgnoreText;
  procs.getPicProc = GetData;
  imp.grafProcs = &procs;
  Rect at = PortPictureFrame(pic);
  PortDrawPicture(pic, &at);
  EXPECT_EQ(PortQDError(), noErr);
  PortClosePort(&imp);
  PortSetPort(saved);
  gCalls = nullptr;

  const std::vector<std::string> expected = {
      "comment 499 4", "line 5 5", "line 40 5", "rect 0 20 10 60 30", "rect 1 20 10 60 30", "rrect 0 20 10 60 30 5 7",
      "oval 0 20 10 60 30", "arc 0 20 10 60 30 0 90", "poly 0 4 1 2 30 2 1 40 1 2", "text"};
  EXPECT_EQ(calls.log, expected);
  EXPECT_EQ(calls.penAtLine, (Point{5, 5})) << "the pen stands at the line's start when the procedure runs";
  EXPECT_EQ(calls.penSize, (Point{2, 1}));
  EXPECT_DOUBLE_EQ(calls.scale, 216.0);
  PortKillPicture(pic);
}

TEST(Pictures, FilesRoundTripAndRasterDepths) {
  vltest::TempFolder temp;
  const std::filesystem::path dir = temp.Root();
  for (int depth : {1, 16, 32}) {
    World src(depth, Rect{0, 0, 40, 300});
    RGBColor c{10000, 50000, 30000};
    PortRGBForeColor(&c);
    for (int i = 0; i < 300; i += 7) {
      Rect r{SInt16(i % 40), SInt16(i), SInt16(i % 40 + 9), SInt16(i + 5)};
      PortPaintOval(&r);
    }
    PortForeColor(blackColor);
    Rect all{0, 0, 40, 300};
    GrafPort rec;
    PortOpenPort(&rec);
    PicHandle pic = PortOpenPicture(&all);
    PortCopyBits(&src.pixels(), PortPortBits(&rec), &all, &all, srcCopy, nullptr);
    PortClosePicture();
    PortClosePort(&rec);
    const std::string path = (dir / Join("depth", depth)).string();
    ASSERT_EQ(PortWritePictFile(pic, path), noErr);
    EXPECT_EQ(std::filesystem::file_size(path), 512 + std::size_t(PortHandleSize(reinterpret_cast<Handle>(pic))));
    PicHandle back = nullptr;
    ASSERT_EQ(PortReadPictFile(path, &back), noErr);
    World dst(depth, all);
    PortDrawPicture(back, &all);
    EXPECT_EQ(dst.Snapshot(), src.Snapshot()) << depth;
    PortKillPicture(pic);
    PortKillPicture(back);
  }
  PicHandle none = nullptr;
  EXPECT_EQ(PortReadPictFile((dir / "missing.pict").string(), &none), fnfErr);
  std::ofstream((dir / "short.pict").string()) << std::string(520, '\0');
  EXPECT_EQ(PortReadPictFile((dir / "short.pict").string(), &none), kPictureDataErr);
  EXPECT_EQ(none, nullptr);
}

TEST(Pictures, VersionOnePicturesPlay) {
  // Size, frame (0, 0, 10, 10), version 1, paint rect (2, 2, 6, 8), end.
  const UInt8 bytes[] = {0, 23, 0, 0, 0, 0, 0, 10, 0, 10, 0x11, 0x01, 0x31, 0, 2, 0, 2, 0, 6, 0, 8, 0xFF};
  PicHandle pic = PortPictureFromBytes(bytes, sizeof bytes);
  World w(32, Rect{0, 0, 10, 10});
  Rect frame{0, 0, 10, 10};
  PortDrawPicture(pic, &frame);
  EXPECT_EQ(PortQDError(), noErr);
  EXPECT_EQ(w.Dark(), RectPixels(2, 2, 8, 6));
  PortKillPicture(pic);
}

TEST(Pictures, DamagedDataFailsCleanly) {
  PortSetFontFolders({});
  Sources s;
  Rect frame{0, 0, 120, 120};
  PicHandle pic = RecordScene(s, frame);
  const Size size = PortHandleSize(reinterpret_cast<Handle>(pic));
  std::vector<UInt8> good(reinterpret_cast<UInt8*>(*pic), reinterpret_cast<UInt8*>(*pic) + size);
  World w(32, frame);
  // Every truncation is refused.
  for (Size cut = 0; cut < size; cut += 1) {
    PicHandle p = PortPictureFromBytes(good.data(), cut);
    if (!p) continue;
    EXPECT_EQ(PortCheckPicture(p), kPictureDataErr) << cut;
    PortDrawPicture(p, &frame);
    EXPECT_EQ(PortQDError(), kPictureDataErr) << cut;
    PortKillPicture(p);
  }
  // Random damage never crashes; the result is either drawn or refused.
  std::mt19937 rng(11);
  std::uniform_int_distribution<std::size_t> at(10, good.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255), howMany(1, 6);
  for (int round = 0; round < 400; ++round) {
    std::vector<UInt8> bad = good;
    for (int k = howMany(rng); k > 0; --k) bad[at(rng)] = UInt8(byte(rng));
    PicHandle p = PortPictureFromBytes(bad.data(), Size(bad.size()));
    PortDrawPicture(p, &frame);
    OSErr e = PortQDError();
    EXPECT_TRUE(e == noErr || e == kPictureDataErr) << e;
    PortKillPicture(p);
  }
  // Hand-made lies: a polygon, a region, a comment and an image claiming more than there is.
  const std::vector<std::vector<UInt8>> lies = {
      {0x00, 0x70, 0x7F, 0xFF, 0, 0, 0, 0, 0, 5, 0, 5},
      {0x00, 0x81, 0x40, 0x00, 0, 0, 0, 0, 0, 5, 0, 5},
      {0x00, 0xA1, 0x01, 0xF3, 0x7F, 0xF0, 1, 2},
      {0x00, 0x98, 0x80, 0x10, 0, 0, 0, 0, 0x40, 0, 0x40, 0},
      {0x00, 0x9A, 0, 0, 0, 0xFF, 0x80, 0x08, 0, 0, 0, 0, 0x7F, 0xFF, 0x7F, 0xFF},
      {0x00, 0x2C, 0x00, 0x20, 0, 1, 0x30},
  };
  for (const auto& lie : lies) {
    std::vector<UInt8> data(good.begin(), good.begin() + 42);  // header, version and the header opcode
    data.insert(data.end(), lie.begin(), lie.end());
    PicHandle p = PortPictureFromBytes(data.data(), Size(data.size()));
    EXPECT_EQ(PortCheckPicture(p), kPictureDataErr);
    PortKillPicture(p);
  }
  PortKillPicture(pic);
  PortSetFontFolders({"/usr/share/fonts/truetype/dejavu"});
}

}  // namespace
