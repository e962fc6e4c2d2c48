// The grey background of the tool palette.
#pragma once

#include "CPane.h"
#include "QuickDraw.h"

class CToolBackgroundPane : public CPane {
  VL_REGISTERED_CLASS(CToolBackgroundPane, CPane)

 public:
  CToolBackgroundPane() = default;

  // The pane, its colour grey 55000.
  void IToolBackgroundPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                           SInt16 vEncl, SizingOption hSizing, SizingOption vSizing);
  // Paints the area in the colour (in the light grey pattern on a one-bit port); the port's
  // colours and pen are kept.
  void Draw(const Rect* area) override;

  RGBColor colour{55000, 55000, 55000};
};
