#include "CToolBackgroundPane.h"

void CToolBackgroundPane::IToolBackgroundPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                                              SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing) {
  Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing);
  colour = RGBColor{55000, 55000, 55000};
}

void CToolBackgroundPane::Draw(const Rect* area) {
  if (PortIsColorPort(PortCurrentPort())) {
    RGBColor fore, back;
    PortGetForeColor(&fore);
    PortGetBackColor(&back);
    const RGBColor white{65535, 65535, 65535};
    PortRGBForeColor(&colour);
    PortRGBBackColor(&white);
    PortPaintRect(area);
    PortRGBForeColor(&fore);
    PortRGBBackColor(&back);
  } else {
    PenState pen;
    PortGetPenState(&pen);
    PortPenMode(patCopy);
    PortPenPattern(&qd.ltGray);
    PortPaintRect(area);
    PortSetPenState(&pen);
  }
}
