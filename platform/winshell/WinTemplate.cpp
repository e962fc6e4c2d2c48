// The Windows-style dialog template: read through the bounded reader, every count checked against
// the bytes left before anything is kept, and turned into the ui layer's item list.
#include "internal/WinTemplate.h"

#include <algorithm>

#include "ByteReader.h"
#include "Memory.h"
#include "Refusal.h"
#include "QuickDraw.h"
#include "ResourceLayouts.h"
#include "Resources.h"

namespace L = vlres::layout;

namespace vlwinshell::internal {

bool ParseTemplate(Handle h, Template* t) {
  if (!h) return vlcore::Refuse(false, "no dialog template");
  vlcore::ByteReader r(*h, std::size_t(PortHandleSize(h)));
  t->width = r.S16();
  t->height = r.S16();
  t->title = r.PString();
  UInt16 count = r.U16();
  if (r.Require(count > 0 && count <= L::kMaxWinItemCount, "bad item count"))
    r.Fits(count, L::kWinItemFixedSize);
  for (UInt16 i = 0; i < count && r.ok(); ++i) {
    TemplateItem item;
    item.kind = r.U8();
    item.id = r.S16();
    item.x = r.S16();
    item.y = r.S16();
    item.width = r.S16();
    item.height = r.S16();
    item.buddy = r.S16();
    item.text = r.PString();
    r.Require(item.kind >= L::kWinDefaultButton && item.kind <= L::kWinStaticText, "unknown item kind");
    t->items.push_back(item);
  }
  r.Require(t->width > 0 && t->height > 0, "dialog size not positive");
  // A refusal names the check that fired.
  return r.ok() || vlcore::Refuse(false, r.failure());
}

// Dialog units of the 8-point font: a quarter of its mean width (6 pixels) across, an eighth of
// its height (13 pixels) down.
SInt16 PixelsAcross(int units) { return SInt16(std::clamp(units, 0, 8000) * 3 / 2); }
SInt16 PixelsDown(int units) { return SInt16(std::clamp(units, 0, 8000) * 13 / 8); }

Rect ItemBox(const TemplateItem& item) {
  Rect r{PixelsDown(item.y), PixelsAcross(item.x), PixelsDown(item.y + item.height),
         PixelsAcross(item.x + item.width)};
  // The ui layer frames an edit text three pixels outside its box.
  if (item.kind == L::kWinNumberEdit) PortInsetRect(&r, 3, 3);
  return r;
}

Handle ItemList(const Template& t) {
  vlcore::ByteWriter w;
  w.U16(unsigned(t.items.size() - 1));
  for (const TemplateItem& item : t.items) {
    UInt8 type = vlres::kUserItem;
    std::string data;
    switch (item.kind) {
      case L::kWinDefaultButton:
      case L::kWinPushButton:
        type = vlres::kButtonItem;
        data = item.text;
        break;
      case L::kWinAutoRadio:
        type = vlres::kRadioButtonItem;
        data = item.text;
        break;
      case L::kWinNumberEdit:
        type = vlres::kEditTextItem;
        break;
      case L::kWinStaticText:
        type = vlres::kStaticTextItem | vlres::kItemDisableBit;
        data = item.text;
        break;
      case L::kWinGroupBox:
        type = vlres::kUserItem | vlres::kItemDisableBit;
        break;
      default:
        break;
    }
    w.Zeros(L::kItemReservedSize);
    w.WriteRect(ItemBox(item));
    w.U8(type);
    w.U8(unsigned(data.size()));
    w.Bytes(data.data(), data.size());
    w.AlignEven();
  }
  return PortHandleFromBytes(w.bytes().data(), Size(w.size()));
}

}  // namespace vlwinshell::internal
