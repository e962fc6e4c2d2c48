// The numbers of the typed resource layouts, shared by their readers (ResourceParsers.cpp) and
// their writer (tools/rescomp). Every value is big-endian. The dialog item kinds are in
// Resources.h.
#pragma once

#include <cstddef>

#include "MacTypes.h"

namespace vlres::layout {

// 'STR#': a 16-bit count, then length-prefixed strings.
constexpr std::size_t kMaxStringListCount = 0xFFFF;

// 'DITL': count - 1, then per item a reserved 4-byte field, its bounds, its type byte, the length
// of its data and the data (text, or a 16-bit resource id), padded to an even length.
constexpr std::size_t kItemReservedSize = 4;
constexpr std::size_t kItemHeaderSize = 14;  // reserved field, bounds, type and length
constexpr std::size_t kMaxItemCount = 0x7FFF;

// 'ALRT': bounds, item list id, stages. Four nibbles, stage 1 lowest: bit 3 makes item 2 the
// default, bit 2 draws the alert, bits 0-1 the number of beeps.
constexpr UInt16 kDefaultAlertStages = 0x5555;  // every stage drawn, one beep, item 1 the default
constexpr UInt16 kStageSecondItemDefault = 0x8;

// 'MENU': id, width, height, definition id, a filler word, the enable flags (bit 0 the menu,
// bit N item N), the title, then per item its text, icon, key, mark and style, ending in an empty
// text.
constexpr int kMaxFlaggedMenuItems = 31;

// 'CURS': 16 rows of 16 bits of data, 16 of mask, and the hot spot (row, column; 0 to 15).
constexpr std::size_t kCursorRows = 16;
constexpr std::size_t kCursorBitsSize = 2 * kCursorRows;
constexpr std::size_t kCursorSize = 2 * kCursorBitsSize + 4;

// 'ICON' and each half of 'ICN#': 32 rows of 32 bits. 'SICN': 16 rows of 16 bits.
constexpr std::size_t kIconSize = 128;
constexpr std::size_t kSmallIconSize = 32;

// 'CNTL': bounds, value, visible, a filler byte, maximum, minimum, definition id, reference
// constant, then the title (length-prefixed).
constexpr std::size_t kControlFixedSize = 22;

// 'WDLG', a Windows-style dialog template in dialog units (a quarter of the 8-point font's mean
// character width across, an eighth of its height down): width, height, the title, a 16-bit item
// count, then per item its kind, its control id, x, y, width, height, a further 16-bit value
// (an up-down control's buddy id, else 0) and its text (length-prefixed).
enum : UInt8 {
  kWinDefaultButton = 1,
  kWinPushButton = 2,
  kWinAutoRadio = 3,
  kWinNumberEdit = 4,
  kWinUpDown = 5,
  kWinDropDownList = 6,
  kWinGroupBox = 7,
  kWinStaticText = 8,
};
constexpr std::size_t kWinItemFixedSize = 14;  // kind, id, x, y, width, height, buddy, text length
constexpr std::size_t kMaxWinItemCount = 255;

// 'vers': major (BCD), minor and bug fix (a nibble each), stage, prerelease, region, then the short
// and the long version text.
enum : UInt8 {
  kStageDevelopment = 0x20,
  kStageAlpha = 0x40,
  kStageBeta = 0x60,
  kStageRelease = 0x80,
};

}  // namespace vlres::layout
