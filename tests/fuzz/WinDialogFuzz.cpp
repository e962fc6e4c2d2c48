// Windows-style dialog templates ('WDLG' resources), read as a dialog is made from one: the
// template, then the ui layer's item list built from it and read back.
#include <vector>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "Memory.h"
#include "Resources.h"
#include "internal/WinTemplate.h"

namespace vlfuzz {

Outcome ReadWinDialog(const std::uint8_t* data, std::size_t size) {
  namespace W = vlwinshell::internal;
  Handle h = PortHandleFromBytes(data, Size(size));
  if (!h) return Accepted();
  W::Template t;
  const bool read = W::ParseTemplate(h, &t);
  PortFreeHandle(h);
  if (!read) return Refused();
  W::PixelsAcross(t.width);
  W::PixelsDown(t.height);
  Handle list = W::ItemList(t);
  if (!list) return Accepted();
  // Every template item becomes the dialog item of its place.
  std::vector<vlres::DialogItem> items;
  const bool parsed = vlres::ParseItemList(list, &items);
  PortFreeHandle(list);
  if (!parsed || items.size() != t.items.size()) __builtin_trap();
  return Accepted();
}

}  // namespace vlfuzz
