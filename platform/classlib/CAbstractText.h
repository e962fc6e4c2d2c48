// Text in a pane, kept and drawn by the window layer's small text editor (TextEdit.h): Mac
// Roman text with a font, size, style and alignment, laid out in the pane (wrapped at the line
// width, or on one long line with a line width of -1), with a selection. An editable text
// takes keys while it is the command target: typed characters, delete and forward delete, the
// arrows, the clear key; Cut, Copy, Paste, Clear and Select All work through the scrap. Keys
// it does not type go to its supervisor. Offsets count characters from 0.
#pragma once

#include "CPanorama.h"
#include "TextEdit.h"

class CTask;

class CAbstractText : public CPanorama {
  VL_REGISTERED_CLASS(CAbstractText, CPanorama)

 public:
  CAbstractText() = default;
  ~CAbstractText() override;

  void IAbstractText(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                     SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 lineWidth);

  TEHandle GetMacTE() const { return macTE; }

  // Text.
  virtual void SetTextPtr(const void* text, long length);
  void SetTextString(ConstStringPtr text);
  // The text as a block the text object keeps until the next call (or its disposal).
  Handle GetTextHandle();
  // The first 255 characters.
  void GetTextString(StringPtr text);
  long GetLength() const;
  long GetLineCount() const;
  // Height in pixels of lines startLine to endLine (from 1, both included).
  long GetHeight(long startLine, long endLine) const;
  // Typing stops at this many characters (32767: no limit).
  void SetMaxLength(SInt16 maxLength);

  // Selection: characters start to end (end past the text: to its end).
  virtual void SetSelection(long start, long end, Boolean redraw);
  void GetSelection(long* start, long* end) const;
  void SelectAll(Boolean redraw) { SetSelection(0, 32767, redraw); }

  // Appearance.
  void SetFontNumber(SInt16 font);
  // A font by name; an unknown name keeps the font.
  void SetFontName(ConstStringPtr name);
  void SetFontSize(SInt16 size);
  void SetFontStyle(Style style);
  void SetTextMode(SInt16 mode);
  SInt16 GetFontNumber() const;
  SInt16 GetFontSize() const;
  Style GetFontStyle() const;
  SInt16 GetTextMode() const { return textMode; }
  // cmdAlignLeft, cmdAlignCenter, cmdAlignRight or cmdJustify (Commands.h).
  void SetAlignment(long alignmentCommand);
  long GetAlignment() const { return alignment; }
  // 0 left, 1 centred, 2 (or -1) right.
  void SetJustification(SInt16 justification);

  void SetEditable(Boolean on) { editable = on; }
  Boolean IsEditable() const { return editable; }
  void SetSelectable(Boolean on) { selectable = on; }
  Boolean IsSelectable() const { return selectable; }

  // The task of the last edit, when edits make one (none here); callers may forget it.
  CTask* GetLastTask() const { return lastTask; }
  void ForgetLastTask() { lastTask = nullptr; }

  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;
  void DoAutoKey(char theChar, UInt8 keyCode, EventRecord* event) override;
  void DoCommand(long command) override;
  void UpdateMenus() override;
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;
  void AdjustCursor(Point where, RgnHandle mouseRgn) override;
  Boolean BecomeCommandTarget(Boolean become) override;
  // The command-target notices also show or hide the selection.
  void NotifyDependents(long reason, void* info) override;
  void Activate() override;
  void Deactivate() override;

  void Draw(const Rect* area) override;
  void CalcAperture() override;

 protected:
  // True for the keys this text types: printable characters, delete, forward delete, the
  // arrows, the clear key, and Return when the text has more than one line.
  virtual Boolean IsTypedKey(char theChar, UInt8 keyCode) const;
  // The text changed by typing or an edit command.
  virtual void TextChanged();
  // Shows the selection when the text is the command target in an active window.
  void ShowSelection();
  void Relayout();

  TEHandle macTE = nullptr;
  Handle textCache = nullptr;
  CTask* lastTask = nullptr;
  SInt16 lineWidth = 0;
  SInt16 textMode = srcOr;
  long alignment = 0;
  Boolean editable = false;
  Boolean selectable = false;
  Boolean multiLine = true;
};
