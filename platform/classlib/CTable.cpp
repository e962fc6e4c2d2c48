#include "CTable.h"

#include <algorithm>

#include "CMouseTask.h"
#include "CScrollPane.h"
#include "CWindow.h"
#include "Events.h"
#include "PString.h"

namespace {
// Dragging after a press in a table extends the selection from the pressed cell.
class TableSelectTask : public CMouseTask {
 public:
  TableSelectTask(CTable* t, Cell a, Boolean r) : table(t), anchor(a), rowsOnly(r), last(a) {}
  void KeepTracking(LongPt* curr, LongPt*, LongPt*) override {
    Point p;
    LongToQDPt(curr, &p);
    Cell cell;
    if (!table->FindCell(p, &cell) || cell == last) return;
    last = cell;
    long rowsCount = 0, colsCount = 0;
    table->GetTableDimensions(&rowsCount, &colsCount);
    SInt16 top = std::min(anchor.v, cell.v), bottom = std::max(anchor.v, cell.v);
    SInt16 left = rowsOnly ? 0 : std::min(anchor.h, cell.h);
    SInt16 right = rowsOnly ? SInt16(colsCount - 1) : std::max(anchor.h, cell.h);
    for (SInt16 v = 0; v < rowsCount; ++v)
      for (SInt16 h = 0; h < colsCount; ++h) {
        Boolean inside = v >= top && v <= bottom && h >= left && h <= right;
        if (table->IsSelected(Cell{v, h}) != inside) table->SetCellSelected(Cell{v, h}, inside);
      }
  }

 private:
  CTable* table;
  Cell anchor;
  Boolean rowsOnly;
  Cell last;
};
}  // namespace

void CTable::ITable(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                    SizingOption hS, SizingOption vS) {
  IPanorama(enclosure, supervisor, w, h, hE, vE, hS, vS);
  wantsClicks = true;
  rowBorderPattern = qd.black;
  colBorderPattern = qd.black;
  rows = 0;
  colWidths.clear();
  selected.clear();
  AdjustBounds();
}

void CTable::AdjustBounds() {
  long totalWidth = 0;
  for (SInt16 w : colWidths) totalWidth += w;
  LongRect b;
  SetLongRect(&b, 0, 0, totalWidth, rows * rowHeight);
  // The bounds cover at least the frame, so an empty table does not scroll.
  if (b.right < frame.right - frame.left) b.right = frame.right - frame.left;
  if (b.bottom < frame.bottom - frame.top) b.bottom = frame.bottom - frame.top;
  SetBounds(&b);
}

void CTable::InsertRows(long count, long after) {
  if (count <= 0) return;
  if (after < -1) after = -1;
  if (after >= rows) after = rows - 1;
  long at = (after + 1) * CountCols();
  selected.insert(selected.begin() + at, std::size_t(count * CountCols()), false);
  rows += count;
  AdjustBounds();
  Refresh();
}

void CTable::DeleteRows(long count, long start) {
  if (start < 0) {
    count += start;
    start = 0;
  }
  if (count <= 0 || start >= rows) return;
  if (start + count > rows) count = rows - start;
  long cols = CountCols();
  selected.erase(selected.begin() + start * cols, selected.begin() + (start + count) * cols);
  rows -= count;
  AdjustBounds();
  Refresh();
}

void CTable::InsertCols(long count, long after) {
  if (count <= 0) return;
  long cols = CountCols();
  if (after < -1) after = -1;
  if (after >= cols) after = cols - 1;
  std::vector<Boolean> grown;
  grown.reserve(std::size_t(rows * (cols + count)));
  for (long v = 0; v < rows; ++v)
    for (long h = 0; h < cols + count; ++h) {
      if (h <= after)
        grown.push_back(selected[std::size_t(v * cols + h)]);
      else if (h <= after + count)
        grown.push_back(false);
      else
        grown.push_back(selected[std::size_t(v * cols + h - count)]);
    }
  selected.swap(grown);
  colWidths.insert(colWidths.begin() + (after + 1), std::size_t(count), defaultColWidth);
  AdjustBounds();
  Refresh();
}

void CTable::DeleteCols(long count, long start) {
  long cols = CountCols();
  if (start < 0) {
    count += start;
    start = 0;
  }
  if (count <= 0 || start >= cols) return;
  if (start + count > cols) count = cols - start;
  std::vector<Boolean> shrunk;
  for (long v = 0; v < rows; ++v)
    for (long h = 0; h < cols; ++h)
      if (h < start || h >= start + count) shrunk.push_back(selected[std::size_t(v * cols + h)]);
  selected.swap(shrunk);
  colWidths.erase(colWidths.begin() + start, colWidths.begin() + start + count);
  AdjustBounds();
  Refresh();
}

void CTable::GetTableDimensions(long* r, long* c) const {
  if (r) *r = rows;
  if (c) *c = CountCols();
}

void CTable::SetRowHeight(SInt16 h) {
  rowHeight = h < 1 ? 1 : h;
  AdjustBounds();
  Refresh();
}

void CTable::SetColWidth(SInt16 w, long startCol, long endCol) {
  if (w < 0) w = 0;
  for (long c = std::max(0L, startCol); c <= endCol && c < CountCols(); ++c) colWidths[std::size_t(c)] = w;
  AdjustBounds();
  Refresh();
}

SInt16 CTable::GetColWidth(long col) const {
  return col >= 0 && col < CountCols() ? colWidths[std::size_t(col)] : SInt16(0);
}

void CTable::SetRowBorders(SInt16 thickness, const Pattern* pattern, SInt16 mode) {
  rowBorder = thickness < 0 ? 0 : thickness;
  if (pattern) rowBorderPattern = *pattern;
  rowBorderMode = mode;
  Refresh();
}

void CTable::SetColBorders(SInt16 thickness, const Pattern* pattern, SInt16 mode) {
  colBorder = thickness < 0 ? 0 : thickness;
  if (pattern) colBorderPattern = *pattern;
  colBorderMode = mode;
  Refresh();
}

Boolean CTable::ValidCell(Cell cell) const { return cell.v >= 0 && cell.v < rows && cell.h >= 0 && cell.h < CountCols(); }

void CTable::GetCellRect(Cell cell, Rect* r) const {
  long left = 0;
  for (long c = 0; c < cell.h && c < CountCols(); ++c) left += colWidths[std::size_t(c)];
  long top = long(cell.v) * rowHeight;
  PortSetRect(r, ClampToShort(left), ClampToShort(top), ClampToShort(left + GetColWidth(cell.h)),
              ClampToShort(top + rowHeight));
}

Boolean CTable::FindCell(Point pt, Cell* cell) const {
  if (pt.v < 0 || pt.h < 0) return false;
  long v = pt.v / rowHeight;
  if (v >= rows) return false;
  long left = 0;
  for (long c = 0; c < CountCols(); ++c) {
    long right = left + colWidths[std::size_t(c)];
    if (pt.h >= left && pt.h < right) {
      *cell = Cell{SInt16(v), SInt16(c)};
      return true;
    }
    left = right;
  }
  return false;
}

void CTable::SetCellSelected(Cell cell, Boolean on) {
  if (!ValidCell(cell)) return;
  auto at = std::size_t(CellIndex(cell));
  if (selected[at] == on) return;
  selected[at] = on;
  RefreshCell(cell);
}

void CTable::SelectCell(Cell cell, Boolean extend, Boolean highlight) {
  if (!ValidCell(cell)) return;
  if (!extend) ClearSelection(highlight);
  if (selectRows) {
    for (SInt16 h = 0; h < CountCols(); ++h) SetCellSelected(Cell{cell.v, h}, true);
  } else {
    SetCellSelected(cell, true);
  }
  anchor = cell;
}

Boolean CTable::IsSelected(Cell cell) const { return ValidCell(cell) && selected[std::size_t(CellIndex(cell))]; }

void CTable::SelectAll(Boolean) {
  for (SInt16 v = 0; v < rows; ++v)
    for (SInt16 h = 0; h < CountCols(); ++h) SetCellSelected(Cell{v, h}, true);
}

void CTable::ClearSelection(Boolean) {
  for (SInt16 v = 0; v < rows; ++v)
    for (SInt16 h = 0; h < CountCols(); ++h) SetCellSelected(Cell{v, h}, false);
}

Boolean CTable::HasSelection() const { return std::find(selected.begin(), selected.end(), true) != selected.end(); }

Boolean CTable::GetSelect(Boolean next, Cell* cell) const {
  long cols = CountCols();
  if (cols == 0) return false;
  long start = long(cell->v) * cols + cell->h + (next ? 1 : 0);
  if (start < 0) start = 0;
  for (long i = start; i < long(selected.size()); ++i)
    if (selected[std::size_t(i)]) {
      *cell = Cell{SInt16(i / cols), SInt16(i % cols)};
      return true;
    }
  return false;
}

void CTable::ScrollToCell(Cell cell) {
  if (!ValidCell(cell)) return;
  Rect r;
  GetCellRect(cell, &r);
  long dh = 0, dv = 0;
  if (r.left < frame.left)
    dh = r.left - frame.left;
  else if (r.right > frame.right)
    dh = std::min<long>(r.right - frame.right, r.left - frame.left);
  if (r.top < frame.top)
    dv = r.top - frame.top;
  else if (r.bottom > frame.bottom)
    dv = std::min<long>(r.bottom - frame.bottom, r.top - frame.top);
  if (dh == 0 && dv == 0) return;
  if (itsScrollPane)
    itsScrollPane->Scroll(dh / hScale, dv / vScale, true);
  else
    Scroll(dh / hScale, dv / vScale, true);
}

void CTable::ScrollToSelection() {
  Cell first{0, 0};
  if (GetSelect(false, &first)) ScrollToCell(first);
}

void CTable::GetCellText(Cell, StringPtr text) { text[0] = 0; }

void CTable::SetUpTextEnvirons(CTextEnvirons*) {}

void CTable::DrawCellContents(Cell cell, const Rect* cellRect) {
  Str255 text;
  GetCellText(cell, text);
  if (text[0] == 0) return;
  FontInfo info;
  PortGetFontInfo(&info);
  PortPenMove(SInt16(cellRect->left + 2), SInt16(cellRect->top + info.ascent + 1));
  PortDrawString(text);
}

void CTable::DrawCellBorders(const Rect* area) {
  PenState saved;
  PortGetPenState(&saved);
  long totalWidth = 0;
  for (SInt16 w : colWidths) totalWidth += w;
  if (rowBorder > 0) {
    PortPenNormal();
    PortPenSize(1, rowBorder);
    PortPenPattern(&rowBorderPattern);
    PortPenMode(rowBorderMode);
    for (long v = std::max(0L, long(area->top) / rowHeight); v < rows && v * rowHeight < area->bottom; ++v) {
      SInt16 y = ClampToShort((v + 1) * rowHeight - rowBorder);
      PortPenMove(0, y);
      PortPenLine(ClampToShort(totalWidth - 1), y);
    }
  }
  if (colBorder > 0) {
    PortPenNormal();
    PortPenSize(colBorder, 1);
    PortPenPattern(&colBorderPattern);
    PortPenMode(colBorderMode);
    long left = 0;
    for (long c = 0; c < CountCols(); ++c) {
      if (c > 0 && left >= area->left && left < area->right) {
        PortPenMove(ClampToShort(left), 0);
        PortPenLine(ClampToShort(left), ClampToShort(rows * rowHeight - 1));
      }
      left += colWidths[std::size_t(c)];
    }
  }
  PortSetPenState(&saved);
}

void CTable::RefreshCell(Cell cell) {
  if (!ValidCell(cell) || !ReallyVisible()) return;
  Rect r;
  GetCellRect(cell, &r);
  CWindow* window = GetWindow();
  if (!window) return;
  LongRect lr;
  QDToLongRect(&r, &lr);
  if (!SectLongRect(&lr, &aperture, &lr)) return;
  FrameToWindR(&lr);
  LongToQDRect(&lr, &r);
  window->InvalidateArea(&r);
}

void CTable::Draw(const Rect* area) {
  SetUpTextEnvirons(&textEnvirons);
  textEnvirons.Restore();
  PortEraseRect(area);
  long firstRow = std::max(0L, long(area->top) / rowHeight);
  for (long v = firstRow; v < rows && v * rowHeight < area->bottom; ++v) {
    for (SInt16 h = 0; h < CountCols(); ++h) {
      Cell cell{SInt16(v), h};
      Rect r;
      GetCellRect(cell, &r);
      Rect visible;
      if (!PortSectRect(&r, area, &visible)) continue;
      PortClipRect(&visible);
      DrawCellContents(cell, &r);
      if (IsSelected(cell)) PortInvertRect(&r);
    }
  }
  Rect clip;
  LongToQDRect(&aperture, &clip);
  PortClipRect(&clip);
  DrawCellBorders(area);
}

void CTable::DoClick(Point hitPt, SInt16 modifiers, long when) {
  Cell cell;
  if (!FindCell(hitPt, &cell)) return;
  if (cell == lastClickCell && UInt32(when) - lastClickTime <= PortDoubleClickTicks()) {
    lastClickCell = Cell{-1, -1};
    DoDblClick(cell, modifiers, when);
    return;
  }
  lastClickCell = cell;
  lastClickTime = UInt32(when);
  if ((modifiers & cmdKey) && !selectRows) {
    SetCellSelected(cell, !IsSelected(cell));
    anchor = cell;
    return;
  }
  Cell from = (modifiers & shiftKey) && ValidCell(anchor) ? anchor : cell;
  if (!(modifiers & shiftKey)) SelectCell(cell, false, true);
  TableSelectTask task(this, from, selectRows);
  LongPt start;
  QDToLongPt(hitPt, &start);
  LongPt current = start;
  task.KeepTracking(&current, &start, &start);
  LongRect pin = frame;
  TrackMouse(&task, &start, &pin);
  anchor = from;
}

void CTable::DoDblClick(Cell, SInt16, long) {}
