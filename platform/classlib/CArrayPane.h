// A table over an array (CArray): one row per item, kept in step with the array's changes
// (the pane depends on it). The pane may own the array.
#pragma once

#include "CTable.h"

class CArray;

class CArrayPane : public CTable {
  VL_REGISTERED_CLASS(CArrayPane, CTable)

 public:
  CArrayPane() = default;
  // Made and initialised in one step (IArrayPane's arguments).
  CArrayPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
             SizingOption hSizing, SizingOption vSizing) {
    IArrayPane(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing);
  }
  ~CArrayPane() override;

  void IArrayPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                  SInt16 vEncl, SizingOption hSizing, SizingOption vSizing);
  // Shows the array (null: none); the previous one is let go (disposed when the pane owned it).
  virtual void SetArray(CArray* array, Boolean owned);
  CArray* GetArray() const { return itsArray; }
  Boolean OwnsArray() const { return ownsArray; }

  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;

 protected:
  CArray* itsArray = nullptr;
  Boolean ownsArray = false;
};
