// The single-line text field of the palettes: Return, Enter and Tab are not typed but go to the
// supervisor, which acts on them; any other key marks the field edited and is handled as text.
// The field erases its area before drawing. Base of the number and measurement fields.
#pragma once

#include "CEditText.h"

class CTextEntryPane : public CEditText {
  VL_REGISTERED_CLASS(CTextEntryPane, CEditText)

 public:
  CTextEntryPane() = default;

  // The edit text with these arguments, the Geneva font, an empty text, not edited.
  void ITextEntryPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                      SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 lineWidth);

  // Return, Enter and Tab to the supervisor; other keys set the edited flag and go to the text.
  // Either way the text's record of its last edit task is dropped.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;
  void Draw(const Rect* area) override;

  // Set by the first key the field types; only the initialiser clears it.
  UInt8 IsEdited() const { return edited; }

 protected:
  UInt8 edited = 0;
};

// Return, Enter or Tab: the keys that end an entry.
bool IsEntryKey(char theChar);
