// Telling a single click on a palette pane from a double click.
#pragma once

#include "CPane.h"

// Whether a second press follows the mouse-down at hitPt (the pane's coordinates, at time when)
// within the double-click time, inside the pane's frame when inFrame is set, else within 5
// pixels of the point. The second click's events are taken out of the queue.
Boolean IsDoubleClick(CPane* pane, Point hitPt, long when, Boolean inFrame);
