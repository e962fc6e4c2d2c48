// Text: fonts by number and name, sizes and styles, measuring and drawing. Glyphs are rendered
// by FreeType from the DejaVu fonts as one-bit images (hinted, never smoothed), so the same text
// always gives the same pixels; without the font files a built-in bitmap font stands in.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

#include "PString.h"
#include "QDInternal.h"

using namespace qdimpl;

namespace {

enum class Family { Sans = 0, Mono = 1, Serif = 2 };

struct FontEntry {
  SInt16 number;
  const char* name;
  Family family;
};

// Name lookups take the first entry with the name; number 1 (the application font) shares
// Geneva's face.
const FontEntry kFonts[] = {
    {0, "Chicago", Family::Sans},         {2, "New York", Family::Serif},  {3, "Geneva", Family::Sans},
    {4, "Monaco", Family::Mono},          {20, "Times", Family::Serif},    {21, "Helvetica", Family::Sans},
    {22, "Courier", Family::Mono},        {23, "Symbol", Family::Sans},    {1024, "DejaVu Sans", Family::Sans},
    {1025, "DejaVu Sans Mono", Family::Mono}, {1026, "DejaVu Serif", Family::Serif},
};

Family FamilyOf(SInt16 number) {
  if (number == 1) return Family::Sans;
  for (const FontEntry& f : kFonts)
    if (f.number == number) return f.family;
  return Family::Sans;
}

const char* kFiles[3][2] = {
    {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"},
    {"DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf"},
    {"DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"},
};

struct Glyph {
  SInt32 advance = 0;
  SInt32 left = 0;  // from the pen to the image's left edge
  SInt32 top = 0;   // from the baseline up to the image's top row
  SInt32 width = 0;
  SInt32 height = 0;
  std::vector<UInt8> bits;  // one byte a pixel
};

struct FontState {
  FT_Library lib = nullptr;
  bool libTried = false;
  std::vector<std::string> folders;
  bool foldersSet = false;
  // Faces by family and weight; tried once each.
  FT_Face faces[3][2] = {};
  bool tried[3][2] = {};
  std::unordered_map<unsigned long long, Glyph> glyphs;
  UInt32 unicode[256] = {};
  bool unicodeReady = false;
};

FontState& State() {
  static FontState s;
  return s;
}

void DefaultFolders(FontState& s) {
  if (s.foldersSet) return;
  s.foldersSet = true;
  if (const char* env = std::getenv("VELMORA_FONT_DIR"); env && *env) s.folders.push_back(env);
  s.folders.push_back("/usr/share/fonts/truetype/dejavu");
}

FT_Face FaceFor(Family fam, bool bold) {
  FontState& s = State();
  DefaultFolders(s);
  int f = int(fam), b = bold ? 1 : 0;
  if (s.tried[f][b]) return s.faces[f][b];
  s.tried[f][b] = true;
  if (!s.libTried) {
    s.libTried = true;
    if (FT_Init_FreeType(&s.lib) != 0) s.lib = nullptr;
  }
  if (!s.lib) return nullptr;
  for (const std::string& folder : s.folders) {
    std::string path = folder + "/" + kFiles[f][b];
    FT_Face face = nullptr;
    if (FT_New_Face(s.lib, path.c_str(), 0, &face) == 0) {
      s.faces[f][b] = face;
      break;
    }
  }
  return s.faces[f][b];
}

UInt32 Unicode(UInt8 c) {
  FontState& s = State();
  if (!s.unicodeReady) {
    for (int i = 0; i < 256; ++i) {
      std::string u = MacRomanToUtf8(std::string(1, char(i)));
      const UInt8* p = reinterpret_cast<const UInt8*>(u.data());
      UInt32 cp = p[0];
      if (u.size() == 2) cp = ((p[0] & 0x1F) << 6) | (p[1] & 0x3F);
      else if (u.size() == 3) cp = ((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
      s.unicode[i] = cp;
    }
    s.unicodeReady = true;
  }
  return s.unicode[c];
}

// How the port's text settings come out.
struct TextStyle {
  FT_Face face = nullptr;    // null: the built-in font
  Family family = Family::Sans;
  bool bold = false, italic = false, fakeBold = false;
  SInt32 size = 12;          // pixels
  Style face_bits = 0;
};

TextStyle StyleOf(GrafPort* port, Point numer, Point denom) {
  TextStyle t;
  t.face_bits = port->txFace;
  t.family = FamilyOf(port->txFont);
  t.bold = port->txFace & kStyleBold;
  t.italic = port->txFace & kStyleItalic;
  long size = port->txSize > 0 ? port->txSize : 12;
  if (denom.v > 0 && numer.v > 0) size = size * numer.v / denom.v;
  t.size = SInt32(std::clamp(size, 1L, 512L));
  t.face = FaceFor(t.family, t.bold);
  if (t.bold && !t.face) {
    t.face = FaceFor(t.family, false);
    t.fakeBold = t.face != nullptr;
  }
  if (!t.face) t.fakeBold = t.bold;
  return t;
}

SInt32 FallbackScale(const TextStyle& t) { return std::max<SInt32>(1, (t.size + 6) / 12); }

void Metrics(const TextStyle& t, FontInfo* info) {
  if (!t.face) {
    SInt32 s = FallbackScale(t);
    info->ascent = SInt16(8 * s);
    info->descent = SInt16(2 * s);
    info->leading = SInt16(s);
    info->widMax = SInt16(6 * s + (t.bold ? 1 : 0));
    return;
  }
  FT_Set_Pixel_Sizes(t.face, 0, FT_UInt(t.size));
  const FT_Size_Metrics& m = t.face->size->metrics;
  SInt32 asc = SInt32((m.ascender + 63) >> 6), desc = SInt32((-m.descender + 63) >> 6);
  SInt32 height = SInt32((m.height + 32) >> 6);
  info->ascent = SInt16(asc);
  info->descent = SInt16(desc);
  info->leading = SInt16(std::max<SInt32>(0, height - asc - desc));
  info->widMax = SInt16(((m.max_advance + 63) >> 6) + (t.fakeBold ? 1 : 0));
}

const Glyph& GetGlyph(const TextStyle& t, UInt8 c) {
  FontState& s = State();
  unsigned long long faceId = t.face ? (unsigned long long)(int(t.family) * 2 + (t.bold && !t.fakeBold ? 1 : 0)) : 7;
  unsigned long long key = (faceId << 40) | ((unsigned long long)t.size << 16) | ((t.italic ? 1ULL : 0ULL) << 12) |
                           ((t.fakeBold ? 1ULL : 0ULL) << 11) | c;
  auto it = s.glyphs.find(key);
  if (it != s.glyphs.end()) return it->second;
  Glyph g;
  if (!t.face) {
    SInt32 sc = FallbackScale(t);
    const UInt8* rows = FallbackGlyph(c);
    g.advance = 6 * sc;
    g.left = 0;
    g.top = 7 * sc;
    g.width = 5 * sc + (t.italic ? 2 * sc : 0);
    g.height = 9 * sc;
    g.bits.assign(std::size_t(g.width * g.height), 0);
    for (SInt32 r = 0; r < 9; ++r) {
      // Italic leans the rows above the baseline to the right.
      SInt32 shift = t.italic ? std::max<SInt32>(0, (7 - r) / 3) * sc : 0;
      for (SInt32 col = 0; col < 5; ++col) {
        if (!((rows[r] >> (4 - col)) & 1)) continue;
        for (SInt32 dy = 0; dy < sc; ++dy)
          for (SInt32 dx = 0; dx < sc; ++dx) g.bits[std::size_t((r * sc + dy) * g.width + col * sc + dx + shift)] = 1;
      }
    }
  } else {
    FT_Set_Pixel_Sizes(t.face, 0, FT_UInt(t.size));
    FT_Matrix shear{0x10000, t.italic ? 0x3333 : 0, 0, 0x10000};
    FT_Set_Transform(t.face, &shear, nullptr);
    FT_UInt index = FT_Get_Char_Index(t.face, Unicode(c));
    if (FT_Load_Glyph(t.face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) == 0) {
      FT_GlyphSlot slot = t.face->glyph;
      if (t.fakeBold && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_Outline_Embolden(&slot->outline, 64);
      g.advance = SInt32((slot->advance.x + 32) >> 6);
      if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0) {
        const FT_Bitmap& bm = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = SInt32(bm.width);
        g.height = SInt32(bm.rows);
        g.bits.assign(std::size_t(g.width * g.height), 0);
        for (SInt32 r = 0; r < g.height; ++r) {
          const UInt8* row = bm.buffer + std::ptrdiff_t(r) * bm.pitch;
          for (SInt32 col = 0; col < g.width; ++col)
            g.bits[std::size_t(r * g.width + col)] = (row[col >> 3] >> (7 - (col & 7))) & 1;
        }
      }
    }
    FT_Set_Transform(t.face, nullptr, nullptr);
  }
  return s.glyphs.emplace(key, std::move(g)).first->second;
}

// The pen's advance for one character with the style's extra pixels.
SInt32 Advance(const TextStyle& t, const Glyph& g) {
  SInt32 a = g.advance;
  if (t.fakeBold) a += 1;
  if (t.face_bits & kStyleOutline) a += 1;
  if (t.face_bits & kStyleShadow) a += 2;
  if (t.face_bits & kStyleCondense) a -= 1;
  if (t.face_bits & kStyleExtend) a += 1;
  return a;
}

std::vector<UInt8>& MaskScratch(int k) {
  static std::vector<UInt8> m[2];
  return m[k];
}

SInt16 CallTxMeas(GrafPort* port, SInt16 count, const void* text, Point* numer, Point* denom, FontInfo* info) {
  if (port->grafProcs && port->grafProcs->txMeasProc)
    return port->grafProcs->txMeasProc(count, text, numer, denom, info);
  return PortStdTxMeas(count, text, numer, denom, info);
}

void CallText(GrafPort* port, SInt16 count, const void* text) {
  Point one{1, 1};
  if (port->grafProcs && port->grafProcs->textProc) port->grafProcs->textProc(count, text, one, one);
  else PortStdText(count, text, one, one);
}

}  // namespace

namespace qdimpl {

SInt32 MeasureTextScaled(GrafPort* port, const UInt8* text, SInt32 count, Point numer, Point denom, FontInfo* info,
                         SInt16* locs) {
  TextStyle t = StyleOf(port, numer, denom);
  if (info) Metrics(t, info);
  SInt32 w = 0;
  if (locs) locs[0] = 0;
  for (SInt32 i = 0; i < count; ++i) {
    w += Advance(t, GetGlyph(t, text[i]));
    if (locs) locs[i + 1] = Clamp16(w);
  }
  return w;
}

void DrawTextScaled(GrafPort* port, const UInt8* text, SInt32 count, Point numer, Point denom) {
  if (count <= 0) return;
  TextStyle t = StyleOf(port, numer, denom);
  FontInfo fi;
  Metrics(t, &fi);
  const SInt32 x0 = port->pnLoc.h, base = port->pnLoc.v;
  // The box: the line's height across its advance, grown to every glyph's image.
  SInt32 width = 0;
  SInt32 left = x0, right = x0, top = base - fi.ascent, bottom = base + fi.descent;
  for (SInt32 i = 0, pen = x0; i < count; ++i) {
    const Glyph& g = GetGlyph(t, text[i]);
    if (g.width > 0) {
      left = std::min(left, pen + g.left);
      right = std::max(right, pen + g.left + g.width + (t.fakeBold ? 1 : 0));
      top = std::min(top, base - g.top);
      bottom = std::max(bottom, base - g.top + g.height);
    }
    pen += Advance(t, g);
    width = pen - x0;
  }
  right = std::max(right, x0 + width);
  const bool outline = t.face_bits & (kStyleOutline | kStyleShadow);
  const SInt32 margin = outline ? 3 : 1;
  left -= margin;
  top -= margin;
  right += margin;
  bottom += margin;
  SInt32 w = right - left, h = bottom - top;
  if (w > 0 && h > 0 && port->portPixMap.baseAddr && port->pnVis >= 0) {
    std::vector<UInt8>& mask = MaskScratch(0);
    mask.assign(std::size_t(w) * std::size_t(h), 0);
    for (SInt32 i = 0, pen = x0; i < count; ++i) {
      const Glyph& g = GetGlyph(t, text[i]);
      for (SInt32 r = 0; r < g.height; ++r) {
        SInt32 y = base - g.top + r - top;
        for (SInt32 c = 0; c < g.width; ++c) {
          if (!g.bits[std::size_t(r * g.width + c)]) continue;
          SInt32 x = pen + g.left + c - left;
          mask[std::size_t(y * w + x)] = 1;
          if (t.fakeBold) mask[std::size_t(y * w + x + 1)] = 1;
        }
      }
      pen += Advance(t, g);
    }
    if (t.face_bits & kStyleUnderline) {
      SInt32 y = base + 1 - top;
      if (y >= 0 && y < h)
        for (SInt32 x = x0 - left; x < x0 + width - left; ++x) mask[std::size_t(y * w + x)] = 1;
    }
    if (outline) {
      // Hollow letters: the ring around each stroke; shadow adds the ring moved down and right.
      std::vector<UInt8>& grown = MaskScratch(1);
      grown.assign(mask.size(), 0);
      for (SInt32 y = 1; y < h - 1; ++y)
        for (SInt32 x = 1; x < w - 1; ++x) {
          if (!mask[std::size_t(y * w + x)]) continue;
          for (SInt32 dy = -1; dy <= 1; ++dy)
            for (SInt32 dx = -1; dx <= 1; ++dx) grown[std::size_t((y + dy) * w + x + dx)] = 1;
        }
      if (t.face_bits & kStyleShadow) {
        for (SInt32 y = h - 1; y >= 1; --y)
          for (SInt32 x = w - 1; x >= 1; --x)
            if (grown[std::size_t((y - 1) * w + x - 1)]) grown[std::size_t(y * w + x)] = 2 | grown[std::size_t(y * w + x)];
      }
      for (std::size_t k = 0; k < mask.size(); ++k) mask[k] = (grown[k] && !mask[k]) ? 1 : 0;
    }
    Ink ink = MakeInk(qd.black, port->txMode, port->rgbFgColor, port->rgbBkColor, port->portPixMap.pixelSize);
    DrawMask(port, mask.data(), w, h, left, top, ink);
  }
  port->pnLoc.h = Clamp16(x0 + width);
}

}  // namespace qdimpl

// ---------------------------------------------------------------------------------------------

void PortFontNumber(ConstStringPtr name, SInt16* fontNum) {
  if (!fontNum) return;
  *fontNum = 0;
  if (!name) return;
  for (const FontEntry& f : kFonts) {
    if (PortEqualString(name, Str255(f.name)) == 0) {
      *fontNum = f.number;
      return;
    }
  }
}

void PortGetFontName(SInt16 fontNum, StringPtr name) {
  if (!name) return;
  const char* found = "";
  if (fontNum == 1) found = "Geneva";
  for (const FontEntry& f : kFonts)
    if (f.number == fontNum) found = f.name;
  PStrFromStd(found, name);
}

void PortTextFont(SInt16 font) { Current()->txFont = font; }
void PortTextFace(Style face) { Current()->txFace = face; }
void PortTextMode(SInt16 mode) { Current()->txMode = mode; }
void PortTextSize(SInt16 size) { Current()->txSize = size; }

void PortGetFontInfo(FontInfo* info) {
  if (!info) return;
  Point one{1, 1};
  MeasureTextScaled(Current(), nullptr, 0, one, one, info, nullptr);
}

void PortStdText(SInt16 byteCount, const void* text, Point numer, Point denom) {
  if (byteCount <= 0 || !text) return;
  GrafPort* port = Current();
  PicRecordText(port, text, byteCount, numer, denom);
  DrawTextScaled(port, static_cast<const UInt8*>(text), byteCount, numer, denom);
}

SInt16 PortStdTxMeas(SInt16 byteCount, const void* text, Point* numer, Point* denom, FontInfo* info) {
  Point one{1, 1};
  FontInfo fi;
  SInt32 w = MeasureTextScaled(Current(), static_cast<const UInt8*>(text), text ? std::max<SInt16>(byteCount, 0) : 0,
                               numer ? *numer : one, denom ? *denom : one, &fi, nullptr);
  if (info) *info = fi;
  return Clamp16(w);
}

void PortDrawString(ConstStringPtr s) {
  if (s && s[0]) CallText(Current(), s[0], s + 1);
}

void PortDrawText(const void* text, SInt16 firstByte, SInt16 byteCount) {
  if (!text || firstByte < 0 || byteCount <= 0) return;
  CallText(Current(), byteCount, static_cast<const char*>(text) + firstByte);
}

void PortDrawChar(char c) { CallText(Current(), 1, &c); }

SInt16 PortStringWidth(ConstStringPtr s) {
  if (!s) return 0;
  Point one{1, 1};
  return CallTxMeas(Current(), s[0], s + 1, &one, &one, nullptr);
}

SInt16 PortTextWidth(const void* text, SInt16 firstByte, SInt16 byteCount) {
  if (!text || firstByte < 0 || byteCount <= 0) return 0;
  Point one{1, 1};
  return CallTxMeas(Current(), byteCount, static_cast<const char*>(text) + firstByte, &one, &one, nullptr);
}

SInt16 PortCharWidth(char c) { return PortTextWidth(&c, 0, 1); }

void PortMeasureText(SInt16 byteCount, const void* text, SInt16* locs) {
  if (!locs) return;
  locs[0] = 0;
  if (!text || byteCount <= 0) return;
  Point one{1, 1};
  MeasureTextScaled(Current(), static_cast<const UInt8*>(text), byteCount, one, one, nullptr, locs);
}

void PortSetFontFolders(const std::vector<std::string>& folders) {
  FontState& s = State();
  for (auto& fam : s.faces)
    for (FT_Face& f : fam)
      if (f) {
        FT_Done_Face(f);
        f = nullptr;
      }
  for (auto& fam : s.tried)
    for (bool& t : fam) t = false;
  s.glyphs.clear();
  s.folders = folders;
  s.foldersSet = true;
}

bool PortUsingBuiltInFont() {
  Point one{1, 1};
  return StyleOf(Current(), one, one).face == nullptr;
}
