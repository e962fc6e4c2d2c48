#include "CArrayPane.h"

#include "CArray.h"

CArrayPane::~CArrayPane() { SetArray(nullptr, false); }

void CArrayPane::IArrayPane(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                            SizingOption hS, SizingOption vS) {
  ITable(enclosure, supervisor, w, h, hE, vE, hS, vS);
  InsertCols(1, 0);
  SetColWidth(w, 0, 0);
}

void CArrayPane::SetArray(CArray* array, Boolean owned) {
  if (itsArray && itsArray != array) {
    CArray* old = itsArray;
    itsArray = nullptr;
    DetachFromProvider(old);
    if (ownsArray) old->Dispose();
  }
  DeleteRows(rows, 0);
  itsArray = array;
  ownsArray = array && owned;
  if (!array) return;
  AttachToProvider(array);
  InsertRows(array->GetNumItems(), -1);
}

void CArrayPane::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  if (provider == itsArray && itsArray && info) {
    const long* index = static_cast<const long*>(info);
    if (reason == kArrayInserted) {
      InsertRows(1, *index - 2);
      return;
    }
    if (reason == kArrayDeleted) {
      DeleteRows(1, *index - 1);
      return;
    }
    if (reason == kArrayMoved || reason == kArrayReplaced) {
      Refresh();
      return;
    }
  }
  CTable::ProviderChanged(provider, reason, info);
}
