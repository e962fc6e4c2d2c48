// Readers of the classic resource layouts. Every count and length is checked against the data;
// a refusal notes the reader's reason.
#include "ByteReader.h"
#include "Memory.h"
#include "Refusal.h"
#include "ResourceLayouts.h"
#include "Resources.h"

namespace vlres {

using vlcore::ByteReader;

namespace {

ByteReader ReaderOf(Handle h) {
  if (!h || !PortIsHandle(h)) return ByteReader(nullptr, 0);
  Size size = PortHandleSize(h);
  return ByteReader(*h, std::size_t(size));
}

// False, with the reason of the reader's failure noted, unless it is still ok.
bool Checked(const ByteReader& in) { return in.ok() || vlcore::Refuse(false, in.failure()); }

// The fields a dialog template shares with a window template, up to the reference constant.
template <typename Template>
void ReadWindowHead(ByteReader& in, Template* t) {
  t->bounds = in.ReadRect();
  t->procId = in.S16();
  t->visible = in.U8() != 0;
  in.Skip(1);
  t->goAway = in.U8() != 0;
  in.Skip(1);
  t->refCon = in.S32();
}

UInt8 FromBcd(UInt8 b) { return UInt8((b >> 4) * 10 + (b & 0x0F)); }

}  // namespace

bool ReadStringList(const unsigned char* data, std::size_t size, std::vector<std::string>* out) {
  out->clear();
  ByteReader in(data, size);
  const std::size_t count = in.U16();
  // Each string takes at least its length byte.
  if (!in.Fits(count, 1, "a string list counts more strings than it holds")) return Checked(in);
  std::vector<std::string> strings;
  strings.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    strings.push_back(in.PString());
    if (!in.ok()) return Checked(in);
  }
  *out = std::move(strings);
  return true;
}

bool ReadStringList(Handle h, std::vector<std::string>* out) {
  if (!h || !PortIsHandle(h)) {
    out->clear();
    return false;
  }
  return ReadStringList(reinterpret_cast<const unsigned char*>(*h), std::size_t(PortHandleSize(h)), out);
}

bool ParseAlert(Handle h, AlertTemplate* out) {
  ByteReader in = ReaderOf(h);
  AlertTemplate a;
  a.bounds = in.ReadRect();
  a.itemListId = in.S16();
  a.stages = in.U16();
  if (!in.ok()) return Checked(in);
  *out = a;
  return true;
}

int AlertStageDefaultItem(UInt16 stages, int stage) {
  if (stage < 1 || stage > 4) stage = 1;
  return (stages >> ((stage - 1) * 4)) & layout::kStageSecondItemDefault ? 2 : 1;
}

bool ParseItemList(Handle h, std::vector<DialogItem>* out) {
  out->clear();
  ByteReader in = ReaderOf(h);
  const std::size_t count = (std::size_t(in.U16()) + 1) & 0xFFFF;  // stored as count - 1
  if (!in.Fits(count, layout::kItemHeaderSize, "an item list counts more items than it holds")) return Checked(in);
  std::vector<DialogItem> items;
  items.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    DialogItem item;
    in.Skip(layout::kItemReservedSize);
    item.bounds = in.ReadRect();
    const UInt8 type = in.U8();
    item.kind = type & 0x7F;
    item.enabled = (type & kItemDisableBit) == 0;
    const std::size_t length = in.U8();
    ByteReader data = in.Sub(length);
    if (!in.ok()) return Checked(in);
    switch (item.kind) {
      case kButtonItem:
      case kCheckBoxItem:
      case kRadioButtonItem:
      case kStaticTextItem:
      case kEditTextItem:
        item.text.assign(reinterpret_cast<const char*>(data.Take(length)), length);
        break;
      case kControlItem:
      case kIconItem:
      case kPictureItem:
        if (length >= 2) item.resourceId = data.S16();
        break;
      default:
        break;
    }
    in.AlignEven();
    items.push_back(std::move(item));
  }
  *out = std::move(items);
  return true;
}

bool ParseDialog(Handle h, DialogTemplate* out) {
  ByteReader in = ReaderOf(h);
  DialogTemplate d;
  ReadWindowHead(in, &d);
  d.itemListId = in.S16();
  d.title = in.PString();
  if (!in.ok()) return Checked(in);
  *out = std::move(d);
  return true;
}

bool ParseWindow(Handle h, WindowTemplate* out) {
  ByteReader in = ReaderOf(h);
  WindowTemplate w;
  ReadWindowHead(in, &w);
  w.title = in.PString();
  if (!in.ok()) return Checked(in);
  *out = std::move(w);
  return true;
}

bool ParseMenu(Handle h, MenuTemplate* out) {
  ByteReader in = ReaderOf(h);
  MenuTemplate m;
  m.menuId = in.S16();
  in.Skip(4);  // width and height, computed when the menu is shown
  m.procId = in.S16();
  in.Skip(2);
  const UInt32 enableFlags = in.U32();
  m.enabled = (enableFlags & 1) != 0;
  m.title = in.PString();
  if (!in.ok()) return Checked(in);
  // Items until a zero length byte (or the end of the data).
  while (!in.AtEnd()) {
    MenuItemData item;
    item.text = in.PString();
    if (!in.ok()) return Checked(in);
    if (item.text.empty()) break;
    item.icon = in.U8();
    item.keyEquivalent = in.U8();
    item.mark = in.U8();
    item.style = in.U8();
    if (!in.ok()) return Checked(in);
    const std::size_t number = m.items.size() + 1;
    item.enabled = number > layout::kMaxFlaggedMenuItems || (enableFlags >> number) & 1;
    m.items.push_back(std::move(item));
  }
  *out = std::move(m);
  return true;
}

bool ParseVersion(Handle h, VersionRecord* out) {
  ByteReader in = ReaderOf(h);
  VersionRecord v;
  v.major = FromBcd(in.U8());
  const UInt8 minorAndFix = in.U8();
  v.minor = UInt8(minorAndFix >> 4);
  v.bugFix = UInt8(minorAndFix & 0x0F);
  v.stage = in.U8();
  v.prerelease = in.U8();
  v.region = in.U16();
  v.shortVersion = in.PString();
  v.longVersion = in.PString();
  if (!in.ok()) return Checked(in);
  *out = std::move(v);
  return true;
}

bool ParseCursor(Handle h, CursorTemplate* out) {
  ByteReader in = ReaderOf(h);
  CursorTemplate c;
  for (UInt16& row : c.data) row = in.U16();
  for (UInt16& row : c.mask) row = in.U16();
  c.hotSpot = in.ReadPoint();
  if (!in.ok()) return Checked(in);
  *out = c;
  return true;
}

bool ParseControl(Handle h, ControlTemplate* out) {
  ByteReader in = ReaderOf(h);
  ControlTemplate c;
  c.bounds = in.ReadRect();
  c.value = in.S16();
  c.visible = in.U8() != 0;
  in.Skip(1);
  c.maximum = in.S16();
  c.minimum = in.S16();
  c.procId = in.S16();
  c.refCon = in.S32();
  c.title = in.PString();
  if (!in.ok()) return Checked(in);
  *out = std::move(c);
  return true;
}

std::string ReadShortString(Handle h) {
  ByteReader in = ReaderOf(h);
  const std::size_t length = in.U8();
  const std::size_t kept = length < in.remaining() ? length : in.remaining();
  const unsigned char* text = in.Take(kept);
  return text ? std::string(reinterpret_cast<const char*>(text), kept) : std::string();
}

}  // namespace vlres
