#include "VLTextToolDLOGDirector.h"

#include "CApplication.h"
#include "VLTextToolDLOGDialog.h"

void VLTextToolDLOGDirector::IVLTextToolDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor, SInt16 textLimit,
                                                     SInt16 lineHeight) {
  IDialogDirector(supervisor);
  AdoptDialog(new VLTextToolDLOGDialog, [this, dialogID, textLimit, lineHeight](CDLOGDialog* dialog) {
    static_cast<VLTextToolDLOGDialog*>(dialog)->IVLTextToolDLOGDialog(dialogID, gDesktop, this, textLimit,
                                                                      lineHeight);
  });
}
