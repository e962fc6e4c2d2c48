#include "CIconPane.h"

#include <cstring>

#include "Memory.h"
#include "Resources.h"

namespace {
constexpr int kIconSize = 32;
constexpr Size kIconBytes = kIconSize * kIconSize / 8;
}

void CIconPane::IIconPane(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                          SizingOption hS, SizingOption vS, SInt16 id) {
  Init(enclosure, supervisor, w, h, hE, vE, hS, vS);
  iconID = id;
}

void CIconPane::SetIconID(SInt16 id) {
  iconID = id;
  Refresh();
}

void CIconPane::Draw(const Rect*) {
  Handle icon = PortLoadResource(FourCC("ICON"), iconID);
  if (!icon || PortHandleSize(icon) < kIconBytes) return;
  // A copy, since the resource's block may move while it is drawn.
  UInt8 bits[kIconBytes];
  std::memcpy(bits, *icon, sizeof bits);
  PixMap map;
  map.baseAddr = reinterpret_cast<Ptr>(bits);
  map.rowBytes = kIconSize / 8;
  map.bounds = Rect{0, 0, kIconSize, kIconSize};
  map.pixelSize = 1;
  Rect dst;
  LongToQDRect(&frame, &dst);
  GrafPtr port = PortCurrentPort();
  PortCopyBits(&map, PortPortBits(port), &map.bounds, &dst, srcCopy, nullptr);
}
