// The small text editor of edit fields.
#include "TextEdit.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

#include "Alerts.h"
#include "Events.h"
#include "Memory.h"
#include "Scrap.h"
#include "Screen.h"
#include "Ticks.h"
#include "UiInternal.h"

namespace {

using namespace vlui::internal;

struct Editor {
  TERec* master = nullptr;  // the handle points here
  TERec rec;
};
std::map<TEHandle, std::unique_ptr<Editor>> gEditors;

TERec* Rec(TEHandle te) {
  auto it = gEditors.find(te);
  return it == gEditors.end() ? nullptr : &it->second->rec;
}

// Sets the editor's port and font; the caller keeps the port.
bool Enter(TERec* t) {
  if (!t->inPort) return false;
  PortSetPort(t->inPort);
  PortTextFont(t->txFont);
  PortTextSize(t->txSize);
  PortTextFace(t->txFace);
  return true;
}

SInt16 Width(const TERec* t, std::size_t from, std::size_t to) {
  if (to <= from) return 0;
  std::size_t n = std::min<std::size_t>(to - from, 32767);
  return PortTextWidth(t->text.data() + from, 0, SInt16(n));
}

SInt16 LineEnd(const TERec* t, std::size_t line) {
  return line + 1 < t->lineStarts.size() ? t->lineStarts[line + 1] : SInt16(t->text.size());
}

// The line's drawn end: without a trailing carriage return or blanks that wrapped.
SInt16 VisibleEnd(const TERec* t, std::size_t line) {
  SInt16 end = LineEnd(t, line);
  SInt16 start = t->lineStarts[line];
  while (end > start && (t->text[std::size_t(end - 1)] == '\r')) --end;
  return end;
}

void Layout(TERec* t) {
  t->lineStarts.assign(1, 0);
  t->teLength = SInt16(t->text.size());
  if (!Enter(t)) return;
  FontInfo fi;
  PortGetFontInfo(&fi);
  t->fontAscent = fi.ascent;
  t->lineHeight = SInt16(fi.ascent + fi.descent + fi.leading);
  SInt16 maxWidth = SInt16(t->destRect.right - t->destRect.left);
  std::size_t start = 0, lastBreak = std::string::npos;
  for (std::size_t i = 0; i < t->text.size(); ++i) {
    char c = t->text[i];
    if (c == '\r') {
      start = i + 1;
      t->lineStarts.push_back(SInt16(start));
      lastBreak = std::string::npos;
      continue;
    }
    if (c == ' ') lastBreak = i + 1;
    if (!t->wordWrap || maxWidth <= 0) continue;
    if (Width(t, start, i + 1) > maxWidth && i > start) {
      // Break after the last blank of the line, or inside a word too long for a line.
      std::size_t at = lastBreak != std::string::npos && lastBreak > start ? lastBreak : i;
      start = at;
      t->lineStarts.push_back(SInt16(start));
      lastBreak = std::string::npos;
      if (at > i) continue;
      i = at > 0 ? at - 1 : 0;
    }
  }
}

std::size_t LineOf(const TERec* t, SInt16 offset) {
  std::size_t line = 0;
  for (std::size_t i = 1; i < t->lineStarts.size(); ++i)
    if (t->lineStarts[i] <= offset) line = i;
  return line;
}

SInt16 LineLeft(const TERec* t, std::size_t line) {
  SInt16 width = Width(t, std::size_t(t->lineStarts[line]), std::size_t(VisibleEnd(t, line)));
  SInt16 room = SInt16(t->destRect.right - t->destRect.left - width);
  switch (t->just) {
    case teCenter: return SInt16(t->destRect.left + room / 2);
    case teFlushRight: return SInt16(t->destRect.left + room);
    default: return t->destRect.left;
  }
}

Point PointOf(const TERec* t, SInt16 offset) {
  std::size_t line = LineOf(t, offset);
  SInt16 h = SInt16(LineLeft(t, line) + Width(t, std::size_t(t->lineStarts[line]), std::size_t(offset)));
  SInt16 v = SInt16(t->destRect.top + SInt16(line) * t->lineHeight + t->fontAscent);
  return Point{v, h};
}

SInt16 OffsetAt(const TERec* t, Point pt) {
  if (t->lineHeight <= 0) return 0;
  long line = (long(pt.v) - t->destRect.top) / t->lineHeight;
  line = std::clamp<long>(line, 0, long(t->lineStarts.size()) - 1);
  SInt16 start = t->lineStarts[std::size_t(line)], end = VisibleEnd(t, std::size_t(line));
  SInt16 left = LineLeft(t, std::size_t(line));
  SInt16 best = start;
  for (SInt16 i = start; i <= end; ++i) {
    SInt16 x = SInt16(left + Width(t, std::size_t(start), std::size_t(i)));
    if (i > start) {
      SInt16 prev = SInt16(left + Width(t, std::size_t(start), std::size_t(i - 1)));
      if (pt.h < (prev + x) / 2) break;
    }
    best = i;
  }
  return best;
}

void CaretRect(const TERec* t, Rect* r) {
  Point p = PointOf(t, t->selStart);
  *r = Rect{SInt16(p.v - t->fontAscent), p.h, SInt16(p.v - t->fontAscent + t->lineHeight), SInt16(p.h + 1)};
}

void Draw(TERec* t, const Rect* area) {
  PortKeeper keep;
  if (!Enter(t)) return;
  Rect clip = t->viewRect;
  if (area && !PortSectRect(&clip, area, &clip)) return;
  RgnHandle savedClip = PortNewRegion();
  PortGetClip(savedClip);
  RgnHandle rgn = PortNewRegion();
  PortRectRegion(rgn, &clip);
  PortSectRegion(rgn, savedClip, rgn);
  PortSetClip(rgn);
  FillRect(clip, kWhite);
  for (std::size_t line = 0; line < t->lineStarts.size(); ++line) {
    SInt16 start = t->lineStarts[line], end = VisibleEnd(t, line);
    SInt16 left = LineLeft(t, line);
    SInt16 top = SInt16(t->destRect.top + SInt16(line) * t->lineHeight);
    if (t->active && t->selStart != t->selEnd) {
      SInt16 a = std::max(start, t->selStart), b = std::min(LineEnd(t, line), t->selEnd);
      if (a < b || (a == b && t->selEnd > LineEnd(t, line) && b > start)) {
        SInt16 x0 = SInt16(left + Width(t, std::size_t(start), std::size_t(a)));
        SInt16 x1 = SInt16(left + Width(t, std::size_t(start), std::size_t(std::min(b, end))));
        if (b > end) x1 = SInt16(x1 + 4);  // a selected line end shows
        FillRect(Rect{top, x0, SInt16(top + t->lineHeight), x1}, kTextSelectColor);
      }
    }
    if (end > start)
      DrawText(t->text.substr(std::size_t(start), std::size_t(end - start)), left, SInt16(top + t->fontAscent), kBlack);
  }
  if (t->active && t->caretShown && t->selStart == t->selEnd) {
    Rect c;
    CaretRect(t, &c);
    FillRect(c, kBlack);
  }
  PortSetClip(savedClip);
  PortFreeRegion(savedClip);
  PortFreeRegion(rgn);
  vlui::NoteScreenChanged();
}

void Changed(TERec* t) {
  Layout(t);
  t->caretShown = true;
  t->caretTime = PortTickCount();
  Draw(t, nullptr);
}

void Select(TERec* t, long a, long b) {
  long n = long(t->text.size());
  a = std::clamp<long>(a, 0, n);
  b = std::clamp<long>(b, 0, n);
  if (a > b) std::swap(a, b);
  t->selStart = SInt16(a);
  t->selEnd = SInt16(b);
}

void Replace(TERec* t, const std::string& with) {
  std::string insert = with;
  std::size_t room = std::size_t(std::max<long>(0, long(t->maxLength) - (long(t->text.size()) - (t->selEnd - t->selStart))));
  if (insert.size() > room) {
    insert.resize(room);
    PortBeep(1);
  }
  t->text.replace(std::size_t(t->selStart), std::size_t(t->selEnd - t->selStart), insert);
  t->selStart = t->selEnd = SInt16(t->selStart + SInt16(insert.size()));
}

bool IsWordChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || u >= 0x80 || c == '_';
}

// The anchor of a shift-extended selection: the end away from the caret's last move.
SInt16 gAnchor = -1;

}  // namespace

TEHandle PortTENew(const Rect* destRect, const Rect* viewRect) {
  auto e = std::make_unique<Editor>();
  e->master = &e->rec;
  TERec& t = e->rec;
  TEHandle handle = &e->master;
  if (destRect) t.destRect = *destRect;
  t.viewRect = viewRect ? *viewRect : t.destRect;
  t.inPort = PortCurrentPort();
  t.txFont = t.inPort->txFont;
  t.txSize = t.inPort->txSize;
  t.txFace = t.inPort->txFace;
  gEditors[handle] = std::move(e);
  {
    PortKeeper keep;
    Layout(&t);
  }
  return handle;
}

void PortTEDispose(TEHandle te) {
  gEditors.erase(te);
}

void PortTESetText(const void* text, SInt32 length, TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return;
  length = std::clamp<SInt32>(length, 0, 32767);
  t->text.assign(text ? static_cast<const char*>(text) : "", text ? std::size_t(length) : 0);
  t->selStart = t->selEnd = SInt16(t->text.size());
  PortKeeper keep;
  Layout(t);
}

Handle PortTEGetText(TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return nullptr;
  return PortHandleFromBytes(t->text.data(), Size(t->text.size()));
}

std::string PortTETextString(TEHandle te) {
  TERec* t = Rec(te);
  return t ? t->text : std::string();
}

void PortTESetSelect(SInt32 selStart, SInt32 selEnd, TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return;
  Select(t, selStart, selEnd);
  gAnchor = -1;
  PortKeeper keep;
  Draw(t, nullptr);
}

void PortTEActivate(TEHandle te) {
  TERec* t = Rec(te);
  if (!t || t->active) return;
  t->active = true;
  t->caretShown = true;
  t->caretTime = PortTickCount();
  PortKeeper keep;
  Draw(t, nullptr);
}

void PortTEDeactivate(TEHandle te) {
  TERec* t = Rec(te);
  if (!t || !t->active) return;
  t->active = false;
  PortKeeper keep;
  Draw(t, nullptr);
}

void PortTEIdle(TEHandle te) {
  TERec* t = Rec(te);
  if (!t || !t->active || t->selStart != t->selEnd) return;
  UInt32 now = PortTickCount();
  if (now - t->caretTime < PortGetCaretTime()) return;
  t->caretTime = now;
  t->caretShown = !t->caretShown;
  PortKeeper keep;
  Rect c;
  if (!Enter(t)) return;
  CaretRect(t, &c);
  Draw(t, &c);
}

void PortTEKey(UInt8 key, TEHandle te) { PortTEKeyWithModifiers(key, 0, te); }

void PortTEKeyWithModifiers(UInt8 key, UInt16 modifiers, TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return;
  PortKeeper keep;
  if (!Enter(t)) return;
  bool shift = (modifiers & shiftKey) != 0;
  auto move = [&](long to) {
    if (shift) {
      if (gAnchor < 0 || (gAnchor != t->selStart && gAnchor != t->selEnd)) gAnchor = t->selStart;
      Select(t, gAnchor, to);
    } else {
      Select(t, to, to);
      gAnchor = -1;
    }
  };
  SInt16 caret = shift && gAnchor >= 0 && gAnchor == t->selStart ? t->selEnd : t->selStart;
  switch (key) {
    case kLeftArrowChar:
      if (!shift && t->selStart != t->selEnd) move(t->selStart);
      else move(caret - 1);
      break;
    case kRightArrowChar:
      if (!shift && t->selStart != t->selEnd) move(t->selEnd);
      else move((shift ? caret : t->selEnd) + 1);
      break;
    case kUpArrowChar:
    case kDownArrowChar: {
      const bool up = key == kUpArrowChar;
      Point p = PointOf(t, shift ? caret : (up ? t->selStart : t->selEnd));
      p.v = SInt16(p.v - t->fontAscent + (up ? -t->lineHeight : t->lineHeight) + 1);
      std::size_t line = LineOf(t, shift ? caret : t->selStart);
      if (up && line == 0)
        move(0);
      else if (!up && line + 1 >= t->lineStarts.size())
        move(long(t->text.size()));
      else move(OffsetAt(t, p));
      break;
    }
    case kBackspaceChar:
      if (t->selStart == t->selEnd && t->selStart > 0) t->selStart = SInt16(t->selStart - 1);
      Replace(t, "");
      gAnchor = -1;
      break;
    case kDeleteChar:
      if (t->selStart == t->selEnd && t->selEnd < SInt16(t->text.size())) t->selEnd = SInt16(t->selEnd + 1);
      Replace(t, "");
      gAnchor = -1;
      break;
    case kHomeChar:
      move(0);
      break;
    case kEndChar:
      move(long(t->text.size()));
      break;
    case kEnterChar:
    case kTabChar:
    case kEscapeChar:
      return;
    default:
      if (key < kSpaceChar && key != kReturnChar) return;
      Replace(t, std::string(1, char(key)));
      gAnchor = -1;
      break;
  }
  Changed(t);
}

void PortTEClick(Point pt, Boolean extend, TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return;
  PortKeeper keep;
  if (!Enter(t)) return;
  SInt16 at = OffsetAt(t, pt);
  UInt32 now = PortTickCount();
  bool doubleClick = now - t->clickTime <= PortGetDblTime() && at == t->clickLoc;
  t->clickTime = now;
  t->clickLoc = at;
  if (doubleClick) {
    long a = at, b = at;
    while (a > 0 && IsWordChar(t->text[std::size_t(a - 1)])) --a;
    while (b < long(t->text.size()) && IsWordChar(t->text[std::size_t(b)])) ++b;
    Select(t, a, b);
    Changed(t);
    return;
  }
  SInt16 anchor = extend ? (at < t->selStart ? t->selEnd : t->selStart) : at;
  Select(t, anchor, at);
  Changed(t);
  while (PortButton()) {
    Point now2;
    PortSetPort(t->inPort);
    PortGetMouse(&now2);
    SInt16 to = OffsetAt(t, now2);
    SInt16 a = std::min(anchor, to), b = std::max(anchor, to);
    if (a == t->selStart && b == t->selEnd) continue;
    Select(t, anchor, to);
    Enter(t);
    Changed(t);
  }
  gAnchor = anchor;
}

void PortTECopy(TEHandle te) {
  TERec* t = Rec(te);
  if (!t || t->selStart == t->selEnd) return;
  PortZeroScrap();
  PortPutScrap(t->selEnd - t->selStart, FourCC("TEXT"), t->text.data() + t->selStart);
}

void PortTECut(TEHandle te) {
  TERec* t = Rec(te);
  if (!t || t->selStart == t->selEnd) return;
  PortTECopy(te);
  PortTEDelete(te);
}

void PortTEPaste(TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return;
  Handle h = PortAllocHandle(0);
  SInt32 offset = 0;
  SInt32 length = PortGetScrap(h, FourCC("TEXT"), &offset);
  if (length > 0) PortTEInsert(*h, length, te);
  PortFreeHandle(h);
}

void PortTEDelete(TEHandle te) {
  TERec* t = Rec(te);
  if (!t || t->selStart == t->selEnd) return;
  Replace(t, "");
  PortKeeper keep;
  Changed(t);
}

void PortTEInsert(const void* text, SInt32 length, TEHandle te) {
  TERec* t = Rec(te);
  if (!t || !text || length <= 0) return;
  Replace(t, std::string(static_cast<const char*>(text), std::size_t(std::min<SInt32>(length, 32767))));
  PortKeeper keep;
  Changed(t);
}

void PortTESetAlignment(SInt16 just, TEHandle te) {
  if (TERec* t = Rec(te)) t->just = just;
}

void PortTEUpdate(const Rect* rUpdate, TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return;
  Draw(t, rUpdate);
}

void PortTECalText(TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return;
  PortKeeper keep;
  Layout(t);
}

void PortTETextBox(const void* text, SInt32 length, const Rect* box, SInt16 just) {
  if (!box) return;
  TEHandle te = PortTENew(box, box);
  PortTESetText(text, length, te);
  PortTESetAlignment(just, te);
  {
    PortKeeper keep;
    Layout(Rec(te));
  }
  PortTEUpdate(box, te);
  PortTEDispose(te);
}

SInt16 PortTEGetOffset(Point pt, TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return 0;
  PortKeeper keep;
  Enter(t);
  return OffsetAt(t, pt);
}

Point PortTEGetPoint(SInt16 offset, TEHandle te) {
  TERec* t = Rec(te);
  if (!t) return Point{};
  PortKeeper keep;
  Enter(t);
  return PointOf(t, std::clamp<SInt16>(offset, 0, SInt16(t->text.size())));
}

SInt16 PortTENumberOfLines(TEHandle te) {
  TERec* t = Rec(te);
  return t ? SInt16(t->lineStarts.size()) : 0;
}
