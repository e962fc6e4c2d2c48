// A collection of items, counted from 1.
#pragma once

#include "CCollaborator.h"

class CCollection : public CCollaborator {
  VL_REGISTERED_CLASS(CCollection, CCollaborator)

 public:
  CCollection() = default;

  long GetNumItems() const { return numItems; }
  Boolean IsEmpty() const { return numItems == 0; }

 protected:
  long numItems = 0;
};
