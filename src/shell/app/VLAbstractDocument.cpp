#include "VLAbstractDocument.h"

#include "Commands.h"
#include "Resources.h"

VLAbstractDocument::VLAbstractDocument() : VLAbstractDocument(true) {}

VLAbstractDocument::VLAbstractDocument(Boolean printable) : constructedPrintable(printable) {}

VLAbstractDocument::VLAbstractDocument(Boolean printable, const VLAbstractDocument& source)
    : constructedPrintable(printable), itsMaterialList(source.itsMaterialList) {}

void VLAbstractDocument::InitNewDocument(CDirectorOwner* supervisor, Boolean isPrintable, SInt16) {
  IDocument(supervisor, isPrintable);
}

void VLAbstractDocument::UntitledTitle(SInt16 number, StringPtr title) {
  PortGetListString(title, kClassLibStrings, kUntitledStringIndex);
  if (number <= 1) return;
  Str255 digits;
  PortNumToString(number, digits);
  PStrConcat(title, Str255(" "));
  PStrConcat(title, digits);
}

DocumentMaker gSceneDocumentMaker = nullptr;
