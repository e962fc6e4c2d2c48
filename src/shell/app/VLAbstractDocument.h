// The program's document base: the native document and the scene document derive from it. Every
// document holds its material list. The application sets a native document up (InitNewDocument) before the class library's new-file or
// open-file operation, and makes its documents through the makers below, which the layers that
// define the documents install.
#pragma once

#include "CDocument.h"
#include "D3TMaterialList.h"
#include "StandardFile.h"

class VLAbstractDocument : public CDocument {
  VL_REGISTERED_CLASS(VLAbstractDocument, CDocument)

 public:
  // A printable document (the flag 1), or one with the given printable flag.
  VLAbstractDocument();
  explicit VLAbstractDocument(Boolean printable);
  // A document made from another: its material list shares the source's materials.
  VLAbstractDocument(Boolean printable, const VLAbstractDocument& source);

  // Sets the document up under its supervisor (the application) with the printable flag; a new
  // document gets its untitled number, a document for a file 0.
  virtual void InitNewDocument(CDirectorOwner* supervisor, Boolean printable, SInt16 untitledNumber);

  Boolean ConstructedPrintable() const { return constructedPrintable; }
  D3TMaterialList* GetMaterialList() { return &itsMaterialList; }

  // The title of untitled document number n: "Untitled" (the class library's strings), then from
  // n = 2 on a blank and the number.
  static void UntitledTitle(SInt16 number, StringPtr title);

 private:
  Boolean constructedPrintable = true;
  D3TMaterialList itsMaterialList;
};

// Makers of the application's documents: each makes one with new (null when memory runs out),
// not yet set up. The native maker is installed by the layer that defines the native document
// (until then the shell's own stand-in document); the scene maker by the scene layer (null: the
// program has no scene documents).
using DocumentMaker = VLAbstractDocument* (*)();
extern DocumentMaker gNativeDocumentMaker;
extern DocumentMaker gSceneDocumentMaker;
