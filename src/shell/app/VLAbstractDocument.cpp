#include "VLAbstractDocument.h"

VLAbstractDocument::VLAbstractDocument() : VLAbstractDocument(true) {}

VLAbstractDocument::VLAbstractDocument(Boolean printable) : constructedPrintable(printable) {}

VLAbstractDocument::VLAbstractDocument(Boolean printable, const VLAbstractDocument& source)
    : constructedPrintable(printable), itsMaterialList(source.itsMaterialList) {}

void VLAbstractDocument::InitNewDocument(CDirectorOwner* supervisor, Boolean isPrintable, SInt16) {
  IDocument(supervisor, isPrintable);
}

DocumentMaker gSceneDocumentMaker = nullptr;
