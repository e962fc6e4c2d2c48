// The native document as the shell knows it until the model layer brings its own: an untitled
// or file-named document with a window, that counts as changed once the user types into it.
// It keeps the untitled numbering, the save question and the window list working.
#pragma once

#include "VLAbstractDocument.h"

class VLStandInDocument : public VLAbstractDocument {
  VL_REGISTERED_CLASS(VLStandInDocument, VLAbstractDocument)

 public:
  VLStandInDocument() = default;

  void InitNewDocument(CDirectorOwner* supervisor, Boolean printable, SInt16 untitledNumber) override;
  // Named string 5 of string list 128, with " " and the number from the second on.
  void NewFile() override;
  // Checks that the file can be read and takes its name; fails with the file system's error.
  void OpenFile(SFReply* reply) override;
  // Gives the untitled number back to the application.
  void Dispose() override;
  // A typed key changes the document.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;

  SInt16 GetUntitledNumber() const { return untitledNumber; }
  // The window resource of the native document.
  static constexpr SInt16 kWindowID = 500;

 private:
  void BuildWindow();

  SInt16 untitledNumber = 0;
};

// Makes a stand-in document (the default native document maker).
VLAbstractDocument* MakeStandInDocument();
