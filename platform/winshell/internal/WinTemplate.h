// The 'WDLG' dialog template (ResourceLayouts.h) as the Windows-style dialogs read it, and the
// ui layer's item list made from it. WinDialogs.cpp runs dialogs from these; the readers' fuzz
// entry reads templates through the same calls.
#pragma once

#include <string>
#include <vector>

#include "MacTypes.h"

namespace vlwinshell::internal {

struct TemplateItem {
  UInt8 kind = 0;  // vlres::layout::kWin*
  SInt16 id = 0, x = 0, y = 0, width = 0, height = 0, buddy = 0;
  std::string text;
};

struct Template {
  SInt16 width = 0, height = 0;
  std::string title;
  std::vector<TemplateItem> items;  // at least one
};

// Reads a template resource into *t. False, with the reason noted (Refusal.h), when h is null or
// its bytes are cut short, hold no items or more than kMaxWinItemCount, an unknown item kind or a
// size that is not positive.
bool ParseTemplate(Handle h, Template* t);

// Dialog units in pixels, across and down; units past 8000 count as 8000, below 0 as 0.
SInt16 PixelsAcross(int units);
SInt16 PixelsDown(int units);

// An item's box in the dialog, in pixels.
Rect ItemBox(const TemplateItem& item);

// The ui layer's item list ('DITL' layout) of a parsed template, an item for each template item in
// order; the caller frees it. Null when memory runs out.
Handle ItemList(const Template& t);

}  // namespace vlwinshell::internal
