// A table: a panorama showing a grid of cells, counted from 0 (row v, column h), with a width
// per column and one height for every row, optional separator lines between rows and between
// columns, and a selection of cells. A press selects the cell under it (with shift the range
// from the last one, with command it toggles the cell) and dragging extends the selection; in
// row-selection mode a cell selects its whole row. A double click asks the table to open the
// cell. Cells draw their text (GetCellText) in the table's text environment unless a subclass
// draws them itself (DrawCellContents).
#pragma once

#include <vector>

#include "CPanorama.h"
#include "CTextEnvirons.h"

// A cell: v is the row, h the column.
using Cell = Point;

class CTable : public CPanorama {
  VL_REGISTERED_CLASS(CTable, CPanorama)

 public:
  CTable() = default;

  void ITable(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
              SizingOption hSizing, SizingOption vSizing);

  // Rows and columns: inserted after row (or column) `after` (-1: at the start; past the end:
  // at the end), deleted from `start` on (what lies outside is left alone).
  virtual void InsertRows(long count, long after);
  virtual void DeleteRows(long count, long start);
  virtual void InsertCols(long count, long after);
  virtual void DeleteCols(long count, long start);
  void GetTableDimensions(long* rows, long* cols) const;
  long CountRows() const { return rows; }
  long CountCols() const { return long(colWidths.size()); }

  void SetRowHeight(SInt16 height);
  SInt16 GetRowHeight() const { return rowHeight; }
  void SetColWidth(SInt16 width, long startCol, long endCol);
  SInt16 GetColWidth(long col) const;

  // Separator lines (thickness 0: none), drawn with the pattern and pen mode.
  void SetRowBorders(SInt16 thickness, const Pattern* pattern, SInt16 mode);
  void SetColBorders(SInt16 thickness, const Pattern* pattern, SInt16 mode);
  SInt16 GetRowBorderThickness() const { return rowBorder; }
  SInt16 GetColBorderThickness() const { return colBorder; }

  // Geometry: a cell's rectangle (table coordinates) and the cell at a point; false when the
  // point lies outside the cells.
  void GetCellRect(Cell cell, Rect* r) const;
  Boolean FindCell(Point pt, Cell* cell) const;
  Boolean ValidCell(Cell cell) const;

  // Selection.
  void SetRowSelection(Boolean rowsOnly) { selectRows = rowsOnly; }
  Boolean IsRowSelection() const { return selectRows; }
  virtual void SelectCell(Cell cell, Boolean extend, Boolean highlight);
  void SetCellSelected(Cell cell, Boolean selected);
  Boolean IsSelected(Cell cell) const;
  void SelectAll(Boolean highlight);
  void ClearSelection(Boolean highlight);
  Boolean HasSelection() const;
  // The first selected cell at or after *cell (row by row), into *cell; false when none. With
  // next the search starts after *cell.
  Boolean GetSelect(Boolean next, Cell* cell) const;
  // Scrolls so that the first selected cell shows.
  virtual void ScrollToSelection();
  // Scrolls so that the cell shows.
  void ScrollToCell(Cell cell);

  // Text of a cell (the base: none) and the environment cell text is drawn in.
  virtual void GetCellText(Cell cell, StringPtr text);
  virtual void SetUpTextEnvirons(CTextEnvirons* environs);
  // Draws one cell's contents in its rectangle (the port prepared); the base draws its text.
  virtual void DrawCellContents(Cell cell, const Rect* cellRect);
  // The separator lines over the cells drawn.
  virtual void DrawCellBorders(const Rect* area);
  void RefreshCell(Cell cell);

  void Draw(const Rect* area) override;
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;
  // A double click on a cell; the base does nothing.
  virtual void DoDblClick(Cell cell, SInt16 modifiers, long when);

 protected:
  // Bounds follow the grid.
  void AdjustBounds();
  long CellIndex(Cell cell) const { return long(cell.v) * CountCols() + cell.h; }
  void HighlightCell(Cell cell);

  long rows = 0;
  std::vector<SInt16> colWidths;
  SInt16 rowHeight = 16;
  SInt16 defaultColWidth = 64;
  std::vector<Boolean> selected;  // row by row
  Boolean selectRows = false;
  Cell anchor{-1, -1};
  SInt16 rowBorder = 0;
  SInt16 colBorder = 0;
  Pattern rowBorderPattern;
  Pattern colBorderPattern;
  SInt16 rowBorderMode = patCopy;
  SInt16 colBorderMode = patCopy;
  UInt32 lastClickTime = 0;
  Cell lastClickCell{-1, -1};
  CTextEnvirons textEnvirons;
};
