// The units and grids command: the dialog, then everything its OK applies to the document, its
// views and the units in force.
#include <new>

#include "CApplication.h"
#include "CPreferences.h"
#include "Commands.h"
#include "DETException.h"
#include "ObjectInfoRecord.h"
#include "Selection.h"
#include "VLArray.h"
#include "Unwinding.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLUnitsDLOGDirector.h"
#include "VLUser3DObject.h"
#include "ViewDrawingFlags.h"

void VLDocument::RunUnitsDialog() {
  if (!itsPreferences || !itsViews) return;
  double halfSize = 0.0;
  double gridSpacing = 0.0;
  GetBackgroundGrid(&halfSize, &gridSpacing);
  Owned<VLUnitsDLOGDirector> director(new (std::nothrow) VLUnitsDLOGDirector);
  ThrowIfNil(director.get());
  director->IVLUnitsDLOGDirector(VLUnitsDLOGDirector::kUnitsDialog, dynamic_cast<CDirectorOwner*>(gApplication),
                                 itsPreferences->GetLengthFormat(), itsPreferences->GetAngleFormat(), gridSpacing,
                                 2.0 * halfSize, GetSnapGridSpacing());
  if (director->DoModalDialog(cmdOK) != cmdOK || !director->HasChanged()) return;

  SetChanged(true);
  itsPreferences->SetLengthFormat(director->GetLengthFormat());
  itsPreferences->SetAngleFormat(director->GetAngleFormat());
  const double snapSpacing = director->GetValue(VLUnitsDLOGDirector::kSnapSpacing);
  const double newSpacing = director->GetValue(VLUnitsDLOGDirector::kGridSpacing);
  const double newSize = director->GetValue(VLUnitsDLOGDirector::kGridSize);
  director.reset();
  // The text bar re-reads its units here too.
  PublishUnits();
  itsViews->SetSnapGridSpacing(snapSpacing);
  itsViews->SetDuplicateOffset(2.0 * snapSpacing);
  SetBackgroundGrid(newSize / 2.0, newSpacing);
  itsViews->ExtendBoxByGrid(modelBox);
  // The info palette shows its object's lengths again, in the new units. The dialog took the
  // activation away: the document's own selection is the one to ask.
  VLArray* selection = GetSelectionList();
  if (gObjectInfoBox && selection && selection->GetNumItems() == 1)
    static_cast<VLUser3DObject*>(selection->PointerAt(1))->NotifyInfoBox(kInfoShowMe);
  if (!gShadedMode && !gHiddenLineMode && !gShadowMode) itsViews->Redraw();
}
