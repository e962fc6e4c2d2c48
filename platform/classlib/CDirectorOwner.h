// A bureaucrat that owns directors: the application owns its documents, a document may own
// directors of its own. Closing the owner's directors stops at the first that refuses.
#pragma once

#include <vector>

#include "CBureaucrat.h"

class CDirector;

class CDirectorOwner : public CBureaucrat {
  VL_REGISTERED_CLASS(CDirectorOwner, CBureaucrat)

 public:
  CDirectorOwner() = default;
  // Disposes of the directors still owned, without asking them.
  ~CDirectorOwner() override;

  virtual void AddDirector(CDirector* director);
  virtual void RemoveDirector(CDirector* director);
  // Asks each director to close, the most recent first; false as soon as one refuses.
  virtual Boolean CloseDirectors(Boolean quitting);
  long CountDirectors() const { return long(itsDirectors.size()); }
  // The index-th director (1-based, in the order they were added); null outside.
  CDirector* GetDirector(long index) const;
  Boolean OwnsDirector(const CDirector* director) const;

  // The owner became the active or inactive one; the base tells its directors.
  virtual void BecomeActive();
  virtual void BecomeInactive();

 protected:
  // Disposes of every director still owned, the most recent first, without asking.
  void DisposeDirectors();

  std::vector<CDirector*> itsDirectors;
};
