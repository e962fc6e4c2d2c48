// The director of a dialog made from a 'DLOG' resource (CDLOGDialog), placed where the
// resource says.
#pragma once

#include "CDialogDirector.h"

class CDLOGDirector : public CDialogDirector {
  VL_REGISTERED_CLASS(CDLOGDirector, CDialogDirector)

 public:
  CDLOGDirector() = default;
  // Makes the director and its dialog; fails (with nothing left behind) when the dialog cannot
  // be made.
  CDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor);

  void IDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor);
};
