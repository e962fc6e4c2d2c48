// The program's document base: the native document and the scene document derive from it.
//
// The class library's documents here have no new-file and open-file operations of their own, so
// the program's base carries them, with the set-up the application calls before either. The
// application makes its documents through the makers below, which the layers that define the
// documents install.
#pragma once

#include "CDocument.h"
#include "StandardFile.h"

class VLAbstractDocument : public CDocument {
  VL_REGISTERED_CLASS(VLAbstractDocument, CDocument)

 public:
  // A printable document (the flag 1), or one with the given printable flag.
  VLAbstractDocument();
  explicit VLAbstractDocument(Boolean printable);

  // Sets the document up under its supervisor (the application) with the printable flag; a new
  // document gets its untitled number, a document for a file 0.
  virtual void InitNewDocument(CDirectorOwner* supervisor, Boolean printable, SInt16 untitledNumber);
  // Makes the document an untitled one with its window.
  virtual void NewFile();
  // Reads the document from the file the open dialog chose, and shows it.
  virtual void OpenFile(SFReply* reply);

  Boolean ConstructedPrintable() const { return constructedPrintable; }

 private:
  Boolean constructedPrintable = true;
};

// Makers of the application's documents: each makes one with new (null when memory runs out),
// not yet set up. The native maker is installed by the layer that defines the native document
// (until then the shell's own stand-in document); the scene maker by the scene layer (null: the
// program has no scene documents).
using DocumentMaker = VLAbstractDocument* (*)();
extern DocumentMaker gNativeDocumentMaker;
extern DocumentMaker gSceneDocumentMaker;
