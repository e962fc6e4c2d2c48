// The director of a dialog made from a 'DLOG' resource (CDLOGDialog), placed where the
// resource says.
#pragma once

#include <functional>

#include "CDialogDirector.h"

class CDLOGDialog;

class CDLOGDirector : public CDialogDirector {
  VL_REGISTERED_CLASS(CDLOGDirector, CDialogDirector)

 public:
  CDLOGDirector() = default;
  // Makes the director and its dialog; fails (with nothing left behind) when the dialog cannot
  // be made.
  CDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor);

  void IDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor);

 protected:
  // Runs init on a newly made dialog, which becomes the director's window there; when init
  // fails before that, the dialog is disposed here and the failure goes on.
  void AdoptDialog(CDLOGDialog* dialog, const std::function<void(CDLOGDialog*)>& init);
};
