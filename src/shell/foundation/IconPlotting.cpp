#include "IconPlotting.h"

#include <cstring>

#include "ByteReader.h"
#include "DETException.h"
#include "Memory.h"
#include "QuickDraw.h"
#include "ResourceLayouts.h"
#include "Resources.h"

namespace {

constexpr ResType kIconType = FourCC("ICON");
constexpr ResType kSmallIconType = FourCC("SICN");
constexpr Size kIconBytes = Size(vlres::layout::kIconSize);            // 32 by 32, one bit a pixel
constexpr Size kSmallIconBytes = Size(vlres::layout::kSmallIconSize);  // 16 by 16

// Copies one icon of a list resource onto dst in the current port. Icons past the end of the
// resource are not drawn.
void DrawIconFrom(Handle list, SInt16 index, int side, Size bytes, const Rect& dst, SInt16 mode) {
  if (!list || index < 1) return;
  vlcore::ByteReader in(*list, std::size_t(PortHandleSize(list)));
  in.Skip(std::size_t(index - 1) * std::size_t(bytes));
  const UInt8* icon = in.Take(std::size_t(bytes));
  if (!icon) return;
  // One-bit rows are padded to four bytes for the pixel copy.
  UInt8 bits[32 * 4] = {};
  const int rowIn = side / 8;
  for (int r = 0; r < side; ++r) std::memcpy(bits + r * 4, icon + r * rowIn, std::size_t(rowIn));
  PixMap src;
  src.baseAddr = reinterpret_cast<Ptr>(bits);
  src.rowBytes = 4;
  src.bounds = Rect{0, 0, SInt16(side), SInt16(side)};
  src.pixelSize = 1;
  Rect srcRect = src.bounds;
  PortCopyBits(&src, PortPortBits(PortCurrentPort()), &srcRect, &dst, mode, nullptr);
}

}  // namespace

void PlotICON(SInt16 resourceId, SInt16 index, Point pt) {
  Handle list = PortLoadResource(kIconType, resourceId);
  if (!list) return;
  Rect dst{pt.v, pt.h, SInt16(pt.v + 31), SInt16(pt.h + 32)};
  DrawIconFrom(list, index, 32, kIconBytes, dst, srcCopy);
  PortReleaseResource(list);
}

void PlotICONShrunk(SInt16 resourceId, SInt16 index, Point pt, SInt16 mode) {
  Handle list = PortLoadResource(kIconType, resourceId);
  if (!list) return;
  switch (mode) {
    case 0:
      PortForeColor(blackColor);
      PortBackColor(whiteColor);
      break;
    case 1:
      PortForeColor(whiteColor);
      PortBackColor(blackColor);
      break;
    case 2: {
      RGBColor grey{26212, 26212, 26212};
      PortRGBForeColor(&grey);
      PortBackColor(whiteColor);
      break;
    }
    default:
      break;
  }
  Rect dst{SInt16(pt.v - 1), SInt16(pt.h - 2), SInt16(pt.v + 17), SInt16(pt.h + 24)};
  DrawIconFrom(list, index, 32, kIconBytes, dst, srcCopy);
  PortForeColor(blackColor);
  PortBackColor(whiteColor);
  PortReleaseResource(list);
}

void PlotSICN(SInt16 resourceId, SInt16 index, Point pt, SInt16 transferMode) {
  Handle list = PortLoadResource(kSmallIconType, resourceId);
  if (!list) return;
  Rect dst{pt.v, pt.h, SInt16(pt.v + 16), SInt16(pt.h + 16)};
  DrawIconFrom(list, index, 16, kSmallIconBytes, dst, transferMode);
  PortReleaseResource(list);
}

void PlotSmallIcon(SInt16 resourceId, SInt16 index, Point pt, SInt16 transferMode) {
  Handle list = PortLoadResource(kSmallIconType, resourceId);
  ThrowIfNil(list);
  Rect dst{pt.v, pt.h, SInt16(pt.v + 16), SInt16(pt.h + 16)};
  DrawIconFrom(list, index, 16, kSmallIconBytes, dst, transferMode);
}
