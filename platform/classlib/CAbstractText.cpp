#include "CAbstractText.h"

#include "CException.h"
#include "CMenuManager.h"
#include "Commands.h"
#include "Cursors.h"
#include "Events.h"
#include "Memory.h"
#include "PString.h"
#include "Scrap.h"

namespace {
constexpr SInt16 kDefaultFont = 0;
constexpr SInt16 kDefaultSize = 12;
constexpr SInt16 kUnwrappedWidth = 30000;
}  // namespace

CAbstractText::~CAbstractText() {
  if (macTE) PortTEDispose(macTE);
  macTE = nullptr;
  PortFreeHandle(textCache);
  textCache = nullptr;
}

void CAbstractText::IAbstractText(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE,
                                  SInt16 vE, SizingOption hS, SizingOption vS, SInt16 newLineWidth) {
  IPanorama(enclosure, supervisor, w, h, hE, vE, hS, vS);
  wantsClicks = true;
  lineWidth = newLineWidth;
  {
    PortStateKeeper keeper(macPort);
    if (macPort)
      Prepare();
    else
      PortSetPort(nullptr);
    PortTextFont(kDefaultFont);
    PortTextSize(kDefaultSize);
    PortTextFace(kStylePlain);
    Rect dest{0, 0, height, SInt16(lineWidth > 0 ? lineWidth : lineWidth < 0 ? kUnwrappedWidth : width)};
    Rect view;
    LongToQDRect(&frame, &view);
    macTE = PortTENew(&dest, &view);
  }
  if (!macTE) Failure(memFullErr, 0);
  (*macTE)->wordWrap = lineWidth >= 0;
  (*macTE)->txFont = kDefaultFont;
  (*macTE)->txSize = kDefaultSize;
  Relayout();
}

namespace {
// Makes the text's port current (the layer's own empty port when the text has none).
class TextPort {
 public:
  explicit TextPort(CAbstractText* text) : keeper(text->GetMacPort()) {
    if (text->GetMacPort())
      text->Prepare();
    else
      PortSetPort(nullptr);
    if (TEHandle te = text->GetMacTE()) {
      PortTextFont((*te)->txFont);
      PortTextSize((*te)->txSize);
      PortTextFace((*te)->txFace);
    }
  }
  TextPort(const TextPort&) = delete;
  TextPort& operator=(const TextPort&) = delete;

 private:
  PortStateKeeper keeper;
};
}  // namespace

void CAbstractText::Relayout() {
  if (!macTE) return;
  TERec* te = *macTE;
  te->destRect.right = SInt16(te->destRect.left + (lineWidth > 0 ? lineWidth : lineWidth < 0 ? kUnwrappedWidth : width));
  te->destRect.bottom = SInt16(te->destRect.top + height);
  LongToQDRect(&frame, &te->viewRect);
  TextPort port(this);
  PortTECalText(macTE);
}

void CAbstractText::SetTextPtr(const void* text, long length) {
  if (!macTE) return;
  if (length < 0) length = 0;
  {
    TextPort port(this);
    PortTESetText(text, SInt32(length), macTE);
  }
  Refresh();
}

void CAbstractText::SetTextString(ConstStringPtr text) {
  if (!text) {
    SetTextPtr("", 0);
    return;
  }
  SetTextPtr(text + 1, text[0]);
}

Handle CAbstractText::GetTextHandle() {
  PortFreeHandle(textCache);
  textCache = nullptr;
  if (!macTE) return nullptr;
  textCache = PortTEGetText(macTE);
  return textCache;
}

void CAbstractText::GetTextString(StringPtr text) {
  std::string s = macTE ? PortTETextString(macTE) : std::string();
  PStrFromStd(s, text, 255);
}

long CAbstractText::GetLength() const { return macTE ? (*macTE)->teLength : 0; }

long CAbstractText::GetLineCount() const { return macTE ? PortTENumberOfLines(macTE) : 0; }

long CAbstractText::GetHeight(long startLine, long endLine) const {
  if (!macTE || endLine < startLine) return 0;
  long lineHeight = (*macTE)->lineHeight;
  if (lineHeight <= 0) lineHeight = (*macTE)->txSize > 0 ? (*macTE)->txSize + 4 : kDefaultSize + 4;
  return (endLine - startLine + 1) * lineHeight;
}

void CAbstractText::SetMaxLength(SInt16 maxLength) {
  if (macTE) (*macTE)->maxLength = maxLength < 0 ? 0 : maxLength;
}

void CAbstractText::SetSelection(long start, long end, Boolean redraw) {
  if (!macTE) return;
  if (start < 0) start = 0;
  if (end < start) end = start;
  {
    TextPort port(this);
    PortTESetSelect(SInt32(start), SInt32(end > 32767 ? 32767 : end), macTE);
  }
  if (redraw) Refresh();
}

void CAbstractText::GetSelection(long* start, long* end) const {
  if (start) *start = macTE ? (*macTE)->selStart : 0;
  if (end) *end = macTE ? (*macTE)->selEnd : 0;
}

void CAbstractText::SetFontNumber(SInt16 font) {
  if (!macTE) return;
  (*macTE)->txFont = font;
  Relayout();
  Refresh();
}

void CAbstractText::SetFontName(ConstStringPtr name) {
  SInt16 number = 0;
  PortFontNumber(name, &number);
  Str255 known;
  PortGetFontName(number, known);
  // An unknown name answers font 0, whose own name differs from it.
  if (number == 0 && !PStrEqual(known, name)) return;
  SetFontNumber(number);
}

void CAbstractText::SetFontSize(SInt16 size) {
  if (!macTE) return;
  (*macTE)->txSize = size;
  Relayout();
  Refresh();
}

void CAbstractText::SetFontStyle(Style style) {
  if (!macTE) return;
  (*macTE)->txFace = style;
  Relayout();
  Refresh();
}

void CAbstractText::SetTextMode(SInt16 mode) { textMode = mode; }

SInt16 CAbstractText::GetFontNumber() const { return macTE ? (*macTE)->txFont : 0; }
SInt16 CAbstractText::GetFontSize() const { return macTE ? (*macTE)->txSize : 0; }
Style CAbstractText::GetFontStyle() const { return macTE ? (*macTE)->txFace : Style(0); }

void CAbstractText::SetAlignment(long alignmentCommand) {
  alignment = alignmentCommand;
  if (!macTE) return;
  SInt16 just = teFlushLeft;
  if (alignmentCommand == cmdAlignCenter) just = teCenter;
  if (alignmentCommand == cmdAlignRight) just = teFlushRight;
  {
    TextPort port(this);
    PortTESetAlignment(just, macTE);
  }
  Refresh();
}

void CAbstractText::SetJustification(SInt16 justification) {
  switch (justification) {
    case 1:
      SetAlignment(cmdAlignCenter);
      break;
    case 2:
    case -1:
      SetAlignment(cmdAlignRight);
      break;
    default:
      SetAlignment(cmdAlignLeft);
  }
}

Boolean CAbstractText::IsTypedKey(char theChar, UInt8 keyCode) const {
  UInt8 c = UInt8(theChar);
  if (keyCode == kForwardDeleteKeyCode || keyCode == kClearKeyCode) return true;
  if (c == kReturnChar) return multiLine;
  if (c == kBackspaceChar || c == kDeleteChar || (c >= kLeftArrowChar && c <= kDownArrowChar)) return true;
  return c >= kSpaceChar;
}

void CAbstractText::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  // Command-key combinations are commands, never typing.
  Boolean command = event && (event->modifiers & cmdKey);
  if (!editable || !macTE || command || !IsTypedKey(theChar, keyCode)) {
    CPanorama::DoKeyDown(theChar, keyCode, event);
    return;
  }
  std::string before = PortTETextString(macTE);
  {
    TextPort port(this);
    if (keyCode == kClearKeyCode)
      PortTEDelete(macTE);
    else
      PortTEKeyWithModifiers(keyCode == kForwardDeleteKeyCode ? UInt8(kDeleteChar) : UInt8(theChar),
                             event ? event->modifiers : UInt16(0), macTE);
  }
  if (PortTETextString(macTE) != before) TextChanged();
}

void CAbstractText::DoAutoKey(char theChar, UInt8 keyCode, EventRecord* event) { DoKeyDown(theChar, keyCode, event); }

void CAbstractText::DoCommand(long command) {
  if (!macTE) {
    CPanorama::DoCommand(command);
    return;
  }
  Boolean hasSelection = (*macTE)->selEnd > (*macTE)->selStart;
  switch (command) {
    case cmdCut:
      if (editable && hasSelection) {
        {
          TextPort port(this);
          PortTECut(macTE);
        }
        TextChanged();
      }
      return;
    case cmdCopy:
      if (hasSelection) {
        TextPort port(this);
        PortTECopy(macTE);
      }
      return;
    case cmdPaste:
      if (editable) {
        std::string before = PortTETextString(macTE);
        {
          TextPort port(this);
          PortTEPaste(macTE);
        }
        if (PortTETextString(macTE) != before) TextChanged();
      }
      return;
    case cmdClear:
      if (editable && hasSelection) {
        {
          TextPort port(this);
          PortTEDelete(macTE);
        }
        TextChanged();
      }
      return;
    case cmdSelectAll:
      if (selectable || editable) SelectAll(true);
      return;
    default:
      CPanorama::DoCommand(command);
  }
}

void CAbstractText::UpdateMenus() {
  CPanorama::UpdateMenus();
  if (!gMenuManager || !macTE) return;
  Boolean hasSelection = (*macTE)->selEnd > (*macTE)->selStart;
  if (hasSelection) gMenuManager->EnableCommand(cmdCopy);
  if (editable && hasSelection) {
    gMenuManager->EnableCommand(cmdCut);
    gMenuManager->EnableCommand(cmdClear);
  }
  SInt32 offset = 0;
  if (editable && PortGetScrap(nullptr, FourCC("TEXT"), &offset) > 0) gMenuManager->EnableCommand(cmdPaste);
  if ((selectable || editable) && (*macTE)->teLength > 0) gMenuManager->EnableCommand(cmdSelectAll);
}

void CAbstractText::DoClick(Point hitPt, SInt16 modifiers, long) {
  if (!macTE || (!editable && !selectable)) return;
  if (!IsCommandTarget()) BecomeCommandTarget(true);
  TextPort port(this);
  PortTEClick(hitPt, (modifiers & shiftKey) != 0, macTE);
}

void CAbstractText::AdjustCursor(Point, RgnHandle) {
  if (editable || selectable) {
    if (CursHandle beam = PortGetCursor(iBeamCursor)) {
      PortSetCursor(*beam);
      return;
    }
  }
  PortSetArrowCursor();
}

Boolean CAbstractText::BecomeCommandTarget(Boolean become) {
  Boolean result = CPanorama::BecomeCommandTarget(become);
  ShowSelection();
  return result;
}

void CAbstractText::NotifyDependents(long reason, void* info) {
  if (reason == kResignedCommandTarget || reason == kBecameCommandTarget) ShowSelection();
  CPanorama::NotifyDependents(reason, info);
}

void CAbstractText::Activate() {
  CPanorama::Activate();
  ShowSelection();
}

void CAbstractText::Deactivate() {
  CPanorama::Deactivate();
  ShowSelection();
}

void CAbstractText::ShowSelection() {
  if (!macTE) return;
  Boolean show = IsCommandTarget() && active && (editable || selectable);
  if (show == (*macTE)->active) return;
  TextPort port(this);
  if (show)
    PortTEActivate(macTE);
  else
    PortTEDeactivate(macTE);
}

void CAbstractText::TextChanged() {}

void CAbstractText::Draw(const Rect* area) {
  if (!macTE) return;
  PortTextFont((*macTE)->txFont);
  PortTextSize((*macTE)->txSize);
  PortTextFace((*macTE)->txFace);
  PortTEUpdate(area, macTE);
}

void CAbstractText::CalcAperture() {
  CPanorama::CalcAperture();
  if (!macTE) return;
  TERec* te = *macTE;
  SInt16 wanted = SInt16(lineWidth > 0 ? lineWidth : lineWidth < 0 ? kUnwrappedWidth : width);
  LongToQDRect(&frame, &te->viewRect);
  if (te->destRect.right - te->destRect.left != wanted || te->destRect.bottom - te->destRect.top != height) Relayout();
}
