#include "VLScrollPane.h"

#include "CPanorama.h"
#include "CScrollBar.h"

void VLScrollPane::AdjustScrollMax() {
  long extentH = 0, extentV = 0;
  if (itsPanorama) itsPanorama->GetExtent(&extentH, &extentV);
  Boolean fits = itsPanorama && extentH < width && extentV < height;
  for (CScrollBar* bar : {itsHorizSBar, itsVertSBar}) {
    if (!bar) continue;
    // Bars made inactive here come back with the pane once the panorama outgrows it.
    if (fits)
      bar->Deactivate();
    else if (active && !bar->IsActive())
      bar->Activate();
  }
  if (!fits) CScrollPane::AdjustScrollMax();
}
