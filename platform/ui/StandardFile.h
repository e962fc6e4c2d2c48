// The open and save file dialogs, drawn in the look of the other dialogs and listing the real
// file system (platform/files): the folder's files and subfolders sorted by name, a popup of
// the enclosing folders to go up, and for saving a name field and a popup of the file types
// offered. A double click or Return opens a folder or chooses a file; Escape cancels.
//
// The types: the open dialog lists the files whose type (FileTypes.h: kept with the file, else
// from its extension) is one of the types given (none given: every file); the save dialog offers
// the types of the last PortOpenFileSpec call (taken when it opens), else the program's whole
// file-type table, else no type popup. Choosing a type puts its extension on the name.
//
// Who answers: a standard-dialog answerer when one is installed and answers (the headless
// backend's script lines); else, while the screen is interactive, the user on screen; else the
// dialog is cancelled. Every dialog is logged through the alert sink as a record of kind
// "getfile", "putfile" or "color" with its prompt and default name, and the answer 1 (chosen)
// or 0 (cancelled).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Dialogs.h"
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

// The save dialog's reply: the chosen file as an FSSpec.
struct StandardFileReply {
  Boolean sfGood = false;       // a file was chosen
  Boolean sfReplacing = false;  // it exists and is to be replaced
  OSType sfType = 0;            // the type the dialog settled on
  FSSpec sfFile;
};

// A filter of the open dialog's list: true hides the file.
using FileFilterProcPtr = Boolean (*)(const FSSpec* file, OSType type);
// Hooks of the dialogs: called with sfHookFirstCall (-1) before the loop and with each item
// hit; the answer is the item to handle (the item itself, or sfHookNullEvent to consume it).
using DlgHookProcPtr = SInt16 (*)(SInt16 item, DialogPtr dialog);
using DlgHookYDProcPtr = SInt16 (*)(SInt16 item, DialogPtr dialog, void* yourData);
using ModalFilterYDProcPtr = Boolean (*)(DialogPtr dialog, EventRecord* event, SInt16* itemHit, void* yourData);
using ActivateYDProcPtr = void (*)(DialogPtr dialog, SInt16 item, Boolean activating, void* yourData);

enum : SInt16 { sfHookFirstCall = -1, sfHookNullEvent = 100 };
// Items of the standard dialogs that hooks may see.
enum : SInt16 { sfItemOpenButton = 1, sfItemCancelButton = 2, sfItemFileNameTextEdit = 10 };

// The open dialog. where: the dialog's top-left corner (global; (0, 0) or (-1, -1) centres it);
// numTypes -1 or 0 lists every file.
void PortGetFile(Point where, ConstStringPtr prompt, FileFilterProcPtr filter, SInt16 numTypes,
                 const OSType* typeList, DlgHookProcPtr hook, SFReply* reply);
void PortStandardGetFile(FileFilterProcPtr filter, SInt16 numTypes, const OSType* typeList,
                         StandardFileReply* reply);
// The save dialog with a proposed name. sfReplacing is set when the chosen file exists (the
// user has confirmed replacing it on screen).
void PortPutFile(Point where, ConstStringPtr prompt, ConstStringPtr defaultName, DlgHookProcPtr hook,
                 SFReply* reply);
void PortStandardPutFile(ConstStringPtr prompt, ConstStringPtr defaultName, StandardFileReply* reply);
// The save dialog with the prompt and proposed name (the porting layer's number for it).
void PortCall991(ConstStringPtr prompt, ConstStringPtr defaultName, StandardFileReply* reply);
// The save dialog with the program's hooks and data (dialog number dlgID is recorded; the
// standard items are the ones shown). The hook is called with sfHookFirstCall first.
void PortCustomPutFile(ConstStringPtr prompt, ConstStringPtr defaultName, StandardFileReply* reply, SInt16 dlgID,
                       Point where, DlgHookYDProcPtr hook, ModalFilterYDProcPtr filter, SInt16* activeList,
                       ActivateYDProcPtr activate, void* yourData);

namespace vlui {

// A standard dialog to answer: kind "getfile", "putfile" or "color".
struct StandardDialogRequest {
  std::string kind;
  std::string prompt;        // UTF-8
  std::string defaultName;   // UTF-8 (putfile)
  std::vector<OSType> types; // the types offered
  RGBColor color;            // the start colour (color)
};
struct StandardDialogAnswer {
  bool chosen = false;       // false: cancelled
  std::string path;          // getfile, putfile: the chosen file's path (relative to the current folder or absolute)
  RGBColor color;            // color
};
// Answers a request (true) or leaves it to the screen (false).
using StandardDialogAnswerer = std::function<bool(const StandardDialogRequest&, StandardDialogAnswer*)>;
// Installs the answerer and returns the previous one.
StandardDialogAnswerer SetStandardDialogAnswerer(StandardDialogAnswerer answerer);

// Fills the replies for a chosen path; false when the path cannot be named by a reply (its name
// is not Mac Roman or longer than 63 characters).
bool FillOpenReply(const std::string& path, SFReply* reply);
bool FillSaveReply(const std::string& path, OSType type, SFReply* reply, StandardFileReply* standard);

// The on-screen dialogs themselves (the screen must be made): the chosen path, or false when
// cancelled. For tests and for the answer paths above.
bool RunOpenDialog(const std::string& prompt, const std::vector<OSType>& types, FileFilterProcPtr filter,
                   std::string* path);
bool RunSaveDialog(const std::string& prompt, const std::string& defaultName, const std::vector<OSType>& types,
                   std::string* path, OSType* type);
// The folder the dialogs show first (the default folder, PortSetVol); changed by each choice.
std::string DialogFolder();
void SetDialogFolder(const std::string& folder);

}  // namespace vlui
