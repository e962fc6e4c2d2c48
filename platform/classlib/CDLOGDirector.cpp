#include "CDLOGDirector.h"

#include "CApplication.h"
#include "CDLOGDialog.h"

CDLOGDirector::CDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor) { IDLOGDirector(dialogID, supervisor); }

void CDLOGDirector::IDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor) {
  IDialogDirector(supervisor);
  auto* dialog = new CDLOGDialog;
  try {
    dialog->IDLOGDialog(dialogID, gDesktop, this);
  } catch (...) {
    if (itsWindow != dialog) {
      dialog->SetSupervisor(nullptr);
      dialog->Dispose();
    }
    throw;
  }
}
