// Cursors: the built-in shapes, 'CURS' resources and the current cursor.
#include "Cursors.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>

#include "Memory.h"
#include "Resources.h"

namespace {

// Rows of 16 bits, leftmost pixel in the top bit.
constexpr Cursor kArrow{
    {0x0000, 0x4000, 0x6000, 0x7000, 0x7800, 0x7C00, 0x7E00, 0x7F00, 0x7F80, 0x7C00, 0x6C00, 0x4600, 0x0600,
     0x0300, 0x0300, 0x0000},
    {0xC000, 0xE000, 0xF000, 0xF800, 0xFC00, 0xFE00, 0xFF00, 0xFF80, 0xFFC0, 0xFFE0, 0xFE00, 0xEF00, 0xCF00,
     0x0780, 0x0780, 0x0380},
    {1, 1}};
constexpr Cursor kIBeam{
    {0x0C60, 0x0280, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100,
     0x0100, 0x0280, 0x0C60},
    {0x0C60, 0x0380, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100,
     0x0100, 0x0380, 0x0C60},
    {8, 7}};
constexpr Cursor kCross{
    {0x0400, 0x0400, 0x0400, 0x0400, 0x0400, 0xFFE0, 0x0400, 0x0400, 0x0400, 0x0400, 0x0400, 0x0000, 0x0000,
     0x0000, 0x0000, 0x0000},
    {0x0400, 0x0400, 0x0400, 0x0400, 0x0400, 0xFFE0, 0x0400, 0x0400, 0x0400, 0x0400, 0x0400, 0x0000, 0x0000,
     0x0000, 0x0000, 0x0000},
    {5, 5}};
constexpr Cursor kPlus{
    {0x0000, 0x0E00, 0x0A00, 0x0A00, 0x0A00, 0xFBE0, 0x8020, 0xFBE0, 0x0A00, 0x0A00, 0x0A00, 0x0E00, 0x0000,
     0x0000, 0x0000, 0x0000},
    {0x0000, 0x0E00, 0x0E00, 0x0E00, 0x0E00, 0xFFE0, 0xFFE0, 0xFFE0, 0x0E00, 0x0E00, 0x0E00, 0x0E00, 0x0000,
     0x0000, 0x0000, 0x0000},
    {6, 5}};
constexpr Cursor kWatch{
    {0x3F00, 0x3F00, 0x3F00, 0x3F00, 0x4080, 0x8440, 0x8440, 0x8460, 0x9C40, 0x8040, 0x4080, 0x3F00, 0x3F00,
     0x3F00, 0x3F00, 0x3F00},
    {0x3F00, 0x3F00, 0x3F00, 0x3F00, 0x7F80, 0xFFC0, 0xFFC0, 0xFFE0, 0xFFC0, 0xFFC0, 0x7F80, 0x3F00, 0x3F00,
     0x3F00, 0x3F00, 0x3F00},
    {8, 8}};

struct Loaded {
  Cursor cursor;
  Cursor* master = &cursor;
};
std::map<SInt16, std::unique_ptr<Loaded>> gLoaded;

Cursor gCurrent = kArrow;
SInt16 gCurrentId = 0;
int gHide = 0;
bool gObscured = false;
UInt32 gGeneration = 1;

}  // namespace

CursHandle PortGetCursor(SInt16 cursorID) {
  auto it = gLoaded.find(cursorID);
  if (it != gLoaded.end()) return &it->second->master;
  Cursor c;
  vlres::CursorTemplate t;
  Handle h = PortLoadResource(FourCC("CURS"), cursorID);
  if (h && vlres::ParseCursor(h, &t)) {
    std::copy(std::begin(t.data), std::end(t.data), std::begin(c.data));
    std::copy(std::begin(t.mask), std::end(t.mask), std::begin(c.mask));
    c.hotSpot.v = SInt16(t.hotSpot.v & 15);
    c.hotSpot.h = SInt16(t.hotSpot.h & 15);
  } else {
    switch (cursorID) {
      case iBeamCursor: c = kIBeam; break;
      case crossCursor: c = kCross; break;
      case plusCursor: c = kPlus; break;
      case watchCursor: c = kWatch; break;
      default: return nullptr;
    }
  }
  auto loaded = std::make_unique<Loaded>();
  loaded->cursor = c;
  loaded->master = &loaded->cursor;
  CursHandle handle = &loaded->master;
  gLoaded[cursorID] = std::move(loaded);
  return handle;
}

void PortSetCursor(const Cursor* cursor) {
  const Cursor& c = cursor ? *cursor : kArrow;
  SInt16 id = cursor ? -1 : 0;
  for (const auto& [loadedId, loaded] : gLoaded)
    if (&loaded->cursor == cursor) id = loadedId;
  if (cursor == &kArrow) id = 0;
  bool same = id == gCurrentId && std::equal(std::begin(c.data), std::end(c.data), std::begin(gCurrent.data)) &&
              std::equal(std::begin(c.mask), std::end(c.mask), std::begin(gCurrent.mask)) && c.hotSpot == gCurrent.hotSpot;
  if (same) return;
  gCurrent = c;
  gCurrentId = id;
  ++gGeneration;
}

void PortInitCursor() {
  PortSetCursor(nullptr);
  if (gHide != 0 || gObscured) {
    gHide = 0;
    gObscured = false;
    ++gGeneration;
  }
}

void PortSetArrowCursor() { PortSetCursor(nullptr); }
const Cursor* PortArrowCursor() { return &kArrow; }

void PortHideCursor() {
  ++gHide;
  ++gGeneration;
}

void PortShowCursor() {
  if (gHide > 0) --gHide;
  ++gGeneration;
}

void PortObscureCursor() {
  if (gObscured) return;
  gObscured = true;
  ++gGeneration;
}

namespace vlui {

const Cursor& CurrentCursor() { return gCurrent; }
bool CursorHidden() { return gHide > 0 || gObscured; }
UInt32 CursorGeneration() { return gGeneration; }
SInt16 CurrentCursorId() { return gCurrentId; }

void NoteMouseMoved() {
  if (!gObscured) return;
  gObscured = false;
  ++gGeneration;
}

}  // namespace vlui
