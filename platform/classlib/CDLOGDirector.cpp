#include "CDLOGDirector.h"

#include <memory>

#include "CApplication.h"
#include "CDLOGDialog.h"

CDLOGDirector::CDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor) { IDLOGDirector(dialogID, supervisor); }

void CDLOGDirector::IDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor) {
  IDialogDirector(supervisor);
  AdoptDialog(new CDLOGDialog, [this, dialogID](CDLOGDialog* dialog) { dialog->IDLOGDialog(dialogID, gDesktop, this); });
}

void CDLOGDirector::AdoptDialog(CDLOGDialog* made, const std::function<void(CDLOGDialog*)>& init) {
  // A dialog that fails while it is made goes with the director once it is the director's
  // window; before that it goes here.
  auto unheld = [this](CDLOGDialog* dialog) {
    if (itsWindow == dialog) return;
    dialog->SetSupervisor(nullptr);
    dialog->Dispose();
  };
  std::unique_ptr<CDLOGDialog, decltype(unheld)> dialog(made, unheld);
  init(dialog.get());
  dialog.release();
}
