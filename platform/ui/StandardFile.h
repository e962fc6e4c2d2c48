// The replies of the file dialogs.
#pragma once

#include "MacTypes.h"
#include "PString.h"

// The open dialog's reply: a file in a folder named by a folder reference (vRefNum).
struct SFReply {
  Boolean good = false;     // a file was chosen
  Boolean copy = false;
  OSType fType = 0;         // the chosen file's type
  SInt16 vRefNum = 0;       // folder reference of the file's folder
  SInt16 version = 0;
  Str63 fName;              // leaf name, Mac Roman
};

// The save dialog's reply: the chosen file as a specification.
struct StandardFileReply {
  Boolean sfGood = false;       // a file was chosen
  Boolean sfReplacing = false;  // it exists and is to be replaced
  OSType sfType = 0;            // the type the dialog settled on
  FSSpec sfFile;
};
