// One-line entry fields that show and take a number. CValuePane is the number layer: it types
// only what a number is made of and reads the text as a decimal number on Return, Enter or Tab
// before the key goes on to the supervisor. VLLocationPane keeps the value, shows it with a
// fixed count of decimals and notes typing in the shared typed flags that the drawing tasks read.
#pragma once

#include "CTextEntryPane.h"

// Typing flags: set by typing into a field, read and cleared by the drawing tasks, the object
// info palette and the view pane. gFieldTyped has one flag per text-bar field index (0 to 2).
extern UInt8 gTextBarTyped;
extern UInt8 gFieldTyped[3];

class CValuePane : public CTextEntryPane {
  VL_REGISTERED_CLASS(CValuePane, CTextEntryPane)

 public:
  CValuePane() = default;

  // Return, Enter, Tab: the text read as a decimal number is accepted (AcceptNumber), then the
  // key goes to the supervisor. Digits, "-", ".", left and right arrows, delete, forward delete
  // and clear are typed; other keys go to the supervisor untyped.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;

 protected:
  // A number read from the text; text that starts with no number reads as a NaN.
  virtual void AcceptNumber(double number) {}
};

class VLLocationPane : public CValuePane {
  VL_REGISTERED_CLASS(VLLocationPane, CValuePane)

 public:
  VLLocationPane() = default;

  // The text entry pane with the first nine arguments, text size 9, the value shown with
  // precision 2, the frame saved, not wanting clicks; the field index is the text-bar field
  // this pane is (0 to 2), -1 for none.
  void IVLLocationPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                       SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 lineWidth, double value,
                       SInt16 fieldIndex);
  // The same with a border on all four sides.
  virtual void IVLLocationPaneWithBorder(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                                         SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing,
                                         SInt16 lineWidth, double value, SInt16 fieldIndex);

  // Draws the saved frame at once.
  virtual void RedrawNow();
  // The value as the pane's text, with the precision's decimals (at least 3 characters wide).
  virtual void ShowValue();
  // Stores and shows the value (only shows it when it is the value held); the whole text is
  // selected when the pane is the command target. True when the value changed.
  virtual Boolean SetValue(double newValue);
  virtual double GetValue() const { return value; }
  // Decimals of the plain display (0 to 15), then shows the value again.
  virtual void SetPrecision(SInt16 decimals);
  SInt16 GetPrecision() const { return precision; }
  SInt16 GetFieldIndex() const { return fieldIndex; }

  // Return, Enter and Tab go to the number layer; the arrows, digits, ".", "-", delete and clear
  // set the typing flags first (the field's own flag when it has an index); others go to the
  // supervisor.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;

 protected:
  // A number read from the text becomes the value. Text that holds no number (an empty field,
  // a lone "-") keeps the value: a NaN or an infinity never becomes one.
  void AcceptNumber(double number) override;
  // Sets gTextBarTyped and the field's flag.
  void NoteTyping() const;
  // Makes the text the pane's text, at most 255 characters.
  void ShowText(const char* text);

  double value = 0.0;
  char textBuffer[256] = {};
  Rect savedFrame{};
  SInt16 fieldIndex = -1;
  SInt16 precision = 2;
};
