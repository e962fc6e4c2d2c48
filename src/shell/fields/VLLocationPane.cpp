#include "VLLocationPane.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "CPaneBorder.h"
#include "DecimalText.h"
#include "Events.h"
#include "PString.h"

UInt8 gTextBarTyped = 0;
UInt8 gFieldTyped[3] = {};

namespace {

constexpr SInt16 kFieldTextSize = 9;
constexpr SInt16 kMaxPrecision = 15;
constexpr long kWholeText = 999;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Key codes the number layer types whatever their character.
bool IsNumberEditingKey(UInt8 keyCode) {
  return keyCode == kLeftArrowKeyCode || keyCode == kRightArrowKeyCode || keyCode == kForwardDeleteKeyCode ||
         keyCode == kBackspaceKeyCode || keyCode == kClearKeyCode;
}

}  // namespace

// ---- CValuePane ----

void CValuePane::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  if (IsEntryKey(theChar)) {
    Str255 text;
    GetTextString(text);
    PStrConcat(text, Str255(" "));
    Decimal decimal;
    SInt16 index = 1;
    Boolean validPrefix = false;
    PortStringToDecimal(text, &index, &decimal, &validPrefix);
    AcceptNumber(PortDecimalToNumber(&decimal));
    CTextEntryPane::DoKeyDown(theChar, keyCode, event);
  } else if (IsDigit(theChar) || theChar == '-' || theChar == '.' || IsNumberEditingKey(keyCode)) {
    CTextEntryPane::DoKeyDown(theChar, keyCode, event);
  } else if (itsSupervisor) {
    itsSupervisor->DoKeyDown(theChar, keyCode, event);
  }
}

// ---- VLLocationPane ----

void VLLocationPane::IVLLocationPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                                     SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing,
                                     SInt16 lineWidth, double initialValue, SInt16 index) {
  ITextEntryPane(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, lineWidth);
  SetFontSize(kFieldTextSize);
  value = initialValue;
  precision = 2;
  ShowValue();
  LongToQDRect(&frame, &savedFrame);
  SetWantsClicks(false);
  fieldIndex = index;
}

void VLLocationPane::IVLLocationPaneWithBorder(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                                               SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing,
                                               SInt16 lineWidth, double initialValue, SInt16 index) {
  IVLLocationPane(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, lineWidth, initialValue, index);
  SetBorder(new CPaneBorder(kBorderFrame));
}

void VLLocationPane::RedrawNow() {
  Prepare();
  Draw(&savedFrame);
}

void VLLocationPane::ShowText(const char* text) {
  Str255 shown;
  PStrFromStd(text, shown);
  SetTextString(shown);
}

void VLLocationPane::ShowValue() {
  char format[16];
  std::snprintf(format, sizeof format, "%s%1d%s", "%3.", int(precision), "f");
  std::snprintf(textBuffer, sizeof textBuffer, format, value);
  ShowText(textBuffer);
}

Boolean VLLocationPane::SetValue(double newValue) {
  const Boolean changed = newValue != value;
  value = newValue;
  ShowValue();
  if (IsCommandTarget()) SetSelection(0, kWholeText, true);
  return changed;
}

void VLLocationPane::SetPrecision(SInt16 decimals) {
  precision = decimals < 0 ? SInt16(0) : decimals > kMaxPrecision ? kMaxPrecision : decimals;
  ShowValue();
}

void VLLocationPane::AcceptNumber(double number) {
  if (std::isfinite(number)) value = number;
  ShowValue();
}

void VLLocationPane::NoteTyping() const {
  gTextBarTyped = 1;
  if (fieldIndex >= 0 && fieldIndex < SInt16(std::size(gFieldTyped))) gFieldTyped[fieldIndex] = 1;
}

void VLLocationPane::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  const UInt8 c = UInt8(theChar);
  if (IsEntryKey(theChar)) {
    CValuePane::DoKeyDown(theChar, keyCode, event);
  } else if ((c >= kLeftArrowChar && c <= kDownArrowChar) || IsDigit(theChar) || theChar == '.' || theChar == '-' ||
             keyCode == kBackspaceKeyCode || keyCode == kClearKeyCode) {
    NoteTyping();
    CValuePane::DoKeyDown(theChar, keyCode, event);
  } else if (itsSupervisor) {
    itsSupervisor->DoKeyDown(theChar, keyCode, event);
  }
}
