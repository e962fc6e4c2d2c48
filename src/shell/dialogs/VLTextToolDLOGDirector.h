// The director of the text-tool dialog, through which the text tool asks for the text it
// places; its text items are read and styled by item number (CTextDLOGDirector).
#pragma once

#include "CTextDLOGDirector.h"

class VLTextToolDLOGDirector : public CTextDLOGDirector {
  VL_REGISTERED_CLASS(VLTextToolDLOGDirector, CTextDLOGDirector)

 public:
  VLTextToolDLOGDirector() = default;

  // Makes the dialog from 'DLOG' dialogID in the desktop, placed by the decorator, its edit
  // text limited to textLimit characters and sized in lines of lineHeight pixels (0 or below:
  // one line of the dialog's font). Fails, leaving no dialog, as the resource dialog does.
  virtual void IVLTextToolDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor, SInt16 textLimit,
                                       SInt16 lineHeight);
};
